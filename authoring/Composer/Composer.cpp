#include "Composer.h"

#include "CreateExerciseView.h"
#include "CreateLessonView.h"
#include "CreateOpen.h"
#include "HelpBrowser.h"
#include "IMainWindow.h"
#include "SettingsKeys.h"
#include "ZoExercise.h"
#include "ZoLesson.h"

#include <QCloseEvent>
#include <QFont>
#include <QListWidgetItem>
#include <QPixmap>
#include <QTextStream>

#include <memory>

Composer::Composer() = default;

Composer::~Composer()
{
    if (mHelpBrowser)
        delete mHelpBrowser.data();
}

void Composer::init()
{
    if (mBuilt)
        return;
    setupUi(this);
    mVersionTitle = mSettings.value(SettingsKeys::Version).toString();

    connect(lstViewChoices, &QListWidget::itemClicked, this, &Composer::objectSelected);
    connect(lstViewChoices, &QListWidget::currentRowChanged, this, &Composer::currentObjectChanged);
    connect(btnNew, &QPushButton::clicked, this, &Composer::newObject);
    connect(btnHelp, &QToolButton::clicked, this, &Composer::btnHelpClicked);
    if (mHost)
        connect(mHost, SIGNAL(fontChanged()), this, SLOT(redrawView()));

    btnOpen->hide();
    frmToolbar->hide();
    splComposer->setSizes({100, 600});

    mIconDir = QDir(QStringLiteral("Icons"));
    if (mIconDir.exists()) {
        btnHelp->setNormalImage(QPixmap(mIconDir.filePath(QStringLiteral("smlNormalHelp.png"))));
        btnHelp->setHighlightedImage(QPixmap(mIconDir.filePath(QStringLiteral("smlHighlightedHelp.png"))));
    }

    mExerciseItem = new QListWidgetItem(tr("Exercise"), lstViewChoices);
    mExerciseItem->setToolTip(tr("An Exercise has a Study Term and a sound file. Other information such as "
                                 "a Translation may also be included."));
    mExerciseView = new CreateExerciseView(this);
    mExerciseView->setMainWindow(mHost);
    mExerciseView->customRefresh();
    mExerciseView->retranslateView();
    mExerciseView->updateViewLists();
    frmObject->addWidget(mExerciseView);
    connectView(mExerciseView);

    mLessonItem = new QListWidgetItem(tr("Lesson"), lstViewChoices);
    mLessonItem->setToolTip(tr("A Lesson is a collection of Exercises. Each Lesson has a title, a description "
                               "and a target learner level."));
    mLessonView = new CreateLessonView(this);
    mLessonView->setMainWindow(mHost);
    mLessonView->retranslateView();
    mLessonView->updateViewLists();
    frmObject->addWidget(mLessonView);
    connectView(mLessonView);

    mBuilt = true;
    mCurrentView = mExerciseView;
    lstViewChoices->setCurrentItem(mExerciseItem);
    mainMenu();
    objectSelected(mExerciseItem);
}

void Composer::connectView(QWidget* view)
{
    connect(view, SIGNAL(modified()), this, SLOT(objectModified()));
    connect(view, SIGNAL(notModified()), this, SLOT(objectNotModified()));
    connect(view, SIGNAL(saved()), this, SLOT(objectSaved()));
}

int Composer::customRefresh()
{
    QTextStream(stdout) << "Create Custom Refresh" << Qt::endl;
    if (mCurrentView)
        mCurrentView->customRefresh();
    return 1;
}

int Composer::updateViewLists()
{
    if (!mBuilt)
        return 0;
    if (!mExerciseView->updateViewLists())
        return 0;
    return mLessonView->updateViewLists() ? 1 : 0;
}

void Composer::retranslateView()
{
    if (!mBuilt)
        return;
    retranslateUi(this);
    mExerciseItem->setText(tr("Exercise"));
    mExerciseItem->setToolTip(tr("An Exercise has a Study Term and a sound file. Other information such as "
                                 "a Translation may also be included."));
    mLessonItem->setText(tr("Lesson"));
    mLessonItem->setToolTip(tr("A Lesson is a collection of Exercises. Each Lesson has a title, a description "
                               "and a target learner level."));
    setHeading();
    mExerciseView->retranslateView();
    mLessonView->retranslateView();
}

