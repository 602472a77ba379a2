#include "CreateNew.h"

#include "IDbManager.h"
#include "IMainWindow.h"
#include "IUserResource.h"
#include "MessageBoxHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SettingsKeys.h"
#include "ZoLesson.h"
#include "ZoUser.h"

#include <QSettings>

CreateNew::CreateNew(IMainWindow* mainWindow, ZoLesson* lesson)
    : QDialog(mainWindow, Qt::WindowSystemMenuHint)
    , mMainWindow(mainWindow)
{
    setupUi(this);
    if (mMainWindow && mMainWindow->mFont)
        setFont(*mMainWindow->mFont);
    resize(minimumSizeHint().expandedTo(QSize(404, 281)));
    init(lesson);
    connect(btnOk, &QPushButton::clicked, this, &CreateNew::btnOkClicked);
}

QString CreateNew::nonNull(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

void CreateNew::init(ZoLesson* lesson)
{
    mMessageTitle = QSettings().value(SettingsKeys::Version).toString();
    mDbManager = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
    mUserResource = PluginLocator::load<IUserResource>(PluginFiles::ZoUserResource);

    QStringList exerciseIds;
    for (int i = 0; lesson && i < lesson->exerciseCount(); ++i)
        exerciseIds.append(lesson->exerciseId(i));
    const QStringList languages = mDbManager && !exerciseIds.isEmpty() ? mDbManager->languagesOf(exerciseIds)
                                                                       : QStringList();
    if (languages.size() == 1)
        cmbLanguages->clear();
    cmbLanguages->insertItems(cmbLanguages->count() == 0 ? 0 : 1, languages);
    cmbLanguages->setCurrentIndex(0);

    cmbLearnerLevels->clear();
    if (mDbManager)
        cmbLearnerLevels->addItems(mDbManager->learnerLevelList());

    if (lesson) {
        lEditTitle->setText(lesson->title());
        tEditDescription->setPlainText(lesson->description());
        // A null text means "not chosen"; an empty one names no entry either.
        if (!lesson->language().isNull()) {
            const int index = cmbLanguages->findText(lesson->language(), Qt::MatchExactly);
            if (index >= 0)
                cmbLanguages->setCurrentIndex(index);
        }
        if (!lesson->learnerLevel().isNull()) {
            const int index = cmbLearnerLevels->findText(lesson->learnerLevel(), Qt::MatchExactly);
            if (index >= 0)
                cmbLearnerLevels->setCurrentIndex(index);
        }
    }
    mLesson = lesson;
}

int CreateNew::validate()
{
    if (lEditTitle->text().isEmpty()) {
        MessageBoxHelper::information(this, mMessageTitle, tr("Please enter a title for the Lesson."));
        return 0;
    }
    if (cmbLanguages->currentText() == tr("Select Language")) {
        MessageBoxHelper::information(this, mMessageTitle, tr("Please select a language for the Lesson."));
        return 0;
    }
    return 1;
}

int CreateNew::btnOkClicked()
{
    if (validate() == 0)
        return 0;
    ZoUser* user = mUserResource ? mUserResource->currentUser() : nullptr;
    if (!user) {
        MessageBoxHelper::information(this, mMessageTitle,
                                      tr("Nobody is signed in. Sign in again to save the lesson."));
        return 0;
    }
    if (!mLesson)
        return 0;
    if (mLesson->pId().isEmpty())
        mLesson->setPId(QStringLiteral("0"));
    mLesson->setTitle(nonNull(lEditTitle->text()));
    mLesson->setDescription(nonNull(tEditDescription->toPlainText()));
    mLesson->setLanguage(nonNull(cmbLanguages->currentText()));
    mLesson->setLearnerLevel(nonNull(cmbLearnerLevels->currentText()));
    mLesson->setUsername(nonNull(user->username()));
    mLesson->setUserId(nonNull(user->id()));
    accept();
    return 1;
}
