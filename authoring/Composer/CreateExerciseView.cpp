#include "CreateExerciseView.h"

#include "AuthoringLog.h"
#include "CreateSession.h"
#include "CreateTemplate.h"
#include "ExerciseFields.h"
#include "ExerciseSaveRules.h"
#include "FieldInfoFactory.h"
#include "HelpBrowser.h"
#include "IAudio.h"
#include "IDbManager.h"
#include "IFieldInfo.h"
#include "IMainWindow.h"
#include "IResource.h"
#include "IUserResource.h"
#include "LanguageComboHelper.h"
#include "MessageBoxHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SettingsKeys.h"
#include "TabIndex.h"
#include "ZoExercise.h"
#include "ZoUser.h"
#include "ZoUserFluency.h"

#include <QDir>
#include <QFrame>
#include <QIcon>
#include <QResizeEvent>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

CreateExerciseView::CreateExerciseView(QWidget* parentForm)
    : mParentForm(parentForm)
{
    setupUi(this);
    init();
    connect(mLanguageHelper, &LanguageComboHelper::languageChosen, this, &CreateExerciseView::cmbLanguagesChanged);
    connect(tEditTerm, &QTextEdit::textChanged, this, &CreateExerciseView::tEditTermChanged);
    connect(btnRecord, &QPushButton::clicked, this, &CreateExerciseView::recordSound);
    connect(btnStop, &QPushButton::clicked, this, &CreateExerciseView::stopSound);
    connect(btnPlay, &QPushButton::clicked, this, &CreateExerciseView::playSound);
    connect(btnSave, &QPushButton::clicked, this, &CreateExerciseView::saveSession);
    connect(btnAddField, &QPushButton::clicked, this, &CreateExerciseView::addFieldClicked);
}

CreateExerciseView::~CreateExerciseView()
{
    if (mHelpBrowser)
        delete mHelpBrowser.data();
}

void CreateExerciseView::init()
{
    mVersionTitle = mSettings.value(SettingsKeys::Version).toString();
    mAudio = PluginLocator::load<IAudio>(PluginFiles::ZoAudio);
    mStore = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);
    mUsers = PluginLocator::load<IUserResource>(PluginFiles::ZoUserResource);
    mLanguages = PluginLocator::load<IResource>(PluginFiles::ZoLanguageResource);

    mPlayTimer = new QTimer(this);
    mPlayTimer->setInterval(200);
    connect(mPlayTimer, &QTimer::timeout, this, &CreateExerciseView::checkPlayStatus);
    mRecordTimer = new QTimer(this);
    mRecordTimer->setInterval(200);
    connect(mRecordTimer, &QTimer::timeout, this, &CreateExerciseView::checkRecordStatus);
    mStopDelayTimer = new QTimer(this);
    mStopDelayTimer->setSingleShot(true);
    connect(mStopDelayTimer, &QTimer::timeout, this, &CreateExerciseView::stopButtonDelay);

    mIconDir = QDir(QStringLiteral("Icons"));
    if (mIconDir.exists()) {
        btnRecord->setIcon(QIcon(mIconDir.filePath(QStringLiteral("rec_act2.png"))));
        btnStop->setIcon(QIcon(mIconDir.filePath(QStringLiteral("stop_act.png"))));
        btnPlay->setIcon(QIcon(mIconDir.filePath(QStringLiteral("play_act.png"))));
    }
    mSettings.setFallbacksEnabled(false);

    auto* groupLayout = new QVBoxLayout(frmfield);
    groupLayout->setObjectName(QStringLiteral("vboxLayoutGroupField"));
    groupLayout->setSpacing(0);
    groupLayout->setContentsMargins(0, 0, 0, 0);
    mFieldsScroll = new QScrollArea(frmfield);
    mFieldsScroll->setFrameShape(QFrame::Box);
    mFieldsScroll->setFrameShadow(QFrame::Sunken);
    mFieldsFrame = new QFrame;
    mFieldsFrame->setObjectName(QStringLiteral("frmfieldInformation"));
    mFieldsFrame->setFrameShape(QFrame::NoFrame);
    mFieldsFrame->setFrameShadow(QFrame::Sunken);
    mFieldsLayout = new QVBoxLayout(mFieldsFrame);
    mFieldsLayout->setObjectName(QStringLiteral("vboxLayoutFrame"));
    mFieldsLayout->setSpacing(0);
    mFieldsLayout->setContentsMargins(0, 0, 0, 0);
    mFieldsLayout->setAlignment(Qt::AlignTop);
    mFieldsScroll->setWidget(mFieldsFrame);
    groupLayout->addWidget(mFieldsScroll);

    mSession = new CreateSession(mHost, this);
    mTemplate = new CreateTemplate(mHost, this);
    connect(this, &CreateExerciseView::saveExercise, mTemplate, &CreateTemplate::exerciseSaved);
    connect(this, &CreateExerciseView::newObject, mTemplate, &CreateTemplate::stopLoadingNext);
    connect(this, &CreateExerciseView::leftTermList, mTemplate, &CreateTemplate::stopLoadingNext);
    connect(mTemplate, &CreateTemplate::holdsEditorChanged, this, [this](bool holds) { mTermListHolds = holds; });
    tabCreateView->addTab(mSession, tr("Session List"));
    tabCreateView->addTab(mTemplate, tr("Import"));

    cmbLanguages->addItem(tr("Select Language"));
    mLanguageHelper = new LanguageComboHelper(cmbLanguages, LanguageComboHelper::SelectLanguage);
    mLanguageHelper->setWizardParent(this);
    mLanguageHelper->setSettingKey(SettingsKeys::CreateLanguage, false);
    // Without the sound plug-in, or while it plays, the language stays.
    mLanguageHelper->setChoiceGuard([this] { return mAudio && !mAudio->isPlaying(); });
    splitter->setSizes({300, 300});
    btnSave->setEnabled(false);
    btnStop->setEnabled(false);
    btnPlay->setEnabled(false);
    tEditTerm->setFocus();
    mShownUser = userName();
}

