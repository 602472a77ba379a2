#pragma once

#include <QSpinBox>

// A spin box that accepts only the even sizes of its range, typed or stepped.
class FontSizeSpinBox : public QSpinBox
{
    Q_OBJECT

public:
    explicit FontSizeSpinBox(QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& text, int& pos) const override;
};
