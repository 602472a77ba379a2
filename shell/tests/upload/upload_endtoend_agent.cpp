// The uploading side of tst_upload_endtoend: started inside a temporary
// ready-to-run tree with the real network manager, bridge, Java client and a
// stand-alone peer service. It registers and signs in a user, makes content
// through the store, uploads it with the upload dialog, uploads again, and
// writes the local ids of what it made to "made.json" for the test to check.

#include "AgentSession.h"
#include "IDbManager.h"
#include "TestHost.h"
#include "UploadForm.h"
#include "ZoDbHelper.h"
#include "ZoExercise.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QtTest>

#include <memory>

namespace {

QStringList boxes()
{
    QFile file(qEnvironmentVariable("VIREDA_MSGBOX_LOG"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class UploadAgent : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void uploadsEverythingOnce();

private:
    QString addExercise(const QString& term, const QString& translation);

    AgentSession mSession;
};

void UploadAgent::initTestCase()
{
    mSession.open();
    if (QTest::currentTestFailed())
        return;
    mSession.registerAndSignIn(qEnvironmentVariable("UPLOAD_USER"), QStringLiteral("upload.pass1"));
}

void UploadAgent::cleanupTestCase()
{
    mSession.close();
}

QString UploadAgent::addExercise(const QString& term, const QString& translation)
{
    return mSession.addRecordedExercise(term, term + QStringLiteral(".ogg"), term.size() + 3, translation);
}

void UploadAgent::uploadsEverythingOnce()
{
    const QString first = addExercise(QStringLiteral("maison upload"), QStringLiteral("house upload"));
    const QString second = addExercise(QStringLiteral("jardin upload"), QString());
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    const QString lesson = mSession.addLesson(QStringLiteral("Home upload"), QStringLiteral("Rooms"), {first, second});
    QVERIFY(!lesson.isEmpty());
    ZoDbHelper helper;
    const QStringList groups = helper.translationRelatives(first);
    QCOMPARE(groups.size(), 1);
    const QString translation = groups.first().section(QLatin1Char(','), 0, 0);
    const QString translated = groups.first().section(QLatin1Char(','), 1, 1);

    TestHost host;
    {
        UploadForm form(&host);
        QCOMPARE(form.pendingCount(), 3);
        form.upload();
    }
    QCOMPARE(host.offlineMoves, 0);
    QCOMPARE(boxes().size(), 1);
    QVERIFY2(boxes().last().endsWith(QStringLiteral("\tUpload complete.\tOK")), qPrintable(boxes().last()));

    // Nothing is left, so a second upload has nothing to send.
    {
        UploadForm form(&host);
        QCOMPARE(form.pendingCount(), 0);
        QCOMPARE(form.tbl->rowCount(), 0);
        form.upload();
    }
    QCOMPARE(boxes().size(), 2);
    QVERIFY2(boxes().last().endsWith(QStringLiteral("\tPlease select something to upload.\tOK")),
             qPrintable(boxes().last()));

    QJsonArray exercises;
    for (const QString& id : {first, second, translated}) {
        std::unique_ptr<ZoExercise> exercise(mSession.db()->getExercise(QStringLiteral("Exercise"), id));
        QVERIFY(exercise);
        exercises.append(QJsonObject{{"id", id},
                                     {"term", exercise->termId()},
                                     {"media", id == translated ? QString() : exercise->mediaId()}});
    }
    const QJsonObject made{{"exercises", exercises},
                           {"translation", translation},
                           {"lesson", lesson},
                           {"members", QJsonArray{first, second}}};
    QSaveFile out(QStringLiteral("made.json"));
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(QJsonDocument(made).toJson());
    QVERIFY(out.commit());
}

QTEST_MAIN(UploadAgent)
#include "upload_endtoend_agent.moc"