int CreateExerciseView::customRefresh()
{
    if (!mCurrentId.isEmpty()) {
        std::unique_ptr<ZoExercise> stored(loadStored());
        if (!stored && mStore)
            newSession();
    }
    btnRecord->setEnabled(true);
    btnStop->setEnabled(false);
    resizeFields();
    if (mAudio)
        btnPlay->setEnabled(mAudio->fileExists(mCurrentSoundPath[0], mCurrentSoundPath[1]));
    mSession->refreshFromStore();
    mTemplate->verifyList();
    return 1;
}

QString CreateExerciseView::userName() const
{
    ZoUser* user = mUsers ? mUsers->currentUser() : nullptr;
    return user ? user->username() : QString();
}

void CreateExerciseView::refreshData()
{
    // Another user's work is not shown; the same user keeps what is unsaved.
    const QString name = userName();
    if (name == mShownUser)
        return;
    mShownUser = name;
    mSession->clear();
    mTemplate->clear();
    mTemplate->fillListCombo();
    newSession();
}

int CreateExerciseView::updateViewLists()
{
    for (IFieldInfo* field : std::as_const(mFields))
        field->updateViewLists();
    // The language shown stays where it is still listed; else the stored choice.
    if (!mLanguageHelper->fill(false))
        return 0;
    if (!mLanguageHelper->hasLanguage())
        mLanguageHelper->fill(true);
    return 1;
}

void CreateExerciseView::retranslateView()
{
    const int count = cmbLanguages->count();
    retranslateUi(this);
    tabCreateView->setTabText(tabCreateView->indexOf(mSession), tr("Session List"));
    tabCreateView->setTabText(tabCreateView->indexOf(mTemplate), tr("Import"));
    mTemplate->retranslate();
    mSession->retranslate();
    for (IFieldInfo* field : std::as_const(mFields))
        field->retranslateView();
    if (count == 0) {
        cmbLanguages->addItem(tr("Select Language"));
        return;
    }
    cmbLanguages->setItemText(0, tr("Select Language"));
    if (count > 1)
        cmbLanguages->setItemText(count - 1, tr("Add Language..."));
}

void CreateExerciseView::stopAudio()
{
    // Through the view: a recording is kept as the Stop button keeps it, and the buttons follow.
    if (!mAudio || !(mAudio->isPlaying() || mAudio->isRecording()))
        return;
    mStopDelayTimer->stop();
    stopButtonDelay();
}

