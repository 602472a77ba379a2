#include "IUserResource.h"
#include "PluginLocator.h"
#include "TestTree.h"
#include "ZoUser.h"

#include <QPointer>
#include <QProcess>
#include <QtTest>

#include <memory>

namespace {

IUserResource* users()
{
    return PluginLocator::load<IUserResource>(QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
}

ZoUser* makeUser(const QString& name)
{
    auto* user = new ZoUser();
    user->setUsername(name);
    return user;
}

} // namespace

class TestUserResource : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestTree> mTree;

private slots:
    void initTestCase()
    {
        mTree = std::make_unique<TestTree>();
        QVERIFY(mTree->isValid());
        mTree->enter();
        QVERIFY2(users(), "ZoUserResource missing");
    }

    void noUserBeforeSignIn()
    {
        users()->clearCurrentUser();
        QVERIFY(!users()->hasCurrentUser());
        QCOMPARE(users()->currentUser(), nullptr);
    }

    void setAndClear()
    {
        ZoUser* alice = makeUser(QStringLiteral("alice"));
        users()->setCurrentUser(alice);
        QVERIFY(users()->hasCurrentUser());
        QCOMPARE(users()->currentUser(), alice);
        // Another loader of the same file sees the same user.
        IUserResource* again = PluginLocator::load<IUserResource>(
            QStringLiteral("Plugins_dll/Resources/ZoUserResource.dll"));
        QCOMPARE(again, users());
        QCOMPARE(again->currentUser()->username(), QStringLiteral("alice"));
        users()->clearCurrentUser();
        QVERIFY(!users()->hasCurrentUser());
        QCOMPARE(users()->currentUser(), nullptr);
        users()->setCurrentUser(nullptr);
        QVERIFY(!users()->hasCurrentUser());
    }

    // A tab reloads the user while another still holds the old object.
    void supersededUserStaysUsable()
    {
        ZoUser* before = makeUser(QStringLiteral("bob"));
        users()->setCurrentUser(before);
        QPointer<ZoUser> held = users()->currentUser();

        users()->clearCurrentUser();
        users()->setCurrentUser(makeUser(QStringLiteral("bob")));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();

        QVERIFY(!held.isNull());
        QCOMPARE(held->username(), QStringLiteral("bob"));
        QVERIFY(users()->currentUser() != before);
        QCOMPARE(users()->currentUser()->username(), QStringLiteral("bob"));
    }

    void userDeletedElsewhereIsForgotten()
    {
        ZoUser* carol = makeUser(QStringLiteral("carol"));
        users()->setCurrentUser(carol);
        delete carol;
        QVERIFY(!users()->hasCurrentUser());
        QCOMPARE(users()->currentUser(), nullptr);
    }

    // Users are widgets: they must go before the application object does.
    void usersGoWithTheApplication()
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(SHUTDOWN_PROGRAM), {mTree->path()});
        QVERIFY(process.waitForFinished(30000));
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QVERIFY2(out.contains(QLatin1String("current 0")), qPrintable(out));
        for (const QString& name : {QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")}) {
            QCOMPARE(out.count(QStringLiteral("deleted ") + name + QLatin1Char(' ')), 1);
            QVERIFY2(out.contains(QStringLiteral("deleted ") + name + QStringLiteral(" app=1")), qPrintable(out));
        }
    }
};

QTEST_MAIN(TestUserResource)
#include "tst_userresource.moc"
