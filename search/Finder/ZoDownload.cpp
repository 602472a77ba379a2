#include "ZoDownload.h"

#include "BoundedXml.h"
#include "ContentGate.h"
#include "IDbManager.h"
#include "IMainWindow.h"
#include "INetManager.h"
#include "MessageBoxHelper.h"
#include "PluginLocator.h"
#include "XmlPathMap.h"
#include "ZoDbHelper.h"
#include "ZoTranslation.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QDomDocument>
#include <QDomNamedNodeMap>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSettings>
#include <QThread>

#include <memory>

namespace {

const QString kExercise = QStringLiteral("Exercise");
const QString kLesson = QStringLiteral("Lesson");

bool hasAttributeNamed(const QDomElement& element, const QString& name)
{
    const QDomNamedNodeMap attributes = element.attributes();
    for (int i = 0; i < attributes.count(); ++i) {
        if (attributes.item(i).nodeName().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// A persistent id as the path map reads it: attribute of the exercise's manifest.
QString persistentIdOf(const QDomElement& exercise)
{
    const QList<QDomElement> manifests = XmlPathMap::childrenNamed(exercise, QStringLiteral("manifest"));
    if (manifests.size() != 1)
        return QString();
    const QDomNamedNodeMap attributes = manifests.first().attributes();
    for (int i = 0; i < attributes.count(); ++i) {
        if (attributes.item(i).nodeName().compare(QLatin1String("persistentManifestID"), Qt::CaseInsensitive) == 0)
            return attributes.item(i).nodeValue().trimmed();
    }
    return QString();
}

} // namespace

QString ZoDownload::refusalOf(const QDomElement& exercise, QString* mediaName)
{
    const QString fileNameTag = QStringLiteral("mediaManifestFileName");
    const QList<QDomElement> media = XmlPathMap::childrenNamed(exercise, QStringLiteral("media"));
    const QList<QDomElement> manifests =
        media.size() == 1 ? XmlPathMap::childrenNamed(media.first(), QStringLiteral("media_manifest")) : QList<QDomElement>();
    const QList<QDomElement> names =
        manifests.size() == 1 ? XmlPathMap::childrenNamed(manifests.first(), fileNameTag) : QList<QDomElement>();
    if (names.size() != 1 || hasAttributeNamed(manifests.first(), fileNameTag)
        || !names.first().firstChildElement().isNull())
        return tr("The exercise does not name exactly one sound.");
    const QString name = names.first().text().trimmed();
    if (!ContentGate::isPlainFileName(name))
        return tr("The name of the exercise's sound is not a plain file name.");
    int fields = 0;
    for (const QDomElement& kvps : XmlPathMap::childrenNamed(exercise, QStringLiteral("kvps")))
        fields += int(XmlPathMap::childrenNamed(kvps, QStringLiteral("kvp")).size());
    if (fields > ContentGate::MaxFieldsPerExercise)
        return tr("The exercise has more than %1 fields.").arg(ContentGate::MaxFieldsPerExercise);
    if (mediaName)
        *mediaName = name;
    return QString();
}

int ZoDownload::memberCount(const ZoLesson& lesson)
{
    int n = 0;
    while (!lesson.persistentExerciseId(n).isNull())
        ++n;
    return n;
}

ZoDownload::ZoDownload(const ZoExercise& exercise, QWidget* parent)
    : QWidget(parent)
    , mExercise(exercise)
    , mType(kExercise)
{
    setUp(exercise.term());
}

ZoDownload::ZoDownload(const ZoLesson& lesson, QWidget* parent)
    : QWidget(parent)
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
    mTitle = QSettings().value(QStringLiteral("software/version")).toString();
    mNet = PluginLocator::load<INetManager>(QStringLiteral("plugins_dll/Managers/Courier.dll"));
    mDb = PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    mHelper = new ZoDbHelper();
    btnDownloadComplete->hide();
    btnError->hide();
    connect(btnCancel, &QPushButton::clicked, this, &ZoDownload::cancelDownloadProcess);
    connect(btnError, &QPushButton::clicked, this, &ZoDownload::displayErrorMessage);
    connect(btnDownloadComplete, &QPushButton::clicked, this, &ZoDownload::goToStudyTab);
}

ZoDownload::~ZoDownload()
{
    qDebug() << "~ZoDownload()";
    abandon();
    delete mHelper;
}

void ZoDownload::abandon()
{
    if (mState == Active && mNet && mHandle >= 0 && !mDestroying)
        mNet->cancelDownload(mHandle);
    mDestroying = true;
    mCancelled = true;
}

void ZoDownload::setMainWindow(IMainWindow* mainWindow)
{
    mMainWindow = mainWindow;
}

void ZoDownload::setTimeLimits(int zeroStatusMs, int stallMs)
{
    mZeroStatusMs = zeroStatusMs;
    mStallMs = stallMs;
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
    qDebug() << "ZoDownload::moveToHeadOfQueue()";
    if (!mCancelled) {
        btnError->hide();
        pbStatus->show();
        btnCancel->show();
    }
    qDebug() << "End of ZoDownload::moveToHeadOfQueue()";
}

void ZoDownload::setProgress(int value)
{
    pbStatus->setValue(value);
    QCoreApplication::processEvents();
}

void ZoDownload::displayErrorMessage()
{
    MessageBoxHelper::information(this, mTitle, mMessage);
}

void ZoDownload::goToStudyTab()
{
    if (mMainWindow)
        mMainWindow->refreshTabForms(1);
}

void ZoDownload::setError(const QString& text)
{
    qDebug() << "ZoDownload::setError()";
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
    if (mState == Active) {
        qDebug() << "Cancelling ACTIVE download";
        if (mNet && mHandle >= 0)
            mNet->cancelDownload(mHandle);
    } else if (!mDestroying) {
        qDebug() << "Cancelling QUEUED download";
        mState = Idle;
        btnCancel->hide();
        pbStatus->hide();
        showState(QT_TR_NOOP("Cancelled"));
        btnError->setEnabled(false);
        btnError->show();
        emit enableClearDownloadedButton();
    }
    mCancelled = true;
}

void ZoDownload::giveUp(int handle)
{
    if (mNet && handle >= 0)
        mNet->cancelDownload(handle);
    networkFailure();
}

void ZoDownload::contentRefused(int handle)
{
    QDomDocument document;
    BoundedXml::Error error;
    const QString text = mNet ? mNet->getDownloadXml(handle) : QString();
    QString reason;
    if (!text.isEmpty() && BoundedXml::parse(text, &document, &error)) {
        const QDomElement element = document.elementsByTagName(QStringLiteral("exercise")).item(0).toElement();
        if (!element.isNull())
            reason = refusalOf(element);
    }
    if (reason.isEmpty())
        reason = tr("The exercise's sound was refused: the peer does not have it, or it is not a WAV sound "
                    "of at most %1 MB.")
                     .arg(ContentGate::MaxSoundBytes >> 20);
    fail(reason);
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
    QPointer<ZoDownload> self(this);
    if (mCancelled) {
        emit downloadComplete(this);
        return;
    }
    mState = Active;
    if (mType == kExercise) {
        pbStatus->setMaximum(100);
        const QString pid = mExercise.pId();
        if (pid.isEmpty()) {
            fail(tr("Parsing Error."));
            return;
        }
        if (mHelper->isExerciseStored(pid)) {
            mStored = true;
            finalizeDownload();
            return;
        }
        if (!ContentGate::isPlainFileName(mExercise.mediaName())) {
            fail(tr("The name of the exercise's sound is not a plain file name."));
            return;
        }
        mHandle = mNet ? mNet->downloadExercise(pid) : -1;
        if (mHandle < 0) {
            networkFailure();
            return;
        }
        if (mCancelled) {
            setError(tr("You cancelled it."));
            return;
        }
        if (!waitUntilDownloaded(mHandle, QStringLiteral("exercise")) || !self || mDestroying
            || !takeDownloadedSound(mHandle) || !downloadAndInsertTranslationsOfExercise(mHandle, &mExercise)
            || !self || mDestroying)
            return;
        if (mCancelled)
            setError(tr("You cancelled it."));
        else
            finalizeDownload();
        return;
    }

    qDebug() << "pmid of lesson is " << mLesson.pId();
    if (mLesson.pId().isEmpty()) {
        fail(tr("Parsing Error."));
        return;
    }
    if (mHelper->countByPersistentId(mLesson.pId()) != 0) {
        qDebug() << "Lesson exists locally";
        mStored = true;
        finalizeDownload();
        return;
    }
    const int n = memberCount(mLesson);
    if (n > ContentGate::MaxLessonMembers) {
        fail(tr("The lesson has more than %1 exercises.").arg(ContentGate::MaxLessonMembers));
        return;
    }
    for (int i = 0; i < n; ++i) {
        if (mLesson.persistentExerciseId(i) == mLesson.pId()) {
            fail(tr("The lesson lists itself as one of its exercises."));
            return;
        }
    }
    // Members are numbered from 1 again as they are stored.
    mLesson.setExerciseIds({});
    pbStatus->setMaximum(qMax(1, n));
    for (int i = 0; i < n && !mCancelled; ++i) {
        const QString memberPid = mLesson.persistentExerciseId(i);
        int localId = 0;
        if (!mHelper->isExerciseStored(memberPid)) {
            qDebug() << "Download Exercise in Lesson";
            localId = downloadObjectRoutine(memberPid);
            if (!self || mDestroying || localId <= 0)
                return;
        } else {
            localId = mHelper->localIdOf(memberPid);
            if (localId <= 0) {
                fail(tr("The download could not be stored."));
                return;
            }
        }
        mLesson.addExerciseId(QString::number(localId));
        qDebug() << "setting status of Lesson progress";
        setProgress(i + 1);
        if (!self || mDestroying)
            return;
    }
    if (mCancelled)
        setError(tr("You cancelled it."));
    else
        finalizeDownload();
}

bool ZoDownload::waitUntilDownloaded(int handle, const QString& kind)
{
    qDebug() << "ZoDownload::waitUntilDownloaded";
    QPointer<ZoDownload> self(this);
    QElapsedTimer timer;
    timer.start();
    int highest = 0;
    // The status is looked at first: a finished transfer moves on at once.
    // Waits grow from 10 ms to 200 ms, so that a short transfer is seen done
    // soon after it ends and a long one is looked at five times a second.
    int waitSlices = 1;
    for (;;) {
        if (mCancelled) {
            qDebug() << "Cancelling";
            setError(tr("You cancelled it."));
            return false;
        }
        // The program went offline meanwhile (another tab, a failed search):
        // the transfer stops and leaves nothing behind.
        if (mNet && mNet->isOfflineLogin() != 0) {
            mNet->cancelDownload(handle);
            fail(tr("The program went offline, so the download was stopped."));
            return false;
        }
        const int status = mNet ? mNet->getDownloadStatus(handle, kind) : -1;
        if (status > highest) {
            highest = status;
            timer.restart();
        }
        if (status == ContentRefused) {
            contentRefused(handle);
            return false;
        }
        if (status < 0) {
            qDebug() << "Got a status of -1 back!";
            networkFailure();
            return false;
        }
        const bool done = kind == QLatin1String("exercise") ? status == 100 : status == 1;
        if (done) {
            if (mType == kExercise)
                setProgress(status);
            return self && !mDestroying;
        }
        if (timer.elapsed() > mStallMs || (timer.elapsed() > mZeroStatusMs && status == 0)) {
            giveUp(handle);
            return false;
        }
        if (mType == kExercise) {
            setProgress(status);
            if (!self || mDestroying)
                return false;
        }
        for (int i = 0; i < waitSlices; ++i) {
            QThread::msleep(10);
            QCoreApplication::processEvents();
            if (!self || mDestroying)
                return false;
        }
        waitSlices = qMin(20, waitSlices * 2);
    }
}

QDomElement ZoDownload::downloadedExercise(int handle, QDomDocument* document)
{
    const QString text = mNet->getDownloadXml(handle);
    if (text.isEmpty()) {
        qDebug() << "Returned getDownloadXML is null.";
        networkFailure();
        return {};
    }
    BoundedXml::Error error;
    const QDomElement element = BoundedXml::parse(text, document, &error)
        ? document->elementsByTagName(QStringLiteral("exercise")).item(0).toElement()
        : QDomElement();
    if (element.isNull()) {
        BoundedXml::report(error);
        fail(tr("Parsing Error."));
    }
    return element;
}

bool ZoDownload::takeDownloadedSound(int handle)
{
    const QString text = mNet->getDownloadXml(handle);
    if (!text.isEmpty()) {
        QDomDocument document;
        const QDomElement element = downloadedExercise(handle, &document);
        if (element.isNull())
            return false;
        QString mediaName;
        QString refusal = refusalOf(element, &mediaName);
        if (refusal.isEmpty() && persistentIdOf(element) != mExercise.pId())
            refusal = tr("The peer sent another exercise than the one asked for.");
        if (!refusal.isEmpty()) {
            fail(refusal);
            return false;
        }
        // The client names the sound afresh when its name is taken.
        mExercise.setMediaName(mediaName);
    }
    return soundIsPlayable(mExercise);
}

bool ZoDownload::downloadAndInsertTranslationsOfExercise(int handle, ZoExercise* target)
{
    const QString text = mNet->getTranslationXml(handle);
    qDebug() << "got back translation xml";
    // No document: the exercise has no translations.
    if (text.isEmpty())
        return true;
    QList<ZoTranslation> translations;
    QList<ZoExercise> translated;
    const QString reply = mNet->parseTranslationXml(text, mHelper, &translations, &translated);
    if (reply == QLatin1String("ExerciseHasNoTranslations")) {
        qDebug() << "ZoDownload - ExerciseHasNoTranslations";
        return true;
    }
    if (reply != QLatin1String("OK")) {
        qDebug() << "Error message from server is " << reply;
        fail(tr("Parsing Error."));
        return false;
    }
    qDebug("ZoTranslation Count is %i", int(translations.size()));
    qDebug("ExerciseTranslation Count is %i", int(translated.size()));
    const int count = int(qMin(translations.size(), translated.size()));
    for (int i = 0; i < count; ++i) {
        const ZoTranslation& translation = translations.at(i);
        const ZoExercise& term = translated.at(i);
        QHash<QString, QString> field{{QStringLiteral("Value"), term.term()},
                                      {QStringLiteral("Language"), term.language()},
                                      {QStringLiteral("PersistentTranslationId"), translation.pId()},
                                      {QStringLiteral("PersistentTrExerciseId"), term.pId()},
                                      {QStringLiteral("PersistentTrTermId"), term.persistentTermId()},
                                      {QStringLiteral("Username"), translation.username()},
                                      {QStringLiteral("UserId"), translation.userId()}};
        for (const ZoTranslation::Kvp& kvp : translation.kvps()) {
            field.insert(QStringLiteral("Context"), kvp.value(QStringLiteral("value")));
            field.insert(QStringLiteral("Context_Language"), mHelper->languageName(kvp.value(QStringLiteral("langID"))));
        }
        target->addField(QStringLiteral("Translation"), field);
    }
    return true;
}

int ZoDownload::storeExercise(ZoExercise* exercise)
{
    exercise->setFluencyLevel(mHelper->fluencyLevelName(exercise->fluencyLevel()));
    exercise->dump();
    if (!mDb)
        return 0;
    mDb->insertExercise(QStringLiteral("Exercise"), exercise);
    return mHelper->localIdOf(exercise->pId());
}

int ZoDownload::downloadObjectRoutine(const QString& persistentId)
{
    QPointer<ZoDownload> self(this);
    const int handle = mNet ? mNet->downloadManifest(persistentId, QStringLiteral("exercise")) : -1;
    qDebug("handle is %i", handle);
    if (handle < 0) {
        networkFailure();
        return 0;
    }
    // Held so that abandoning the job cancels this transfer.
    mHandle = handle;
    if (!waitUntilDownloaded(handle, QStringLiteral("exercise")) || !self)
        return 0;
    QDomDocument document;
    const QDomElement element = downloadedExercise(handle, &document);
    if (element.isNull())
        return 0;
    if (persistentIdOf(element).isEmpty()) {
        fail(tr("Parsing Error."));
        return 0;
    }
    QString mediaName;
    QString refusal = refusalOf(element, &mediaName);
    if (refusal.isEmpty() && persistentIdOf(element) != persistentId)
        refusal = tr("The peer sent another exercise than the one asked for.");
    if (!refusal.isEmpty()) {
        fail(refusal);
        return 0;
    }
    QDomDocument single;
    single.appendChild(single.importNode(element, true));
    ZoExercise member = mNet->exerciseFromXml(XmlPathMap(single), mHelper);
    if (member.pId().isEmpty()) {
        fail(tr("Parsing Error."));
        return 0;
    }
    member.setMediaName(mediaName);
    if (!soundIsPlayable(member))
        return 0;
    qDebug() << "Downloading translation";
    if (!downloadAndInsertTranslationsOfExercise(handle, &member) || !self || mDestroying)
        return 0;
    qDebug() << "inserting exercise...";
    const int localId = storeExercise(&member);
    qDebug() << "mExercise pmid is " << member.pId();
    qDebug() << "mExercise lmid is " << localId;
    if (localId <= 0) {
        fail(tr("The download could not be stored."));
        return 0;
    }
    return localId;
}

bool ZoDownload::soundIsPlayable(const ZoExercise& exercise)
{
    const QString path = QDir(exercise.mediaPath()).filePath(exercise.mediaName());
    if (!QFileInfo::exists(path) || ContentGate::isWavFile(path))
        return true;
    fail(tr("The exercise's sound was refused: the peer does not have it, or it is not a WAV sound "
            "of at most %1 MB.")
             .arg(ContentGate::MaxSoundBytes >> 20));
    return false;
}

void ZoDownload::finalizeDownload()
{
    qDebug() << "\n\n\nZoDownload::finalizeDownload()";
    if (mCancelled) {
        setError(tr("You cancelled it."));
        return;
    }
    if (!mStored) {
        if (!insertObjectIntoDb())
            return;
    } else if (mType == kLesson) {
        mLesson.setExerciseIds({});
        for (int i = 0; !mLesson.persistentExerciseId(i).isNull(); ++i) {
            const int localId = mHelper->localIdOf(mLesson.persistentExerciseId(i));
            if (localId > 0)
                mLesson.addExerciseId(QString::number(localId));
        }
    }
    if (mType == kExercise) {
        // The study list gets the stored copy, with its local id.
        std::unique_ptr<ZoExercise> stored(
            mDb ? mDb->getExercise(QStringLiteral("Exercise"), QString::number(mHelper->localIdOf(mExercise.pId())))
                : nullptr);
        if (!stored) {
            fail(tr("The download could not be stored."));
            return;
        }
        mExercise.assign(*stored);
        mExercise.dump();
    }
    pbStatus->hide();
    btnCancel->hide();
    btnDownloadComplete->show();
    emit downloadComplete(this);
}

bool ZoDownload::insertObjectIntoDb()
{
    if (mType == kExercise) {
        if (storeExercise(&mExercise) <= 0) {
            fail(tr("The download could not be stored."));
            return false;
        }
        return true;
    }
    mLesson.setLanguage(mHelper->languageName(mLesson.language()));
    mLesson.setLearnerLevel(mHelper->learnerLevelName(mLesson.learnerLevel()));
    mLesson.dump();
    std::unique_ptr<QObject> stored(mDb ? mDb->insert(QStringLiteral("Lesson"), mLesson.toHash()) : nullptr);
    qDebug() << "Inserted lesson";
    if (!stored || mHelper->countByPersistentId(mLesson.pId()) == 0) {
        fail(tr("The download could not be stored."));
        return false;
    }
    return true;
}