int CreateExerciseView::customLeave()
{
    stopAudio();
    return 1;
}

int CreateExerciseView::canClose()
{
    // Only asks: a later view may still refuse, and the term list must then go on working.
    if (!maybeSave())
        return 0;
    return mTemplate->canClose();
}

int CreateExerciseView::recomputeModified() const
{
    return (mLanguageChanged || mTermChanged || mRecordingChanged || mFieldsChanged) ? 1 : 0;
}

int CreateExerciseView::maybeSave()
{
    stopAudio();
    mModified = recomputeModified();
    if (!mModified)
        return 1;
    if (mHost)
        mHost->refreshTabForms(TabIndex::Create);
    const int answer = MessageBoxHelper::show(MessageBoxHelper::Question, this, mVersionTitle,
                                              tr("Do you want to save the changes made to the Exercise?"),
                                              {tr("&Yes"), tr("&No"), tr("Cancel")}, 0, 2);
    if (answer == 0)
        return saveSession() > 0 ? 1 : 0;
    if (answer == 1)
        return 1;
    return 0;
}

QString CreateExerciseView::type()
{
    return QStringLiteral("Exercise");
}

QWidget* CreateExerciseView::widget()
{
    return this;
}

void CreateExerciseView::setMainWindow(IMainWindow* mainWindow)
{
    mHost = mainWindow;
    mLanguageHelper->setMainWindow(mainWindow);
    mSession->setMainWindow(mainWindow);
    mTemplate->setMainWindow(mainWindow);
}

int CreateExerciseView::isModified()
{
    return mModified;
}

int CreateExerciseView::redrawView()
{
    mTemplate->redrawView();
    mSession->redrawView();
    if (mHost && mHost->mFont)
        tEditTerm->setFont(*mHost->mFont);
    for (IFieldInfo* field : std::as_const(mFields))
        field->redrawView();
    return 1;
}

void CreateExerciseView::deleteFields()
{
    const QList<IFieldInfo*> fields = mFields;
    mFields.clear();
    for (IFieldInfo* field : fields) {
        field->hide();
        mFieldsLayout->removeWidget(field);
        field->deleteLater();
    }
}

int CreateExerciseView::newSession()
{
    deleteFields();
    clearExercise();
    return 1;
}

void CreateExerciseView::clearExercise()
{
    resizeFields();
    resetView();
    updateViewLists();
    mExisting = 0;
    mCurrentId.clear();
    objectNotModified();
    emit newObject();
    btnSave->setEnabled(false);
    if (mHost && mHost->mFont)
        tEditTerm->setFont(*mHost->mFont);
    tEditTerm->setFocus();
}

int CreateExerciseView::openSession(void* object)
{
    if (!object)
        return 0;
    // An object from elsewhere ends the term list's hold on the editor.
    if (!mShowingListTerm)
        emit leftTermList();
    resetView();
    deleteFields();
    mExisting = 0;
    if (mHost && mHost->mFont)
        tEditTerm->setFont(*mHost->mFont);
    if (!displayObject(object))
        return 1;
    mExisting = mCurrentId.isEmpty() ? 0 : 1;
    btnSave->setEnabled(true);
    objectNotModified();
    return 1;
}

bool CreateExerciseView::agreesToLeave()
{
    return maybeSave() != 0;
}

bool CreateExerciseView::showTerm(ZoExercise* exercise)
{
    const QString term = exercise->term();
    const QPointer<CreateExerciseView> self(this);
    mShowingListTerm = true;
    openSession(exercise);
    if (!self)
        return false;
    mShowingListTerm = false;
    objectNotModified();
    return termText() == term;
}

void CreateExerciseView::startNew()
{
    newSession();
}

