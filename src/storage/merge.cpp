#include "storage/merge.h"

#include "tasks/capacity.h"

#include <QHash>

#include <algorithm>
#include <cstring>

namespace listora {

namespace {

// Past this many edits a diff costs more time and memory (quadratic in the
// edits) than a save may wait for; two versions of a list so far apart are
// merged as a whole instead.
constexpr int kMaxEdits = 1000;
// A few edits are found quickest on the entries themselves: hashing every
// entry first would cost more than the whole diff.
constexpr int kQuickEdits = 64;

// Most entries on both sides are the very same string, shared since they were
// read; the others are compared as bytes, which the C library does faster than
// QString's ordering comparison that its == uses.
bool sameEntry(const QString &x, const QString &y)
{
    return x.size() == y.size()
        && (x.constData() == y.constData()
            || std::memcmp(x.constData(), y.constData(), size_t(x.size()) * sizeof(QChar)) == 0);
}

// Myers' greedy diff of two sequences, told apart by same(i, j). trace holds,
// for each number of edits d and each diagonal k = x - y from -d to d, how
// far along x a path of d edits reaches, or -1 where none reaches.
template <typename Same>
class Myers {
public:
    Myers(int n, int m, Same same) : n_(n), m_(m), same_(same) {}

    // Calls pair(i, j) for each entry i of the first kept as entry j of the
    // second; false when more than maxEdits edits would be needed.
    template <typename Pair>
    bool run(int maxEdits, Pair pair)
    {
        const int maxD = std::min(n_ + m_, maxEdits);
        for (int d = 0; d <= maxD; ++d) {
            trace_.resize(size_t(d + 1) * size_t(d + 1), -1);
            for (int k = -d; k <= d; k += 2) {
                bool down = false;
                int x = start(d, k, &down);
                if (x < 0)
                    continue;
                int y = x - k;
                while (x < n_ && y < m_ && same_(x, y)) {
                    ++x;
                    ++y;
                }
                at(d, k) = x;
                if (x == n_ && y == m_) {
                    backtrack(d, pair);
                    return true;
                }
            }
        }
        return false;
    }

private:
    int &at(int d, int k) { return trace_[size_t(d) * size_t(d) + size_t(d + k)]; }

    // Where a path of d edits begins its run of equal entries on diagonal k,
    // and whether its last edit was an insertion (down) rather than a
    // deletion; -1 when no path stays inside both sequences.
    int start(int d, int k, bool *down)
    {
        if (d == 0)
            return 0;
        int fromAbove = k + 1 <= d - 1 ? at(d - 1, k + 1) : -1;
        if (fromAbove >= 0 && fromAbove - k > m_)
            fromAbove = -1;
        int fromLeft = k - 1 >= -(d - 1) ? at(d - 1, k - 1) : -1;
        if (fromLeft >= 0 && ++fromLeft > n_)
            fromLeft = -1;
        *down = fromAbove >= fromLeft;
        return std::max(fromAbove, fromLeft);
    }

    template <typename Pair>
    void backtrack(int d, Pair pair)
    {
        int x = n_;
        int y = m_;
        for (; d > 0; --d) {
            const int k = x - y;
            bool down = false;
            const int sx = start(d, k, &down);
            for (int i = sx; i < x; ++i)
                pair(i, i - k);
            x = down ? sx : sx - 1;
            y = down ? sx - k - 1 : sx - k;
        }
        for (int i = 0; i < x; ++i)
            pair(i, i);
    }

