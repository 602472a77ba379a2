#include <QAbstractButton>
#include <QComboBox>
#include <QDirIterator>
#include <QDomDocument>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMargins>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTableWidget>
#include <QTextDocumentFragment>
#include <QTranslator>
#include <QTreeWidget>
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

// Texts whose German is deliberately the same word (names, numbers, words
// both languages share): those a German file lists with an identical text.
QSet<QString> sameWords()
{
    QSet<QString> same;
    QDirIterator it(QStringLiteral(VIREDA_SOURCE_DIR), {QStringLiteral("*-Deutsch.ts")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.fileName().contains(QLatin1String("/build")))
            continue;
        QDomDocument document;
        if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file))
            continue;
        const QDomNodeList messages = document.elementsByTagName(QStringLiteral("message"));
        for (int i = 0; i < messages.size(); ++i) {
            const QDomElement m = messages.item(i).toElement();
            const QDomElement translation = m.firstChildElement(QStringLiteral("translation"));
            const QString source = m.firstChildElement(QStringLiteral("source")).text();
            if (translation.attribute(QStringLiteral("type")).isEmpty() && translation.text() == source)
                same.insert(source);
        }
    }
    return same;
}

struct Shown
{
    QString where; // object name and kind
    QString text;
};

QString visible(const QString& text)
{
    return QTextDocumentFragment::fromHtml(text).toPlainText().remove(QLatin1Char('&')).simplified();
}

// The texts a user reads on a form, each with the place it shows in.
QList<Shown> shownTexts(QWidget* form)
{
    QList<Shown> texts;
    auto add = [&](const QObject* o, const char* kind, const QString& text) {
        if (!visible(text).isEmpty())
            texts.append({o->objectName() + QLatin1Char('.') + QLatin1String(kind), text});
    };
    add(form, "title", form->windowTitle());
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (auto* label = qobject_cast<QLabel*>(w))
            add(w, "text", label->text());
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            add(w, "text", button->text());
        else if (auto* box = qobject_cast<QGroupBox*>(w))
            add(w, "title", box->title());
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < combo->count(); ++i)
                add(w, "item", combo->itemText(i));
        }
        if (auto* table = qobject_cast<QTableWidget*>(w)) {
            for (int c = 0; c < table->columnCount(); ++c) {
                if (table->horizontalHeaderItem(c))
                    add(w, "header", table->horizontalHeaderItem(c)->text());
            }
        }
        if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
            for (int c = 0; c < tree->columnCount(); ++c)
                add(w, "header", tree->headerItem()->text(c));
        }
    }
    return texts;
}

// The width a button needs to show its text and icon. A push button's size
// hint is never below the style's customary least width, which a narrow
// button with a short text (a page number) may well go below.
int neededWidth(QAbstractButton* button)
{
    const int hint = button->sizeHint().width();
    if (!qobject_cast<QPushButton*>(button))
        return hint;
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const int least = button->style()->sizeFromContents(QStyle::CT_PushButton, &option, QSize(1, 1), button).width();
    return hint > least ? hint : 0;
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
        mSameWords = sameWords();
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
        const QList<Shown> before = shownTexts(english.get());
        const QList<Shown> after = shownTexts(german.get());
        QCOMPARE(after.size(), before.size());
        QStringList untranslated;
        static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
        for (int i = 0; i < before.size(); ++i) {
            const QString text = before.at(i).text;
            if (after.at(i).text != text || !word.match(text).hasMatch() || mSameWords.contains(text))
                continue;
            untranslated << before.at(i).where + QStringLiteral(": ") + text;
        }
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
        for (QWidget* w : widget->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(widget.get()))
                continue;
            const QString name = w->objectName();
            if (auto* label = qobject_cast<QLabel*>(w)) {
                if (!label->wordWrap() && !label->text().isEmpty() && label->pixmap().isNull()
                    && label->width() < label->sizeHint().width())
                    cut << name + QStringLiteral(": ") + label->text();
            } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                if (!button->text().isEmpty() && button->width() < neededWidth(button))
                    cut << name + QStringLiteral(": ") + button->text();
            } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
                if (!box->title().isEmpty()
                    && box->width() < box->fontMetrics().horizontalAdvance(box->title()) + 12)
                    cut << name + QStringLiteral(": ") + box->title();
            }
            if (auto* combo = qobject_cast<QComboBox*>(w)) {
                QStyleOptionComboBox option;
                option.initFrom(combo);
                option.editable = combo->isEditable();
                // The room the closed combo gives its text, beside the arrow.
                const int room =
                    combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
                        .width();
                for (int i = 0; i < combo->count(); ++i) {
                    if (room < combo->fontMetrics().horizontalAdvance(combo->itemText(i)))
                        cut << name + QStringLiteral(": ") + combo->itemText(i);
                }
            }
            if (auto* view = qobject_cast<QTableWidget*>(w)) {
                QHeaderView* header = view->horizontalHeader();
                for (int c = 0; c < view->columnCount(); ++c) {
                    if (!header->isSectionHidden(c) && view->horizontalHeaderItem(c)
                        && header->sectionSize(c) < header->sectionSizeHint(c))
                        cut << name + QStringLiteral(": ") + view->horizontalHeaderItem(c)->text();
                }
            }
        }
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