int CreateExerciseView::saveSession()
{
    if (!mAudio) {
        MessageBoxHelper::warning(this, mVersionTitle, tr("Audio Plugin not loaded."));
        btnRecord->setFocus();
        return 0;
    }
    mRecordTimer->stop();
    if (mAudio->isRecording() || mAudio->isPlaying()) {
        mStopDelayTimer->stop();
        stopButtonDelay();
    }
    mPlayTimer->stop();

    ExerciseSaveRules::Draft draft;
    draft.term = termText();
    draft.language = mLanguageHelper->hasLanguage() ? cmbLanguages->currentText() : QString();
    draft.soundDir = mCurrentSoundPath[0];
    draft.soundFile = mCurrentSoundPath[1];
    draft.storedId = mCurrentId;
    draft.existing = mExisting != 0;
    if (mExisting)
        mModified = recomputeModified();
    draft.modified = mModified != 0;
    for (IFieldInfo* field : std::as_const(mFields))
        draft.fields.append({field->fieldType(), field->values()});

    ZoUser* user = mUsers ? mUsers->currentUser() : nullptr;
    const ExerciseSaveRules::Outcome outcome = ExerciseSaveRules(mAudio, mStore).save(draft, user, [this] {
        const int answer = MessageBoxHelper::question(
            this, mVersionTitle, tr("Do you want to save this as a new Exercise or overwrite the existing one?"),
            {tr("Save as New"), tr("Overwrite"), tr("Cancel")});
        return answer == 0   ? ExerciseSaveRules::SaveAsNew
               : answer == 1 ? ExerciseSaveRules::Overwrite
                             : ExerciseSaveRules::Cancel;
    });
    if (outcome.status != ExerciseSaveRules::Saved) {
        if (!outcome.message.isEmpty())
            MessageBoxHelper::information(this, mVersionTitle, outcome.message);
        if (!user || outcome.status == ExerciseSaveRules::Cancelled)
            btnRecord->setFocus();
        return 0;
    }
    showSaved(outcome.exercise.get());
    return 1;
}

void CreateExerciseView::showSaved(ZoExercise* exercise)
{
    btnPlay->setEnabled(true);
    btnStop->setEnabled(false);
    btnRecord->setEnabled(true);
    mCurrentSoundPath[0] = exercise->mediaPath();
    mCurrentSoundPath[1] = exercise->mediaName();
    mExisting = 1;
    mCurrentId = exercise->id();
    mSession->addExercise(exercise);
    objectNotModified();
    // The term list marks the term and may hand the editor its next one.
    emit saveExercise(exercise);
    if (mHost)
        mHost->updateUploadCount();
    const bool cleared = !mTermListHolds;
    if (cleared) {
        clearExercise();
        for (IFieldInfo* field : std::as_const(mFields))
            field->clear();
        objectNotModified();
    }
    btnSave->setEnabled(false);
    if (cleared)
        tEditTerm->setFocus();
    else
        btnRecord->setFocus();
    qCDebug(lcAuthoring) << "save finished";
}

int CreateExerciseView::displayObject(void* object)
{
    auto* exercise = static_cast<ZoExercise*>(object);
    ZoUser* user = mUsers ? mUsers->currentUser() : nullptr;
    if (!exercise || !user)
        return 0;
    const QHash<QString, QString> values = exercise->toHash();
    const QString language = values.value(QStringLiteral("Language"));
    // By id: a list keeps the names of the interface language it was read under.
    const QString languageId = LanguageComboHelper::idOf(language);
    bool known = false;
    for (ZoUserFluency* fluency : user->fluencies())
        known = known || LanguageComboHelper::idOf(fluency->language()) == languageId;
    if (!known) {
        const int answer = MessageBoxHelper::information(
            this, mVersionTitle, tr("You do not have '%1' set as one of your language fluencies.").arg(language),
            {tr("Add Language"), tr("Cancel")});
        if (answer != 0)
            return 0;
        if (LanguageComboHelper::runFluencyWizard(mHost, this, language).isNull())
            return 0;
        if (mLanguageHelper->indexOf(language) < 0)
            updateViewLists();
    }

    mLanguageHelper->selectLanguage(language);
    mCurrentId = values.value(QStringLiteral("Id"));
    tEditTerm->setPlainText(values.value(QStringLiteral("Term")));
    mCurrentSoundPath[0] = values.value(QStringLiteral("MediaPath"));
    mCurrentSoundPath[1] = values.value(QStringLiteral("MediaName"));
    btnPlay->setEnabled(!mCurrentSoundPath[0].isEmpty() && !mCurrentSoundPath[1].isEmpty());

    for (const ExerciseFields::Field& field : ExerciseFields::ordered(*exercise))
        addField(field.first, field.second);

    mSession->addExercise(exercise);
    tEditTerm->setFocus();
    return 1;
}

