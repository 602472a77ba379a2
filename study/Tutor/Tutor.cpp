#include "Tutor.h"

#include "ContentGate.h"
#include "CreateNew.h"
#include "HelpBrowser.h"
#include "IAudio.h"
#include "IDbManager.h"
#include "IMainWindow.h"
#include "IStudyResource.h"
#include "IUserResource.h"
#include "LessonStore.h"
#include "MessageBoxHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SettingsStore.h"
#include "StoredExercises.h"
#include "StudyListModel.h"
#include "StudyLog.h"
#include "WavReader.h"
#include "WorkProgress.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ZoUser.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFontMetrics>
#include <QMenu>
#include <QSignalBlocker>
#include <QTimer>

#include <memory>

namespace {

// The name the store files translations under.
const char* const kTranslationField = "Translation";

const int kModelPollMs = 50;
const int kSoundPollMs = 200;
const int kRecordStopDelayMs = 500;
const int kPlayStopDelayMs = 1;
const int kRestartDelayMs = 500;
const int kExercisePaneWidth = 500;
const int kListPaneWidth = 200;

QTimer* makeTimer(QObject* parent, const char* name, int interval, bool singleShot)
{
    auto* timer = new QTimer(parent);
    timer->setObjectName(QLatin1String(name));
    timer->setInterval(interval);
    timer->setSingleShot(singleShot);
    return timer;
}

} // namespace

Tutor::Tutor(QWidget* parent)
    : QWidget(parent)
{
}

Tutor::~Tutor()
{
    if (mAudio && soundBusy())
        mAudio->stop();
    if (mStudy)
        mStudy->clearList();
}

void Tutor::init()
{
    if (mInitialized)
        return;
    setupUi(this);
    mDb = PluginLocator::load<IDbManager>(PluginFiles::Storekeeper);

    connect(tbl, qOverload<int, int, int, const QPoint&>(&StudyListView::clicked), this, &Tutor::showOptions);
    connect(tbl, &StudyListView::mouseDoubleClick, this, &Tutor::studylistDoubleClick);
    connect(tbl, &StudyListView::tableSelectionChanged, this, &Tutor::tableSelectionChanged);
    connect(btnModelStop, &QAbstractButton::clicked, this, &Tutor::stopModelSound);
    connect(btnModelPlay, &QAbstractButton::clicked, this, &Tutor::playModelSound);
    connect(btnStudentRecord, &QAbstractButton::clicked, this, &Tutor::recordStudentSound);
    connect(btnStudentStop, &QAbstractButton::clicked, this, &Tutor::stopStudentSound);
    connect(btnStudentPlay, &QAbstractButton::clicked, this, &Tutor::playStudentSound);
    connect(btnPlayCompare, &QAbstractButton::clicked, this, &Tutor::playCompareSound);
    connect(btnHelp, &QAbstractButton::clicked, this, &Tutor::btnHelpClicked);
    connect(btnPrevious, &QAbstractButton::clicked, this, &Tutor::previousExercise);
    connect(btnNext, &QAbstractButton::clicked, this, &Tutor::nextExercise);
    connect(rbTextOn, &QAbstractButton::clicked, this, &Tutor::rbTextOnClicked);
    connect(rbTextOff, &QAbstractButton::clicked, this, &Tutor::rbTextOffClicked);
    connect(btnShowText, &QAbstractButton::clicked, this, &Tutor::btnShowTextClicked);
    connect(btnCreateLesson, &QAbstractButton::clicked, this, &Tutor::btnCreateLessonClicked);

    mMsgTitle = SettingsStore::versionTitle();
    loadIcons();

    mAudio = PluginLocator::load<IAudio>(PluginFiles::ZoAudio);
    mStudy = PluginLocator::load<IStudyResource>(PluginFiles::ZoStudyResource);
    mUsers = PluginLocator::load<IUserResource>(PluginFiles::ZoUserResource);

    // The list is read from the study list as its rows are shown.
    mListModel = new StudyListModel(mStudy, this);
    tbl->setModel(mListModel);
    tbl->setColumnHidden(0, true);
    mListModel->setColumnLabels({tr("Id"), tr("Studylist")});

    mModelDir.clear();
    mModelFile.clear();
    mModelPlayTimer = makeTimer(this, "modelPlayPoll", kModelPollMs, false);
    mStudentPlayTimer = makeTimer(this, "studentPlayPoll", kSoundPollMs, false);
    mRecordTimer = makeTimer(this, "recordPoll", kSoundPollMs, false);
    mStopDelayTimer = makeTimer(this, "stopDelay", kRecordStopDelayMs, true);
    mCompareTimer = makeTimer(this, "comparePoll", kSoundPollMs, false);
    mDeferredPlayTimer = makeTimer(this, "restartDelay", kRestartDelayMs, true);
    connect(mModelPlayTimer, &QTimer::timeout, this, &Tutor::checkModelPlayStatus);
    connect(mStudentPlayTimer, &QTimer::timeout, this, &Tutor::checkStudentPlayStatus);
    connect(mRecordTimer, &QTimer::timeout, this, &Tutor::checkStudentRecordStatus);
    connect(mStopDelayTimer, &QTimer::timeout, this, &Tutor::stopStudentButtonDelay);
    connect(mCompareTimer, &QTimer::timeout, this, &Tutor::checkPlayCompareStatus);
    connect(mDeferredPlayTimer, &QTimer::timeout, this, &Tutor::startDeferredStudentPlay);

    mTextShown = true;
    // Its room stays while it is hidden: Record does not widen the row.
    QSizePolicy recordingPolicy = lblRecording->sizePolicy();
    recordingPolicy.setRetainSizeWhenHidden(true);
    lblRecording->setSizePolicy(recordingPolicy);
    lblRecording->hide();
    btnShowText->hide();
    for (QTextEdit* edit : {teStudyTerm, teFieldData}) {
        QPalette palette = edit->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, QPalette::Base, palette.color(group, QPalette::Window));
        edit->setPalette(palette);
    }
    studySplitter->setSizes({kExercisePaneWidth, kListPaneWidth});

    // Without a sound plug-in nothing can be recorded or played.
    if (!mAudio) {
        for (QWidget* button :
             std::initializer_list<QWidget*>{btnModelPlay, btnModelStop, btnLoopSound, btnStudentRecord, btnStudentStop,
                                             btnStudentPlay, btnPlayCompare})
            button->setEnabled(false);
    }
    mShownUser = currentUserName();
    mInitialized = true;
}

