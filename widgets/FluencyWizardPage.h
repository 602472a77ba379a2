#pragma once

#include <QWidget>

class IMainWindow;
class QLabel;

// A page of the fluency wizard: takes the host's font and shows a larger, bold heading.
class FluencyWizardPage : public QWidget
{
    Q_OBJECT

public:
    FluencyWizardPage(IMainWindow* host, QWidget* parent);

protected:
    // Call after setupUi: applies the host's font, then the heading's.
    void applyFonts(QLabel* heading);

    IMainWindow* mHost;
};
