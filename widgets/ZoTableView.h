#pragma once

#include <QTableView>

class QKeyEvent;
class QMouseEvent;

// A model view selecting whole rows, several at a time. A right press on a
// row that is not selected selects that row alone first.
class ZoTableView : public QTableView
{
    Q_OBJECT

public:
    explicit ZoTableView(QWidget* parent = nullptr);
    ~ZoTableView() override;

signals:
    void signalRightClicked();
    void signalChanged();
    void signalKeystroke(QKeyEvent* event);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
};
