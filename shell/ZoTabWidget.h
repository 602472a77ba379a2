#pragma once

#include <QTabWidget>

// The main window's form tabs.
class ZoTabWidget : public QTabWidget
{
    Q_OBJECT

public:
    explicit ZoTabWidget(QWidget* parent = nullptr);
};