void CreateExerciseView::objectModified()
{
    const int before = mModified;
    mModified = recomputeModified();
    if (mModified && !before)
        emit modified();
}

void CreateExerciseView::objectNotModified()
{
    mModified = 0;
    mLanguageChanged = 0;
    mUnchangedLanguageId = mLanguageHelper && mLanguageHelper->hasLanguage()
                               ? LanguageComboHelper::idOf(mLanguageHelper->language())
                               : QString();
    mTermChanged = 0;
    mRecordingChanged = 0;
    mFieldsChanged = 0;
    emit notModified();
}

void CreateExerciseView::resetView()
{
    tEditTerm->clear();
    if (mAudio) {
        if (mAudio->fileExists(ExerciseSaveRules::soundDir(), ExerciseSaveRules::newRecordingFile()))
            mAudio->removeFile(ExerciseSaveRules::soundDir(), ExerciseSaveRules::newRecordingFile());
        mCurrentSoundPath[0].clear();
        mCurrentSoundPath[1].clear();
    }
    btnRecord->setEnabled(true);
    btnStop->setEnabled(false);
    btnPlay->setEnabled(false);
    objectNotModified();
}

void CreateExerciseView::fieldModified()
{
    mFieldsChanged = 1;
    objectModified();
}

void CreateExerciseView::addFieldClicked()
{
    addField(QStringLiteral("Translation"), {});
}

void CreateExerciseView::addField(QString name, QHash<QString, QString> values)
{
    if (name == tr("About Fields")) {
        if (mHelpBrowser)
            delete mHelpBrowser.data();
        mHelpBrowser = new HelpBrowser(this, mVersionTitle, {QStringLiteral("."), QStringLiteral("Docs/html")},
                                       QStringLiteral("createtab.html"));
        mHelpBrowser->show();
        return;
    }
    IFieldInfo* field = FieldInfoFactory::create(name, values);
    mFields.append(field);
    connect(field, SIGNAL(removeField(IFieldInfo*)), this, SLOT(removeFieldInfo(IFieldInfo*)));
    connect(field, SIGNAL(fieldModified()), this, SLOT(fieldModified()));
    field->setMainWindow(mHost);
    field->redrawView();
    mFieldsLayout->addWidget(field);
    field->show();
    resizeFields();
    mFieldsScroll->ensureWidgetVisible(field, 10, 10);
    mFieldsScroll->setFocus();
    field->setValueFocus();
    mFieldsChanged = 1;
    objectModified();
}

void CreateExerciseView::removeFieldInfo(IFieldInfo* field)
{
    if (!mFields.removeOne(field))
        return;
    field->hide();
    mFieldsLayout->removeWidget(field);
    // The field's own button is still on the stack.
    field->deleteLater();
    resizeFields();
    mFieldsChanged = 1;
    objectModified();
}

void CreateExerciseView::resizeFields()
{
    if (!mFieldsFrame)
        return;
    mFieldsLayout->activate();
    mFieldsFrame->resize(qMax(0, mFieldsScroll->width() - 19), mFieldsFrame->sizeHint().height());
    // A whole row of fields stays in sight at any font; more rows scroll.
    int row = 0;
    for (IFieldInfo* field : std::as_const(mFields))
        row = qMax(row, field->sizeHint().height());
    const QMargins margins = mFieldsLayout->contentsMargins();
    mFieldsScroll->setMinimumHeight(row > 0 ? row + margins.top() + margins.bottom() + 2 * mFieldsScroll->frameWidth()
                                            : 0);
}

void CreateExerciseView::resizeEvent(QResizeEvent* event)
{
    ICreate::resizeEvent(event);
    resizeFields();
}

void CreateExerciseView::setRecordIcon(const char* name)
{
    if (mIconDir.exists())
        btnRecord->setIcon(QIcon(mIconDir.filePath(QLatin1String(name))));
}

QString CreateExerciseView::termText() const
{
    return tEditTerm->toPlainText();
}

