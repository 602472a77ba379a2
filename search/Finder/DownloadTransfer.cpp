#include "DownloadTransfer.h"

#include "ContentGate.h"
#include "INetManager.h"
#include "SearchLog.h"
#include "XmlPathMap.h"
#include "ZoTranslation.h"

#include <QDomDocument>
#include <QDomElement>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kKind = QStringLiteral("exercise");
// The status of an exercise whose sound and documents are all in.
constexpr int kDone = 100;
// File times may lag the clock by a tick of the system's coarse clock.
constexpr int kFileClockSlackMs = 50;

// The time a transfer asked for now begins, as file times tell it.
QDateTime transferBegins()
{
    return QDateTime::currentDateTimeUtc().addMSecs(-kFileClockSlackMs);
}

} // namespace

DownloadTransfer::DownloadTransfer(INetManager* net, IDbManager* store, QObject* parent)
    : QObject(parent)
    , mNet(net)
    , mStore(store)
{
    mPoll.setSingleShot(true);
    mPoll.setTimerType(Qt::PreciseTimer);
    connect(&mPoll, &QTimer::timeout, this, &DownloadTransfer::poll);
    mNextMember.setSingleShot(true);
    mNextMember.setInterval(0);
    connect(&mNextMember, &QTimer::timeout, this, &DownloadTransfer::nextMember);
}

DownloadTransfer::~DownloadTransfer()
{
    abandon();
}

void DownloadTransfer::setTimeLimits(int zeroStatusMs, int stallMs)
{
    mZeroStatusMs = zeroStatusMs;
    mStallMs = stallMs;
}

bool DownloadTransfer::isRunning() const
{
    return mRunning;
}

const ZoExercise& DownloadTransfer::exercise() const
{
    return mExercise;
}

const ZoLesson& DownloadTransfer::lesson() const
{
    return mLesson;
}

void DownloadTransfer::startExercise(const ZoExercise& exercise)
{
    mKind = Kind::Exercise;
    mExercise = exercise;
    mRunning = true;
    emit progressMaximum(kDone);
    const QString pid = mExercise.pId();
    if (pid.isEmpty()) {
        fail(DownloadFailure::Parsing);
        return;
    }
    if (mStore.isExerciseStored(pid)) {
        if (mStore.takeStoredCopy(&mExercise))
            complete();
        else
            fail(DownloadFailure::NotStored);
        return;
    }
    if (!ContentGate::isPlainFileName(mExercise.mediaName())) {
        fail(DownloadFailure::SoundNameNotPlain);
        return;
    }
    mBegan = transferBegins();
    const int handle = mNet ? mNet->downloadExercise(pid) : -1;
    if (handle < 0) {
        fail(DownloadFailure::Network);
        return;
    }
    beginPolling(handle);
}

void DownloadTransfer::startLesson(const ZoLesson& lesson)
{
    mKind = Kind::Lesson;
    mLesson = lesson;
    mRunning = true;
    qCDebug(lcSearch) << "downloading lesson" << mLesson.pId();
    if (mLesson.pId().isEmpty()) {
        fail(DownloadFailure::Parsing);
        return;
    }
    if (mStore.isLessonStored(mLesson.pId())) {
        qCDebug(lcSearch) << "lesson stored already";
        mStore.takeStoredMembers(&mLesson);
        complete();
        return;
    }
    const DownloadFailure refusal = DownloadStore::refusalOfLesson(mLesson);
    if (refusal != DownloadFailure::None) {
        fail(refusal);
        return;
    }
    mMembers = DownloadStore::memberCount(mLesson);
    mMember = 0;
    // Members are numbered from 1 again as they are stored.
    mLesson.setExerciseIds({});
    emit progressMaximum(qMax(1, mMembers));
    if (mRunning)
        nextMember();
}

void DownloadTransfer::nextMember()
{
    while (mRunning && mMember < mMembers) {
        const QString pid = mLesson.persistentExerciseId(mMember);
        if (!mStore.isExerciseStored(pid)) {
            mBegan = transferBegins();
            const int handle = mNet ? mNet->downloadManifest(pid, kKind) : -1;
            qCDebug(lcSearch) << "member" << pid << "handle" << handle;
            if (handle < 0)
                fail(DownloadFailure::Network);
            else
                beginPolling(handle);
            return;
        }
        const int localId = mStore.localIdOf(pid);
        if (localId <= 0) {
            fail(DownloadFailure::NotStored);
            return;
        }
        mLesson.addExerciseId(QString::number(localId));
        emit progress(++mMember);
    }
    if (mRunning)
        storeLesson();
}

