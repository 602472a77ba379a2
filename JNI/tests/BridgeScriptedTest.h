#pragma once

#include "BridgeApi.h"

#include <QObject>
#include <QTemporaryDir>

// The bridge against a scripted client class.
class BridgeScriptedTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exportsBeforeInitAreSilent_data();
    void exportsBeforeInitAreSilent();
    void initPrintsFiveLines();
    void numberExports_data();
    void numberExports();
    void textExports_data();
    void textExports();
    void argumentsReachJava_data();
    void argumentsReachJava();
    void uploadBuildsPathArray_data();
    void uploadBuildsPathArray();
    void sendMessageEchoesRequestAndReply();
    void secretsAreMaskedInEcho_data();
    void secretsAreMaskedInEcho();
    void nullReplies_data();
    void nullReplies();
    void emptyReplyIsAReply();
    void exceptionThenWorkingCall_data();
    void exceptionThenWorkingCall();
    void textRoundTrip_data();
    void textRoundTrip();
    void returnedTextLastsUntilSameExportIsCalled();

private:
    QByteArray lastCall();

    BridgeApi mApi;
    QTemporaryDir mDir;
};
