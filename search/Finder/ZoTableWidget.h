#pragma once

#include <QTableWidget>

class QMouseEvent;
class ZoTableWidgetItem;

// The result table of the search tab: re-emits mouse presses and double
// clicks after the view has handled them.
class ZoTableWidget : public QTableWidget
{
    Q_OBJECT

public:
    explicit ZoTableWidget(QWidget* parent = nullptr);
    ~ZoTableWidget() override;

    // The widget the table was created with.
    QWidget* creator() const;

signals:
    void signalClick(QMouseEvent* event);
    // The cell under a double click, null when there is none.
    void zoItemDoubleClicked(ZoTableWidgetItem* item);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QWidget* mCreator = nullptr;
};
