#include "ExerciseSnapshot.h"

#include <sqlite3.h>

#include <QString>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>
#include <limits>
#include <string>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

char foldByte(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

// Calls next(p) for each place p where needle occurs in haystack, in
// ascending order; next returns the place from which to go on looking (more
// than p). Sixteen places are tested at a time for the needle's first and
// last byte before any is compared whole.
template <class Next>
void forEachOccurrence(std::string_view haystack, std::string_view needle, Next next)
{
    const size_t n = haystack.size();
    const size_t k = needle.size();
    if (k == 0 || k > n)
        return;
    const char* bytes = haystack.data();
    auto matchesAt = [&](size_t p) { return k <= 2 || std::memcmp(bytes + p + 1, needle.data() + 1, k - 2) == 0; };
    size_t from = 0; // places before it are not looked at
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(needle.front());
    const __m128i last = _mm_set1_epi8(needle.back());
    while (i + k - 1 + 16 <= n) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i + k - 1));
        auto candidates = unsigned(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(head, first), _mm_cmpeq_epi8(tail, last))));
        while (candidates != 0) {
            const size_t p = i + size_t(__builtin_ctz(candidates));
            candidates &= candidates - 1;
            if (p >= from && matchesAt(p))
                from = std::min(std::max(next(p), p + 1), n);
        }
        i = std::max(i + 16, from);
    }
#endif
    for (i = std::max(i, from); i + k <= n; ++i) {
        if (i >= from && bytes[i] == needle.front() && bytes[i + k - 1] == needle.back() && matchesAt(i))
            from = std::min(std::max(next(i), i + 1), n);
    }
}

