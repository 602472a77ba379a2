#include "ZoDownload.h"

#include "ContentGate.h"
#include "IDbManager.h"
#include "IMainWindow.h"
#include "INetManager.h"
#include "MessageBoxHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "SearchLog.h"
#include "SettingsKeys.h"
#include "TabIndex.h"

#include <QSettings>

namespace {

const QString kExercise = QStringLiteral("Exercise");
const QString kLesson = QStringLiteral("Lesson");

} // namespace

ZoDownload::ZoDownload(const ZoExercise& exercise, QWidget* parent)
    : QWidget(parent)
    , mTransfer(PluginLocator::load<INetManager>(PluginFiles::Courier),
                PluginLocator::load<IDbManager>(PluginFiles::Storekeeper))
    , mExercise(exercise)
    , mType(kExercise)
{
    setUp(exercise.term());
}

ZoDownload::ZoDownload(const ZoLesson& lesson, QWidget* parent)
    : QWidget(parent)
    , mTransfer(PluginLocator::load<INetManager>(PluginFiles::Courier),
                PluginLocator::load<IDbManager>(PluginFiles::Storekeeper))
    , mLesson(lesson)
    , mType(kLesson)
{
    setUp(lesson.title());
}

void ZoDownload::setUp(const QString& title)
{
    setupUi(this);
    lblContentTitle->setTextFormat(Qt::PlainText);
    lblContentTitle->setText(title);
    mTitle = QSettings().value(SettingsKeys::Version).toString();
    btnDownloadComplete->hide();
    btnError->hide();
    connect(btnCancel, &QPushButton::clicked, this, &ZoDownload::cancelDownloadProcess);
    connect(btnError, &QPushButton::clicked, this, &ZoDownload::displayErrorMessage);
    connect(btnDownloadComplete, &QPushButton::clicked, this, &ZoDownload::goToStudyTab);
    connect(&mTransfer, &DownloadTransfer::progressMaximum, pbStatus, &QProgressBar::setMaximum);
    connect(&mTransfer, &DownloadTransfer::progress, this, &ZoDownload::setProgress);
    connect(&mTransfer, &DownloadTransfer::completed, this, &ZoDownload::transferCompleted);
    connect(&mTransfer, &DownloadTransfer::failed, this, &ZoDownload::transferFailed);
}

ZoDownload::~ZoDownload()
{
    abandon();
}

void ZoDownload::abandon()
{
    mDestroying = true;
    mCancelled = true;
    mTransfer.abandon();
}

void ZoDownload::setMainWindow(IMainWindow* mainWindow)
{
    mMainWindow = mainWindow;
}

void ZoDownload::setTimeLimits(int zeroStatusMs, int stallMs)
{
    mTransfer.setTimeLimits(zeroStatusMs, stallMs);
}

QString ZoDownload::type() const
{
    return mType;
}

int ZoDownload::state() const
{
    return mState;
}

void ZoDownload::setState(int state)
{
    mState = state;
}

bool ZoDownload::isCancelled() const
{
    return mCancelled;
}

QString ZoDownload::message() const
{
    return mMessage;
}

const ZoExercise& ZoDownload::exercise() const
{
    return mExercise;
}

const ZoLesson& ZoDownload::lesson() const
{
    return mLesson;
}

void ZoDownload::queue()
{
    mState = Queued;
    pbStatus->hide();
    showState(QT_TR_NOOP("Queued"));
    btnError->setEnabled(true);
    mMessage = tr("This %1 will be downloaded soon.").arg(mType == kLesson ? tr("Lesson") : tr("Exercise"));
    btnError->show();
}

void ZoDownload::showState(const char* word)
{
    mStateWord = word;
    btnError->setText(tr(word));
}

void ZoDownload::retranslate()
{
    // The Designer texts; the title is the content's own and stays.
    const QString title = lblContentTitle->text();
    retranslateUi(this);
    lblContentTitle->setText(title);
    if (mStateWord)
        btnError->setText(tr(mStateWord));
}

void ZoDownload::moveToHeadOfQueue()
{
    if (!mCancelled) {
        btnError->hide();
        pbStatus->show();
        btnCancel->show();
    }
}

void ZoDownload::setProgress(int value)
{
    pbStatus->setValue(value);
}

void ZoDownload::displayErrorMessage()
{
    MessageBoxHelper::information(this, mTitle, mMessage);
}