void Tutor::loadIcons()
{
    mIconDir = QDir(QStringLiteral("Icons"));
    if (!mIconDir.exists())
        return;
    const auto icon = [this](const char* name) { return QIcon(mIconDir.filePath(QLatin1String(name))); };
    btnModelStop->setIcon(icon("stop_act.png"));
    btnModelPlay->setIcon(icon("play_act.png"));
    btnStudentRecord->setIcon(icon("rec_act2.png"));
    btnStudentStop->setIcon(icon("stop_act.png"));
    btnStudentPlay->setIcon(icon("play_act.png"));
    btnHelp->setNormalImage(QPixmap(mIconDir.filePath(QStringLiteral("smlNormalHelp.png"))));
    btnHelp->setHighlightedImage(QPixmap(mIconDir.filePath(QStringLiteral("smlHighlightedHelp.png"))));
}

QString Tutor::currentUserName() const
{
    ZoUser* user = mUsers ? mUsers->currentUser() : nullptr;
    return user ? user->username() : QString();
}

int Tutor::customRefresh()
{
    qCDebug(lcStudy) << "study tab refreshed";
    if (!mInitialized)
        return 1;
    if (mAudio && !soundBusy()) {
        btnModelPlay->setEnabled(modelExists());
        if (btnModelPlay->isEnabled())
            btnModelPlay->setFocus();
        const bool recorded = recordingExists();
        btnStudentPlay->setEnabled(recorded);
        btnPlayCompare->setEnabled(recorded);
    }
    teStudyTerm->clear();
    lblMetadata1->clear();
    lblMetadata2->clear();
    teFieldData->clear();
    refillList();
    tbl->setFocus();
    redrawView();
    tableSelectionChanged();
    return 1;
}

void Tutor::refillList()
{
    const int oldRow = tbl->currentRow();
    {
        const QSignalBlocker blocker(tbl);
        mListModel->reload();
        const int count = tbl->numRows();
        if (count > 0) {
            const bool keep = oldRow >= 0 && oldRow < count && mListModel->idAt(oldRow) == mShownId;
            tbl->setCurrentCell(keep ? oldRow : 0, 1);
        }
    }
    tbl->viewport()->update();
    btnCreateLesson->setEnabled(tbl->numRows() > 0);
}

