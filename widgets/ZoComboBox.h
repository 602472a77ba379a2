#pragma once

#include <QComboBox>

// A combo box with focus signals for listeners; it emits neither itself.
class ZoComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ZoComboBox(QWidget* parent = nullptr);
    ~ZoComboBox() override;

signals:
    void gotFocus();
    void loseFocus();
};
