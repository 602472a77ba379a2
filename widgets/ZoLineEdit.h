#pragma once

#include <QLineEdit>

class QFocusEvent;

// A line edit that announces when it takes the focus.
class ZoLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit ZoLineEdit(QWidget* parent = nullptr);
    ~ZoLineEdit() override;

signals:
    void gotFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
};