void ZoDownload::goToStudyTab()
{
    if (mMainWindow)
        mMainWindow->refreshTabForms(TabIndex::Study);
}

void ZoDownload::setError(const QString& text)
{
    qCDebug(lcSearch) << "download of" << lblContentTitle->text() << "ended:" << text;
    if (mDestroying)
        return;
    pbStatus->hide();
    btnDownloadComplete->hide();
    btnCancel->hide();
    showState(mCancelled ? QT_TR_NOOP("Cancelled") : QT_TR_NOOP("Error"));
    btnError->setEnabled(!mCancelled);
    mMessage = text;
    btnError->show();
    emit enableClearDownloadedButton();
    emit signalMoveNextToHeadOfQueue();
}

// An error that ends the job; nothing more of it runs.
void ZoDownload::fail(const QString& text)
{
    setError(text);
    mCancelled = true;
}

void ZoDownload::cancelDownloadProcess()
{
    const bool active = mState == Active;
    mCancelled = true;
    if (active) {
        qCDebug(lcSearch) << "cancelling a running download";
        mTransfer.cancel();
    } else if (!mDestroying) {
        qCDebug(lcSearch) << "cancelling a queued download";
        mState = Idle;
        btnCancel->hide();
        pbStatus->hide();
        showState(QT_TR_NOOP("Cancelled"));
        btnError->setEnabled(false);
        btnError->show();
        emit enableClearDownloadedButton();
    }
}

void ZoDownload::networkFailure()
{
    QPointer<ZoDownload> self(this);
    if (mMainWindow)
        mMainWindow->moveToOfflineMode();
    if (!self || mDestroying)
        return;
    emit signalMoveToOfflineMode();
    if (!self)
        return;
    setError(tr("Network Error."));
    mCancelled = true;
}

void ZoDownload::start()
{
    if (mCancelled) {
        QPointer<ZoDownload> self(this);
        emit downloadComplete(this);
        if (self)
            emit finished();
        return;
    }
    mState = Active;
    if (mType == kExercise)
        mTransfer.startExercise(mExercise);
    else
        mTransfer.startLesson(mLesson);
}

void ZoDownload::transferCompleted()
{
    if (mType == kExercise)
        mExercise = mTransfer.exercise();
    else
        mLesson = mTransfer.lesson();
    pbStatus->hide();
    btnCancel->hide();
    btnDownloadComplete->show();
    QPointer<ZoDownload> self(this);
    emit downloadComplete(this);
    if (self)
        emit finished();
}

void ZoDownload::transferFailed(DownloadFailure reason)
{
    QPointer<ZoDownload> self(this);
    if (reason == DownloadFailure::Network)
        networkFailure();
    else if (reason == DownloadFailure::Cancelled)
        setError(textOf(reason));
    else
        fail(textOf(reason));
    if (self && !mDestroying)
        emit finished();
}

QString ZoDownload::textOf(DownloadFailure reason)
{
    switch (reason) {
    case DownloadFailure::None:
        break;
    case DownloadFailure::Parsing:
        return tr("Parsing Error.");
    case DownloadFailure::Network:
        return tr("Network Error.");
    case DownloadFailure::NotStored:
        return tr("The download could not be stored.");
    case DownloadFailure::Cancelled:
        return tr("You cancelled it.");
    case DownloadFailure::WentOffline:
        return tr("The program went offline, so the download was stopped.");
    case DownloadFailure::NotOneSound:
        return tr("The exercise does not name exactly one sound.");
    case DownloadFailure::SoundNameNotPlain:
        return tr("The name of the exercise's sound is not a plain file name.");
    case DownloadFailure::TooManyFields:
        return tr("The exercise has more than %1 fields.").arg(ContentGate::MaxFieldsPerExercise);
    case DownloadFailure::OtherExercise:
        return tr("The peer sent another exercise than the one asked for.");
    case DownloadFailure::SoundRefused:
        return tr("The exercise's sound was refused: the peer does not have it, or it is not a WAV sound "
                  "of at most %1 MB.")
            .arg(ContentGate::MaxSoundBytes >> 20);
    case DownloadFailure::TooManyMembers:
        return tr("The lesson has more than %1 exercises.").arg(ContentGate::MaxLessonMembers);
    case DownloadFailure::ListsItself:
        return tr("The lesson lists itself as one of its exercises.");
    }
    return QString();
}
