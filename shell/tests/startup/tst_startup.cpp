#include "JavaRuntime.h"
#include "ProductInfo.h"
#include "TestTree.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <sched.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs the real program from a temporary ready-to-run tree, with message boxes
// written to a log instead of shown.
class ProgramRun
{
public:
    explicit ProgramRun(TestTree& tree)
        : mTree(tree)
    {
        mEnv = QProcessEnvironment::systemEnvironment();
        mEnv.insert(QStringLiteral("VIREDA_HOME"), tree.path());
        mEnv.insert(QStringLiteral("XDG_CONFIG_HOME"), tree.configPath());
        mEnv.insert(QStringLiteral("VIREDA_MSGBOX_LOG"), tree.filePath(QStringLiteral("boxes.log")));
        mEnv.insert(QStringLiteral("VIREDA_MSGBOX_ANSWERS"), QString());
        mEnv.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        mProcess.setProgram(tree.filePath(QStringLiteral("vireda")));
        mProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }

    QProcessEnvironment& env() { return mEnv; }

    void start()
    {
        mFailure.clear();
        mProcess.setProcessEnvironment(mEnv);
        mProcess.start();
    }

    // Runs to the end; the exit code, or -1 when it did not start or end in
    // time, -2 when it crashed (failure() says which).
    int run(int ms = 30000)
    {
        start();
        return finish(ms);
    }

    int finish(int ms = 30000)
    {
        if (mProcess.error() == QProcess::FailedToStart) {
            mFailure = QStringLiteral("the program did not start: ") + mProcess.errorString();
            return -1;
        }
        if (!mProcess.waitForFinished(ms)) {
            mFailure = mProcess.error() == QProcess::FailedToStart
                           ? QStringLiteral("the program did not start: ") + mProcess.errorString()
                           : QStringLiteral("the program did not end within %1 ms").arg(ms);
            mProcess.kill();
            mProcess.waitForFinished();
            return -1;
        }
        if (mProcess.exitStatus() != QProcess::NormalExit) {
            mFailure = QStringLiteral("the program crashed: ") + mProcess.errorString();
            return -2;
        }
        if (mUnprivileged && mProcess.exitCode() == NoUserNamespace)
            mFailure = QStringLiteral("the program was not started: no user namespace could be made for it");
        return mProcess.exitCode();
    }

    // Asks the running program to end as a desktop session would.
    int terminate(int ms = 30000)
    {
        mProcess.terminate();
        return finish(ms);
    }

    QProcess& process() { return mProcess; }

    // Why the last run did not give an exit code of the program's own.
    QString failure() const { return mFailure; }

    // For a test running as root: the program runs in a user namespace of its
    // own where it keeps its account but none of root's rights over files, so
    // file permissions hold for it as for any account, wherever the tree is.
    void runUnprivileged()
    {
        mUnprivileged = true;
        mProcess.setChildProcessModifier([] {
            if (::unshare(CLONE_NEWUSER) != 0) {
                static const char message[] = "tst_startup: no user namespace for the program\n";
                [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, message, sizeof message - 1);
                ::_exit(NoUserNamespace);
            }
        });
    }

