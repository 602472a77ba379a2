#include "AgentProcess.h"
#include "PeerServiceProcess.h"
#include "TestDatabase.h"
#include "TestTree.h"
#include "ZoDbConnection.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

// Content made in a ready-to-run tree is uploaded through the upload dialog to
// a stand-alone peer service; the persistent ids the program stored must be
// the ones the peer holds. The agent runs in a process of its own, since a
// process holds one Java virtual machine.
class TestUploadEndToEnd : public QObject
{
    Q_OBJECT

    PeerServiceProcess mPeer;

    // One value of the first row, or an invalid variant.
    static QVariant scalar(const QString& connection, const QString& sql, const QVariantList& values = {})
    {
        QSqlQuery query(QSqlDatabase::database(connection));
        query.prepare(sql);
        for (const QVariant& v : values)
            query.addBindValue(v);
        if (!query.exec() || !query.next())
            return QVariant();
        return query.value(0);
    }

private slots:
    void initTestCase() { QVERIFY2(mPeer.start(), qPrintable(mPeer.error())); }

    void cleanupTestCase()
    {
        QSqlDatabase::removeDatabase(QStringLiteral("local"));
        QSqlDatabase::removeDatabase(QStringLiteral("peer"));
        mPeer.stop();
    }

    void uploadedIdsMatchThePeer()
    {
        TestTree tree;
        QVERIFY(tree.isValid());
        QVERIFY(TestDatabase::createFile(tree.filePath(QStringLiteral("vireda.db"))));

        AgentProcess agent(tree, mPeer.url(), QStringLiteral("offscreen"));
        agent.setEnvironment(QStringLiteral("VIREDA_MSGBOX_LOG"), tree.filePath(QStringLiteral("boxes.log")));
        agent.setEnvironment(QStringLiteral("UPLOAD_USER"), QStringLiteral("uploader_1"));
        // The Java virtual machine's own signal handling trips the test crash handler.
        agent.run(QStringLiteral(AGENT_EXECUTABLE), {QStringLiteral("-nocrashhandler")}, 150000);
        const QString failure = agent.failure(3);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));

        QFile madeFile(tree.filePath(QStringLiteral("made.json")));
        QVERIFY(madeFile.open(QIODevice::ReadOnly));
        const QJsonObject made = QJsonDocument::fromJson(madeFile.readAll()).object();
        const QJsonArray exercises = made.value(QStringLiteral("exercises")).toArray();
        QCOMPARE(exercises.size(), 3);

        QSqlDatabase local = ZoDbConnection::open(tree.filePath(QStringLiteral("vireda.db")), QStringLiteral("local"));
        QVERIFY(local.isOpen());
        QSqlDatabase peer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peer"));
        peer.setDatabaseName(QDir(mPeer.dataPath()).filePath(QStringLiteral("peer.db")));
        peer.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QVERIFY(peer.open());

        auto persistentId = [](const QString& localId) {
            return scalar(QStringLiteral("local"), QStringLiteral("SELECT pmid FROM m WHERE lmid = ?"), {localId})
                .toString();
        };
        auto uploadStamp = [](const QString& localId) {
            return scalar(QStringLiteral("local"), QStringLiteral("SELECT dul FROM m WHERE lmid = ?"), {localId})
                .toLongLong();
        };
        auto isLocalOnly = [](const QString& pid) { return pid.isEmpty() || pid == QLatin1String("0"); };

        QStringList exercisePids;
        for (const QJsonValue& value : exercises) {
            const QJsonObject exercise = value.toObject();
            const QString pid = persistentId(exercise.value(QStringLiteral("id")).toString());
            QVERIFY2(!isLocalOnly(pid), qPrintable(exercise.value(QStringLiteral("id")).toString()));
            QVERIFY(uploadStamp(exercise.value(QStringLiteral("id")).toString()) > 0);
            exercisePids << pid;
            QCOMPARE(scalar(QStringLiteral("peer"), QStringLiteral("SELECT term_pmid FROM exercises WHERE pmid = ?"),
                            {pid})
                         .toString(),
                     persistentId(exercise.value(QStringLiteral("term")).toString()));
            const QString media = exercise.value(QStringLiteral("media")).toString();
            if (!media.isEmpty()) {
                QVERIFY(!isLocalOnly(persistentId(media)));
                QCOMPARE(scalar(QStringLiteral("peer"),
                                QStringLiteral("SELECT media_pmid FROM exercises WHERE pmid = ?"), {pid})
                             .toString(),
                         persistentId(media));
            }
        }

        // The translation links the first exercise and its translated exercise.
        const QString translation = persistentId(made.value(QStringLiteral("translation")).toString());
        QVERIFY(!isLocalOnly(translation));
        QStringList linked{scalar(QStringLiteral("peer"),
                                  QStringLiteral("SELECT exercise_a FROM translations WHERE pmid = ?"), {translation})
                               .toString(),
                           scalar(QStringLiteral("peer"),
                                  QStringLiteral("SELECT exercise_b FROM translations WHERE pmid = ?"), {translation})
                               .toString()};
        linked.sort();
        QStringList expectedLinks{exercisePids.at(0), exercisePids.at(2)};
        expectedLinks.sort();
        QCOMPARE(linked, expectedLinks);

        // The lesson went after its members and names their persistent ids.
        const QString lesson = persistentId(made.value(QStringLiteral("lesson")).toString());
        QVERIFY(!isLocalOnly(lesson));
        const QString lessonDoc = scalar(QStringLiteral("peer"),
                                         QStringLiteral("SELECT doc FROM lessons WHERE pmid = ?"), {lesson})
                                      .toString();
        QVERIFY2(lessonDoc.contains(exercisePids.at(0)) && lessonDoc.contains(exercisePids.at(1)),
                 qPrintable(lessonDoc));

        // Everything went once: the second upload sent nothing.
        QCOMPARE(scalar(QStringLiteral("peer"), QStringLiteral("SELECT count(*) FROM exercises")).toInt(), 3);
        QCOMPARE(scalar(QStringLiteral("peer"), QStringLiteral("SELECT count(*) FROM translations")).toInt(), 1);
        QCOMPARE(scalar(QStringLiteral("peer"), QStringLiteral("SELECT count(*) FROM lessons")).toInt(), 1);
        QCOMPARE(scalar(QStringLiteral("local"), QStringLiteral("SELECT count(*) FROM m WHERE pmid = '0' OR pmid = ''"))
                     .toInt(),
                 0);
        peer.close();
        local.close();
    }
};

QTEST_GUILESS_MAIN(TestUploadEndToEnd)
#include "tst_upload_endtoend.moc"
