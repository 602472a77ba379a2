#include "Storekeeper.h"

#include "CountedWrite.h"
#include "ExerciseIndex.h"
#include "IdList.h"
#include "StatementCache.h"
#include "StoreLog.h"
#include "UploadCounter.h"
#include "ZoDbBase.h"
#include "ZoDbConnection.h"
#include "ZoDbExercise.h"
#include "ZoDbHelper.h"
#include "ZoDbLesson.h"
#include "ZoDbUser.h"
#include "ZoDbUserFluency.h"
#include "ZoExercise.h"
#include "ZoLesson.h"
#include "ZoUser.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>

namespace {

const QLatin1String kExercise("Exercise");
const QLatin1String kLesson("Lesson");
const QLatin1String kUser("User");
const QLatin1String kFluency("Fluency");
const char* const kFileName = "vireda.db";

Storekeeper* openStore = nullptr;

QList<qint64> oneId(const QString& text)
{
    qint64 id = 0;
    return IdList::toId(text, &id) ? QList<qint64>{id} : QList<qint64>{};
}

} // namespace

Storekeeper::Storekeeper()
    : QWidget(nullptr)
{
    open();
    mStatements = std::make_unique<StatementCache>(mDatabase);
    mHelper = std::make_unique<ZoDbHelper>(mDatabase);
    mExerciseIndex = std::make_unique<ExerciseIndex>();
    // Called on the loading thread; the store waits for that thread before it goes.
    mExerciseIndex->setLoadedCallback(
        [this] { QMetaObject::invokeMethod(this, &Storekeeper::takeUpExerciseRows, Qt::QueuedConnection); });
    mUploadCounter = std::make_unique<UploadCounter>();
    openStore = this;
    qAddPostRoutine(&Storekeeper::closeAtShutdown);
}

Storekeeper::~Storekeeper()
{
    qRemovePostRoutine(&Storekeeper::closeAtShutdown);
    close();
    if (openStore == this)
        openStore = nullptr;
}

void Storekeeper::closeAtShutdown()
{
    if (openStore)
        openStore->close();
}

