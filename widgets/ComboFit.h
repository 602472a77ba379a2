#pragma once

#include <QObject>
#include <QPointer>

class QComboBox;

// Keeps a combo box at least as wide as its widest item: the minimum width
// the form gives it stays a minimum, and it grows with its items, its font
// and its language, whatever room the layout would rather give it.
class ComboFit : public QObject
{
    Q_OBJECT

public:
    // The fit of combo, made on first use; it lives as long as the combo.
    static ComboFit* of(QComboBox* combo);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ComboFit(QComboBox* combo);
    // After the combo has taken the change in.
    void fitLater();
    void fit();

    QPointer<QComboBox> mCombo;
    int mDesignedWidth = 0;
    bool mPending = false;
};
