// Runs the two sides of the lesson download benchmark against one stand-alone
// peer service: one tree uploads a lesson of 50 exercises, a second downloads
// it through the download bar; prints the second's figures.

#include "AgentProcess.h"
#include "PeerServiceProcess.h"
#include "TestDatabase.h"
#include "TestTree.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <memory>

namespace {

std::unique_ptr<TestTree> newTree()
{
    auto tree = std::make_unique<TestTree>();
    if (!tree->isValid() || !TestDatabase::createFile(tree->filePath(QStringLiteral("vireda.db"))))
        return nullptr;
    return tree;
}

bool runAgent(TestTree& tree, const QString& peerUrl, const QString& role)
{
    AgentProcess agent(tree, peerUrl, QStringLiteral("offscreen"));
    agent.setEnvironment(QStringLiteral("BENCH_RESULT"), tree.filePath(QStringLiteral("result.txt")));
    // Message boxes are logged and answered, not shown.
    agent.setEnvironment(QStringLiteral("VIREDA_MSGBOX_LOG"), tree.filePath(QStringLiteral("boxes.log")));
    // The Java virtual machine's own signal handling trips the test crash handler.
    agent.run(QStringLiteral(AGENT_EXECUTABLE), {QStringLiteral("-nocrashhandler"), role}, 600000);
    const QString failure = agent.failure(3);
    if (!failure.isEmpty())
        std::fprintf(stderr, "%s failed:\n%s\n", qPrintable(role), qPrintable(failure));
    return failure.isEmpty();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PeerServiceProcess peer;
    if (!peer.start()) {
        std::fprintf(stderr, "peer: %s\n", qPrintable(peer.error()));
        return 1;
    }
    auto uploader = newTree();
    auto downloader = newTree();
    if (!uploader || !downloader || !runAgent(*uploader, peer.url(), QStringLiteral("uploader"))
        || !runAgent(*downloader, peer.url(), QStringLiteral("downloader"))) {
        peer.stop();
        return 1;
    }
    peer.stop();
    QFile result(downloader->filePath(QStringLiteral("result.txt")));
    if (!result.open(QIODevice::ReadOnly))
        return 1;
    std::fputs(result.readAll().constData(), stdout);
    return 0;
}