void CreateExerciseView::recordSound()
{
    if (!mAudio)
        return;
    mAudio->record(1, 16000, 30);
    btnSave->setEnabled(false);
    btnPlay->setEnabled(false);
    btnStop->setEnabled(true);
    btnStop->setFocus();
    mStoppedRecording = false;
    mRecordTimer->start();
    setRecordIcon("rec_act1.png");
}

void CreateExerciseView::checkRecordStatus()
{
    if (!mAudio || mAudio->isRecording())
        return;
    mRecordingChanged = 1;
    btnPlay->setEnabled(true);
    btnStop->setEnabled(false);
    mRecordTimer->stop();
    setRecordIcon("rec_act2.png");
    mCurrentSoundPath[0] = ExerciseSaveRules::soundDir();
    mCurrentSoundPath[1] = ExerciseSaveRules::newRecordingFile();
    btnSave->setEnabled(!termText().isEmpty());
    objectModified();
}

void CreateExerciseView::stopSound()
{
    if (!mAudio)
        return;
    if (mAudio->isRecording())
        mStopDelayTimer->start(500);
    else if (mAudio->isPlaying())
        mStopDelayTimer->start(1);
}

void CreateExerciseView::stopButtonDelay()
{
    if (!mAudio)
        return;
    bool stoppedRecording = false;
    if (mAudio->isRecording()) {
        mRecordTimer->stop();
        setRecordIcon("rec_act2.png");
        mCurrentSoundPath[0] = ExerciseSaveRules::soundDir();
        mCurrentSoundPath[1] = ExerciseSaveRules::newRecordingFile();
        mRecordingChanged = 1;
        objectModified();
        stoppedRecording = true;
    } else {
        mPlayTimer->stop();
        btnSave->setFocus();
    }
    btnStop->setEnabled(false);
    btnRecord->setEnabled(true);
    mAudio->stop();
    if (mAudio->fileExists(mCurrentSoundPath[0], mCurrentSoundPath[1])) {
        btnSave->setEnabled(true);
        btnPlay->setEnabled(true);
        if (stoppedRecording)
            btnPlay->setFocus();
    }
}

void CreateExerciseView::playSound()
{
    if (!mAudio)
        return;
    if (mAudio->isPlaying() || mAudio->isRecording()) {
        mStopDelayTimer->stop();
        stopButtonDelay();
    }
    btnStop->setEnabled(true);
    btnRecord->setEnabled(false);
    btnPlay->setEnabled(false);
    mAudio->play(mCurrentSoundPath[0], mCurrentSoundPath[1]);
    mPlayTimer->start();
    btnStop->setFocus();
}

void CreateExerciseView::checkPlayStatus()
{
    if (!mAudio || mAudio->isPlaying())
        return;
    btnRecord->setEnabled(true);
    btnPlay->setEnabled(true);
    btnStop->setEnabled(false);
    mPlayTimer->stop();
}

ZoExercise* CreateExerciseView::loadStored() const
{
    if (mCurrentId.isEmpty() || !mStore)
        return nullptr;
    return mStore->getExercise(QStringLiteral("Exercise"), mCurrentId);
}

void CreateExerciseView::tEditTermChanged()
{
    if (mCurrentId.isEmpty()) {
        mTermChanged = 1;
    } else if (std::unique_ptr<ZoExercise> stored{loadStored()}) {
        mTermChanged = stored->term().trimmed() != termText().trimmed() ? 1 : 0;
    }
    objectModified();
}

void CreateExerciseView::cmbLanguagesChanged(QString)
{
    // By id, against the language shown when the exercise was last unchanged: a
    // cancelled "Add Language..." or a renamed entry changes nothing.
    const QString shown = mLanguageHelper->hasLanguage() ? LanguageComboHelper::idOf(mLanguageHelper->language())
                                                         : QString();
    if (mCurrentId.isEmpty()) {
        mLanguageChanged = shown != mUnchangedLanguageId ? 1 : 0;
    } else if (std::unique_ptr<ZoExercise> stored{loadStored()}) {
        mLanguageChanged = shown != LanguageComboHelper::idOf(stored->language()) ? 1 : 0;
    }
    objectModified();
}

void CreateExerciseView::importWordlist()
{
    mTemplate->import();
    tabCreateView->setCurrentWidget(mTemplate);
}