bool Tutor::syncList()
{
    // Behind the tab the list only grows (a download finished); every other
    // change is made here, or in another tab, and entering this one refills it.
    if (!mStudy || mListModel->inStep())
        return false;
    refillList();
    return true;
}

int Tutor::updateViewLists()
{
    return 1;
}

void Tutor::retranslateView()
{
    if (!mInitialized)
        return;
    mListModel->setColumnLabels({tr("Id"), tr("Studylist")});
    retranslateUi(this);
}

int Tutor::customLeave()
{
    if (mAudio && soundBusy()) {
        // A loop must not start the sound again behind another tab.
        mCompareTimer->stop();
        mDeferredPlayTimer->stop();
        btnLoopSound->setChecked(false);
        mAudio->stop();
    }
    return 1;
}

void Tutor::closeEvent(QCloseEvent* event)
{
    event->accept();
}

QString Tutor::title()
{
    return tr("Study");
}

QString Tutor::translationFileName(QString language)
{
    return QStringLiteral("study-") + language;
}

QWidget* Tutor::widget()
{
    return this;
}

int Tutor::tabIndex()
{
    return 1;
}

void Tutor::setMainWindow(IMainWindow* mainWindow)
{
    if (mHost)
        disconnect(mHost, SIGNAL(fontChanged()), this, SLOT(redrawView()));
    mHost = mainWindow;
    if (mHost)
        connect(mHost, SIGNAL(fontChanged()), this, SLOT(redrawView()));
}

void Tutor::refreshData()
{
    if (!mInitialized)
        return;
    const QString user = currentUserName();
    if (user != mShownUser) {
        mShownUser = user;
        resetView();
        return;
    }
    // Same learner: the list, the current entry and the text switch stay.
    refillList();
    showCurrentEntry();
}

void Tutor::resetView()
{
    stopAllPolls();
    mDeferredPlayTimer->stop();
    mStopDelayTimer->stop();
    btnLoopSound->setChecked(false);
    if (mAudio) {
        if (soundBusy())
            mAudio->stop();
        // The recording belongs to the learner who made it.
        if (recordingExists())
            mAudio->removeFile(QLatin1String(RecordingDir), QLatin1String(RecordingFile));
    }
    mComparePhaseModel = true;
    mCompareFirst = true;
    lblRecording->hide();
    tbl->setEnabled(true);
    if (mAudio) {
        btnModelStop->setEnabled(false);
        btnStudentStop->setEnabled(false);
        btnStudentRecord->setEnabled(true);
        if (mIconDir.exists())
            btnStudentRecord->setIcon(QIcon(mIconDir.filePath(QStringLiteral("rec_act2.png"))));
    }
    rbTextOn->setChecked(true);
    rbTextOnClicked();
    tbl->setCurrentCell(-1, -1);
    customRefresh();
}

void Tutor::fitTermHeight()
{
    // Room for three lines of the term; the fields or, with the text off,
    // the space below take the rest.
    const int margins = 2 * int(teStudyTerm->document()->documentMargin()) + 2 * teStudyTerm->frameWidth();
    teStudyTerm->setMaximumHeight(3 * QFontMetrics(teStudyTerm->font()).lineSpacing() + margins);
}

int Tutor::redrawView()
{
    if (!mInitialized)
        return 1;
    tbl->redrawTable();
    if (!mHost || !mHost->mFont) {
        fitTermHeight();
        return 1;
    }
    QFont bold(*mHost->mFont);
    bold.setBold(true);
    lblMetadata1->setFont(bold);
    lblMetadata2->setFont(bold);
    const int size = mHost->mFont->pointSize();
    if (size > 0) {
        QFont fieldFont = teFieldData->font();
        fieldFont.setPointSize(size + 4);
        teFieldData->setFont(fieldFont);
        bold.setPointSize(size + 10);
    }
    teStudyTerm->setFont(bold);
    fitTermHeight();
    return 1;
}

QString Tutor::maskText(const QString& text)
{
    QString masked;
    masked.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char(' ')) {
            masked.append(c);
            continue;
        }
        // One "X" for each character, also for one written as a surrogate pair.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        masked.append(QLatin1Char('X'));
    }
    return masked;
}

// ---- display ----

void Tutor::tableSelectionChanged()
{
    if (!mInitialized)
        return;
    if (mAudio && mAudio->isPlaying())
        stopModelSound();
    showCurrentEntry();
}

