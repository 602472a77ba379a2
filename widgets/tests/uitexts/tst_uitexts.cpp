#include "DialogFit.h"
#include "ScreenTexts.h"

#include <QDialog>
#include <QDirIterator>
#include <QLayout>
#include <QMargins>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTranslator>
#include <QUiLoader>
#include <QtTest>

#include <memory>

namespace {

// The one list of forms and dialogs: every Designer file of the program's
// sources, wherever a component keeps it.
QStringList formFiles()
{
    QStringList files;
    const QString root = QStringLiteral(VIREDA_SOURCE_DIR);
    QDirIterator it(root, {QStringLiteral("*.ui")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        if (relative.startsWith(QLatin1String("build")) || relative.startsWith(QLatin1Char('.')))
            continue;
        files << relative;
    }
    files.sort();
    return files;
}

// The frame a window system draws around a dialog: a title bar and borders.
const QMargins Frame(4, 30, 4, 4);

// The room of the screen the program must fit, in the program's own pixels:
// the test runs on a 1024x768 screen, and on a 1280x800 one with the larger
// text of a desktop at 150 % (144 dots per inch, 853x533 of its pixels).
QSize screenSize()
{
    return QGuiApplication::primaryScreen()->availableGeometry().size();
}

bool largeText()
{
    return QGuiApplication::primaryScreen()->devicePixelRatio() > 1.25;
}

// The form's least size with its frame, when that does not fit the screen.
QString largerThanScreen(QWidget* form, const QSize& screen)
{
    const QSize least = form->minimumSizeHint().expandedTo(form->minimumSize());
    const QSize framed = least.grownBy(Frame);
    if (framed.width() <= screen.width() && framed.height() <= screen.height())
        return QString();
    return QStringLiteral("form larger than the screen: %1x%2 with its frame").arg(framed.width()).arg(framed.height());
}

// Buttons squeezed below their needs or out of reach: outside the dialog,
// unless inside the scrolled part of a form that scrolls.
QStringList unreachableButtons(QWidget* dialog)
{
    QStringList lost;
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(dialog) || qobject_cast<QScrollBar*>(button->parentWidget())
            || (button->text().isEmpty() && button->icon().isNull()))
            continue;
        QWidget* within = dialog;
        for (QWidget* p = button->parentWidget(); p && p != dialog; p = p->parentWidget()) {
            if (auto* scroll = qobject_cast<QScrollArea*>(p); scroll && scroll->widget()) {
                within = scroll->widget();
                break;
            }
        }
        const QRect at(button->mapTo(within, QPoint()), button->size());
        if (button->width() < button->minimumSizeHint().width() || !within->rect().contains(at))
            lost << QStringLiteral("%1 %2 out of reach")
                        .arg(QLatin1String(button->metaObject()->className()), button->objectName());
    }
    return lost;
}

} // namespace

class TestUiTexts : public QObject
{
    Q_OBJECT

private:
    QList<QTranslator*> mGerman;
    QSet<QString> mSameWords;

    void useGerman(bool german)
    {
        for (QTranslator* t : std::as_const(mGerman)) {
            if (german)
                QCoreApplication::installTranslator(t);
            else
                QCoreApplication::removeTranslator(t);
        }
    }

    std::unique_ptr<QWidget> load(const QString& relative)
    {
        QFile file(QStringLiteral(VIREDA_SOURCE_DIR "/") + relative);
        if (!file.open(QIODevice::ReadOnly))
            return nullptr;
        QUiLoader loader;
        return std::unique_ptr<QWidget>(loader.load(&file));
    }

    static void addFormRows()
    {
        QTest::addColumn<QString>("form");
        const QStringList files = formFiles();
        for (const QString& file : files)
            QTest::newRow(qPrintable(file)) << file;
    }

private slots:
    void initTestCase()
    {
        QDir dir(QStringLiteral(VIREDA_DIST_DIR "/Translations/Deutsch"));
        const QStringList files = dir.entryList({QStringLiteral("*.qm")}, QDir::Files);
        QVERIFY2(files.size() > 5, qPrintable(dir.path()));
        QVERIFY2(files.contains(QStringLiteral("qtbase_de.qm")), "Qt's own German texts are not shipped");
        for (const QString& name : files) {
            auto* translator = new QTranslator(this);
            QVERIFY2(translator->load(dir.filePath(name)), qPrintable(name));
            mGerman << translator;
        }
        mSameWords = ScreenTexts::sameWords();
        QVERIFY(formFiles().size() > 20);
    }

