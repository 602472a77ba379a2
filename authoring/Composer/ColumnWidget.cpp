#include "ColumnWidget.h"

#include "ComboFit.h"
#include "IMainWindow.h"
#include "LanguageComboHelper.h"

ColumnWidget::ColumnWidget(IMainWindow* mainWindow, const QString& label)
    : QWidget(nullptr)
    , mMainWindow(mainWindow)
    , mLabel(label)
{
    setupUi(this);
    if (mainWindow && mainWindow->mFont)
        setFont(*mainWindow->mFont);
    cmbColumnType->addItem(tr("Select Type"), QString());
    cmbColumnType->addItem(tr("Study Term"), studyTermType());
    cmbColumnType->addItem(tr("Translation"), translationType());
    ComboFit::of(cmbColumnType);

    mLanguages = new LanguageComboHelper(cmbLanguages, LanguageComboHelper::SelectLanguage, mainWindow);
    mLanguages->setWizardParent(this);
    connect(mLanguages, &LanguageComboHelper::languageAdded, this, &ColumnWidget::languagesModified);
    fillLanguages();

    lblColumnNumber->setText(label);
    connect(btnRemove, &QPushButton::clicked, this, &ColumnWidget::toggle);
}

ColumnWidget::~ColumnWidget() = default;

QString ColumnWidget::fieldName() const
{
    return cmbColumnType->currentData().toString();
}

QString ColumnWidget::language() const
{
    return mLanguages->language();
}

void ColumnWidget::setStudyTerm()
{
    cmbColumnType->setCurrentIndex(cmbColumnType->findData(studyTermType()));
    cmbColumnType->setEnabled(false);
}

int ColumnWidget::fillLanguages()
{
    return mLanguages->fill(false) ? 1 : 0;
}

void ColumnWidget::addLanguage(int index)
{
    cmbLanguages->setCurrentIndex(index);
}

void ColumnWidget::toggle()
{
    mImported = !mImported;
    for (QWidget* widget : {static_cast<QWidget*>(lblColumnNumber), static_cast<QWidget*>(lblColumnType),
                            static_cast<QWidget*>(cmbColumnType), static_cast<QWidget*>(lblLanguages),
                            static_cast<QWidget*>(cmbLanguages)})
        widget->setEnabled(mImported);
    retranslate();
}

void ColumnWidget::retranslate()
{
    retranslateUi(this);
    lblColumnNumber->setText(mLabel);
    cmbColumnType->setItemText(0, tr("Select Type"));
    cmbColumnType->setItemText(1, tr("Study Term"));
    cmbColumnType->setItemText(2, tr("Translation"));
    btnRemove->setText(mImported ? tr("Ignore this column") : tr("Import this column"));
}