void Tutor::showCurrentEntry()
{
    teFieldData->clear();
    teStudyTerm->clear();
    lblMetadata1->clear();
    lblMetadata2->clear();

    const int row = tbl->currentRow();
    const bool haveEntry = mStudy && row >= 0 && row < mStudy->count() && row < tbl->numRows();
    mShownId = haveEntry ? mStudy->idAt(row) : QString();
    if (!mStudy || mStudy->count() == 0 || tbl->numRows() == 0)
        teStudyTerm->setPlainText(tr("Studylist currently empty."));
    if (!haveEntry) {
        // Nothing to drill: the model of a removed entry is not offered.
        lblMetadata2->hide();
        mModelDir.clear();
        mModelFile.clear();
        if (mAudio && !soundBusy()) {
            btnModelStop->setEnabled(false);
            btnModelPlay->setEnabled(false);
        }
        updatePreviousNextButton();
        return;
    }

    const QHash<QString, QString> entry = mStudy->exerciseAt(row);
    const QString term = entry.value(QStringLiteral("Term"));
    teStudyTerm->setPlainText(mTextShown ? term : maskText(term));

    QString details = entry.value(QStringLiteral("Language")) + tr(", ") + entry.value(QStringLiteral("Voice"));
    for (const char* key : {"Country", "Locality"}) {
        const QString value = entry.value(QLatin1String(key));
        if (!value.isEmpty())
            details += tr(", ") + value;
    }
    lblMetadata1->setText(details);

    const QString lesson = entry.value(QStringLiteral("FromLesson"));
    lblMetadata2->setText(lesson.isEmpty() ? QString() : tr("From Lesson: ") + lesson);
    lblMetadata2->setVisible(!lesson.isEmpty());

    mModelDir = entry.value(QStringLiteral("MediaPath"));
    mModelFile = entry.value(QStringLiteral("MediaName"));
    if (mAudio && !soundBusy()) {
        btnModelStop->setEnabled(false);
        btnModelPlay->setEnabled(modelExists());
    }

    showEntryFields(mListModel->idAt(row));
    updatePreviousNextButton();
}

void Tutor::showEntryFields(const QString& id)
{
    teFieldData->clear();
    redrawView();
    if (!mDb || id.isEmpty())
        return;
    const std::unique_ptr<ZoExercise> exercise(mDb->getExercise(QStringLiteral("Exercise"), id));
    if (!exercise)
        return;
    const ZoExercise::FieldMap fields = exercise->fields();
    const QString translation = QLatin1String(kTranslationField);
    QStringList kinds = mDb->tagList();
    kinds.removeAll(translation);
    kinds.append(translation);

    // Every value is escaped: the texts may come from other learners.
    const auto esc = [](const QString& text) { return text.toHtmlEscaped(); };
    QString html;
    for (const QString& kind : std::as_const(kinds)) {
        QList<QHash<QString, QString>> values = fields.values(kind);
        if (values.isEmpty())
            continue;
        // The hash gives the values last-added first.
        std::reverse(values.begin(), values.end());
        const bool isTranslation = kind == translation;
        html += QStringLiteral("<b>%1</b><br><br>").arg(isTranslation ? esc(tr("Translation(s)")) : esc(kind));
        for (const QHash<QString, QString>& v : std::as_const(values)) {
            const QString value = esc(v.value(QStringLiteral("Value")));
            const QString language = esc(v.value(QStringLiteral("Language")));
            const QString context = v.value(QStringLiteral("Context"));
            if (isTranslation && !context.isEmpty()) {
                html += esc(tr("Translation")) + QStringLiteral(": %1 (%2)<br>").arg(value, language)
                        + esc(tr("Context"))
                        + QStringLiteral(": %1 (%2)<br><br>")
                              .arg(esc(context), esc(v.value(QStringLiteral("Context_Language"))));
            } else {
                html += QStringLiteral("%1 (%2)<br><br>").arg(value, language);
            }
        }
    }
    teFieldData->setHtml(html);
}

void Tutor::rbTextOffClicked()
{
    if (tbl->numRows() > 0) {
        btnShowText->show();
        btnShowText->setEnabled(true);
        mTextShown = false;
        const int row = tbl->currentRow();
        if (row >= 0)
            teStudyTerm->setPlainText(maskText(tbl->text(row, 1)));
        teFieldData->hide();
    }
    tbl->hide();
    studySplitter->setSizes({kExercisePaneWidth, 0});
}

