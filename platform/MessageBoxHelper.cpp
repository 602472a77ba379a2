#include "MessageBoxHelper.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTextStream>
#include <QVector>

namespace {

// Position in VIREDA_MSGBOX_ANSWERS of the next answer.
int nextAnswer = 0;

QMessageBox::Icon iconOf(MessageBoxHelper::Kind kind)
{
    switch (kind) {
    case MessageBoxHelper::Information: return QMessageBox::Information;
    case MessageBoxHelper::Warning: return QMessageBox::Warning;
    case MessageBoxHelper::Question: return QMessageBox::Question;
    case MessageBoxHelper::Critical: return QMessageBox::Critical;
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

int scriptedAnswer(int buttonCount)
{
    const QStringList answers = qEnvironmentVariable("VIREDA_MSGBOX_ANSWERS").split(QLatin1Char(','), Qt::SkipEmptyParts);
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
    case Information: return QStringLiteral("information");
    case Warning: return QStringLiteral("warning");
    case Question: return QStringLiteral("question");
    case Critical: return QStringLiteral("critical");
    }
    return QString();
}

QString MessageBoxHelper::logLine(Kind kind, const QString& title, const QString& text, const QStringList& buttons)
{
    QStringList escapedButtons;
    for (const QString& b : buttons)
        escapedButtons << escaped(b);
    return kindName(kind) + QLatin1Char('\t') + escaped(title) + QLatin1Char('\t') + escaped(text)
        + QLatin1Char('\t') + escapedButtons.join(QLatin1Char('|'));
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

    QMessageBox box(iconOf(kind), title, QString(), QMessageBox::NoButton, parent);
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

int MessageBoxHelper::information(QWidget* parent, const QString& title, const QString& text, const QStringList& buttons)
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
