#pragma once

#include <QTextEdit>

class QFocusEvent;

// A text edit that announces when it takes the focus.
class ZoTextEdit : public QTextEdit
{
    Q_OBJECT

public:
    explicit ZoTextEdit(QWidget* parent = nullptr);
    ~ZoTextEdit() override;

signals:
    void gotFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
};