void DownloadTransfer::beginPolling(int handle)
{
    mHandle = handle;
    mPolling = true;
    mHighest = 0;
    mWaitMs = FirstWaitMs;
    mSinceProgress.start();
    // The status is looked at first: a finished transfer moves on at once.
    poll();
}

void DownloadTransfer::poll()
{
    if (!mPolling)
        return;
    // The program went offline meanwhile (another tab, a failed search):
    // the transfer stops and leaves nothing behind.
    if (mNet && mNet->isOfflineLogin() != 0) {
        stopPolling(true);
        fail(DownloadFailure::WentOffline);
        return;
    }
    const int status = mNet ? mNet->getDownloadStatus(mHandle, kKind) : -1;
    if (status > mHighest) {
        mHighest = status;
        mSinceProgress.restart();
    }
    if (status == ContentRefused) {
        stopPolling(false);
        fail(contentRefusal());
        return;
    }
    if (status < 0) {
        qCDebug(lcSearch) << "transfer" << mHandle << "failed with status" << status;
        stopPolling(false);
        fail(DownloadFailure::Network);
        return;
    }
    if (status == kDone) {
        stopPolling(false);
        if (mKind == Kind::Exercise)
            emit progress(status);
        if (mRunning)
            arrived();
        return;
    }
    const qint64 elapsed = mSinceProgress.elapsed();
    if (elapsed > mStallMs || (elapsed > mZeroStatusMs && status == 0)) {
        // Cancelled, so that the client removes its partial file.
        stopPolling(true);
        fail(DownloadFailure::Network);
        return;
    }
    if (mKind == Kind::Exercise)
        emit progress(status);
    // Waits grow, so that a short transfer is seen done soon after it ends
    // and a long one is looked at five times a second.
    if (mPolling) {
        mPoll.start(mWaitMs);
        mWaitMs = qMin(LastWaitMs, mWaitMs * 2);
    }
}

void DownloadTransfer::arrived()
{
    if (mKind == Kind::Exercise)
        exerciseArrived();
    else
        memberArrived();
}

void DownloadTransfer::exerciseArrived()
{
    const QString text = mNet->getDownloadXml(mHandle);
    // Without a document the found exercise is stored as it is.
    if (!text.isEmpty()) {
        if (glance(text) != DownloadFailure::None) {
            fail(DownloadFailure::TooManyFields);
            return;
        }
        QDomDocument document;
        const QDomElement element = DownloadStore::exerciseElement(text, &document);
        if (element.isNull()) {
            fail(DownloadFailure::Parsing);
            return;
        }
        QString mediaName;
        DownloadFailure refusal = DownloadStore::refusalOf(element, &mediaName);
        if (refusal == DownloadFailure::None && DownloadStore::persistentIdOf(element) != mExercise.pId())
            refusal = DownloadFailure::OtherExercise;
        if (refusal != DownloadFailure::None) {
            fail(refusal);
            return;
        }
        // The client names the sound afresh when its name is taken.
        mExercise.setMediaName(mediaName);
    }
    DownloadFailure failure = DownloadStore::soundRefusal(mExercise);
    if (failure == DownloadFailure::None)
        failure = addTranslations(&mExercise);
    if (failure == DownloadFailure::None && mStore.storeExercise(&mExercise) <= 0)
        failure = DownloadFailure::NotStored;
    // The study list gets the stored copy, with its local id.
    if (failure == DownloadFailure::None && !mStore.takeStoredCopy(&mExercise))
        failure = DownloadFailure::NotStored;
    if (failure != DownloadFailure::None) {
        fail(failure);
        return;
    }
    mFetched.clear();
    complete();
}

void DownloadTransfer::memberArrived()
{
    const QString pid = mLesson.persistentExerciseId(mMember);
    const QString text = mNet->getDownloadXml(mHandle);
    ZoExercise member;
    DownloadFailure failure = text.isEmpty() ? DownloadFailure::Network : readMember(text, pid, &member);
    if (failure == DownloadFailure::None)
        failure = DownloadStore::soundRefusal(member);
    if (failure == DownloadFailure::None)
        failure = addTranslations(&member);
    const int localId = failure == DownloadFailure::None ? mStore.storeExercise(&member) : 0;
    if (failure == DownloadFailure::None && localId <= 0)
        failure = DownloadFailure::NotStored;
    if (failure != DownloadFailure::None) {
        fail(failure);
        return;
    }
    mFetched.clear();
    qCDebug(lcSearch) << "stored member" << member.pId() << "as" << localId;
    mLesson.addExerciseId(QString::number(localId));
    emit progress(++mMember);
    if (mRunning)
        mNextMember.start();
}

