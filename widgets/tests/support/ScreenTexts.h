#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QDomDocument>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTableView>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTranslator>
#include <QTreeView>

#include "SettingsKeys.h"

#include <functional>
#include <memory>
#include <vector>

// What a learner reads on a form or dialog, and whether each text shows in
// full: labels, buttons, group boxes, combo items, column headers, table
// cells and progress bars, of Designer forms and of widgets built in code.
class ScreenTexts
{
public:
    struct Shown
    {
        QString where; // object name and kind
        QString text;
    };

    // The German of every component in the ready-to-run tree, Qt's own
    // included, installed while this object lives, and German stored as the
    // interface language (help pages are chosen by it). changed runs after the
    // files are installed and after they are removed (a store reads its
    // names again).
    class German
    {
    public:
        explicit German(std::function<void()> changed = {})
            : mChanged(std::move(changed))
            , mOldLanguage(QSettings().value(SettingsKeys::UiLanguage))
        {
            QSettings().setValue(SettingsKeys::UiLanguage, QStringLiteral("Deutsch"));
            const QDir dir(QStringLiteral(VIREDA_DIST_DIR "/Translations/Deutsch"));
            for (const QString& name : dir.entryList({QStringLiteral("*.qm")}, QDir::Files)) {
                auto translator = std::make_unique<QTranslator>();
                if (!translator->load(dir.filePath(name)))
                    continue;
                QCoreApplication::installTranslator(translator.get());
                mTranslators.push_back(std::move(translator));
            }
            if (mChanged)
                mChanged();
        }
        ~German()
        {
            for (auto& translator : mTranslators)
                QCoreApplication::removeTranslator(translator.get());
            if (mOldLanguage.isValid())
                QSettings().setValue(SettingsKeys::UiLanguage, mOldLanguage);
            else
                QSettings().remove(SettingsKeys::UiLanguage);
            if (mChanged)
                mChanged();
        }
        German(const German&) = delete;
        German& operator=(const German&) = delete;

        int files() const { return int(mTranslators.size()); }

    private:
        std::function<void()> mChanged;
        QVariant mOldLanguage;
        std::vector<std::unique_ptr<QTranslator>> mTranslators;
    };

    static QString visible(const QString& text)
    {
        return QTextDocumentFragment::fromHtml(text).toPlainText().remove(QLatin1Char('&')).simplified();
    }

    // The texts a user reads on a form, each with the place it shows in:
    // also tool tips and the pages of read-only text boxes.
    // With visibleOnly, widgets hidden under the root and hidden columns are
    // left out (a form built in code keeps placeholders there).
    static QList<Shown> shown(QWidget* root, bool visibleOnly = false)
    {
        QList<Shown> texts;
        auto add = [&](const QObject* o, const char* kind, const QString& text) {
            if (!visible(text).isEmpty())
                texts.append({o->objectName() + QLatin1Char('.') + QLatin1String(kind), text});
        };
        add(root, "title", root->windowTitle());
        for (QWidget* w : root->findChildren<QWidget*>()) {
            if (visibleOnly && !w->isVisibleTo(root))
                continue;
            if (auto* label = qobject_cast<QLabel*>(w))
                add(w, "text", label->text());
            else if (auto* button = qobject_cast<QAbstractButton*>(w))
                add(w, "text", button->text());
            else if (auto* box = qobject_cast<QGroupBox*>(w))
                add(w, "title", box->title());
            else if (auto* bar = qobject_cast<QProgressBar*>(w))
                add(w, "text", bar->isTextVisible() ? bar->text() : QString());
            if (auto* combo = qobject_cast<QComboBox*>(w)) {
                for (int i = 0; i < combo->count(); ++i)
                    add(w, "item", combo->itemText(i));
            }
            if (auto* page = qobject_cast<QTextEdit*>(w); page && page->isReadOnly())
                add(w, "page", page->toPlainText().toHtmlEscaped());
            add(w, "tip", w->toolTip());
            QHeaderView* header = columnHeader(w);
            if (header && header->model() && (!visibleOnly || header->isVisibleTo(root))) {
                for (int c = 0; c < header->count(); ++c) {
                    if (!visibleOnly || !header->isSectionHidden(c))
                        add(w, "header", header->model()->headerData(c, Qt::Horizontal).toString());
                }
            }
        }
        return texts;
    }

