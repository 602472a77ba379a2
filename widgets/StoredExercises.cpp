#include "StoredExercises.h"

#include "IDbManager.h"
#include "WorkProgress.h"

#include <QSet>

namespace {

const int kPart = 5000;

} // namespace

bool StoredExercises::byId(IDbManager* store, const QStringList& ids, QHash<QString, Record>* found,
                           WorkProgress* progress, int offset)
{
    if (!store || !found)
        return true;
    QSet<QString> asked;
    QString idList;
    int inPart = 0;
    auto search = [&] {
        if (inPart == 0)
            return;
        for (const Record& row : store->search(QStringLiteral("Exercise"), {{QStringLiteral("IdList"), idList}}))
            found->insert(row.value(QStringLiteral("Id")), row);
        idList.clear();
        inPart = 0;
    };
    for (int i = 0; i < ids.size(); ++i) {
        const QString& id = ids.at(i);
        if (!id.isEmpty() && !asked.contains(id)) {
            asked.insert(id);
            idList += id + QLatin1Char(',');
            ++inPart;
        }
        if (inPart == kPart) {
            search();
            if (progress && !progress->step(offset + i + 1))
                return false;
        }
    }
    search();
    return !progress || progress->step(offset + int(ids.size()));
}