void Tutor::rbTextOnClicked()
{
    if (tbl->numRows() > 0) {
        btnShowText->hide();
        mTextShown = true;
        const int row = tbl->currentRow();
        if (row >= 0)
            teStudyTerm->setPlainText(tbl->text(row, 1));
        teFieldData->show();
    } else {
        mTextShown = true;
    }
    tbl->show();
    studySplitter->setSizes({kExercisePaneWidth, kListPaneWidth});
}

void Tutor::btnShowTextClicked()
{
    teFieldData->show();
    const int row = tbl->currentRow();
    if (row >= 0)
        teStudyTerm->setPlainText(tbl->text(row, 1));
    btnShowText->setEnabled(false);
}

// ---- navigation ----

void Tutor::moveToRow(int row)
{
    tbl->setCurrentCell(row, 1);
    tbl->setFocus();
    updatePreviousNextButton();
    btnPlayCompare->setEnabled(false);
    btnShowText->setEnabled(true);
}

void Tutor::nextExercise()
{
    // The list stays put while recording.
    if (!tbl->isEnabled())
        return;
    const int row = tbl->currentRow();
    if (tbl->numRows() == 0 || row >= tbl->numRows() - 1)
        return;
    moveToRow(row + 1);
}

void Tutor::previousExercise()
{
    if (!tbl->isEnabled())
        return;
    const int row = tbl->currentRow();
    if (row <= 0)
        return;
    moveToRow(row - 1);
}

void Tutor::updatePreviousNextButton()
{
    const int rows = tbl->numRows();
    const int row = tbl->currentRow();
    const bool free = tbl->isEnabled();
    btnNext->setEnabled(free && rows > 0 && row < rows - 1);
    btnPrevious->setEnabled(free && rows > 0 && row > 0);
}

void Tutor::studylistDoubleClick(int row, int, int, const QPoint&)
{
    if (mAudio && row >= 0 && !soundBusy())
        playModelSound();
    tbl->setFocus();
}

void Tutor::btnHelpClicked()
{
    delete mHelp.data();
    mHelp = new HelpBrowser(this, mMsgTitle, {QStringLiteral("."), QStringLiteral("Docs/html")},
                            QStringLiteral("studytab.html"));
    mHelp->show();
}

// ---- sound ----

bool Tutor::soundBusy()
{
    return mAudio && (mAudio->isPlaying() || mAudio->isRecording());
}

bool Tutor::modelExists()
{
    return mAudio && !mModelDir.isEmpty() && !mModelFile.isEmpty() && mAudio->fileExists(mModelDir, mModelFile);
}

bool Tutor::recordingExists()
{
    return mAudio && mAudio->fileExists(QLatin1String(RecordingDir), QLatin1String(RecordingFile));
}

void Tutor::restorePlayButtons()
{
    btnModelPlay->setEnabled(modelExists());
    const bool recorded = recordingExists();
    btnStudentPlay->setEnabled(recorded);
    btnPlayCompare->setEnabled(recorded);
}

void Tutor::stopAllPolls()
{
    mModelPlayTimer->stop();
    mStudentPlayTimer->stop();
    mCompareTimer->stop();
}

void Tutor::playModelSound()
{
    if (!mAudio || mModelDir.isEmpty() || mModelFile.isEmpty())
        return;
    if (modelExists()) {
        btnPlayCompare->setEnabled(false);
        btnStudentRecord->setEnabled(false);
        btnStudentStop->setEnabled(false);
        btnStudentPlay->setEnabled(false);
        btnModelPlay->setEnabled(false);
        btnModelStop->setEnabled(true);
        btnModelStop->setFocus();
        mAudio->play(mModelDir, mModelFile);
        if (!mAudio->isPlaying()) {
            soundFailed(mModelDir, mModelFile);
            return;
        }
        mModelPlayTimer->start();
        return;
    }
    // Nothing may start the sound again while the message is open.
    stopAllPolls();
    mDeferredPlayTimer->stop();
    btnLoopSound->setChecked(false);
    btnModelStop->setEnabled(false);
    btnStudentRecord->setEnabled(!mAudio->isRecording());
    restorePlayButtons();
    const QPointer<Tutor> self(this);
    MessageBoxHelper::information(this, mMsgTitle, tr("Exercise doesn't exist.  Removing it from list."));
    if (!self)
        return;
    removeExercise(true);
}