// A prepared statement that finalizes itself.
class Statement
{
public:
    Statement(sqlite3* handle, const char* sql)
    {
        if (sqlite3_prepare_v2(handle, sql, -1, &mStatement, nullptr) != SQLITE_OK) {
            sqlite3_finalize(mStatement);
            mStatement = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(mStatement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool isValid() const { return mStatement != nullptr; }
    bool bind(int index, qint64 value) { return sqlite3_bind_int64(mStatement, index, value) == SQLITE_OK; }
    void reset() { sqlite3_reset(mStatement); }
    // True while there is a row; *ok turns false on an error.
    bool next(bool* ok)
    {
        const int rc = sqlite3_step(mStatement);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            *ok = false;
        return false;
    }
    qint64 integer(int column) const { return sqlite3_column_int64(mStatement, column); }
    bool isNull(int column) const { return sqlite3_column_type(mStatement, column) == SQLITE_NULL; }
    std::string_view text(int column) const
    {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(mStatement, column));
        return bytes ? std::string_view(bytes, size_t(sqlite3_column_bytes(mStatement, column))) : std::string_view();
    }

private:
    sqlite3_stmt* mStatement = nullptr;
};

// Local id to position in an ascending id list.
class IdIndex
{
public:
    explicit IdIndex(const std::vector<qint64>& ids)
        : mIds(ids)
    {
        const qint64 top = ids.empty() ? 0 : ids.back();
        // Dense when the ids are not spread too thinly.
        if (!ids.empty() && ids.front() >= 0 && top < qint64(8) * qint64(ids.size()) + 4096) {
            mDense.assign(size_t(top) + 1, -1);
            for (size_t i = 0; i < ids.size(); ++i)
                mDense[size_t(ids[i])] = int(i);
        }
    }
    int find(qint64 id) const
    {
        if (!mDense.empty())
            return (id >= 0 && id < qint64(mDense.size())) ? mDense[size_t(id)] : -1;
        const auto it = std::lower_bound(mIds.begin(), mIds.end(), id);
        return (it != mIds.end() && *it == id) ? int(it - mIds.begin()) : -1;
    }

private:
    const std::vector<qint64>& mIds;
    std::vector<int> mDense;
};

} // namespace

std::string_view ExerciseSnapshot::text(Span span) const
{
    if (span.size < 0)
        return {};
    return std::string_view(mText.constData() + span.offset, size_t(span.size));
}

ExerciseSnapshot::Span ExerciseSnapshot::keepText(std::string_view bytes, bool isNull)
{
    Span span;
    if (isNull)
        return span;
    span.offset = quint32(mText.size());
    span.size = qint32(bytes.size());
    mText.append(bytes.data(), qsizetype(bytes.size()));
    return span;
}

ExerciseSnapshot::Span ExerciseSnapshot::foldTerm(Span term)
{
    Span folded;
    if (term.size < 0)
        return folded;
    folded.offset = quint32(mFoldedTerms.size());
    folded.size = term.size;
    for (char c : text(term))
        mFoldedTerms.append(foldByte(c));
    return folded;
}

std::shared_ptr<ExerciseSnapshot> ExerciseSnapshot::load(sqlite3* handle, const std::atomic<bool>* stop)
{
    auto snapshot = std::make_shared<ExerciseSnapshot>();
    ExerciseSnapshot& s = *snapshot;
    bool ok = true;
    // Looked at every row: a step costs far more than the look.
    auto more = [&ok, stop](Statement& statement) {
        return statement.next(&ok) && !(stop && stop->load(std::memory_order_relaxed));
    };
    auto keep = [&s](const Statement& statement, int column) {
        return s.keepText(statement.text(column), statement.isNull(column));
    };

    // Each table is read once in stored order and joined here: following the
    // indexes row by row costs several times more.
    std::vector<qint64> termIds;
    std::vector<qint64> exerciseIds;
    std::vector<Span> exerciseLanguages;
    {
        Statement tm(handle, "SELECT mlmid, tmttmtid, mv, lclid FROM tm WHERE +tmttmtid IN (1, 2) ORDER BY mlmid");
        if (!tm.isValid())
            return nullptr;
        while (more(tm)) {
            if (tm.integer(1) == 1) {
                termIds.push_back(tm.integer(0));
                s.mTerms.push_back(keep(tm, 2));
            } else {
                exerciseIds.push_back(tm.integer(0));
                exerciseLanguages.push_back(keep(tm, 3));
            }
        }
    }
    const IdIndex exercises(exerciseIds);
    // An exercise needs its m row as well.
    std::vector<char> hasManifest(exerciseIds.size(), 0);
    {
        Statement m(handle, "SELECT lmid FROM m");
        if (!m.isValid())
            return nullptr;
        while (more(m)) {
            const int e = exercises.find(m.integer(0));
            if (e >= 0)
                hasManifest[size_t(e)] = 1;
        }
    }
    std::vector<qint64> mediaIds;
    {
        Statement mm(handle, "SELECT mlmid, mmp, mmfn, cccid, sp, l, v FROM mm ORDER BY mlmid");
        if (!mm.isValid())
            return nullptr;
        while (more(mm)) {
            mediaIds.push_back(mm.integer(0));
            std::array<Span, kMediaColumns> values;
            for (int c = 0; c < kMediaColumns; ++c)
                values[size_t(c)] = keep(mm, c + 1);
            s.mMedia.push_back(values);
        }
    }
    // (exercise, term) and (exercise, media) links, in link order.
    std::vector<std::pair<int, int>> termLinks;
    std::vector<std::pair<int, int>> mediaLinks;
    {
        const IdIndex terms(termIds);
        const IdIndex media(mediaIds);
        Statement crlt(handle, "SELECT mprmid, mchmid FROM crlt");
        if (!crlt.isValid())
            return nullptr;
        while (more(crlt)) {
            const int e = exercises.find(crlt.integer(0));
            if (e < 0 || !hasManifest[size_t(e)])
                continue;
            const qint64 child = crlt.integer(1);
            const int t = terms.find(child);
            if (t >= 0)
                termLinks.emplace_back(e, t);
            const int m = media.find(child);
            if (m >= 0)
                mediaLinks.emplace_back(e, m);
        }
    }
    if (!ok || s.mText.size() > qsizetype(0x7fffffff) || (stop && stop->load()))
        return nullptr;

    auto byExercise = [](const std::pair<int, int>& a, const std::pair<int, int>& b) { return a.first < b.first; };
    std::stable_sort(termLinks.begin(), termLinks.end(), byExercise);
    std::stable_sort(mediaLinks.begin(), mediaLinks.end(), byExercise);
    // Every term of an exercise with every recording of it, as the view joins them.
    s.mRows.reserve(std::min(termLinks.size(), mediaLinks.size()));
    size_t t = 0;
    size_t m = 0;
    while (t < termLinks.size() && m < mediaLinks.size()) {
        const int e = std::min(termLinks[t].first, mediaLinks[m].first);
        size_t tEnd = t;
        while (tEnd < termLinks.size() && termLinks[tEnd].first == e)
            ++tEnd;
        size_t mEnd = m;
        while (mEnd < mediaLinks.size() && mediaLinks[mEnd].first == e)
            ++mEnd;
        for (size_t i = t; i < tEnd; ++i) {
            for (size_t j = m; j < mEnd; ++j)
                s.mRows.push_back(
                    {exerciseIds[size_t(e)], termLinks[i].second, exerciseLanguages[size_t(e)], mediaLinks[j].second});
        }
        t = tEnd;
        m = mEnd;
    }

    s.mFoldedTermSpans.reserve(s.mTerms.size());
    for (const Span& term : s.mTerms)
        s.mFoldedTermSpans.push_back(s.foldTerm(term));
    s.mText.squeeze();
    s.mFoldedTerms.squeeze();
    s.mTerms.shrink_to_fit();
    s.mMedia.shrink_to_fit();
    return snapshot;
}

ExerciseSnapshot::Span ExerciseSnapshot::textOf(int row, int column) const
{
    const Row& r = mRows[size_t(row)];
    switch (column) {
    case 1:
        return mTerms[size_t(r.term)];
    case 2:
        return r.language;
    default:
        return mMedia[size_t(r.media)][size_t(column - 3)];
    }
}

QVariant ExerciseSnapshot::value(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumnCount)
        return QVariant();
    if (column == 0)
        return QVariant(mRows[size_t(row)].id);
    const Span span = textOf(row, column);
    if (span.size < 0)
        return QVariant(QMetaType::fromType<QString>());
    const std::string_view bytes = text(span);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

void ExerciseSnapshot::prepareOrder(int column) const
{
    if (column >= 0 && column < kColumnCount)
        ascending(column);
}

const std::vector<int>& ExerciseSnapshot::ascending(int column) const
{
    std::vector<int>& order = mAscending[size_t(column)];
    if (mSorted[size_t(column)])
        return order;
    const size_t count = mRows.size();
    // The key of every row, lowered once: NULL, or the bytes lower() makes.
    std::vector<char> nulls(count, 0);
    std::vector<std::pair<quint32, quint32>> spans(count);
    QByteArray keyBytes;
    const char* base = nullptr;
    if (column == 1) {
        for (size_t row = 0; row < count; ++row) {
            const Span folded = mFoldedTermSpans[size_t(mRows[row].term)];
            nulls[row] = folded.size < 0;
            spans[row] = {folded.offset, quint32(std::max(folded.size, 0))};
        }
        base = mFoldedTerms.constData();
    } else {
        for (size_t row = 0; row < count; ++row) {
            const auto offset = quint32(keyBytes.size());
            if (column == 0) {
                char digits[24];
                const char* end = std::to_chars(digits, digits + sizeof digits, mRows[row].id).ptr;
                keyBytes.append(digits, qsizetype(end - digits));
            } else {
                const Span span = textOf(int(row), column);
                nulls[row] = span.size < 0;
                for (char c : text(span))
                    keyBytes.append(foldByte(c));
            }
            spans[row] = {offset, quint32(keyBytes.size()) - offset};
        }
        base = keyBytes.constData();
    }
    auto key = [&](int row) { return std::string_view(base + spans[size_t(row)].first, spans[size_t(row)].second); };
    order.resize(count);
    for (size_t i = 0; i < count; ++i)
        order[i] = int(i);
    // Rows are in id order and the sort is stable, so ties stay in id order.
    // Texts compare byte by byte, unsigned, as SQLite compares them.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (nulls[size_t(a)] != nulls[size_t(b)])
            return nulls[size_t(a)] > nulls[size_t(b)];
        return key(a) < key(b);
    });
    std::vector<int>& ranks = mRanks[size_t(column)];
    ranks.resize(count);
    int rank = 0;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0 && (nulls[size_t(order[i])] != nulls[size_t(order[i - 1])] || key(order[i]) != key(order[i - 1])))
            ++rank;
        ranks[i] = rank;
    }
    mSorted[size_t(column)] = true;
    return order;
}

