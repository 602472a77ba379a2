#pragma once

#include "StoreFixture.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <memory>

using Criteria = QHash<QString, QString>;

class tst_Storekeeper : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // dispatch
    void unknownTypeChangesNothing_data();
    void unknownTypeChangesNothing();
    void createBuildsObjectsWithoutRows();
    void fixedAnswers();

    // exercises
    void insertWritesIdAndGetReadsBack();
    void termSharing_data();
    void termSharing();
    void persistentTermId_data();
    void persistentTermId();
    void storedPersistentIdIsRefused();
    void storedMediaIsLinked();
    void exerciseWithoutMedia();
    void fieldsAndTranslations();
    void search_data();
    void search();
    void queryModel_data();
    void queryModel();
    void queryModelFullCountOnLargeResult();
    void queryModelOrder_data();
    void queryModelOrder();
    void queryModelKeepsItsRows();
    void removeExercises_data();
    void removeExercises();
    void overwriteReplacesContent();
    void markTransferred_data();
    void markTransferred();
    void setDoNotUpload_data();
    void setDoNotUpload();
    void uploadable();

    // lessons
    void lessonInsertKeepsOrder();
    void lessonRejectsBadMember();
    void lessonUpdate();
    void lessonRemoveKeepsExercises();
    void lessonSearch_data();
    void lessonSearch();
    void lessonModel_data();
    void lessonModel();

    // users
    void userInsertAndSelect();
    void userSelect_data();
    void userSelect();
    void userUpdateReplacesFluencies();
    void userAndFluencyRemove();

    // statements and failures
    void statementPlans_data();
    void statementPlans();
    void failedWriteLeavesDatabaseUnchanged_data();
    void failedWriteLeavesDatabaseUnchanged();
    void killedWriterLeavesCompleteExercises();

    // what the store keeps in memory
    void maintainedCopiesMatchStatements_data();
    void maintainedCopiesMatchStatements();
    void writesDuringBackgroundRead_data();
    void writesDuringBackgroundRead();
    void searchBeforeBackgroundReadWaits();
    void signInStartsTheRead();
    void takingUpTheReadNeverWaits();
    void storeTellsWhenTheRowsAreIn();
    void stoppedReadIsNotTakenUp();

private:
    std::unique_ptr<StoreFixture> f;
};