QString Tutor::whyNotPlayed(const QString& directory, const QString& fileName)
{
    const QString path = directory.isEmpty() ? fileName : directory + QLatin1Char('/') + fileName;
    const WavReader::Sound sound = WavReader::readFile(QDir::current().absoluteFilePath(path));
    switch (sound.verdict) {
    case WavReader::Verdict::TooLarge:
        return tr("The sound \"%1\" could not be played: it is larger than %2 MB, and only a WAV sound of at most "
                  "%2 MB plays.")
            .arg(fileName)
            .arg(ContentGate::MaxSoundBytes >> 20);
    case WavReader::Verdict::NotWav:
        return tr("The sound \"%1\" could not be played: it is not a WAV sound.").arg(fileName);
    case WavReader::Verdict::Unsupported:
        return tr("The sound \"%1\" could not be played: it is a WAV sound in a format that does not play (%2).")
            .arg(fileName, sound.formatName);
    case WavReader::Verdict::NoSamples:
        return tr("The sound \"%1\" could not be played: it holds no sound.").arg(fileName);
    case WavReader::Verdict::Playable:
    case WavReader::Verdict::Unreadable:
        break;
    }
    return tr("The sound \"%1\" could not be played.").arg(fileName);
}

void Tutor::soundFailed(const QString& directory, const QString& fileName)
{
    // Said once: nothing plays it again until the learner asks.
    stopAllPolls();
    mDeferredPlayTimer->stop();
    btnLoopSound->setChecked(false);
    btnModelStop->setEnabled(false);
    btnStudentStop->setEnabled(false);
    btnStudentRecord->setEnabled(!mAudio->isRecording());
    restorePlayButtons();
    MessageBoxHelper::information(this, mMsgTitle, whyNotPlayed(directory, fileName));
}

void Tutor::checkModelPlayStatus()
{
    if (!mAudio) {
        mModelPlayTimer->stop();
        return;
    }
    if (mAudio->isPlaying())
        return;
    btnModelStop->setEnabled(false);
    restorePlayButtons();
    btnStudentRecord->setEnabled(true);
    if (btnLoopSound->isChecked() && !mCompareTimer->isActive())
        playModelSound();
    else
        mModelPlayTimer->stop();
}

void Tutor::stopModelSound()
{
    if (!mAudio || !mAudio->isPlaying())
        return;
    mCompareTimer->stop();
    mAudio->stop();
    btnModelStop->setEnabled(false);
    btnLoopSound->setChecked(false);
    restorePlayButtons();
    if (btnModelPlay->isEnabled())
        btnModelPlay->setFocus();
    btnStudentRecord->setEnabled(true);
}

void Tutor::recordStudentSound()
{
    if (!mAudio || soundBusy())
        return;
    tbl->setEnabled(false);
    updatePreviousNextButton();
    mAudio->recordInto(QLatin1String(RecordingFile), 1, 16000, 30);
    lblRecording->show();
    btnPlayCompare->setEnabled(false);
    btnModelPlay->setEnabled(false);
    btnModelStop->setEnabled(false);
    btnStudentPlay->setEnabled(false);
    btnStudentStop->setEnabled(true);
    btnStudentStop->setFocus();
    if (mIconDir.exists())
        btnStudentRecord->setIcon(QIcon(mIconDir.filePath(QStringLiteral("rec_act1.png"))));
    mRecordTimer->start();
}

void Tutor::checkStudentRecordStatus()
{
    if (!mAudio) {
        mRecordTimer->stop();
        return;
    }
    if (mAudio->isRecording())
        return;
    tbl->setEnabled(true);
    btnStudentRecord->setEnabled(true);
    btnStudentStop->setEnabled(false);
    mRecordTimer->stop();
    if (mIconDir.exists())
        btnStudentRecord->setIcon(QIcon(mIconDir.filePath(QStringLiteral("rec_act2.png"))));
    lblRecording->hide();
    restorePlayButtons();
    updatePreviousNextButton();
    btnStudentPlay->setFocus();
}

void Tutor::stopStudentSound()
{
    if (!mAudio)
        return;
    const bool recording = mAudio->isRecording();
    if (recording) {
        // The end of a take is kept: the recording runs on a little.
        mStopDelayTimer->start(kRecordStopDelayMs);
        return;
    }
    if (mAudio->isPlaying()) {
        btnLoopSound->setChecked(false);
        mCompareTimer->stop();
        mStopDelayTimer->start(kPlayStopDelayMs);
    }
    if (modelExists())
        btnModelPlay->setEnabled(true);
    if (recordingExists()) {
        btnStudentPlay->setEnabled(true);
        btnPlayCompare->setEnabled(true);
    }
}