std::vector<int> ExerciseSnapshot::select(const QString& fragment, const QString& languageId, int column,
                                          bool descending) const
{
    std::vector<char> termMatches(mTerms.size(), 0);
    QByteArray needle = fragment.toUtf8();
    for (char& c : needle)
        c = foldByte(c);
    const std::string_view wanted(needle.constData(), size_t(needle.size()));
    if (wanted.empty()) {
        for (size_t t = 0; t < mTerms.size(); ++t)
            termMatches[t] = mFoldedTermSpans[t].size >= 0; // NULL is never LIKE anything
    } else {
        // The folded terms lie end to end in term order: one pass over them
        // all, each place found given to the term it lies in.
        const size_t terms = mFoldedTermSpans.size();
        size_t t = 0;
        forEachOccurrence(std::string_view(mFoldedTerms.constData(), size_t(mFoldedTerms.size())), wanted,
                          [&](size_t p) -> size_t {
                              while (t < terms
                                     && (mFoldedTermSpans[t].size < 0
                                         || mFoldedTermSpans[t].offset + size_t(mFoldedTermSpans[t].size) <= p))
                                  ++t;
                              if (t == terms)
                                  return size_t(mFoldedTerms.size());
                              const Span folded = mFoldedTermSpans[t];
                              const size_t end = folded.offset + size_t(folded.size);
                              if (p < folded.offset || p + wanted.size() > end)
                                  return p + 1; // runs into the next term
                              termMatches[t] = 1;
                              return end;
                          });
    }
    const QByteArray languageBytes = languageId.toUtf8();
    const std::string_view language(languageBytes.constData(), size_t(languageBytes.size()));
    const bool anyLanguage = languageId.isEmpty();
    // Worked out in row order, so that a sort order's jumps touch a byte a row.
    std::vector<char> rowMatches(mRows.size());
    for (size_t i = 0; i < mRows.size(); ++i) {
        const Row& r = mRows[i];
        rowMatches[i] = termMatches[size_t(r.term)]
                        && (anyLanguage || (r.language.size >= 0 && text(r.language) == language));
    }
    auto matches = [&rowMatches](int row) { return rowMatches[size_t(row)] != 0; };

    std::vector<int> rows;
    if (column < 0 || column >= kColumnCount) {
        for (int row = 0; row < rowCount(); ++row) {
            if (matches(row))
                rows.push_back(row);
        }
        return rows;
    }
    const std::vector<int>& order = ascending(column);
    if (!descending) {
        for (int row : order) {
            if (matches(row))
                rows.push_back(row);
        }
        return rows;
    }
    // Groups of equal keys from the largest down, each group in id order.
    const std::vector<int>& ranks = mRanks[size_t(column)];
    int end = int(order.size());
    while (end > 0) {
        int begin = end - 1;
        while (begin > 0 && ranks[size_t(begin - 1)] == ranks[size_t(end - 1)])
            --begin;
        for (int i = begin; i < end; ++i) {
            if (matches(order[size_t(i)]))
                rows.push_back(order[size_t(i)]);
        }
        end = begin;
    }
    return rows;
}