DownloadFailure DownloadTransfer::readMember(const QString& text, const QString& persistentId, ZoExercise* member)
{
    if (glance(text) != DownloadFailure::None)
        return DownloadFailure::TooManyFields;
    QDomDocument document;
    const QDomElement element = DownloadStore::exerciseElement(text, &document);
    if (element.isNull() || DownloadStore::persistentIdOf(element).isEmpty())
        return DownloadFailure::Parsing;
    QString mediaName;
    const DownloadFailure refusal = DownloadStore::refusalOf(element, &mediaName);
    if (refusal != DownloadFailure::None)
        return refusal;
    if (DownloadStore::persistentIdOf(element) != persistentId)
        return DownloadFailure::OtherExercise;
    QDomDocument single;
    single.appendChild(single.importNode(element, true));
    *member = mNet->exerciseFromXml(XmlPathMap(single), mStore.lookup());
    if (member->pId().isEmpty())
        return DownloadFailure::Parsing;
    member->setMediaName(mediaName);
    return DownloadFailure::None;
}

DownloadFailure DownloadTransfer::addTranslations(ZoExercise* target)
{
    const QString text = mNet->getTranslationXml(mHandle);
    // No document: the exercise has no translations.
    if (text.isEmpty())
        return DownloadFailure::None;
    QList<ZoTranslation> translations;
    QList<ZoExercise> terms;
    const QString reply = mNet->parseTranslationXml(text, mStore.lookup(), &translations, &terms);
    if (reply == QLatin1String("ExerciseHasNoTranslations"))
        return DownloadFailure::None;
    if (reply != QLatin1String("OK")) {
        qCDebug(lcSearch) << "translations not read:" << reply;
        return DownloadFailure::Parsing;
    }
    mStore.addTranslations(translations, terms, target);
    return DownloadFailure::None;
}

DownloadFailure DownloadTransfer::contentRefusal()
{
    const QString text = mNet ? mNet->getDownloadXml(mHandle) : QString();
    if (!text.isEmpty()) {
        if (glance(text) != DownloadFailure::None)
            return DownloadFailure::TooManyFields;
        QDomDocument document;
        const QDomElement element = DownloadStore::exerciseElement(text, &document);
        const DownloadFailure refusal = element.isNull() ? DownloadFailure::None : DownloadStore::refusalOf(element);
        if (refusal != DownloadFailure::None)
            return refusal;
    }
    return DownloadFailure::SoundRefused;
}

void DownloadTransfer::storeLesson()
{
    const DownloadFailure failure = mStore.storeLesson(&mLesson);
    if (failure != DownloadFailure::None)
        fail(failure);
    else
        complete();
}

void DownloadTransfer::cancel()
{
    if (!mRunning)
        return;
    stopPolling(true);
    fail(DownloadFailure::Cancelled);
}

void DownloadTransfer::abandon()
{
    stopPolling(true);
    mRunning = false;
}

void DownloadTransfer::stopPolling(bool cancelTransfer)
{
    mPoll.stop();
    mNextMember.stop();
    if (mPolling && cancelTransfer && mNet)
        mNet->cancelDownload(mHandle);
    mPolling = false;
}

void DownloadTransfer::complete()
{
    mRunning = false;
    emit completed();
}

DownloadFailure DownloadTransfer::glance(const QString& text)
{
    QString name;
    const DownloadFailure failure = DownloadStore::glance(text, &name);
    mFetched = name;
    return failure;
}

void DownloadTransfer::removeFetched()
{
    const QString name = mFetched;
    mFetched.clear();
    if (!ContentGate::isPlainFileName(name) || !mBegan.isValid())
        return;
    const QString path = ContentGate::filePathIn(QStringLiteral("Content"), name);
    const QFileInfo info(path);
    if (!info.isFile() || info.isSymLink() || info.lastModified().toUTC() < mBegan)
        return;
    // A stored exercise that names it keeps it.
    if (mStore.isSoundStored(name))
        return;
    qCDebug(lcSearch) << "removing the refused download's sound" << name;
    QFile::remove(path);
}

void DownloadTransfer::fail(DownloadFailure reason)
{
    stopPolling(false);
    removeFetched();
    mRunning = false;
    emit failed(reason);
}