void Tutor::stopStudentButtonDelay()
{
    if (!mAudio)
        return;
    if (mAudio->isRecording()) {
        lblRecording->hide();
        if (mIconDir.exists())
            btnStudentRecord->setIcon(QIcon(mIconDir.filePath(QStringLiteral("rec_act2.png"))));
    } else {
        mStudentPlayTimer->stop();
    }
    btnStudentRecord->setEnabled(true);
    btnStudentStop->setEnabled(false);
    mAudio->stop();
    restorePlayButtons();
    if (btnStudentPlay->isEnabled())
        btnStudentPlay->setFocus();
}

void Tutor::playStudentSound()
{
    if (!mAudio)
        return;
    if (soundBusy()) {
        // Playback starts once the sound in progress has been stopped.
        stopStudentSound();
        stopModelSound();
        mDeferredPlayTimer->start();
        return;
    }
    btnPlayCompare->setEnabled(false);
    btnStudentPlay->setEnabled(false);
    btnStudentStop->setEnabled(true);
    btnStudentRecord->setEnabled(false);
    btnModelPlay->setEnabled(false);
    btnModelStop->setEnabled(false);
    mAudio->play(QLatin1String(RecordingDir), QLatin1String(RecordingFile));
    if (!mAudio->isPlaying()) {
        soundFailed(QLatin1String(RecordingDir), QLatin1String(RecordingFile));
        return;
    }
    mStudentPlayTimer->start();
    btnStudentStop->setFocus();
}

void Tutor::startDeferredStudentPlay()
{
    if (mAudio && !soundBusy())
        playStudentSound();
}

void Tutor::checkStudentPlayStatus()
{
    if (!mAudio) {
        mStudentPlayTimer->stop();
        return;
    }
    if (mAudio->isPlaying())
        return;
    btnStudentRecord->setEnabled(true);
    btnStudentStop->setEnabled(false);
    restorePlayButtons();
    btnStudentPlay->setFocus();
    if (btnLoopSound->isChecked() && !mCompareTimer->isActive())
        playStudentSound();
    else
        mStudentPlayTimer->stop();
}

void Tutor::playCompareSound()
{
    if (!mAudio)
        return;
    // Every comparison starts with the model.
    mComparePhaseModel = true;
    mCompareFirst = true;
    mCompareTimer->start();
}

void Tutor::checkPlayCompareStatus()
{
    if (!mAudio) {
        mCompareTimer->stop();
        return;
    }
    if (mComparePhaseModel) {
        if (mCompareFirst) {
            mCompareFirst = false;
            const QPointer<Tutor> self(this);
            playModelSound();
            if (!self || !mCompareTimer->isActive())
                return;
        }
        if (mAudio->isPlaying())
            return;
        mComparePhaseModel = false;
        playStudentSound();
        return;
    }
    if (mAudio->isPlaying())
        return;
    mComparePhaseModel = true;
    mCompareFirst = true;
    if (!btnLoopSound->isChecked())
        mCompareTimer->stop();
}

// ---- list editing ----

void Tutor::btnCreateLessonClicked()
{
    syncList();
    if (!mDb || tbl->numRows() == 0)
        return;
    // Only stored exercises become members; the list's order and repeats stay.
    QStringList ids;
    ids.reserve(tbl->numRows());
    for (int row = 0; row < tbl->numRows(); ++row)
        ids.append(mListModel->idAt(row));
    const QPointer<Tutor> self(this);
    auto progress = std::make_unique<WorkProgress>(this, mMsgTitle, tr("Reading the Studylist..."), int(ids.size()));
    QHash<QString, QHash<QString, QString>> stored;
    if (!StoredExercises::byId(mDb, ids, &stored, progress.get()) || !self)
        return;
    progress->hide();
    ZoLesson lesson;
    for (const QString& id : std::as_const(ids)) {
        if (stored.contains(id))
            lesson.addExerciseId(id);
    }
    stored.clear();
    if (lesson.exerciseCount() == 0) {
        progress.reset();
        MessageBoxHelper::information(this, mMsgTitle,
                                      tr("No Exercise of the Studylist is stored in the Library.  "
                                         "Lesson could not be saved."));
        return;
    }

    // The dialog's parent is the main window, which outlives the tab.
    CreateNew dialog(mHost, &lesson);
    const int result = dialog.exec();
    if (!self || result != QDialog::Accepted)
        return;
    // The lesson is written in one transaction: no steps, no Abort halfway.
    progress->setLabel(tr("Saving Lesson..."));
    progress->setTotal(0);
    progress->showAgainIfShown();
    if (!self)
        return;
    const bool saved = LessonStore::write(mDb, lesson);
    progress.reset();
    if (!saved) {
        LessonStore::sayWhyNot(this, mMsgTitle);
        return;
    }
    if (mHost)
        mHost->updateUploadCount();
    MessageBoxHelper::information(this, mMsgTitle, tr("Lesson Saved."));
}