qint64 ExerciseSnapshot::memoryBytes() const
{
    qint64 bytes = mText.capacity() + mFoldedTerms.capacity();
    bytes += qint64(mTerms.capacity() + mFoldedTermSpans.capacity()) * qint64(sizeof(Span));
    bytes += qint64(mMedia.capacity()) * qint64(sizeof(std::array<Span, kMediaColumns>));
    bytes += qint64(mRows.capacity()) * qint64(sizeof(Row));
    for (const std::vector<int>& order : mAscending)
        bytes += qint64(order.capacity()) * qint64(sizeof(int));
    for (const std::vector<int>& ranks : mRanks)
        bytes += qint64(ranks.capacity()) * qint64(sizeof(int));
    return bytes;
}

bool ExerciseSnapshot::keyIsNull(int row, int column) const
{
    if (column == 0)
        return false;
    if (column == 1)
        return mFoldedTermSpans[size_t(mRows[size_t(row)].term)].size < 0;
    return textOf(row, column).size < 0;
}

std::string_view ExerciseSnapshot::key(int row, int column, std::string* buffer) const
{
    if (column == 1) {
        const Span folded = mFoldedTermSpans[size_t(mRows[size_t(row)].term)];
        return folded.size < 0 ? std::string_view()
                               : std::string_view(mFoldedTerms.constData() + folded.offset, size_t(folded.size));
    }
    buffer->clear();
    if (column == 0) {
        char digits[24];
        const char* end = std::to_chars(digits, digits + sizeof digits, mRows[size_t(row)].id).ptr;
        buffer->assign(digits, size_t(end - digits));
    } else {
        for (char c : text(textOf(row, column)))
            buffer->push_back(foldByte(c));
    }
    return *buffer;
}

