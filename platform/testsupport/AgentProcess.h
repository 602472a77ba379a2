#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class TestTree;

// One run of an agent program of an end-to-end test: in the tree as its
// working directory, with the tree's config folder and the tree's bridge
// library, against the peer service at peerUrl (with an empty one the Java
// client runs its own peer in the tree). Output and errors are merged.
class AgentProcess
{
public:
    AgentProcess(const TestTree& tree, const QString& peerUrl, const QString& platform);

    // Added to (or replacing in) the agent's environment.
    void setEnvironment(const QString& name, const QString& value);

    // Runs the program to its end; one that outlasts timeoutMs is killed.
    // True when it started and finished in time.
    bool run(const QString& program, const QStringList& arguments, int timeoutMs);

    bool started() const;
    bool finished() const;
    // Ended by itself with exit code 0.
    bool exitedCleanly() const;
    QByteArray output() const;
    // Empty when the program ended by itself with exit code 0 and its test
    // report says all of its `tests` test functions passed; otherwise what
    // went wrong, with the program's output.
    QString failure(int tests) const;

private:
    QString mWorkingDirectory;
    QProcessEnvironment mEnvironment;
    bool mStarted = false;
    bool mFinished = false;
    bool mExitedCleanly = false;
    QByteArray mOutput;
};