int Composer::customLeave()
{
    if (!mBuilt)
        return 1;
    if (!mExerciseView->customLeave())
        return 0;
    return mLessonView->customLeave() ? 1 : 0;
}

void Composer::closeEvent(QCloseEvent* event)
{
    const bool allowed = !mBuilt || (mExerciseView->canClose() && mLessonView->canClose());
    if (allowed)
        event->accept();
    else
        event->ignore();
}

QString Composer::title()
{
    return tr("Create");
}

QString Composer::translationFileName(QString language)
{
    return QStringLiteral("create-") + language;
}

QWidget* Composer::widget()
{
    return this;
}

int Composer::tabIndex()
{
    return 2;
}

void Composer::setMainWindow(IMainWindow* mainWindow)
{
    mHost = mainWindow;
}

void Composer::refreshData()
{
    if (!mBuilt)
        return;
    mExerciseView->refreshData();
    mLessonView->refreshData();
}

int Composer::redrawView()
{
    if (!mBuilt)
        return 0;
    if (mHost && mHost->mFont) {
        QFont font(*mHost->mFont);
        font.setWeight(QFont::Bold);
        font.setPointSize(font.pointSize() + 4);
        lblType->setFont(font);
    }
    if (!mExerciseView->redrawView())
        return 0;
    return mLessonView->redrawView() ? 1 : 0;
}

void Composer::objectSaved()
{
    if (QListWidgetItem* item = lstViewChoices->currentItem())
        lblType->setText(item->text() + QStringLiteral(" (Saved) "));
}

void Composer::setHeading()
{
    lblType->setText(lstViewChoices->currentItem() == mLessonItem ? tr("Create Lessons") : tr("Create Exercises"));
}

void Composer::objectModified()
{
    setHeading();
}

void Composer::objectNotModified()
{
    setHeading();
}

void Composer::objectSelected(QListWidgetItem* item)
{
    if (!item || !mBuilt)
        return;
    if (item == mExerciseItem)
        mCurrentView = mExerciseView;
    else if (item == mLessonItem)
        mCurrentView = mLessonView;
    if (!mCurrentView)
        return;
    setHeading();
    frmToolbar->show();
    frmObject->setCurrentWidget(mCurrentView);
    if (item == mExerciseItem && !mExerciseSelected) {
        mExerciseSelected = true;
        mCurrentView->newSession();
    }
    mCurrentView->customRefresh();
}

void Composer::currentObjectChanged(int row)
{
    objectSelected(lstViewChoices->item(row));
}

void Composer::mainMenu()
{
    frmObject->setCurrentWidget(mExerciseView);
    mCurrentView = nullptr;
}

void Composer::newObject()
{
    if (mCurrentView && mCurrentView->maybeSave())
        mCurrentView->newSession();
}

void Composer::openObject()
{
    if (!mCurrentView)
        return;
    // The view's own kind: the list's texts are translated.
    const QPointer<Composer> self(this);
    const QPointer<CreateOpen> dialog = new CreateOpen(mHost, mCurrentView->type(), this);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    std::unique_ptr<QObject> chosen((self && dialog && accepted) ? dialog->selectedObject() : nullptr);
    delete dialog.data();
    if (!self)
        return;
    openChosen(chosen.release());
}

void Composer::openChosen(QObject* object)
{
    std::unique_ptr<QObject> owned(object);
    if (!owned || !mCurrentView)
        return;
    // Each view reads only its own kind of object.
    void* shown = nullptr;
    if (mCurrentView == mExerciseView)
        shown = qobject_cast<ZoExercise*>(owned.get());
    else
        shown = qobject_cast<ZoLesson*>(owned.get());
    if (!shown || !mCurrentView->maybeSave())
        return;
    mCurrentView->openSession(shown);
    mCurrentView->customRefresh();
}

void Composer::btnHelpClicked()
{
    if (mHelpBrowser)
        delete mHelpBrowser.data();
    mHelpBrowser = new HelpBrowser(this, mVersionTitle, {QStringLiteral("."), QStringLiteral("Docs/html")},
                                   QStringLiteral("createtab.html"));
    mHelpBrowser->show();
}

void Composer::importWordlist()
{
    if (mExerciseView)
        mExerciseView->importWordlist();
}
