#pragma once

#include <QAction>
#include <QString>

// A menu action that reports its own text when it is chosen.
class ZoAction : public QAction
{
    Q_OBJECT

public:
    explicit ZoAction(QObject* parent = nullptr);
    ZoAction(const QString& text, QObject* parent);
    ~ZoAction() override;

signals:
    void itemSelected(const QString& text);

private slots:
    void itemTriggered();
    void itemHovered();

private:
    void connectOwn();
};