    const int n_;
    const int m_;
    Same same_;
    std::vector<int> trace_;
};

template <typename Same, typename Pair>
bool diff(qsizetype n, qsizetype m, int maxEdits, Same same, Pair pair)
{
    Myers<Same> myers(int(n), int(m), same);
    return myers.run(maxEdits, pair);
}

struct ListMerge {
    QStringList entries;
    qsizetype added = 0;
    qsizetype removed = 0;
};

// Both sides' new entries in one stretch: what both added alike once, the
// rest in their order, ours before theirs.
void unite(const QStringList &ours, const QStringList &theirs, ListMerge *out)
{
    if (theirs.isEmpty()) {
        out->entries += ours;
        return;
    }
    if (ours.isEmpty()) {
        out->entries += theirs;
        out->added += theirs.size();
        return;
    }
    const std::vector<qsizetype> common = matchEntries(ours, theirs);
    qsizetype i0 = 0;
    qsizetype j0 = 0;
    for (qsizetype i = 0; i <= ours.size(); ++i) {
        if (i < ours.size() && common[size_t(i)] < 0)
            continue;
        const qsizetype jEnd = i < ours.size() ? common[size_t(i)] : theirs.size();
        out->entries += ours.mid(i0, i - i0);
        out->entries += theirs.mid(j0, jEnd - j0);
        out->added += jEnd - j0;
        if (i < ours.size())
            out->entries += ours[i];
        i0 = i + 1;
        j0 = jEnd + 1;
    }
}

ListMerge mergeList(const QStringList &base, const QStringList &theirs, const QStringList &ours)
{
    const std::vector<qsizetype> inOurs = matchEntries(base, ours);
    const std::vector<qsizetype> inTheirs = matchEntries(base, theirs);
    // Entries of each side that stand for an entry of base; the others are new.
    std::vector<bool> oursFromBase(size_t(ours.size()), false);
    std::vector<bool> theirsFromBase(size_t(theirs.size()), false);
    for (size_t k = 0; k < inOurs.size(); ++k) {
        if (inOurs[k] >= 0)
            oursFromBase[size_t(inOurs[k])] = true;
        if (inTheirs[k] >= 0)
            theirsFromBase[size_t(inTheirs[k])] = true;
    }

    ListMerge out;
    out.entries.reserve(std::max(ours.size(), theirs.size()));
    qsizetype nextOurs = 0;
    qsizetype nextTheirs = 0;
    QStringList newOurs;
    QStringList newTheirs;
    // The new entries of each side up to the given ends, in their places.
    const auto stretch = [&](qsizetype oursEnd, qsizetype theirsEnd) {
        newOurs.clear();
        newTheirs.clear();
        for (qsizetype i = nextOurs; i < oursEnd; ++i)
            if (!oursFromBase[size_t(i)])
                newOurs += ours[i];
        for (qsizetype j = nextTheirs; j < theirsEnd; ++j)
            if (!theirsFromBase[size_t(j)])
                newTheirs += theirs[j];
        unite(newOurs, newTheirs, &out);
    };
    // Entries both sides left alone come in runs, appended a run at a time.
    qsizetype run = 0;
    for (size_t k = 0; k < inOurs.size(); ++k) {
        const qsizetype o = inOurs[k];
        const qsizetype t = inTheirs[k];
        if (o >= 0 && t >= 0) {
            // Left alone by both: it stays, and fixes the place of what came around it.
            if (o != nextOurs || t != nextTheirs) {
                out.entries.append(ours.cbegin() + run, ours.cbegin() + nextOurs);
                stretch(o, t);
                run = o;
            }
            nextOurs = o + 1;
            nextTheirs = t + 1;
        } else if (o >= 0) {
            ++out.removed; // on screen, but the other program dropped or changed it
        }
    }
    out.entries.append(ours.cbegin() + run, ours.cbegin() + nextOurs);
    stretch(ours.size(), theirs.size());
    return out;
}

} // namespace

std::vector<qsizetype> matchEntries(const QStringList &a, const QStringList &b)
{
    std::vector<qsizetype> match(size_t(a.size()), -1);
    // Versions of one list share most of it: only the stretch between the
    // common start and end needs a diff.
    const qsizetype shorter = std::min(a.size(), b.size());
    qsizetype head = 0;
    while (head < shorter && sameEntry(a[head], b[head])) {
        match[size_t(head)] = head;
        ++head;
    }
    qsizetype tail = 0;
    while (tail < shorter - head && sameEntry(a[a.size() - 1 - tail], b[b.size() - 1 - tail])) {
        match[size_t(a.size() - 1 - tail)] = b.size() - 1 - tail;
        ++tail;
    }
    const qsizetype aEnd = a.size() - tail;
    const qsizetype bEnd = b.size() - tail;
    if (head == aEnd || head == bEnd)
        return match;

    std::vector<std::pair<qsizetype, qsizetype>> pairs;
    const auto keep = [&](qsizetype i, qsizetype j) { pairs.emplace_back(i, j); };
    if (diff(
            aEnd - head, bEnd - head, kQuickEdits,
            [&](int i, int j) { return sameEntry(a[head + i], b[head + j]); },
            [&](int i, int j) { keep(head + i, head + j); })) {
        for (const auto &[i, j] : pairs)
            match[size_t(i)] = j;
        return match;
    }
    pairs.clear();

    // Equal entries get one id, so the diff compares integers.
    QHash<QString, int> ids;
    ids.reserve(aEnd - head + bEnd - head);
    std::vector<int> inA;
    std::vector<int> inB;
    const auto idsOf = [&](const QStringList &list, qsizetype from, qsizetype to, std::vector<int> &count) {
        std::vector<int> out;
        out.reserve(size_t(to - from));
        for (qsizetype i = from; i < to; ++i) {
            auto found = ids.constFind(list[i]);
            if (found == ids.constEnd()) {
                found = ids.insert(list[i], int(ids.size()));
                inA.push_back(0);
                inB.push_back(0);
            }
            const int got = *found;
            ++count[size_t(got)];
            out.push_back(got);
        }
        return out;
    };
    const std::vector<int> idsA = idsOf(a, head, aEnd, inA);
    const std::vector<int> idsB = idsOf(b, head, bEnd, inB);

    // An entry that only one side holds can never be matched: leaving it out
    // keeps the diff to the entries that moved about.
    std::vector<int> seqA;
    std::vector<int> seqB;
    std::vector<qsizetype> placeA;
    std::vector<qsizetype> placeB;
    for (size_t i = 0; i < idsA.size(); ++i) {
        if (inB[size_t(idsA[i])]) {
            seqA.push_back(idsA[i]);
            placeA.push_back(head + qsizetype(i));
        }
    }
    for (size_t j = 0; j < idsB.size(); ++j) {
        if (inA[size_t(idsB[j])]) {
            seqB.push_back(idsB[j]);
            placeB.push_back(head + qsizetype(j));
        }
    }
    if (seqA.empty() || seqB.empty())
        return match;
    if (diff(
            qsizetype(seqA.size()), qsizetype(seqB.size()), kMaxEdits,
            [&](int i, int j) { return seqA[size_t(i)] == seqB[size_t(j)]; },
            [&](int i, int j) { keep(placeA[size_t(i)], placeB[size_t(j)]); })) {
        for (const auto &[i, j] : pairs)
            match[size_t(i)] = j;
    }
    return match;
}

MergeResult mergeTaskLists(const TaskLists &base, const TaskLists &theirs, const TaskLists &ours)
{
    MergeResult result;
    ListMerge first = mergeList(base.first, theirs.first, ours.first);
    ListMerge second = mergeList(base.second, theirs.second, ours.second);
    // A count line cannot say more; the caller keeps the lists as they were.
    if (first.entries.size() > kMaxListEntries || second.entries.size() > kMaxListEntries) {
        result.overfullList = first.entries.size() > kMaxListEntries ? 0 : 1;
        return result;
    }
    result.ok = true;
    result.lists.first = std::move(first.entries);
    result.lists.second = std::move(second.entries);
    result.addedByOther = first.added + second.added;
    result.removedByOther = first.removed + second.removed;
    return result;
}

QString otherProgramChangesText(qsizetype added, qsizetype removed)
{
    const qsizetype first = added > 0 ? added : removed; // the number the noun follows
    const QString entries = first == 1 ? QStringLiteral("entry") : QStringLiteral("entries");
    if (added > 0 && removed > 0)
        return QStringLiteral("%1 %2 added, %3 removed by the other program").arg(added).arg(entries).arg(removed);
    if (added > 0)
        return QStringLiteral("%1 %2 added by the other program").arg(added).arg(entries);
    if (removed > 0)
        return QStringLiteral("%1 %2 removed by the other program").arg(removed).arg(entries);
    return QStringLiteral("No entries added or removed by the other program");
}

} // namespace listora
