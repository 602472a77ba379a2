#include "PeerServiceProcess.h"

#include "TestTree.h"

#include <QRegularExpression>

PeerServiceProcess::~PeerServiceProcess()
{
    stop();
}

bool PeerServiceProcess::start(int waitMs)
{
    if (!mData.isValid()) {
        mError = QStringLiteral("no data folder for the peer service");
        return false;
    }
    mProcess.setProgram(QStringLiteral(VIREDA_JAVA_EXECUTABLE));
    mProcess.setArguments({QStringLiteral("-cp"), TestTree::distPath() + QStringLiteral("/ViredaClientNetwork.jar"),
                           QStringLiteral("com.vireda.peer.PeerService"), QStringLiteral("--port"), QStringLiteral("0"),
                           QStringLiteral("--data"), mData.path()});
    mProcess.start();
    if (!mProcess.waitForStarted()) {
        mError = mProcess.errorString();
        return false;
    }
    static const QRegularExpression listening(QStringLiteral("listening on ([0-9.]+):(\\d+)"));
    QByteArray output;
    QRegularExpressionMatch match;
    while (!(match = listening.match(QString::fromUtf8(output))).hasMatch()) {
        if (!mProcess.waitForReadyRead(waitMs)) {
            mError = QStringLiteral("the peer service named no address: ") + QString::fromUtf8(output);
            return false;
        }
        output += mProcess.readAllStandardOutput();
    }
    mUrl = QStringLiteral("http://%1:%2").arg(match.captured(1), match.captured(2));
    return true;
}

void PeerServiceProcess::stop()
{
    if (mProcess.state() == QProcess::NotRunning)
        return;
    mProcess.kill();
    mProcess.waitForFinished();
}

QString PeerServiceProcess::url() const
{
    return mUrl;
}

QString PeerServiceProcess::dataPath() const
{
    return mData.path();
}

QString PeerServiceProcess::error() const
{
    return mError;
}
