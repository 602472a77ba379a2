// Long term lists on the term-list page: a list imported through the import
// dialog (one Study Term column), a few terms recorded, the list closed and
// chosen again; every term and mark must come back byte for byte. Each row
// runs in a process of its own, so its peak resident memory is its own:
//   QT_QPA_PLATFORM=offscreen build/bin/WordListBench [dictionary...]
// Rows: synthetic lists of 10^4, 10^5 and 2*10^5 terms, then the first 10^4
// and 10^5 words and the whole of each Debian word list named (default
// /usr/share/dict/ngerman, installed by scripts/setup).

#include "AuthoringTree.h"
#include "CreateTemplate.h"
#include "ImportSteps.h"
#include "ZoExercise.h"
#include "ZoWordList.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>
#include <QTimer>

namespace {

const QString kGerman = QStringLiteral("German, Standard");
const double kSmallGoalMs = 1000.0;
const double kLargeGoalMs = 5000.0;
const double kSilenceGoalMs = 100.0;
const double kMemoryGoalMb = 300.0;
const double kGrowthGoal = 2.2;
const int kMarks = 3;

double msSince(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1.0e6;
}

// Peak resident memory of this process, in MB.
double peakMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// The longest time the window's thread went without running a 5 ms timer.
class Silence : public QObject
{
public:
    Silence()
    {
        mTimer.setInterval(5);
        QObject::connect(&mTimer, &QTimer::timeout, this, [this] {
            mLongest = qMax(mLongest, msSince(mSince));
            mSince.restart();
        });
        mTimer.start();
    }
    void restart()
    {
        mLongest = 0;
        mSince.restart();
    }
    double longest() const { return qMax(mLongest, msSince(mSince)); }

private:
    QTimer mTimer;
    QElapsedTimer mSince;
    double mLongest = 0;
};

// The terms of a row: n synthetic ones, or the first n words of a dictionary
// (all when n is 0).
QStringList termsOf(const QString& source, int n)
{
    QStringList terms;
    if (source == QLatin1String("synthetic")) {
        for (int i = 0; i < n; ++i)
            terms << QStringLiteral("Wört %1 ß'é").arg(i);
        return terms;
    }
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return terms;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QString word = QString::fromUtf8(line).trimmed();
        if (!word.isEmpty())
            terms << word;
        if (n > 0 && terms.size() == n)
            break;
    }
    return terms;
}

// One row, in this process: prints "row <terms> <import ms> <import silence>
// <reopen ms> <reopen silence> <peak MB> <whole>".
int runRow(const QString& source, int n)
{
    QTextStream out(stdout);
    AuthoringTree fixture;
    if (!fixture.setUp() || !fixture.reset()) {
        out << "set-up failed\n";
        return 1;
    }
    const QStringList terms = termsOf(source, n);
    QByteArray text("\xEF\xBB\xBF");
    for (const QString& term : terms)
        text += term.toUtf8() + '\n';
    const QString path = fixture.tree().tree().filePath(QStringLiteral("terms.txt"));
    QFile file(path);
    if (terms.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        out << "cannot write " << path << "\n";
        return 1;
    }
    file.close();
    text.clear();

    const QString name = QStringLiteral("Bench");
    Silence silence;
    auto view = fixture.newEditor();
    CreateTemplate* page = view->templatePage();
    ImportSteps::answerNextImport({{QString(), kGerman}}, name);
    QElapsedTimer timer;
    timer.start();
    silence.restart();
    page->importFile(path);
    const double importMs = msSince(timer);
    const double importSilence = silence.longest();
    bool whole = page->list() && page->list()->exerciseCount() == terms.size()
                 && page->tblTemplate->rowCount() == terms.size();

    // Terms recorded, as the editor hands them back.
    page->cboxLoadNext->setChecked(false);
    QList<int> marked;
    for (int k = 0; whole && k < kMarks; ++k) {
        const int row = int(qint64(terms.size() - 1) * k / (kMarks - 1));
        ZoExercise recorded;
        recorded.assign(*page->list()->exerciseAt(row));
        recorded.setId(QString::number(1000 + k));
        recorded.setVoice(AuthoringTree::userName());
        recorded.setMediaName(QStringLiteral("bench_%1.wav").arg(k));
        page->tblTemplate->setCurrentCell(row, CreateTemplate::ColTerm);
        page->openExercise();
        page->exerciseSaved(&recorded);
        marked << row;
    }
    // Closed, then chosen again.
    page->cmbTemplateList->setCurrentIndex(0);
    emit page->cmbTemplateList->activated(0);
    const int index = page->cmbTemplateList->findText(name);
    page->cmbTemplateList->setCurrentIndex(index);
    timer.restart();
    silence.restart();
    emit page->cmbTemplateList->activated(index);
    const double reopenMs = msSince(timer);
    const double reopenSilence = silence.longest();
    whole = whole && page->list() && page->tblTemplate->rowCount() == terms.size();
    view.reset();

    // Every term and mark as it was.
    std::unique_ptr<ZoWordList> back = ZoWordList::readFile(ZoWordList::listDirectory(), name);
    whole = whole && back && back->exerciseCount() == terms.size();
    for (int i = 0; whole && i < terms.size(); ++i) {
        const ZoExercise* exercise = back->exerciseAt(i);
        const int k = int(marked.indexOf(i));
        whole = exercise->term().toUtf8() == terms.at(i).toUtf8()
                && exercise->id() == (k < 0 ? QString() : QString::number(1000 + k))
                && exercise->mediaName() == (k < 0 ? QString() : QStringLiteral("bench_%1.wav").arg(k));
    }
    back.reset();
    fixture.tearDown();
    out << QStringLiteral("row %1 %2 %3 %4 %5 %6 %7\n")
               .arg(terms.size())
               .arg(importMs, 0, 'f', 0)
               .arg(importSilence, 0, 'f', 0)
               .arg(reopenMs, 0, 'f', 0)
               .arg(reopenSilence, 0, 'f', 0)
               .arg(peakMb(), 0, 'f', 0)
               .arg(whole ? 1 : 0);
    return 0;
}

