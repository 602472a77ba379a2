#pragma once

#include <QByteArray>
#include <QVariant>

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

// Every row of the exercise view (exercise, term and recording), read once
// and then only read: the columns mlmid, mv, lclid, mmp, mmfn, cccid, sp, l,
// v. Rows are kept in ascending local id. Sort orders are worked out when
// first asked for and kept with the rows.
class ExerciseSnapshot
{
public:
    static constexpr int kColumnCount = 9;

    // Reads the rows through the connection's own handle; null when a
    // statement fails, or when stop turns true before the last row.
    static std::shared_ptr<ExerciseSnapshot> load(sqlite3* handle, const std::atomic<bool>* stop = nullptr);

    int rowCount() const { return int(mRows.size()); }
    qint64 id(int row) const { return mRows[size_t(row)].id; }
    // The value as the view's statement yields it: the id as a number, texts
    // as strings, a null text as a null string.
    QVariant value(int row, int column) const;

    // Rows whose term contains the fragment (ASCII letters without regard to
    // case, as LIKE compares) and, when languageId is not empty, whose
    // language is that id; in the order of lower(column), NULL first, ties by
    // ascending local id (also when descending). A column outside 0..8
    // leaves the rows in local id order.
    std::vector<int> select(const QString& fragment, const QString& languageId, int column, bool descending) const;

    // Works out a column's ascending order now rather than at the first search
    // that asks for it; only before the snapshot is shared.
    void prepareOrder(int column) const;

    // Bytes held by the rows and the sort orders made so far.
    qint64 memoryBytes() const;

    // A copy as a new read would give it when, since this one was read, only
    // the exercises in ids and those above lastId changed (the store's own
    // writes): their rows are read again, the others kept. Sort orders made so
    // far are carried over. Null when a statement fails.
    std::shared_ptr<ExerciseSnapshot> withExercisesRead(sqlite3* handle, const std::vector<qint64>& ids,
                                                        qint64 lastId) const;

private:
    struct Span
    {
        quint32 offset = 0;
        qint32 size = -1; // -1: NULL
    };
    struct Row
    {
        qint64 id = 0;
        int term = 0;  // index into mTerms
        Span language; // exercise's language id
        int media = 0; // index into mMedia
    };
    static constexpr int kMediaColumns = 6; // mmp, mmfn, cccid, sp, l, v

    std::string_view text(Span span) const;
    // Appends a value to the texts; a null span for NULL.
    Span keepText(std::string_view bytes, bool isNull);
    // Appends the term with ASCII letters lowered to the folded terms.
    Span foldTerm(Span term);
    Span textOf(int row, int column) const;
    const std::vector<int>& ascending(int column) const;
    // The sort key lower() gives the row's value; null for NULL.
    bool keyIsNull(int row, int column) const;
    std::string_view key(int row, int column, std::string* buffer) const;
    // Ranks of a column's ascending order worked out again.
    void rank(int column) const;

    QByteArray mText;        // every text value, UTF-8
    QByteArray mFoldedTerms; // the terms with ASCII letters lowered, end to end in term order
    std::vector<Span> mTerms;
    std::vector<Span> mFoldedTermSpans;
    std::vector<std::array<Span, kMediaColumns>> mMedia;
    std::vector<Row> mRows;
    // Per column: rows in ascending order of lower(column), and for each
    // position the rank of its key (equal keys, equal rank).
    mutable std::array<std::vector<int>, kColumnCount> mAscending;
    mutable std::array<std::vector<int>, kColumnCount> mRanks;
    mutable std::array<bool, kColumnCount> mSorted{};
};
