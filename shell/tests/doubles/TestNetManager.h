#pragma once

#include "INetManager.h"

#include <QObject>

// A network that is never reached: every request fails; it reports a fixed
// address and records its own destruction.
class TestNetManager : public QObject, public INetManager
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "NetManagerInterface/1.0")
    Q_INTERFACES(INetManager)

public:
    ~TestNetManager() override;

    int registerAccount(QHash<QString, QString>) override { return 0; }
    int loginUser(QString, QString, int) override { return 0; }
    int passwordReminder(QString) override { return 0; }
    int updateFluency(QString, QString, QHash<QString, QString>) override { return 0; }
    QList<ZoExercise> queryExercises(QHash<QString, QString>, int* status, int* total) override;
    QList<ZoLesson> queryLessons(QHash<QString, QString>, int* status, int* total) override;
    int downloadManifest(QString, QString) override { return 0; }
    int getDownloadStatus(int, QString) override { return 0; }
    QString getDownloadXml(int) override { return {}; }
    QString getTranslationXml(int) override { return {}; }
    ZoExercise exerciseFromXml(XmlPathMap, ZoDbHelper*) override;
    ZoLesson lessonFromXml(XmlPathMap, ZoDbHelper*) override;
    ZoTranslation translationFromXml(XmlPathMap, ZoDbHelper*) override;
    QHash<QString, QString> uploadManifest(QString, QString) override { return {}; }
    QHash<QString, QString> uploadExercise(QString, QString) override { return {}; }
    QString getMyIps() override { return QStringLiteral("192.0.2.7"); }
    QString parseTranslationXml(QString, ZoDbHelper*, QList<ZoTranslation>*, QList<ZoExercise>*) override
    {
        return {};
    }
    int downloadExercise(QString) override { return 0; }
    int cancelDownload(int) override { return 0; }
    bool isNetworkReady() override { return false; }
    bool isNetworkStarted() override { return false; }
    bool isMessagingServiceStarted() override { return false; }
    bool isQueryServiceStarted() override { return false; }
    bool isDownloadServiceStarted() override { return false; }
    bool isUploadServiceStarted() override { return false; }
    int resetServiceFlags() override { return 0; }
    void setNetworkStarted(int) override {}
    void setMessagingServiceStarted(int) override {}
    void setQueryServiceStarted(int) override {}
    void setDownloadServiceStarted(int) override {}
    void setUploadServiceStarted(int) override {}
    void setOfflineLogin(int) override {}
    int isOfflineLogin() override { return 0; }
    int sendFeedback(QString, QString) override { return 0; }
    int startNetwork() override { return 0; }
    int stopNetwork() override { return 0; }
};