struct Row
{
    QString label;
    int terms = 0;
    double importMs = 0;
    double importSilence = 0;
    double reopenMs = 0;
    double reopenSilence = 0;
    double peakMb = 0;
    bool whole = false;
};

bool runChild(const QString& program, const QString& source, int n, Row* row)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, {QStringLiteral("--row"), source, QString::number(n)});
    if (!child.waitForFinished(30 * 60 * 1000) || child.exitCode() != 0)
        return false;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() != 8 || parts.at(0) != "row")
            continue;
        row->terms = parts.at(1).toInt();
        row->importMs = parts.at(2).toDouble();
        row->importSilence = parts.at(3).toDouble();
        row->reopenMs = parts.at(4).toDouble();
        row->reopenSilence = parts.at(5).toDouble();
        row->peakMb = parts.at(6).toDouble();
        row->whole = parts.at(7) == "1";
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("--row"))
        return runRow(args.at(2), args.at(3).toInt());

    QTextStream out(stdout);
    QStringList dictionaries = args.mid(1);
    if (dictionaries.isEmpty())
        dictionaries << QStringLiteral("/usr/share/dict/ngerman");
    struct Plan
    {
        QString source;
        int terms;
    };
    QList<Plan> plans{{QStringLiteral("synthetic"), 10000},
                      {QStringLiteral("synthetic"), 100000},
                      {QStringLiteral("synthetic"), 200000}};
    for (const QString& dictionary : dictionaries) {
        if (!QFileInfo::exists(dictionary)) {
            out << dictionary << " is missing (scripts/setup installs it)\n";
            return 1;
        }
        plans << Plan{dictionary, 10000} << Plan{dictionary, 100000} << Plan{dictionary, 0};
    }
    bool held = true;
    QList<Row> rows;
    out << "terms      source                   import ms (silence)  reopen ms (silence)  peak MB  whole\n";
    for (const Plan& plan : plans) {
        Row row;
        row.label = plan.source == QLatin1String("synthetic") ? plan.source : QFileInfo(plan.source).fileName();
        if (!runChild(app.applicationFilePath(), plan.source, plan.terms, &row)) {
            out << row.label << " " << plan.terms << ": the row did not run\n";
            held = false;
            continue;
        }
        const double timeGoal = row.terms <= 10000 ? kSmallGoalMs : (row.terms <= 100000 ? kLargeGoalMs : -1);
        bool rowHeld = row.whole && row.importSilence < kSilenceGoalMs && row.reopenSilence < kSilenceGoalMs;
        if (timeGoal > 0)
            rowHeld = rowHeld && row.importMs < timeGoal && row.reopenMs < timeGoal;
        if (row.terms == 100000)
            rowHeld = rowHeld && row.peakMb < kMemoryGoalMb;
        held = held && rowHeld;
        rows << row;
        out << QStringLiteral("%1 %2 %3 (%4) %5 (%6) %7 %8  %9\n")
                   .arg(row.terms, -10)
                   .arg(row.label, -24)
                   .arg(row.importMs, 9, 'f', 0)
                   .arg(row.importSilence, 4, 'f', 0)
                   .arg(row.reopenMs, 13, 'f', 0)
                   .arg(row.reopenSilence, 4, 'f', 0)
                   .arg(row.peakMb, 8, 'f', 0)
                   .arg(row.whole ? "yes" : "NO", 5)
                   .arg(timeGoal > 0 ? (rowHeld ? "held" : "MISSED") : (rowHeld ? "whole, quiet" : "MISSED"));
        out.flush();
    }
    // Memory grows with the terms: twice the synthetic terms, at most 2.2
    // times the memory above an empty list's.
    double growth = -1;
    if (rows.size() >= 3 && rows.at(1).peakMb > 0) {
        growth = rows.at(2).peakMb / rows.at(1).peakMb;
        held = held && growth <= kGrowthGoal;
    }
    out << QStringLiteral("goals: import and reopen under %1 ms at 10^4 terms and under %2 ms at 10^5; the window's "
                          "thread never silent %3 ms or more; peak memory under %4 MB at 10^5 terms and at most "
                          "%5 times that at 2*10^5 (measured %6); every term and mark back byte for byte\n")
               .arg(kSmallGoalMs, 0, 'f', 0)
               .arg(kLargeGoalMs, 0, 'f', 0)
               .arg(kSilenceGoalMs, 0, 'f', 0)
               .arg(kMemoryGoalMb, 0, 'f', 0)
               .arg(kGrowthGoal, 0, 'f', 1)
               .arg(growth, 0, 'f', 2);
    out << (held ? "all goals held\n" : "a goal was missed\n");
    return held ? 0 : 2;
}
