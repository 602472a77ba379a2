#include "TestTree.h"
#include "ZoDbConnection.h"
#include "ZoDbSchema.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// Content made in a ready-to-run tree is uploaded through the upload dialog to
// a stand-alone peer service; the persistent ids the program stored must be
// the ones the peer holds. The agent runs in a process of its own, since a
// process holds one Java virtual machine.
class TestUploadEndToEnd : public QObject
{
    Q_OBJECT

    QTemporaryDir mPeerData;
    QProcess mPeer;
    QString mPeerUrl;

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
    void initTestCase()
    {
        QVERIFY(mPeerData.isValid());
        mPeer.setProgram(QStringLiteral(JAVA_EXECUTABLE));
        mPeer.setArguments({QStringLiteral("-cp"), TestTree::distPath() + QStringLiteral("/ViredaClientNetwork.jar"),
                            QStringLiteral("com.vireda.peer.PeerService"), QStringLiteral("--port"),
                            QStringLiteral("0"), QStringLiteral("--data"), mPeerData.path()});
        mPeer.start();
        QVERIFY2(mPeer.waitForStarted(), qPrintable(mPeer.errorString()));
        const QRegularExpression listening(QStringLiteral("listening on ([0-9.]+):(\\d+)"));
        QByteArray output;
        QRegularExpressionMatch match;
        while (!(match = listening.match(QString::fromUtf8(output))).hasMatch()) {
            QVERIFY2(mPeer.waitForReadyRead(30000), output.constData());
            output += mPeer.readAllStandardOutput();
        }
        mPeerUrl = QStringLiteral("http://%1:%2").arg(match.captured(1), match.captured(2));
    }

    void cleanupTestCase()
    {
        QSqlDatabase::removeDatabase(QStringLiteral("local"));
        QSqlDatabase::removeDatabase(QStringLiteral("peer"));
        mPeer.kill();
        mPeer.waitForFinished();
    }

    void uploadedIdsMatchThePeer()
    {
        TestTree tree;
        QVERIFY(tree.isValid());
        {
            QSqlDatabase db = ZoDbConnection::open(tree.filePath(QStringLiteral("vireda.db")), QStringLiteral("made"));
            QVERIFY(db.isOpen() && ZoDbSchema::create(db));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("made"));

        QProcess agent;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), tree.configPath());
        environment.insert(QStringLiteral("VIREDA_PEER"), mPeerUrl);
        environment.insert(QStringLiteral("VIREDA_JAVABRIDGE"), tree.filePath(QStringLiteral("libJavabridge.so")));
        environment.insert(QStringLiteral("VIREDA_MSGBOX_LOG"), tree.filePath(QStringLiteral("boxes.log")));
        environment.insert(QStringLiteral("UPLOAD_USER"), QStringLiteral("uploader_1"));
        agent.setProcessEnvironment(environment);
        agent.setWorkingDirectory(tree.path());
        agent.setProcessChannelMode(QProcess::MergedChannels);
        // The Java virtual machine's own signal handling trips the test crash handler.
        agent.start(QStringLiteral(AGENT_EXECUTABLE), {QStringLiteral("-nocrashhandler")});
        QVERIFY(agent.waitForStarted());
        const bool finished = agent.waitForFinished(150000);
        const QByteArray output = agent.readAll();
        if (!finished) {
            agent.kill();
            agent.waitForFinished();
        }
        QVERIFY2(finished, output.constData());
        QVERIFY2(output.contains("Totals: 3 passed, 0 failed"), output.constData());

        QFile madeFile(tree.filePath(QStringLiteral("made.json")));
        QVERIFY(madeFile.open(QIODevice::ReadOnly));
        const QJsonObject made = QJsonDocument::fromJson(madeFile.readAll()).object();
        const QJsonArray exercises = made.value(QStringLiteral("exercises")).toArray();
        QCOMPARE(exercises.size(), 3);

        QSqlDatabase local = ZoDbConnection::open(tree.filePath(QStringLiteral("vireda.db")), QStringLiteral("local"));
        QVERIFY(local.isOpen());
        QSqlDatabase peer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peer"));
        peer.setDatabaseName(QDir(mPeerData.path()).filePath(QStringLiteral("peer.db")));
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
        const QString lessonDoc =
            scalar(QStringLiteral("peer"), QStringLiteral("SELECT doc FROM lessons WHERE pmid = ?"), {lesson}).toString();
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
