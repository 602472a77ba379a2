#pragma once

#include "IAudio.h"
#include "IDbManager.h"
#include "IForm.h"
#include "IStudyResource.h"
#include "IUserResource.h"
#include "PluginLocator.h"
#include "SignedInUser.h"
#include "TestDatabase.h"
#include "TestHost.h"
#include "WizardTestTree.h"
#include "ZoDbHelper.h"
#include "ZoExercise.h"
#include "ZoLesson.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <memory>

// The study tab on a real temporary store with the scripted sound plug-in
// (or the real one): the tree of WizardTestTree (scripted boxes and network), a fresh database,
// a signed-in learner and helpers that store exercises and lessons, write
// model sound files and fill the study list.
class StudyFixture
{
public:
    static QString formFile() { return QStringLiteral("plugins_dll/Forms/Tutor.dll"); }

    enum Sound { ScriptedSound, RealSound };

    explicit StudyFixture(Sound sound = ScriptedSound)
        : mSound(sound)
    {
        TestTree& tree = mTree.tree();
        if (sound == ScriptedSound) {
            tree.removePlugin(QStringLiteral("Managers"), QStringLiteral("ZoAudio.so"));
            mAudioInstalled = tree.addPlugin(QStringLiteral("Managers/ZoAudio.so"), QStringLiteral("Managers"));
        } else {
            mAudioInstalled = QFileInfo::exists(tree.filePath(QStringLiteral("Plugins_dll/Managers/ZoAudio.so")));
        }
        mDatabaseOk = TestDatabase::createFile(tree.filePath(QStringLiteral("vireda.db")));
        mStore = PluginLocator::load<IDbManager>(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
        mUsers = PluginLocator::load<IUserResource>(QStringLiteral("plugins_dll/Resources/ZoUserResource.dll"));
        mStudy = PluginLocator::load<IStudyResource>(QStringLiteral("plugins_dll/Resources/ZoStudyResource.dll"));
        mAudioObject = PluginLocator::instance(QStringLiteral("plugins_dll/Managers/ZoAudio.dll"));
        ZoDbHelper helper;
        mLanguage = helper.languageName(QStringLiteral("fra"));
        mOtherLanguage = helper.languageName(QStringLiteral("eng"));
        mCountry = helper.countryName(QStringLiteral("FR"));
        QDir(tree.path()).mkpath(QStringLiteral("Content"));
        mRoot = QDir(tree.path());
    }

    ~StudyFixture()
    {
        SignedInUser::signOut();
        delete PluginLocator::instance(QStringLiteral("plugins_dll/Managers/Storekeeper.dll"));
    }

    bool isValid() const
    {
        return mTree.isValid() && mAudioInstalled && mDatabaseOk && mStore && mUsers && mStudy
               && qobject_cast<IAudio*>(mAudioObject)
               && (mSound == RealSound || mAudioObject->property("calls").isValid()) && !mLanguage.isEmpty()
               && !mOtherLanguage.isEmpty();
    }

    WizardTestTree& tree() { return mTree; }
    IDbManager* store() const { return mStore; }
    IUserResource* users() const { return mUsers; }
    IStudyResource* study() const { return mStudy; }
    QObject* audio() const { return mAudioObject; }
    QString language() const { return mLanguage; }
    QString otherLanguage() const { return mOtherLanguage; }
    QString country() const { return mCountry; }

    QString path(const QString& relative) const { return mRoot.filePath(relative); }

    // The study tab of host, built and shown as the host does when the
    // learner enters it; null when it does not load or show.
    IForm* openForm(IMainWindow* host)
    {
        IForm* form = PluginLocator::load<IForm>(formFile());
        if (!form)
            return nullptr;
        form->setMainWindow(host);
        form->init();
        form->widget()->resize(1000, 600);
        form->widget()->show();
        if (!QTest::qWaitForWindowExposed(form->widget()) || form->customRefresh() != 1)
            return nullptr;
        return form;
    }

    // A stored learner who speaks the fixture's two languages becomes the
    // current user; false when that failed.
    bool signIn(const QString& name) { return SignedInUser::signIn(name, {mLanguage, mOtherLanguage}); }

    // Sound plug-in calls from now on.
    void clearAudioCalls() { mAudioObject->setProperty("calls", QStringList()); }
    QStringList audioCalls() const { return mAudioObject->property("calls").toStringList(); }
    int audioCallCount(const QString& call) const { return audioCalls().count(call); }

    bool writeFile(const QString& relative, const QByteArray& bytes) const
    {
        QSaveFile file(path(relative));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    }
    QByteArray readFile(const QString& relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A stored exercise with a model file "Content/<term>.wav" (the term's
    // letters and digits only); translations
    // are (value, context) pairs into the other language, notes a "Notes"
    // field in the exercise's language. Its local id.
    QString addExercise(const QString& term, const QList<QPair<QString, QString>>& translations = {},
                        const QString& notes = QString(), const QByteArray& model = QByteArray())
    {
        QString media;
        for (const QChar c : term) {
            if (c.isLetterOrNumber())
                media.append(c);
        }
        media += QStringLiteral(".wav");
        ZoExercise exercise(QHash<QString, QString>{{QStringLiteral("Term"), term},
                                                    {QStringLiteral("Language"), mLanguage},
                                                    {QStringLiteral("PId"), QStringLiteral("0")},
                                                    {QStringLiteral("MediaPath"), QStringLiteral("Content")},
                                                    {QStringLiteral("MediaName"), media},
                                                    {QStringLiteral("Country"), mCountry},
                                                    {QStringLiteral("Voice"), QStringLiteral("tester")},
                                                    {QStringLiteral("Creator"), QStringLiteral("tester")}});
        for (const auto& translation : translations) {
            QHash<QString, QString> values{{QStringLiteral("Value"), translation.first},
                                           {QStringLiteral("Language"), mOtherLanguage}};
            if (!translation.second.isEmpty()) {
                values.insert(QStringLiteral("Context"), translation.second);
                values.insert(QStringLiteral("Context_Language"), mOtherLanguage);
            }
            exercise.addField(QStringLiteral("Translation"), values);
        }
        if (!notes.isEmpty())
            exercise.addField(QStringLiteral("Notes"),
                              {{QStringLiteral("Value"), notes}, {QStringLiteral("Language"), mLanguage}});
        if (mStore->insertExercise(QStringLiteral("Exercise"), &exercise) != 1 || exercise.id().isEmpty())
            return QString();
        if (!writeFile(QStringLiteral("Content/") + media,
                       model.isEmpty() ? QByteArray("model ") + term.toUtf8() : model))
            return QString();
        return exercise.id();
    }

    // A stored lesson with these members in order; its local id.
    QString addLesson(const QString& title, const QStringList& members)
    {
        QHash<QString, QString> data{{QStringLiteral("PId"), QStringLiteral("0")},
                                     {QStringLiteral("Title"), title},
                                     {QStringLiteral("Language"), mLanguage},
                                     {QStringLiteral("Username"), QStringLiteral("tester")}};
        for (int i = 0; i < members.size(); ++i)
            data.insert(QStringLiteral("EId") + QString::number(i + 1), members.at(i));
        std::unique_ptr<QObject> lesson(mStore->insert(QStringLiteral("Lesson"), data));
        auto* stored = qobject_cast<ZoLesson*>(lesson.get());
        return stored ? stored->id() : QString();
    }

    // Appends the stored exercise to the study list as the library tab does.
    void appendStored(const QString& id, const QString& fromLesson = QString())
    {
        QList<QHash<QString, QString>> rows = mStore->search(QStringLiteral("Exercise"), {{QStringLiteral("Id"), id}});
        if (rows.isEmpty())
            return;
        QHash<QString, QString> entry = rows.first();
        if (!fromLesson.isEmpty())
            entry.insert(QStringLiteral("FromLesson"), fromLesson);
        mStudy->appendExercise(entry);
    }

    // Appends an entry that is on the study list only.
    void appendEntry(const QHash<QString, QString>& values)
    {
        QHash<QString, QString> entry{{QStringLiteral("Id"), QStringLiteral("900000")},
                                      {QStringLiteral("Term"), QStringLiteral("term")},
                                      {QStringLiteral("Language"), mLanguage},
                                      {QStringLiteral("MediaPath"), QStringLiteral("Content")},
                                      {QStringLiteral("MediaName"), QStringLiteral("none.wav")},
                                      {QStringLiteral("Voice"), QStringLiteral("tester")}};
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            entry.insert(it.key(), it.value());
        mStudy->appendExercise(entry);
    }

    // The stored lessons, as the store lists them.
    QList<QHash<QString, QString>> lessons() const
    {
        return mStore->search(QStringLiteral("Lesson"), {{QStringLiteral("Title"), QString()}});
    }

private:
    Sound mSound;
    WizardTestTree mTree;
    QDir mRoot;
    bool mAudioInstalled = false;
    bool mDatabaseOk = false;
    IDbManager* mStore = nullptr;
    IUserResource* mUsers = nullptr;
    IStudyResource* mStudy = nullptr;
    QObject* mAudioObject = nullptr;
    QString mLanguage;
    QString mOtherLanguage;
    QString mCountry;
};
