#include "ScreenTexts.h"

#include <QDirIterator>
#include <QLayout>
#include <QMargins>
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

// The screen the program must fit, and the frame a window system draws
// around a dialog: a title bar and borders.
const QSize Screen(1280, 800);
const QMargins Frame(4, 30, 4, 4);

// The form's least size with its frame, when that does not fit the screen.
QString largerThanScreen(QWidget* form)
{
    const QSize least = form->minimumSizeHint().expandedTo(form->minimumSize());
    const QSize framed = least.grownBy(Frame);
    if (framed.width() <= Screen.width() && framed.height() <= Screen.height())
        return QString();
    return QStringLiteral("form larger than the screen: %1x%2 with its frame").arg(framed.width()).arg(framed.height());
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
    // fits its widget and the form fits a 1280x800 screen with its frame.
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
        const QString large = largerThanScreen(widget.get());
        if (!large.isEmpty())
            cut << large;
        cut << ScreenTexts::cut(widget.get());
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
    }

    // The screen check counts the frame: a form that fits the screen only
    // without its title bar or borders is too large.
    void screenCountsFrame_data()
    {
        QTest::addColumn<QSize>("least");
        QTest::addColumn<bool>("fits");
        const QSize inside = Screen.shrunkBy(Frame);
        QTest::newRow("just fits") << inside << true;
        QTest::newRow("title bar falls off") << inside + QSize(0, 1) << false;
        QTest::newRow("border falls off") << inside + QSize(1, 0) << false;
        QTest::newRow("screen high") << QSize(400, Screen.height()) << false;
        QTest::newRow("screen wide") << QSize(Screen.width(), 300) << false;
    }
    void screenCountsFrame()
    {
        QFETCH(QSize, least);
        QFETCH(bool, fits);
        QWidget form;
        form.setMinimumSize(least);
        QCOMPARE(largerThanScreen(&form).isEmpty(), fits);
    }
};

QTEST_MAIN(TestUiTexts)
#include "tst_uitexts.moc"
