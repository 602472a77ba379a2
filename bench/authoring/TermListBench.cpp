// Times a 10,000-line term list on the term-list page: the import (dialog,
// reading, the list written, the table filled, the first term in the editor)
// and choosing the stored list again (reading its file and the table).

#include "AuthoringTree.h"
#include "BenchMedian.h"
#include "CreateTemplate.h"
#include "ImportSteps.h"
#include "ZoWordList.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <algorithm>

namespace {

const int kLines = 10000;
const int kRounds = 5;
const double kGoalMs = 1000.0;

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    AuthoringTree fixture;
    if (!fixture.setUp() || !fixture.reset()) {
        out << "set-up failed\n";
        return 1;
    }
    QByteArray text("\xEF\xBB\xBF");
    for (int i = 0; i < kLines; ++i)
        text += QStringLiteral("Wort %1\tmot %1\n").arg(i).toUtf8();
    const QString path = fixture.tree().tree().filePath(QStringLiteral("terms.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        out << "cannot write " << path << "\n";
        return 1;
    }
    file.close();

    QList<double> imports;
    QList<double> reopens;
    QList<double> reads;
    int rows = 0;
    for (int round = 0; round < kRounds; ++round) {
        auto view = fixture.newEditor();
        CreateTemplate* page = view->templatePage();
        ImportSteps::answerNextImport({{QStringLiteral("Study Term"), QStringLiteral("German, Standard")},
                                       {QStringLiteral("Translation"), QStringLiteral("French")}},
                                      QStringLiteral("Bench%1").arg(round));
        QElapsedTimer timer;
        timer.start();
        page->importFile(path);
        imports << timer.nsecsElapsed() / 1.0e6;
        rows = page->tblTemplate->rowCount();

        page->cmbTemplateList->setCurrentIndex(0);
        emit page->cmbTemplateList->activated(0);
        const int index = page->cmbTemplateList->findText(QStringLiteral("Bench%1").arg(round));
        page->cmbTemplateList->setCurrentIndex(index);
        timer.restart();
        emit page->cmbTemplateList->activated(index);
        reopens << timer.nsecsElapsed() / 1.0e6;
        timer.restart();
        ZoWordList::readFile(ZoWordList::listDirectory(), QStringLiteral("Bench%1").arg(round));
        reads << timer.nsecsElapsed() / 1.0e6;
        if (page->tblTemplate->rowCount() != kLines)
            rows = page->tblTemplate->rowCount();
    }
    fixture.tearDown();

    out << "rows shown: " << rows << " of " << kLines << "\n";
    out << QStringLiteral("import to the table (median of %1): %2 ms, goal under %3 ms\n")
               .arg(kRounds)
               .arg(benchMedian(imports), 0, 'f', 0)
               .arg(kGoalMs, 0, 'f', 0);
    out << QStringLiteral("stored list chosen again (median of %1): %2 ms\n")
               .arg(kRounds)
               .arg(benchMedian(reopens), 0, 'f', 0);
    out << QStringLiteral("the list file read alone: %1 ms\n").arg(benchMedian(reads), 0, 'f', 0);
    return rows == kLines && benchMedian(imports) < kGoalMs ? 0 : 2;
}