    void cleanup() { useGerman(false); }

    // In German, no text of a form stays as its English source unless a
    // German file says the word is the same in both.
    void germanTexts_data() { addFormRows(); }
    void germanTexts()
    {
        QFETCH(QString, form);
        std::unique_ptr<QWidget> english = load(form);
        QVERIFY(english);
        useGerman(true);
        std::unique_ptr<QWidget> german = load(form);
        QVERIFY(german);
        const QStringList untranslated = ScreenTexts::untranslated(ScreenTexts::shown(english.get()),
                                                                   ScreenTexts::shown(german.get()), mSameWords);
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QStringLiteral("; "))));
    }

    // In English and German at the smallest and the largest font, every text
    // fits its widget and the form fits the screen with its frame: a dialog
    // as the program fits it (a form too large scrolls, its buttons in
    // reach), a form at its least size. With large text the forms of the
    // main window's tabs and the wizard's pages scroll inside their window.
    void textsFit_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<bool>("german");
        QTest::addColumn<int>("pointSize");
        for (const QString& file : formFiles()) {
            for (bool german : {false, true}) {
                for (int size : {8, 12})
                    QTest::addRow("%s %s %d", qPrintable(file), german ? "de" : "en", size) << file << german << size;
            }
        }
    }
    void textsFit()
    {
        QFETCH(QString, form);
        QFETCH(bool, german);
        QFETCH(int, pointSize);
        useGerman(german);
        QFont font = QApplication::font();
        font.setPointSize(pointSize);
        QApplication::setFont(font);
        std::unique_ptr<QWidget> widget = load(form);
        QVERIFY(widget);
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
        if (QLayout* layout = widget->layout())
            layout->activate();

        QStringList cut;
        const QSize screen = screenSize();
        if (qobject_cast<QDialog*>(widget.get())) {
            DialogFit::fit(widget.get(), QSize(), QRect(QPoint(), screen), Frame);
            if (QLayout* layout = widget->layout())
                layout->activate();
            const QSize framed = widget->size().grownBy(Frame);
            if (framed.width() > screen.width() || framed.height() > screen.height())
                cut << QStringLiteral("dialog larger than the screen: %1x%2 with its frame")
                           .arg(framed.width())
                           .arg(framed.height());
            cut << unreachableButtons(widget.get());
        } else if (!largeText()) {
            // A tab's form scrolls inside the main window; it fits a 1280x800
            // screen at the usual text size.
            const QString large = largerThanScreen(widget.get(), QSize(1280, 800));
            if (!large.isEmpty())
                cut << large;
        }
        cut << ScreenTexts::cut(widget.get());
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
    }

    // No label or button of a form keeps a point size below the learner's
    // chosen one: at the largest size every text follows it.
    void textsFollowTheFont_data() { addFormRows(); }
    void textsFollowTheFont()
    {
        QFETCH(QString, form);
        const ScreenTexts::PointSize large(12);
        std::unique_ptr<QWidget> widget = load(form);
        QVERIFY(widget);
        QStringList small;
        for (QWidget* w : widget->findChildren<QWidget*>()) {
            if (!(qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)))
                continue;
            if (w->font().pointSize() < 12)
                small << QStringLiteral("%1 at %2 pt").arg(w->objectName()).arg(w->font().pointSize());
        }
        QVERIFY2(small.isEmpty(), qPrintable(small.join(QStringLiteral("; "))));
    }

    // The screen check counts the frame: a form that fits the screen only
    // without its title bar or borders is too large.
    void screenCountsFrame_data()
    {
        QTest::addColumn<QSize>("least");
        QTest::addColumn<bool>("fits");
        const QSize screen = screenSize();
        const QSize inside = screen.shrunkBy(Frame);
        QTest::newRow("just fits") << inside << true;
        QTest::newRow("title bar falls off") << inside + QSize(0, 1) << false;
        QTest::newRow("border falls off") << inside + QSize(1, 0) << false;
        QTest::newRow("screen high") << QSize(400, screen.height()) << false;
        QTest::newRow("screen wide") << QSize(screen.width(), 300) << false;
    }
    void screenCountsFrame()
    {
        QFETCH(QSize, least);
        QFETCH(bool, fits);
        QWidget form;
        form.setMinimumSize(least);
        QCOMPARE(largerThanScreen(&form, screenSize()).isEmpty(), fits);
    }
};

QTEST_MAIN(TestUiTexts)
#include "tst_uitexts.moc"