    // The texts that do not show in full: a label, button, group box title,
    // combo item, column header or table cell wider than the room it has.
    static QStringList cut(QWidget* root)
    {
        QStringList cut;
        for (QWidget* w : root->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(root))
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
                if (!box->title().isEmpty() && box->width() < box->fontMetrics().horizontalAdvance(box->title()) + 12)
                    cut << name + QStringLiteral(": ") + box->title();
            } else if (auto* bar = qobject_cast<QProgressBar*>(w)) {
                if (bar->isTextVisible() && bar->width() < bar->fontMetrics().horizontalAdvance(bar->text()) + 12)
                    cut << name + QStringLiteral(": ") + bar->text();
            }
            if (auto* combo = qobject_cast<QComboBox*>(w)) {
                QStyleOptionComboBox option;
                option.initFrom(combo);
                option.editable = combo->isEditable();
                // The room the closed combo gives its text, beside the arrow.
                const int room = combo->style()
                                     ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
                                     .width();
                // The ink of the text, as the combo measures its contents.
                for (int i = 0; i < combo->count(); ++i) {
                    const int needed = combo->fontMetrics().boundingRect(combo->itemText(i)).width();
                    if (room < needed)
                        cut << QStringLiteral("%1: %2 (%3 of %4 px)")
                                   .arg(name, combo->itemText(i))
                                   .arg(room)
                                   .arg(needed);
                }
            }
            if (auto* view = qobject_cast<QAbstractItemView*>(w))
                cut << cutInView(view);
        }
        return cut;
    }

    // Texts whose German is deliberately the same word (names, numbers, words
    // both languages share): those a German file lists with an identical text.
    static QSet<QString> sameWords()
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

    // The texts of the German form still equal to the English one at the
    // same place, unless the word is the same in both or is the learner's
    // own content (terms, names) given in data.
    static QStringList untranslated(const QList<Shown>& english, const QList<Shown>& german,
                                    const QSet<QString>& sameWords, const QSet<QString>& data = {})
    {
        QStringList untranslated;
        if (english.size() != german.size()) {
            untranslated << QStringLiteral("%1 texts in English, %2 in German").arg(english.size()).arg(german.size());
            return untranslated;
        }
        static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
        for (int i = 0; i < english.size(); ++i) {
            const QString text = english.at(i).text;
            if (german.at(i).text != text || !word.match(text).hasMatch() || sameWords.contains(text)
                || data.contains(visible(text)))
                continue;
            untranslated << english.at(i).where + QStringLiteral(": ") + text;
        }
        return untranslated;
    }

    // The rows of a data-driven check: English and German ("german", bool)
    // at the smallest and the largest font the program offers ("pointSize").
    static void addLanguageAndFontRows()
    {
        QTest::addColumn<bool>("german");
        QTest::addColumn<int>("pointSize");
        for (bool german : {false, true}) {
            for (int size : {8, 12})
                QTest::addRow("%s %d", german ? "de" : "en", size) << german << size;
        }
    }

    // Sets the application font's point size for as long as this object lives.
    class PointSize
    {
    public:
        explicit PointSize(int size)
            : mOld(QApplication::font())
        {
            QFont font = mOld;
            font.setPointSize(size);
            QApplication::setFont(font);
        }
        ~PointSize() { QApplication::setFont(mOld); }
        PointSize(const PointSize&) = delete;
        PointSize& operator=(const PointSize&) = delete;

    private:
        QFont mOld;
    };

private:
    static QHeaderView* columnHeader(QWidget* w)
    {
        if (auto* table = qobject_cast<QTableView*>(w))
            return table->horizontalHeader();
        if (auto* tree = qobject_cast<QTreeView*>(w))
            return tree->header();
        return nullptr;
    }

    // The width a button needs to show its text and icon. A push button's size
    // hint is never below the style's customary least width, which a narrow
    // button with a short text (a page number) may well go below.
    static int neededWidth(QAbstractButton* button)
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

    // Headers narrower than their text; in a table, cells narrower than what
    // they show (the rows on screen).
    static QStringList cutInView(QAbstractItemView* view)
    {
        QStringList cut;
        QHeaderView* header = columnHeader(view);
        QAbstractItemModel* model = view->model();
        if (!header || !model || header == view)
            return cut;
        const QString name = view->objectName();
        for (int c = 0; c < header->count(); ++c) {
            if (header->isSectionHidden(c))
                continue;
            const QString title = model->headerData(c, Qt::Horizontal).toString();
            if (header->isVisible() && !title.isEmpty() && header->sectionSize(c) < header->sectionSizeHint(c))
                cut << name + QStringLiteral(" header: ") + title;
            if (!qobject_cast<QTableView*>(view))
                continue;
            // The delegate's own measure, as the view sizes a column to its contents.
            const int needed = view->sizeHintForColumn(c);
            if (model->rowCount() > 0 && header->sectionSize(c) < needed)
                cut << name + QStringLiteral(" cells: ") + model->index(0, c).data().toString();
        }
        return cut;
    }
};
