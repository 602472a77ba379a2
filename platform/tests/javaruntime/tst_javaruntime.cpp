#include "JavaRuntime.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <dlfcn.h>

namespace {

// Makes <root>/<name> look like a Java home: bin/java (when withBin) and
// lib/server/libjvm.so (when withJvm).
QString makeHome(const QTemporaryDir& root, const QString& name, bool withBin, bool withJvm)
{
    QDir dir(root.path());
    dir.mkpath(name);
    const QString home = dir.filePath(name);
    if (withBin) {
        dir.mkpath(name + QStringLiteral("/bin"));
        QFile java(home + QStringLiteral("/bin/java"));
        java.open(QIODevice::WriteOnly);
        java.write("#!/bin/sh\n");
        java.close();
        java.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    if (withJvm) {
        dir.mkpath(name + QStringLiteral("/lib/server"));
        QFile jvm(home + QStringLiteral("/lib/server/libjvm.so"));
        jvm.open(QIODevice::WriteOnly);
        jvm.close();
    }
    return home;
}

class EnvGuard
{
public:
    EnvGuard()
        : mPath(qgetenv("PATH"))
        , mJavaHome(qgetenv("JAVA_HOME"))
        , mHadJavaHome(qEnvironmentVariableIsSet("JAVA_HOME"))
    {
    }
    ~EnvGuard()
    {
        qputenv("PATH", mPath);
        if (mHadJavaHome)
            qputenv("JAVA_HOME", mJavaHome);
        else
            qunsetenv("JAVA_HOME");
    }

private:
    QByteArray mPath;
    QByteArray mJavaHome;
    bool mHadJavaHome;
};

} // namespace

class TestJavaRuntime : public QObject
{
    Q_OBJECT

private slots:
    void lookupOrder_data();
    void lookupOrder();
    void extendPathKeepsOldEntries_data();
    void extendPathKeepsOldEntries();
    void preloadRealRuntime();
    void preloadFailsOnBrokenLibrary();
};

void TestJavaRuntime::lookupOrder_data()
{
    QTest::addColumn<QString>("javaHome"); // home name under the temp dir, "" = empty, "-" = unset
    QTest::addColumn<QString>("pathHome"); // home whose bin goes on PATH, "" = none
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("expectedHome");

    QTest::newRow("JAVA_HOME wins over PATH") << "jdkA"
                                              << "jdkB" << true << "jdkA";
    QTest::newRow("empty JAVA_HOME falls back to PATH") << ""
                                                        << "jdkB" << true << "jdkB";
    QTest::newRow("unset JAVA_HOME falls back to PATH") << "-"
                                                        << "jdkB" << true << "jdkB";
    QTest::newRow("JAVA_HOME without bin is refused") << "nobin"
                                                      << "jdkB" << false << "";
    QTest::newRow("JAVA_HOME without libjvm is refused") << "nojvm"
                                                         << "" << false << "";
    QTest::newRow("nothing at all") << ""
                                    << "" << false << "";
    QTest::newRow("java on PATH through a link") << "-"
                                                 << "linked" << true << "jdkB";
}

void TestJavaRuntime::lookupOrder()
{
    QFETCH(QString, javaHome);
    QFETCH(QString, pathHome);
    QFETCH(bool, found);
    QFETCH(QString, expectedHome);

    EnvGuard guard;
    QTemporaryDir root;
    makeHome(root, QStringLiteral("jdkA"), true, true);
    makeHome(root, QStringLiteral("jdkB"), true, true);
    makeHome(root, QStringLiteral("nobin"), false, true);
    makeHome(root, QStringLiteral("nojvm"), true, false);
    // "linked/bin/java" is a link to jdkB's java, as /usr/bin/java is on Debian.
    QDir(root.path()).mkpath(QStringLiteral("linked/bin"));
    QVERIFY(
        QFile::link(root.filePath(QStringLiteral("jdkB/bin/java")), root.filePath(QStringLiteral("linked/bin/java"))));

    if (javaHome == QLatin1String("-"))
        qunsetenv("JAVA_HOME");
    else
        qputenv("JAVA_HOME", javaHome.isEmpty() ? QByteArray() : QFile::encodeName(root.filePath(javaHome)));
    qputenv("PATH", pathHome.isEmpty() ? QByteArray("/nonexistent")
                                       : QFile::encodeName(root.filePath(pathHome + QStringLiteral("/bin"))));

    QString home = QStringLiteral("untouched");
    QString lib = QStringLiteral("untouched");
    QCOMPARE(JavaRuntime::findJavaRuntime(&home, &lib), found ? 1 : 0);
    if (found) {
        const QString expected = QDir(root.path()).canonicalPath() + QLatin1Char('/') + expectedHome;
        QCOMPARE(QDir(home).canonicalPath(), expected);
        QCOMPARE(lib, JavaRuntime::jvmLibrary(home));
    } else {
        QCOMPARE(home, QStringLiteral("untouched"));
        QCOMPARE(lib, QStringLiteral("untouched"));
    }
}

void TestJavaRuntime::extendPathKeepsOldEntries_data()
{
    QTest::addColumn<QByteArray>("old"); // "-" = unset
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("entries kept") << QByteArray("/usr/local/bin:/usr/bin")
                                  << QByteArray("/usr/local/bin:/usr/bin:/opt/jdk/bin");
    // No empty entry: it would stand for the working directory.
    QTest::newRow("empty") << QByteArray("") << QByteArray("/opt/jdk/bin");
    QTest::newRow("unset") << QByteArray("-") << QByteArray("/opt/jdk/bin");
    QTest::newRow("ends with a separator") << QByteArray("/usr/bin:") << QByteArray("/usr/bin:/opt/jdk/bin");
}

void TestJavaRuntime::extendPathKeepsOldEntries()
{
    QFETCH(QByteArray, old);
    QFETCH(QByteArray, expected);
    EnvGuard guard;
    if (old == "-")
        qunsetenv("PATH");
    else
        qputenv("PATH", old);
    JavaRuntime::extendPath(QStringLiteral("/opt/jdk"));
    QCOMPARE(qgetenv("PATH"), expected);
}

void TestJavaRuntime::preloadRealRuntime()
{
    const QString home = JavaRuntime::candidateHome();
    if (!JavaRuntime::isUsableHome(home))
        QSKIP("no Java runtime on this machine");
    QVERIFY(JavaRuntime::preloadJvm(home));
    // Loaded globally: its exported symbols are visible to the whole process.
    QVERIFY(dlsym(RTLD_DEFAULT, "JNI_CreateJavaVM") != nullptr);
}

void TestJavaRuntime::preloadFailsOnBrokenLibrary()
{
    QTemporaryDir root;
    const QString home = makeHome(root, QStringLiteral("broken"), true, true);
    QVERIFY(JavaRuntime::isUsableHome(home));
    QVERIFY(!JavaRuntime::preloadJvm(home));
}

QTEST_GUILESS_MAIN(TestJavaRuntime)
#include "tst_javaruntime.moc"
