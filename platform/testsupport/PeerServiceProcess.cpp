#include "PeerServiceProcess.h"

#include "TestTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// Runs the JDK's keytool; its output when it fails, else an empty text.
QString keytool(const QStringList& arguments)
{
    const QString java = QFileInfo(QStringLiteral(VIREDA_JAVA_EXECUTABLE)).canonicalFilePath();
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(QFileInfo(java).dir().filePath(QStringLiteral("keytool")), arguments);
    if (!tool.waitForStarted())
        return QStringLiteral("keytool did not start: ") + tool.errorString();
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return QStringLiteral("keytool failed: ") + QString::fromLocal8Bit(tool.readAll());
    return QString();
}

// Where a program reaches a service bound to that address: a service on the
// wildcard address is reached on loopback.
QString reachedAt(const QString& bindAddress)
{
    return bindAddress.isEmpty() || bindAddress == QLatin1String("0.0.0.0") ? QStringLiteral("127.0.0.1") : bindAddress;
}

} // namespace

PeerServiceProcess::~PeerServiceProcess()
{
    stop();
}

void PeerServiceProcess::setBindAddress(const QString& address)
{
    mBindAddress = address;
}

bool PeerServiceProcess::useNewCertificate(const QString& certificateFile)
{
    const QString address = reachedAt(mBindAddress);
    const QString store = QDir(mData.path()).filePath(QStringLiteral("peer.p12"));
    const QString password = QStringLiteral("peer-store-1");
    mError = keytool({QStringLiteral("-genkeypair"), QStringLiteral("-alias"), QStringLiteral("peer"),
                      QStringLiteral("-keyalg"), QStringLiteral("EC"), QStringLiteral("-validity"), QStringLiteral("2"),
                      QStringLiteral("-dname"), QStringLiteral("CN=vireda-test-peer"), QStringLiteral("-ext"),
                      QStringLiteral("SAN=ip:") + address, QStringLiteral("-storetype"), QStringLiteral("PKCS12"),
                      QStringLiteral("-keystore"), store, QStringLiteral("-storepass"), password,
                      QStringLiteral("-keypass"), password});
    if (mError.isEmpty())
        mError = keytool({QStringLiteral("-exportcert"), QStringLiteral("-rfc"), QStringLiteral("-alias"),
                          QStringLiteral("peer"), QStringLiteral("-keystore"), store, QStringLiteral("-storepass"),
                          password, QStringLiteral("-file"), certificateFile});
    if (!mError.isEmpty())
        return false;
    QFile settings(QDir(mData.path()).filePath(QStringLiteral("peer.properties")));
    if (!settings.open(QIODevice::WriteOnly | QIODevice::Append)
        || settings.write(QStringLiteral("tls.keyStore=peer.p12\ntls.keyStorePassword=%1\n").arg(password).toUtf8())
               < 0) {
        mError = QStringLiteral("the peer's settings could not be written: ") + settings.errorString();
        return false;
    }
    return true;
}

bool PeerServiceProcess::start(int waitMs)
{
    if (!mData.isValid()) {
        mError = QStringLiteral("no data folder for the peer service");
        return false;
    }
    QStringList arguments{QStringLiteral("-cp"),
                          TestTree::distPath() + QStringLiteral("/ViredaClientNetwork.jar"),
                          QStringLiteral("com.vireda.peer.PeerService"),
                          QStringLiteral("--port"),
                          QStringLiteral("0"),
                          QStringLiteral("--data"),
                          mData.path()};
    if (!mBindAddress.isEmpty())
        arguments << QStringLiteral("--bind") << mBindAddress;
    mProcess.setProgram(QStringLiteral(VIREDA_JAVA_EXECUTABLE));
    mProcess.setArguments(arguments);
    mProcess.start();
    if (!mProcess.waitForStarted()) {
        mError = mProcess.errorString();
        return false;
    }
    static const QRegularExpression listening(QStringLiteral("listening on (https://)?([0-9.]+):(\\d+)"));
    QByteArray output;
    QRegularExpressionMatch match;
    while (!(match = listening.match(QString::fromUtf8(output))).hasMatch()) {
        if (!mProcess.waitForReadyRead(waitMs)) {
            mError = QStringLiteral("the peer service named no address: ") + QString::fromUtf8(output);
            return false;
        }
        output += mProcess.readAllStandardOutput();
    }
    mUrl = (match.captured(1).isEmpty() ? QStringLiteral("http://") : match.captured(1))
           + QStringLiteral("%1:%2").arg(reachedAt(match.captured(2)), match.captured(3));
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
