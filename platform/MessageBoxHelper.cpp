#include "MessageBoxHelper.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QShowEvent>
#include <QTextStream>
#include <QVector>

namespace {

// Position in VIREDA_MSGBOX_ANSWERS of the next answer.
int nextAnswer = 0;

QMessageBox::Icon iconOf(MessageBoxHelper::Kind kind)
{
    switch (kind) {
    case MessageBoxHelper::Information:
        return QMessageBox::Information;
    case MessageBoxHelper::Warning:
        return QMessageBox::Warning;
    case MessageBoxHelper::Question:
        return QMessageBox::Question;
    case MessageBoxHelper::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QString escaped(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return text;
}

// The window a box belongs over: the parent's own window when it is shown,
// otherwise the nearest shown window that holds it. A dialog that is not shown
// yet, or hid itself, has no place of its own on the screen.
QWidget* shownWindow(QWidget* parent)
{
    for (QWidget* w = parent; w; w = w->window()->parentWidget()) {
        if (w->window()->isVisible())
            return w->window();
    }
    return nullptr;
}

// A box centred over the window it belongs to once it knows its own size.
class CentredBox : public QMessageBox
{
public:
    CentredBox(QMessageBox::Icon icon, const QString& title, QWidget* parent, QWidget* over)
        : QMessageBox(icon, title, QString(), QMessageBox::NoButton, over ? over : parent)
        , mOver(over)
    {
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        if (!mOver || event->spontaneous())
            return;
        QRect at(QPoint(), frameGeometry().size());
        at.moveCenter(mOver->frameGeometry().center());
        if (const QScreen* screen = mOver->screen()) {
            const QRect room = screen->availableGeometry();
            at.moveLeft(qBound(room.left(), at.left(), qMax(room.left(), room.right() + 1 - at.width())));
            at.moveTop(qBound(room.top(), at.top(), qMax(room.top(), room.bottom() + 1 - at.height())));
        }
        move(at.topLeft());
    }

private:
    QWidget* mOver;
};

int scriptedAnswer(int buttonCount)
{
    const QStringList answers =
        qEnvironmentVariable("VIREDA_MSGBOX_ANSWERS").split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (nextAnswer >= answers.size())
        return -1;
    bool ok = false;
    const int index = answers.at(nextAnswer++).trimmed().toInt(&ok);
    return ok && index >= 0 && index < buttonCount ? index : -1;
}

} // namespace

QString MessageBoxHelper::kindName(Kind kind)
{
    switch (kind) {
    case Information:
        return QStringLiteral("information");
    case Warning:
        return QStringLiteral("warning");
    case Question:
        return QStringLiteral("question");
    case Critical:
        return QStringLiteral("critical");
    }
    return QString();
}

QString MessageBoxHelper::logLine(Kind kind, const QString& title, const QString& text, const QStringList& buttons)
{
    QStringList escapedButtons;
    for (const QString& b : buttons)
        escapedButtons << escaped(b);
    return kindName(kind) + QLatin1Char('\t') + escaped(title) + QLatin1Char('\t') + escaped(text) + QLatin1Char('\t')
           + escapedButtons.join(QLatin1Char('|'));
}

void MessageBoxHelper::resetScript()
{
    nextAnswer = 0;
}

bool MessageBoxHelper::isScripted()
{
    return qEnvironmentVariableIsSet("VIREDA_MSGBOX_LOG") || qEnvironmentVariableIsSet("VIREDA_MSGBOX_ANSWERS");
}

int MessageBoxHelper::show(Kind kind, QWidget* parent, const QString& title, const QString& text,
                           const QStringList& buttons, int defaultButton, int escapeButton)
{
    if (isScripted()) {
        const QString logFile = qEnvironmentVariable("VIREDA_MSGBOX_LOG");
        if (!logFile.isEmpty()) {
            QFile file(logFile);
            if (file.open(QIODevice::Append | QIODevice::Text)) {
                QTextStream out(&file);
                out.setEncoding(QStringConverter::Utf8);
                out << logLine(kind, title, text, buttons) << '\n';
            }
        }
        return scriptedAnswer(buttons.size());
    }

    QWidget* over = shownWindow(parent);
    CentredBox box(iconOf(kind), title, parent, over);
    // Texts may hold other learners' terms and titles: never taken as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    QVector<QAbstractButton*> added;
    for (const QString& label : buttons)
        added << box.addButton(label, QMessageBox::AcceptRole);
    if (defaultButton >= 0 && defaultButton < added.size())
        box.setDefaultButton(static_cast<QPushButton*>(added.at(defaultButton)));
    if (escapeButton >= 0 && escapeButton < added.size())
        box.setEscapeButton(added.at(escapeButton));
    box.exec();
    return added.indexOf(box.clickedButton());
}

int MessageBoxHelper::information(QWidget* parent, const QString& title, const QString& text,
                                  const QStringList& buttons)
{
    return show(Information, parent, title, text, buttons);
}

int MessageBoxHelper::warning(QWidget* parent, const QString& title, const QString& text, const QStringList& buttons)
{
    return show(Warning, parent, title, text, buttons);
}

int MessageBoxHelper::question(QWidget* parent, const QString& title, const QString& text, const QStringList& buttons)
{
    return show(Question, parent, title, text, buttons);
}

int MessageBoxHelper::critical(QWidget* parent, const QString& title, const QString& text, const QStringList& buttons)
{
    return show(Critical, parent, title, text, buttons);
}
