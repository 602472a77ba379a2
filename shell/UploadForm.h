#pragma once

#include "ui_UploadForm.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class IDbManager;
class IMainWindow;
class INetManager;
class IUserResource;
class ZoDbHelper;

// Lists the signed-in user's content that is not on the network yet and
// uploads what is checked.
class UploadForm : public QDialog, public Ui::UploadForm
{
    Q_OBJECT

public:
    // Result of one upload: uploaded (or already there), failed, the network
    // timed out, or the user aborted a lesson.
    enum UploadResult { Failed = 0, Uploaded = 1, TimedOut = -1, LessonCancelled = 2 };

    // "localId,persistentId" of every manifest given an id during one
    // exercise upload; what a rollback undoes.
    using UploadedManifestList = QStringList;

    explicit UploadForm(IMainWindow* mainWindow);
    ~UploadForm() override;

    void init();
    void fillTable();
    int pendingCount();
    void setupTable();

    int uploadLesson(QString lessonId);
    int uploadExerciseAndTranslations(QString exerciseId);
    int uploadExerciseOnly(QString exerciseId, UploadedManifestList& uploaded);
    bool rollbackUploads(const UploadedManifestList& uploaded);

    // The items as last read from the store.
    QList<QHash<QString, QString>> items() const { return mItems; }

public slots:
    void selectAll(int state);
    void remove();
    void upload();

private:
    QString currentUserName() const;
    QList<QHash<QString, QString>> readItems() const;
    QStringList checkedIds() const;
    QHash<QString, QString> itemWithId(const QString& id) const;
    int uploadTranslation(const QString& translationId, UploadedManifestList& uploaded);

    IMainWindow* mMainWindow;
    IDbManager* mDbManager = nullptr;
    INetManager* mNetManager = nullptr;
    IUserResource* mUserResource = nullptr;
    QString mAppName;
    std::unique_ptr<ZoDbHelper> mDbHelper;
    QList<QHash<QString, QString>> mItems;
};