void ExerciseSnapshot::rank(int column) const
{
    const std::vector<int>& order = mAscending[size_t(column)];
    std::vector<int>& ranks = mRanks[size_t(column)];
    ranks.resize(order.size());
    std::string a;
    std::string b;
    int r = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0) {
            const int x = order[i - 1];
            const int y = order[i];
            if (keyIsNull(x, column) != keyIsNull(y, column) || key(x, column, &a) != key(y, column, &b))
                ++r;
        }
        ranks[i] = r;
    }
}

std::shared_ptr<ExerciseSnapshot> ExerciseSnapshot::withExercisesRead(sqlite3* handle, const std::vector<qint64>& ids,
                                                                      qint64 lastId) const
{
    // Every term link with every recording link of an exercise, in link
    // order, as load() joins them.
    const std::string rowsSql = "SELECT e.mlmid, e.lclid, t.mv, mm.mmp, mm.mmfn, mm.cccid, mm.sp, mm.l, mm.v "
                                "FROM tm AS e CROSS JOIN m CROSS JOIN crlt AS term_link CROSS JOIN tm AS t "
                                "CROSS JOIN crlt AS media_link CROSS JOIN mm "
                                "WHERE e.tmttmtid = 2 AND m.lmid = e.mlmid "
                                "AND term_link.mprmid = e.mlmid AND t.mlmid = term_link.mchmid AND t.tmttmtid = 1 "
                                "AND media_link.mprmid = e.mlmid AND mm.mlmid = media_link.mchmid AND e.mlmid ";
    Statement one(handle, (rowsSql + "= ? ORDER BY term_link.crid, media_link.crid").c_str());
    Statement above(handle, (rowsSql + "> ? ORDER BY e.mlmid, term_link.crid, media_link.crid").c_str());
    if (!one.isValid() || !above.isValid())
        return nullptr;

    auto snapshot = std::make_shared<ExerciseSnapshot>(*this);
    ExerciseSnapshot& s = *snapshot;
    std::vector<Row> fresh;
    bool ok = true;
    auto read = [&s, &fresh, &ok](Statement& statement) {
        auto keep = [&s, &statement](int column) {
            return s.keepText(statement.text(column), statement.isNull(column));
        };
        while (statement.next(&ok)) {
            Row row;
            row.id = statement.integer(0);
            row.language = keep(1);
            const Span term = keep(2);
            s.mTerms.push_back(term);
            s.mFoldedTermSpans.push_back(s.foldTerm(term));
            row.term = int(s.mTerms.size()) - 1;
            std::array<Span, kMediaColumns> media;
            for (int c = 0; c < kMediaColumns; ++c)
                media[size_t(c)] = keep(c + 3);
            s.mMedia.push_back(media);
            row.media = int(s.mMedia.size()) - 1;
            fresh.push_back(row);
        }
    };
    std::vector<qint64> changed = ids;
    std::sort(changed.begin(), changed.end());
    changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
    for (qint64 id : changed) {
        if (id > lastId)
            continue; // read with the rows above
        if (!one.bind(1, id))
            return nullptr;
        read(one);
        one.reset();
    }
    if (!above.bind(1, lastId))
        return nullptr;
    read(above);
    if (!ok || s.mText.size() > qsizetype(0x7fffffff))
        return nullptr;

    // The kept rows and the fresh ones, in ascending id; the rows of one
    // exercise stay in link order.
    std::stable_sort(fresh.begin(), fresh.end(), [](const Row& a, const Row& b) { return a.id < b.id; });
    auto isChanged = [&changed](qint64 id) { return std::binary_search(changed.begin(), changed.end(), id); };
    std::vector<int> oldToNew(mRows.size(), -1);
    std::vector<int> freshRows;
    freshRows.reserve(fresh.size());
    s.mRows.clear();
    s.mRows.reserve(mRows.size() + fresh.size());
    size_t f = 0;
    for (size_t old = 0; old <= mRows.size(); ++old) {
        const qint64 bound = old < mRows.size() ? mRows[old].id : std::numeric_limits<qint64>::max();
        while (f < fresh.size() && (fresh[f].id < bound || old == mRows.size())) {
            freshRows.push_back(int(s.mRows.size()));
            s.mRows.push_back(fresh[f++]);
        }
        if (old < mRows.size() && !isChanged(mRows[old].id)) {
            oldToNew[old] = int(s.mRows.size());
            s.mRows.push_back(mRows[old]);
        }
    }

    // Orders made so far drop the rows that went and take the fresh ones in;
    // equal keys stay in row order.
    for (int column = 0; column < kColumnCount; ++column) {
        if (!s.mSorted[size_t(column)])
            continue;
        std::string a;
        std::string b;
        auto less = [&s, column, &a, &b](int x, int y) {
            const bool nx = s.keyIsNull(x, column);
            const bool ny = s.keyIsNull(y, column);
            if (nx != ny)
                return nx;
            const int c = s.key(x, column, &a).compare(s.key(y, column, &b));
            return c != 0 ? c < 0 : x < y;
        };
        std::vector<int> kept;
        kept.reserve(s.mRows.size());
        for (int row : mAscending[size_t(column)]) {
            if (oldToNew[size_t(row)] >= 0)
                kept.push_back(oldToNew[size_t(row)]);
        }
        std::vector<int> added = freshRows;
        std::sort(added.begin(), added.end(), less);
        std::vector<int> merged;
        merged.reserve(kept.size() + added.size());
        std::merge(kept.begin(), kept.end(), added.begin(), added.end(), std::back_inserter(merged), less);
        s.mAscending[size_t(column)] = std::move(merged);
        s.rank(column);
    }
    return snapshot;
}