    // Whether runUnprivileged() can work on this machine.
    static bool userNamespacesWork()
    {
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(::unshare(CLONE_NEWUSER) == 0 ? 0 : 1);
        int status = 0;
        return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

private:
    // The exit code of a child that could not leave root's rights behind.
    static constexpr int NoUserNamespace = 71;

    TestTree& mTree;
    QProcessEnvironment mEnv;
    QProcess mProcess;
    QString mFailure;
    bool mUnprivileged = false;
};

// Compares the exit code of a run; a program that did not start, did not end
// in time or crashed fails the test saying so.
#define QCOMPARE_EXIT(program, call, expected)                                                                         \
    do {                                                                                                               \
        const int code_ = (program).call;                                                                              \
        QVERIFY2(code_ >= 0 && (program).failure().isEmpty(), qPrintable((program).failure()));                        \
        QCOMPARE(code_, expected);                                                                                     \
    } while (false)

namespace {

QString settingsFile(const TestTree& tree)
{
    return tree.filePath(QStringLiteral("config/Quorvantel/Vireda.conf"));
}

QStringList boxes(const TestTree& tree)
{
    QFile file(tree.filePath(QStringLiteral("boxes.log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QVariant stored(const TestTree& tree, const QString& key)
{
    return QSettings(settingsFile(tree), QSettings::IniFormat).value(key);
}

void storeJavaHome(const TestTree& tree, const QString& home)
{
    QDir().mkpath(tree.filePath(QStringLiteral("config/Quorvantel")));
    QSettings settings(settingsFile(tree), QSettings::IniFormat);
    settings.setValue(QStringLiteral("software/jrePath"), home);
}

// The environment of a machine where no Java runtime can be found.
void hideJava(ProgramRun& run)
{
    run.env().insert(QStringLiteral("JAVA_HOME"), QString());
    run.env().insert(QStringLiteral("PATH"), QStringLiteral("/nonexistent"));
}

// The process id written into the single-instance lock file, or 0.
qint64 lockOwner(const TestTree& tree)
{
    QFile lock(tree.filePath(QStringLiteral("Unique Vireda Mutex String.lock")));
    if (!lock.open(QIODevice::ReadOnly))
        return 0;
    return lock.readLine().trimmed().toLongLong();
}

// True once the process catches SIGTERM itself: its handler is installed.
bool catchesTermination(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
    }
    return false;
}

bool waitForKey(const TestTree& tree, const QString& key, int ms = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        if (stored(tree, key).isValid())
            return true;
        QTest::qWait(50);
    }
    return false;
}

const QString missingRuntimeBox = QStringLiteral(
    "warning\tVireda\tBefore using Vireda, you will need to install the Java Runtime Environment.  Please visit\\n"
    "https://openjdk.org/install/ to download and install the Java Runtime Environment.\\n\tOK");

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void normalStartAndEnd();
    void secondInstanceRefused();
    void missingRuntime_data();
    void missingRuntime();
    void storedHomeStillUsable();
    void endsCleanlyWithEveryPlugin();
    void startupProbe_data();
    void startupProbe();
    void terminatedDuringStartup_data();
    void terminatedDuringStartup();
    void damagedDatabase_data();
    void damagedDatabase();
    void learnersFilesAreOwnerOnly();
    void unusableDatabase_data();
    void unusableDatabase();
};

void TestStartup::normalStartAndEnd()
{
    if (!JavaRuntime::isUsableHome(JavaRuntime::candidateHome()))
        QSKIP("no Java runtime on this machine");
    TestTree tree(TestTree::NoPlugins);
    ProgramRun run(tree);
    run.start();
    QVERIFY(run.process().waitForStarted());
    QVERIFY(waitForKey(tree, QStringLiteral("software/internal_version")));
    QCOMPARE(stored(tree, QStringLiteral("xml/version")).toString(), QStringLiteral("2"));
    QCOMPARE(stored(tree, QStringLiteral("software/version")).toString(), QStringLiteral("Vireda"));
    QCOMPARE(stored(tree, QStringLiteral("software/internal_version")).toString(),
             QString::fromLatin1(ProductInfo::InternalVersion));
    QCOMPARE(QDir(stored(tree, QStringLiteral("software/jrePath")).toString()).canonicalPath(),
             QDir(JavaRuntime::candidateHome()).canonicalPath());
    // The settings can hold a password: the owner alone may read them.
    QCOMPARE(QFile(settingsFile(tree)).permissions()
                 & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
             QFile::Permissions());
    QCOMPARE_EXIT(run, terminate(), 1);
}

void TestStartup::secondInstanceRefused()
{
    if (!JavaRuntime::isUsableHome(JavaRuntime::candidateHome()))
        QSKIP("no Java runtime on this machine");
    TestTree tree(TestTree::NoPlugins);
    ProgramRun first(tree);
    first.start();
    QVERIFY(waitForKey(tree, QStringLiteral("software/internal_version")));

    QFile settings(settingsFile(tree));
    QVERIFY(settings.open(QIODevice::ReadOnly));
    const QByteArray before = settings.readAll();
    settings.close();
    const QDateTime modified = QFileInfo(settings).lastModified();

    ProgramRun second(tree);
    QCOMPARE_EXIT(second, run(), 1);
    QCOMPARE(boxes(tree),
             QStringList{QStringLiteral("information\tVireda\tVireda is already running on this computer.\tOK")});
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QCOMPARE(settings.readAll(), before);
    QCOMPARE(QFileInfo(settings).lastModified(), modified);

    QCOMPARE_EXIT(first, terminate(), 1);
    // The lock goes with its owner: a new start works again.
    ProgramRun third(tree);
    third.start();
    QVERIFY(third.process().waitForStarted());
    // It holds the lock once its process id is in the lock file.
    QTRY_COMPARE_WITH_TIMEOUT(lockOwner(tree), third.process().processId(), 30000);
    QCOMPARE(third.process().state(), QProcess::Running);
    QCOMPARE_EXIT(third, terminate(), 1);
    QCOMPARE(boxes(tree).size(), 1);
}

void TestStartup::missingRuntime_data()
{
    QTest::addColumn<QString>("storedHome"); // "" none; "nobin": a home without bin; "gone": a removed folder

    QTest::newRow("nothing found, nothing stored") << "";
    QTest::newRow("stored home without bin") << "nobin";
    QTest::newRow("stored home removed") << "gone";
}

void TestStartup::missingRuntime()
{
    QFETCH(QString, storedHome);
    TestTree tree(TestTree::NoPlugins);
    QTemporaryDir homes;
    if (!storedHome.isEmpty()) {
        QDir(homes.path()).mkpath(QStringLiteral("nobin/lib"));
        storeJavaHome(tree, homes.filePath(storedHome));
    }
    ProgramRun run(tree);
    hideJava(run);
    QCOMPARE_EXIT(run, run(), 1);
    QCOMPARE(boxes(tree), QStringList{missingRuntimeBox});
    QCOMPARE(stored(tree, QStringLiteral("xml/version")).toString(), QStringLiteral("2"));
    QVERIFY(!stored(tree, QStringLiteral("software/version")).isValid());
    QVERIFY(!stored(tree, QStringLiteral("software/internal_version")).isValid());
    if (!storedHome.isEmpty())
        QCOMPARE(stored(tree, QStringLiteral("software/jrePath")).toString(), homes.filePath(storedHome));
}

void TestStartup::storedHomeStillUsable()
{
    TestTree tree(TestTree::NoPlugins);
    QTemporaryDir homes;
    // A home from an earlier start whose bin folder is still there.
    QDir(homes.path()).mkpath(QStringLiteral("jre/bin"));
    storeJavaHome(tree, homes.filePath(QStringLiteral("jre")));
    ProgramRun run(tree);
    hideJava(run);
    run.start();
    QVERIFY(waitForKey(tree, QStringLiteral("software/internal_version")));
    QCOMPARE(stored(tree, QStringLiteral("software/jrePath")).toString(), homes.filePath(QStringLiteral("jre")));
    QCOMPARE_EXIT(run, terminate(), 1);
    QVERIFY(boxes(tree).isEmpty());
}

void TestStartup::endsCleanlyWithEveryPlugin()
{
    if (!JavaRuntime::isUsableHome(JavaRuntime::candidateHome()))
        QSKIP("no Java runtime on this machine");
    TestTree tree(TestTree::RealPlugins);
    ProgramRun run(tree);
    run.start();
    // Written once the store and the network manager are loaded.
    QVERIFY(waitForKey(tree, QStringLiteral("network/localips"), 60000));
    QCOMPARE(stored(tree, QStringLiteral("database/version")).toString(), QStringLiteral("2"));
    QVERIFY(QFileInfo::exists(tree.filePath(QStringLiteral("vireda.db"))));
    // Sign-in comes last: wait for its greeting before ending.
    QTRY_VERIFY_WITH_TIMEOUT(!boxes(tree).isEmpty(), 30000);
    // The Java VM, the sound engine and the database are all up: the end
    // must still be an orderly one.
    QCOMPARE_EXIT(run, terminate(), 1);
    // A first start with the network up greets the new user, nothing else.
    const QStringList shown = boxes(tree);
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().startsWith(QStringLiteral("information\tWelcome\tWelcome to Vireda!")),
             qPrintable(shown.first()));
}

void TestStartup::startupProbe_data()
{
    QTest::addColumn<bool>("probe"); // VIREDA_STARTUP_PROBE set

    QTest::newRow("asked for") << true;
    QTest::newRow("not asked for") << false;
}

// The start-up benchmark reads these moments; without the variable the
// program writes none of them.
void TestStartup::startupProbe()
{
    QFETCH(bool, probe);
    if (!JavaRuntime::isUsableHome(JavaRuntime::candidateHome()))
        QSKIP("no Java runtime on this machine");
    TestTree tree(TestTree::RealPlugins);
    ProgramRun run(tree);
    if (probe)
        run.env().insert(QStringLiteral("VIREDA_STARTUP_PROBE"), QStringLiteral("1"));
    run.start();
    QByteArray output;
    const auto moments = [&run, &output] {
        output += run.process().readAllStandardOutput();
        QHash<QByteArray, qint64> found;
        for (const QByteArray& line : output.split('\n')) {
            const QList<QByteArray> parts = line.mid(line.indexOf("startup-probe ")).trimmed().split(' ');
            if (line.contains("startup-probe ") && parts.size() == 3 && !found.contains(parts.at(1)))
                found.insert(parts.at(1), parts.at(2).toLongLong());
        }
        return found;
    };
    // The greeting comes from the sign-in dialog once the network has started.
    QTRY_VERIFY_WITH_TIMEOUT(!boxes(tree).isEmpty(), 60000);
    if (probe)
        QTRY_VERIFY_WITH_TIMEOUT(moments().contains("signin"), 30000);
    QCOMPARE_EXIT(run, terminate(), 1);
    const QHash<QByteArray, qint64> found = moments();
    if (!probe) {
        QVERIFY2(found.isEmpty(), output.constData());
        return;
    }
    for (const char* name : {"splash", "timer", "network", "network-wait", "signin"})
        QVERIFY2(found.contains(name), name);
    // Microseconds: the splash shows for its second, the dialog follows the
    // timer (not the network: the greeting waits for that, the dialog does not).
    QVERIFY(found.value("timer") - found.value("splash") >= 900000);
    QVERIFY(found.value("signin") > found.value("timer"));
    QVERIFY(found.value("network-wait") >= 0);
    QVERIFY(boxes(tree).first().startsWith(QStringLiteral("information\tWelcome\t")));
}

void TestStartup::terminatedDuringStartup_data()
{
    QTest::addColumn<int>("delayMs");     // after the start, before the signal
    QTest::addColumn<bool>("midStartup"); // signal as soon as the first setting is written
    QTest::addColumn<int>("plugins");

    QTest::newRow("at once, no plug-ins") << 0 << false << int(TestTree::NoPlugins);
    QTest::newRow("50 ms, no plug-ins") << 50 << false << int(TestTree::NoPlugins);
    QTest::newRow("first setting, no plug-ins") << 0 << true << int(TestTree::NoPlugins);
    QTest::newRow("50 ms, every plug-in") << 50 << false << int(TestTree::RealPlugins);
    QTest::newRow("first setting, every plug-in") << 0 << true << int(TestTree::RealPlugins);
    QTest::newRow("400 ms, every plug-in") << 400 << false << int(TestTree::RealPlugins);
}

void TestStartup::terminatedDuringStartup()
{
    QFETCH(int, delayMs);
    QFETCH(bool, midStartup);
    QFETCH(int, plugins);
    if (!JavaRuntime::isUsableHome(JavaRuntime::candidateHome()))
        QSKIP("no Java runtime on this machine");
    TestTree tree(static_cast<TestTree::Plugins>(plugins));
    ProgramRun run(tree);
    run.start();
    QVERIFY(run.process().waitForStarted());
    QTest::qWait(delayMs);
    // Before its first line the program cannot catch anything; from there on
    // it must end in order whatever it is doing.
    if (midStartup) {
        // Written early in start-up, long before the main window exists.
        QElapsedTimer timer;
        timer.start();
        while (!QFileInfo::exists(settingsFile(tree)) && timer.elapsed() < 20000)
            QThread::msleep(1);
        QVERIFY(QFileInfo::exists(settingsFile(tree)));
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(catchesTermination(run.process().processId()), 20000);
    }
    QCOMPARE_EXIT(run, terminate(), 1);
    QCOMPARE(stored(tree, QStringLiteral("xml/version")).toString(), QStringLiteral("2"));
    QCOMPARE(stored(tree, QStringLiteral("software/version")).toString(), QStringLiteral("Vireda"));
    QCOMPARE(stored(tree, QStringLiteral("software/internal_version")).toString(),
             QString::fromLatin1(ProductInfo::InternalVersion));
    QVERIFY(boxes(tree).isEmpty());
}

namespace {

const QFileDevice::Permissions kGroupOther = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                             | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

QStringList sharedFiles(const TestTree& tree)
{
    QStringList shared;
    const QDir home(tree.path());
    for (const QString& name : home.entryList({QStringLiteral("vireda.db*")}, QDir::Files | QDir::Hidden))
        if (QFileInfo(home.filePath(name)).permissions() & kGroupOther)
            shared << name;
    QDirIterator it(home.filePath(QStringLiteral("Content")), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (it.fileInfo().permissions() & kGroupOther)
            shared << home.relativeFilePath(it.filePath());
    }
    if (QFileInfo(home.filePath(QStringLiteral("Content"))).permissions() & kGroupOther)
        shared << QStringLiteral("Content");
    return shared;
}

// Starts the program until the store is open, then ends it; what it logged
// and stored of the database is forgotten for the next start.
bool startToStore(TestTree& tree)
{
    ProgramRun run(tree);
    run.start();
    const bool started = waitForKey(tree, QStringLiteral("database/version"), 60000);
    const bool ended = run.terminate() == 1;
    QFile::remove(tree.filePath(QStringLiteral("boxes.log")));
    QSettings(settingsFile(tree), QSettings::IniFormat).remove(QStringLiteral("database"));
    return started && ended;
}

} // namespace

// A fresh start makes the database, its first copy and "Content" owner-only;
// an existing shared database is tightened at the next start, and a stale
// temporary file of a recording is gone.
void TestStartup::learnersFilesAreOwnerOnly()
{
    if (!JavaRuntime::isUsableHome(JavaRuntime::candidateHome()))
        QSKIP("no Java runtime on this machine");
    TestTree tree(TestTree::RealPlugins);
    const mode_t umaskBefore = ::umask(022);
    const bool first = startToStore(tree);
    ::umask(umaskBefore);
    QVERIFY(first);
    const QString db = tree.filePath(QStringLiteral("vireda.db"));
    QVERIFY(QFileInfo::exists(db));
    QCOMPARE(sharedFiles(tree), QStringList());

    const QFileDevice::Permissions shared = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                            | QFileDevice::ReadOther;
    QVERIFY(QFile::setPermissions(db, shared));
    QVERIFY(QDir().mkpath(tree.filePath(QStringLiteral("Content/TemplateList"))));
    QFile copy(tree.filePath(QStringLiteral("vireda.db.bak")));
    QVERIFY(copy.open(QIODevice::WriteOnly));
    copy.close();
    QVERIFY(copy.setPermissions(shared));
    QFile stale(tree.filePath(QStringLiteral("Content/.store-Ab12Cd")));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();
    QVERIFY(QFile::setPermissions(tree.filePath(QStringLiteral("Content")),
                                  shared | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther));
    QVERIFY(!sharedFiles(tree).isEmpty());

    QVERIFY(startToStore(tree));
    QCOMPARE(sharedFiles(tree), QStringList());
    QCOMPARE(QFileInfo(db).permissions() & (QFileDevice::ReadOwner | QFileDevice::WriteOwner),
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(!stale.exists());
}

void TestStartup::unusableDatabase_data()
{
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QString>("message");
    QTest::newRow("another account's file")
        << false
        << QStringLiteral(
               "Vireda cannot read the local database \"%1\": your account may not read this file, for example "
               "because it belongs to another account. Nothing was changed.\\n\\nPlease make sure that the file "
               "belongs to you or that you may read and write it, then start Vireda again.");
    QTest::newRow("read-only file")
        << true
        << QStringLiteral(
               "Vireda cannot write to the local database \"%1\": the file or its folder is read-only, so nothing "
               "could be saved. Nothing was changed.\\n\\nPlease make sure that you may write to the file and its "
               "folder, then start Vireda again.");
}

// A database this account cannot read or write is named at start, with what
// to do, and left as it is.
void TestStartup::unusableDatabase()
{
    QFETCH(bool, readable);
    QFETCH(QString, message);
    if (!JavaRuntime::isUsableHome(JavaRuntime::candidateHome()))
        QSKIP("no Java runtime on this machine");
    TestTree tree(TestTree::RealPlugins);
    QVERIFY(startToStore(tree));
    const QString db = tree.filePath(QStringLiteral("vireda.db"));
    QFile file(db);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();

    ProgramRun run(tree);
    if (::geteuid() == 0) {
        // Root may read and write any file: the program runs without those rights.
        if (!ProgramRun::userNamespacesWork())
            QSKIP("running as root, and this machine makes no user namespace to run the program without root's rights");
        run.runUnprivileged();
    }
    QVERIFY(file.setPermissions(readable ? QFileDevice::ReadOwner : QFileDevice::Permissions()));
    QCOMPARE_EXIT(run, run(60000), 1);
    QCOMPARE(boxes(tree), QStringList{QStringLiteral("critical\tVireda\t") + message.arg(db) + QStringLiteral("\tOK")});
    QVERIFY(!stored(tree, QStringLiteral("database/version")).isValid());
    QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

void TestStartup::damagedDatabase_data()
{
    QTest::addColumn<QString>("answer"); // button of the question: 0 keep and quit, 1 set aside
    QTest::addColumn<qint64>("from");    // first byte overwritten with garbage
    QTest::newRow("header, keep and quit") << "0" << qint64(0);
    QTest::newRow("header, box closed") << "" << qint64(0);
    QTest::newRow("header, set aside") << "1" << qint64(0);
    QTest::newRow("table pages, set aside") << "1" << qint64(4096);
}

// A damaged database is named at start; kept, the program ends untouched;
// set aside, its bytes stay beside the new one and start-up goes on.
void TestStartup::damagedDatabase()
{
    QFETCH(QString, answer);
    QFETCH(qint64, from);
    if (!JavaRuntime::isUsableHome(JavaRuntime::candidateHome()))
        QSKIP("no Java runtime on this machine");
    TestTree tree(TestTree::RealPlugins);
    const QString db = tree.filePath(QStringLiteral("vireda.db"));
    {
        // A healthy database of a few pages first, then the garbage.
        ProgramRun first(tree);
        first.start();
        QVERIFY(waitForKey(tree, QStringLiteral("database/version"), 60000));
        QCOMPARE_EXIT(first, terminate(), 1);
        QFile::remove(tree.filePath(QStringLiteral("boxes.log")));
        QSettings(settingsFile(tree), QSettings::IniFormat).remove(QStringLiteral("database"));
    }
    QFile file(db);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.size() > from + 100);
    QVERIFY(file.seek(from));
    file.write(QByteArray(int(qMin<qint64>(file.size() - from, 8192)), '\x5a'));
    file.close();
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray damaged = file.readAll();
    file.close();

    ProgramRun run(tree);
    run.env().insert(QStringLiteral("VIREDA_MSGBOX_ANSWERS"), answer);
    const QString question = QStringLiteral(
        "critical\tVireda\tThe local database \"vireda.db\" is damaged: Vireda cannot read the exercises, "
        "lessons and users in it.\\n\\nYou can keep the file as it is and quit, for example to restore it "
        "from a copy of your own, or set it aside as \"vireda.db.damaged\" and start with a new, empty "
        "database. Nothing is deleted either way.\tKeep It and Quit|Set Aside and Start Anew");
    if (answer != QLatin1String("1")) {
        QCOMPARE_EXIT(run, run(60000), 1);
        QCOMPARE(boxes(tree), QStringList{question});
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), damaged);
        QVERIFY(!QFileInfo::exists(db + QStringLiteral(".damaged")));
        QVERIFY(!stored(tree, QStringLiteral("database/version")).isValid());
        return;
    }
    run.start();
    QVERIFY(waitForKey(tree, QStringLiteral("database/version"), 60000));
    QCOMPARE(stored(tree, QStringLiteral("database/version")).toString(), QStringLiteral("2"));
    QCOMPARE_EXIT(run, terminate(), 1);
    QCOMPARE(boxes(tree).value(0), question);
    QFile aside(db + QStringLiteral(".damaged"));
    QVERIFY(aside.open(QIODevice::ReadOnly));
    QCOMPARE(aside.readAll(), damaged);
    QSqlDatabase fresh = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fresh"));
    fresh.setDatabaseName(db);
    QVERIFY(fresh.open());
    QSqlQuery check(fresh);
    QVERIFY(check.exec(QStringLiteral("pragma quick_check")) && check.next());
    QCOMPARE(check.value(0).toString(), QStringLiteral("ok"));
    QVERIFY(check.exec(QStringLiteral("pragma user_version")) && check.next());
    QCOMPARE(check.value(0).toInt(), 2);
    check = QSqlQuery();
    fresh.close();
    fresh = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("fresh"));
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