void Storekeeper::close()
{
    mStatements.reset();
    mHelper.reset();
    if (mExerciseIndex)
        mExerciseIndex->clear();
    if (mUploadCounter)
        mUploadCounter->clear();
    const bool opened = mDatabase.isValid();
    mDatabase = QSqlDatabase();
    if (opened)
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

int Storekeeper::open()
{
    mDatabase = ZoDbConnection::open(QString::fromLatin1(kFileName));
    if (mDatabase.isOpen()) {
        addIndexes();
        return 1;
    }
    qCWarning(lcStore).noquote().nospace() << "cannot open " << kFileName;
    return 0;
}

void Storekeeper::addIndexes()
{
    // Lead from a user to their pending manifests, and from a manifest to its
    // links; made when missing, the tables stay as they are. A file that cannot
    // take them still works, only slower.
    static const char* const indexes[] = {
        "CREATE INDEX IF NOT EXISTS idx_m_upload ON m (sbun, ddl, dul, dnul)",
        "CREATE INDEX IF NOT EXISTS idx_crlt_link ON crlt (mprmid, mchmid)",
    };
    QSqlQuery query(mDatabase);
    for (const char* sql : indexes) {
        if (!query.exec(QLatin1String(sql)))
            qCWarning(lcStore) << "index not made:" << sql << query.lastError().text();
    }
}

QObject* Storekeeper::create(QString type, QHash<QString, QString> data)
{
    if (type == kExercise)
        return ZoDbExercise(mDatabase, mStatements.get(), mHelper.get()).create(data);
    if (type == kLesson)
        return ZoDbLesson(mDatabase, mStatements.get(), mHelper.get()).create(data);
    if (type == kUser)
        qCDebug(lcStore, "Create New User");
    return nullptr;
}

QObject* Storekeeper::insert(QString type, QHash<QString, QString> data)
{
    // Lessons and users leave the exercise rows as they are.
    const CountedWrite write(mUploadCounter.get(), mExerciseIndex.get(), mDatabase, CountedWrite::RowsUnchanged);
    if (type == kLesson)
        return ZoDbLesson(mDatabase, mStatements.get(), mHelper.get()).insert(data);
    if (type == kUser) {
        qCDebug(lcStore, "Create New User");
        return ZoDbUser(mDatabase, mStatements.get(), mHelper.get()).insert(data);
    }
    return nullptr;
}

int Storekeeper::insertExercise(QString type, ZoExercise* exercise)
{
    if (type != kExercise)
        return 0;
    // 1 when the exercise was stored, 0 when the write failed and nothing was
    // kept: a failure reported as success would let the caller go on (an
    // import or a download) as if the exercise were in the library. An
    // exercise whose id names a stored row is written again under that id.
    const CountedWrite write(mUploadCounter.get(), mExerciseIndex.get(), mDatabase, CountedWrite::RowsOfListed,
                             exercise ? oneId(exercise->id()) : QList<qint64>());
    return ZoDbExercise(mDatabase, mStatements.get(), mHelper.get()).insert(exercise);
}

ZoExercise* Storekeeper::getExercise(QString type, QString localId)
{
    if (type != kExercise)
        return nullptr;
    return ZoDbExercise(mDatabase, mStatements.get(), mHelper.get()).get(localId);
}

bool Storekeeper::remove(QString type, QStringList ids)
{
    const bool exercises = type == kExercise;
    const CountedWrite write(mUploadCounter.get(), mExerciseIndex.get(), mDatabase,
                             exercises ? CountedWrite::RowsOfListed : CountedWrite::RowsUnchanged,
                             exercises ? IdList::parse(ids) : QList<qint64>());
    if (type == kExercise)
        return ZoDbExercise(mDatabase, mStatements.get(), mHelper.get()).remove(ids) != 0;
    if (type == kLesson)
        return ZoDbLesson(mDatabase, mStatements.get(), mHelper.get()).remove(ids) != 0;
    if (type == kUser)
        return ZoDbUser(mDatabase, mStatements.get(), mHelper.get()).remove(ids) != 0;
    if (type == kFluency)
        return ZoDbUserFluency(mDatabase, mStatements.get(), mHelper.get()).remove(ids) != 0;
    return false;
}

QList<ZoUser*> Storekeeper::select(QString type, QHash<QString, QString> criteria)
{
    if (type == kUser)
        return ZoDbUser(mDatabase, mStatements.get(), mHelper.get()).select(criteria);
    if (type == kExercise)
        return ZoDbExercise(mDatabase, mStatements.get(), mHelper.get()).select(criteria);
    if (type == kLesson)
        return ZoDbLesson(mDatabase, mStatements.get(), mHelper.get()).select(criteria);
    return {};
}

QList<QHash<QString, QString>> Storekeeper::search(QString type, QHash<QString, QString> criteria)
{
    if (type == kExercise)
        return ZoDbExercise(mDatabase, mStatements.get(), mHelper.get()).search(criteria);
    if (type == kLesson)
        return ZoDbLesson(mDatabase, mStatements.get(), mHelper.get()).search(criteria);
    return {};
}

QSqlQueryModel* Storekeeper::queryModel(QString type, QHash<QString, QString> criteria, QList<int>* hiddenColumns,
                                        QList<int>* resizedColumns, int* languageColumn, int* countryColumn,
                                        int* learnerLevelColumn)
{
    if (type == kExercise)
        return ZoDbExercise(mDatabase, mStatements.get(), mHelper.get(), mExerciseIndex.get())
            .queryModel(criteria, hiddenColumns, resizedColumns, languageColumn, countryColumn, learnerLevelColumn);
    if (type == kLesson)
        return ZoDbLesson(mDatabase, mStatements.get(), mHelper.get())
            .queryModel(criteria, hiddenColumns, resizedColumns, languageColumn, countryColumn, learnerLevelColumn);
    return nullptr;
}

bool Storekeeper::update(QString type, QString id, QHash<QString, QString> data)
{
    const CountedWrite write(mUploadCounter.get(), mExerciseIndex.get(), mDatabase,
                             type == kExercise ? CountedWrite::RowsChange : CountedWrite::RowsUnchanged);
    if (type == kExercise)
        return ZoDbExercise(mDatabase, mStatements.get(), mHelper.get()).update(id, data) != 0;
    if (type == kLesson)
        return ZoDbLesson(mDatabase, mStatements.get(), mHelper.get()).update(id, data) != 0;
    if (type == kUser)
        return ZoDbUser(mDatabase, mStatements.get(), mHelper.get()).update(data) != 0;
    return false;
}

bool Storekeeper::overwrite(QString type, QString localId, ZoExercise* source)
{
    const CountedWrite write(mUploadCounter.get(), mExerciseIndex.get(), mDatabase,
                             type == kExercise ? CountedWrite::RowsOfListed : CountedWrite::RowsChange,
                             type == kExercise ? oneId(localId) : QList<qint64>());
    if (type == kExercise)
        return ZoDbExercise(mDatabase, mStatements.get(), mHelper.get()).overwrite(localId, source) != 0;
    if (type == kLesson)
        return ZoDbLesson(mDatabase, mStatements.get(), mHelper.get()).overwrite() != 0;
    if (type == kUser)
        return ZoDbUser(mDatabase, mStatements.get(), mHelper.get()).overwrite(localId) != 0;
    return false;
}

QList<QHash<QString, QString>> Storekeeper::uploadableItems(QString userName)
{
    ZoDbExercise exercises(mDatabase, mStatements.get(), mHelper.get());
    ZoDbLesson lessons(mDatabase, mStatements.get(), mHelper.get());
    return lessons.uploadableItems(userName) + exercises.uploadableItems(userName);
}

int Storekeeper::uploadableCount(QString userName)
{
    // The window asks as soon as a learner has signed in: the exercise rows
    // are read meanwhile, ready for the first search.
    if (!userName.isEmpty())
        mExerciseIndex->startLoading(mDatabase);
    ZoDbLesson lessons(mDatabase, mStatements.get(), mHelper.get());
    const int exerciseCount = mUploadCounter->count(mDatabase, userName);
    const int lessonCount = lessons.uploadableCount(userName);
    // Unknown when either count could not be read.
    return exerciseCount < 0 || lessonCount < 0 ? -1 : exerciseCount + lessonCount;
}

bool Storekeeper::exerciseRowsLoading() const
{
    return mExerciseIndex && mExerciseIndex->isLoading();
}

void Storekeeper::takeUpExerciseRows()
{
    if (!mExerciseIndex || !mDatabase.isValid())
        return;
    // A search may have taken the rows up already.
    if (mExerciseIndex->takeUpLoaded(mDatabase) || !mExerciseIndex->isLoading())
        emit exerciseRowsReady();
}

int Storekeeper::markTransferred(QString type, QString localId, QString direction)
{
    if (type != kExercise)
        return 0;
    const CountedWrite write(mUploadCounter.get(), mExerciseIndex.get(), mDatabase, CountedWrite::RowsUnchanged,
                             oneId(localId));
    return ZoDbExercise(mDatabase, mStatements.get(), mHelper.get()).markTransferred(localId, direction);
}

int Storekeeper::setDoNotUpload(QString idList, QString flag)
{
    const CountedWrite write(mUploadCounter.get(), mExerciseIndex.get(), mDatabase, CountedWrite::RowsUnchanged,
                             IdList::parse(idList));
    return ZoDbBase(mDatabase, mStatements.get(), mHelper.get()).setDoNotUpload(idList, flag);
}

QStringList Storekeeper::languagesOf(QStringList localIds)
{
    return ZoDbHelper(mDatabase).languagesOf(localIds);
}

QStringList Storekeeper::tagList()
{
    return ZoDbHelper(mDatabase).tagList();
}

QStringList Storekeeper::languageList()
{
    return ZoDbHelper(mDatabase).languageList();
}

QStringList Storekeeper::countryList()
{
    return ZoDbHelper(mDatabase).countryList();
}

QStringList Storekeeper::fluencyLevelList()
{
    return ZoDbHelper(mDatabase).fluencyLevelList();
}

QStringList Storekeeper::learnerLevelList()
{
    return ZoDbHelper(mDatabase).learnerLevelList();
}

QString Storekeeper::dbVersion()
{
    return ZoDbHelper(mDatabase).userVersion();
}

void Storekeeper::legacyMediaPath(QString out[2], QString manifestId)
{
    ZoDbHelper(mDatabase).legacyMediaPath(out, manifestId);
}

void Storekeeper::releaseResources()
{
    ZoDbHelper(mDatabase).releaseResources();
}