void Tutor::showOptions(int row, int, int button, const QPoint&)
{
    if (button != Qt::RightButton || row < 0 || tbl->currentRow() < 0)
        return;
    const QPointer<Tutor> self(this);
    const QPointer<QMenu> menu = new QMenu(tbl);
    QAction* remove = menu->addAction(tr("Remove From Studylist"));
    menu->addSeparator();
    QAction* erase = menu->addAction(tr("Delete From Library"));
    QAction* chosen = menu->exec(QCursor::pos());
    if (!self)
        return;
    const bool removeChosen = chosen && chosen == remove;
    const bool deleteChosen = chosen && chosen == erase;
    if (menu)
        menu->deleteLater();
    if (removeChosen)
        removeExercise();
    else if (deleteChosen)
        deleteExercise();
}

void Tutor::removeExercise()
{
    removeExercise(false);
}

void Tutor::removeExercise(bool all)
{
    syncList();
    const int row = tbl->currentRow();
    if (!mStudy || row < 0 || row >= tbl->numRows())
        return;
    removeEntries(row, all);
}

void Tutor::removeEntries(int row, bool all)
{
    const QString id = mListModel->idAt(row);
    // The entry that followed the removed one becomes current.
    int next = 0;
    for (int r = 0; r < row; ++r) {
        if (!all || mListModel->idAt(r) != id)
            ++next;
    }
    {
        const QSignalBlocker blocker(tbl);
        if (all) {
            mStudy->removeById(id);
            mListModel->reload();
        } else {
            mStudy->removeAt(row);
            mListModel->removeRows(row, 1);
        }
        const int rows = tbl->numRows();
        if (rows > 0)
            tbl->setCurrentCell(qMin(next, rows - 1), 1);
    }
    btnCreateLesson->setEnabled(tbl->numRows() > 0);
    tableSelectionChanged();
}

bool Tutor::exerciseInLesson(const QString& id)
{
    const auto lessons = mDb->search(QStringLiteral("Lesson"), {{QStringLiteral("Title"), QString()}});
    for (const auto& lesson : lessons) {
        for (auto it = lesson.cbegin(); it != lesson.cend(); ++it) {
            if (it.key().startsWith(QLatin1String("EId")) && it.value() == id)
                return true;
        }
    }
    return false;
}

void Tutor::deleteExercise()
{
    syncList();
    const int row = tbl->currentRow();
    if (!mDb || !mStudy || row < 0 || row >= tbl->numRows())
        return;
    const QString id = mStudy->idAt(row);
    // Asked first: the exercise goes from the library for good, and the entry
    // sits right below "Remove From Studylist", which only takes it off the list.
    const QPointer<Tutor> self(this);
    const int answer = MessageBoxHelper::question(
        this, mMsgTitle, tr("Do you want to permanently delete the Exercise '%1'?").arg(tbl->text(row, 1)),
        {tr("Yes"), tr("Cancel")});
    if (!self || answer != 0)
        return;
    if (mDb->remove(QStringLiteral("Exercise"), {id})) {
        syncList();
        for (int r = 0; r < tbl->numRows(); ++r) {
            if (mListModel->idAt(r) == id) {
                removeEntries(r, true);
                break;
            }
        }
        if (mHost)
            mHost->updateUploadCount();
        return;
    }
    if (exerciseInLesson(id))
        MessageBoxHelper::information(this, mMsgTitle,
                                      tr("Exercise is found in one or more Lessons and could not be deleted."));
    else
        MessageBoxHelper::information(this, mMsgTitle, tr("The Exercise could not be deleted."));
}
