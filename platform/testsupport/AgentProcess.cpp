#include "AgentProcess.h"

#include "TestTree.h"

#include <QProcess>

AgentProcess::AgentProcess(const TestTree& tree, const QString& peerUrl, const QString& platform)
    : mWorkingDirectory(tree.path())
    , mEnvironment(QProcessEnvironment::systemEnvironment())
{
    mEnvironment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    mEnvironment.insert(QStringLiteral("XDG_CONFIG_HOME"), tree.configPath());
    if (peerUrl.isEmpty())
        mEnvironment.remove(QStringLiteral("VIREDA_PEER"));
    else
        mEnvironment.insert(QStringLiteral("VIREDA_PEER"), peerUrl);
    mEnvironment.insert(QStringLiteral("VIREDA_JAVABRIDGE"), tree.filePath(QStringLiteral("libJavabridge.so")));
}

void AgentProcess::setEnvironment(const QString& name, const QString& value)
{
    mEnvironment.insert(name, value);
}

bool AgentProcess::run(const QString& program, const QStringList& arguments, int timeoutMs)
{
    QProcess agent;
    agent.setProcessEnvironment(mEnvironment);
    agent.setWorkingDirectory(mWorkingDirectory);
    agent.setProcessChannelMode(QProcess::MergedChannels);
    agent.start(program, arguments);
    mStarted = agent.waitForStarted();
    mFinished = mStarted && agent.waitForFinished(timeoutMs);
    mOutput = agent.readAll();
    if (mStarted && !mFinished) {
        agent.kill();
        agent.waitForFinished();
    }
    mExitedCleanly = mFinished && agent.exitStatus() == QProcess::NormalExit && agent.exitCode() == 0;
    return mFinished;
}

bool AgentProcess::started() const
{
    return mStarted;
}

bool AgentProcess::finished() const
{
    return mFinished;
}

bool AgentProcess::exitedCleanly() const
{
    return mExitedCleanly;
}

QByteArray AgentProcess::output() const
{
    return mOutput;
}

QString AgentProcess::failure(int tests) const
{
    QString problem;
    if (!mStarted)
        problem = QStringLiteral("the agent did not start");
    else if (!mFinished)
        problem = QStringLiteral("the agent did not finish in time");
    else if (!mExitedCleanly)
        problem = QStringLiteral("the agent did not exit cleanly");
    else if (!mOutput.contains(QStringLiteral("Totals: %1 passed, 0 failed").arg(tests).toLatin1()))
        problem = QStringLiteral("the agent's tests did not all pass");
    else
        return QString();
    return problem + QStringLiteral(":\n") + QString::fromLocal8Bit(mOutput);
}
