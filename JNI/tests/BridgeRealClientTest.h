#pragma once

#include "BridgeApi.h"

#include <QObject>
#include <QString>

#include <memory>

class TestTree;

// The bridge with the real client jar and the peer service it runs itself.
class BridgeRealClientTest : public QObject
{
    Q_OBJECT

public:
    BridgeRealClientTest();
    ~BridgeRealClientTest() override;

private slots:
    void initTestCase();
    void initAndServicesStart();
    void classArchiveMapped();
    void accountMessages_data();
    void accountMessages();
    void uploadThenDownloadExercise();
    void searchFindsUploadedExercise_data();
    void searchFindsUploadedExercise();
    void endSessionSignsOut();

private:
    QByteArray send(const QByteArray& exportName, const QByteArray& message, QByteArray* out = nullptr);

    BridgeApi mApi;
    std::unique_ptr<TestTree> mTree;
    QString mExercisePmid;
};
