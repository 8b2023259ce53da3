#include "storage/merge.h"

#include "storage/limits.h"

#include <QHash>

#include <algorithm>
#include <cstring>

namespace listora {

namespace {

// Past this many edits a diff costs more time and memory (quadratic in the
// edits) than a save may wait for; two versions of a list so far apart are
// paired by their texts instead.
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

// Pairs the entries of a at ia with those of b at ib that hold the same text,
// the k-th of a text among ia with its k-th among ib, wherever they lie.
template <typename Pair>
void pairByText(const QStringList &a, const std::vector<qsizetype> &ia, const QStringList &b,
                const std::vector<qsizetype> &ib, Pair pair)
{
    if (ia.empty() || ib.empty())
        return;
    // Each text's entries of ib in their order: first its earliest, next from there on.
    QHash<QString, qsizetype> first;
    first.reserve(qsizetype(ib.size()));
    std::vector<qsizetype> next(ib.size(), -1);
    for (size_t k = ib.size(); k-- > 0;) {
        const auto found = first.find(b[ib[k]]);
        if (found == first.end()) {
            first.insert(b[ib[k]], qsizetype(k));
        } else {
            next[k] = *found;
            *found = qsizetype(k);
        }
    }
    for (const qsizetype i : ia) {
        const auto found = first.find(a[i]);
        if (found == first.end() || *found < 0)
            continue;
        pair(i, ib[size_t(*found)]);
        *found = next[size_t(*found)];
    }
}

// Of the paired entries of a in [from, end), those in the longest run of pairs
// (i, to[i]) increasing in both stay where b holds them; the others moved.
void markMoved(const std::vector<int> &to, qsizetype from, qsizetype end, std::vector<char> *moved)
{
    std::vector<qsizetype> tails; // tails[l]: the i ending a run of l + 1 pairs at the least to[i]
    std::vector<qsizetype> before(size_t(end - from), -1);
    for (qsizetype i = from; i < end; ++i) {
        const qsizetype j = to[size_t(i)];
        if (j < 0)
            continue;
        const auto at = std::lower_bound(tails.begin(), tails.end(), j,
                                         [&](qsizetype t, qsizetype value) { return to[size_t(t)] < value; });
        before[size_t(i - from)] = at == tails.begin() ? -1 : *(at - 1);
        if (at == tails.end())
            tails.push_back(i);
        else
            *at = i;
        (*moved)[size_t(i)] = 1;
    }
    for (qsizetype i = tails.empty() ? -1 : tails.back(); i >= 0; i = before[size_t(i - from)])
        (*moved)[size_t(i)] = 0;
}

struct Matching {
    std::vector<int> to;     // for each entry of a, the entry of b it is, or -1
    std::vector<char> moved; // paired, but out of the order the pairs share
};

// Pairs the entries of a with those of b: a common subsequence stays in place
// (a longest one, unless entries repeat and a diff would cost too much), and
// what it leaves is paired by text, as moved. Each text ends with as many
// pairs as the side holding fewer of it has entries.
Matching matchAll(const QStringList &a, const QStringList &b)
{
    Matching m{std::vector<int>(size_t(a.size()), -1), std::vector<char>(size_t(a.size()), 0)};
    // Versions of one list share most of it: only the stretch between the
    // common start and end needs a diff.
    const qsizetype shorter = std::min(a.size(), b.size());
    qsizetype head = 0;
    while (head < shorter && sameEntry(a[head], b[head])) {
        m.to[size_t(head)] = int(head);
        ++head;
    }
    qsizetype tail = 0;
    while (tail < shorter - head && sameEntry(a[a.size() - 1 - tail], b[b.size() - 1 - tail])) {
        m.to[size_t(a.size() - 1 - tail)] = int(b.size() - 1 - tail);
        ++tail;
    }
    const qsizetype aEnd = a.size() - tail;
    const qsizetype bEnd = b.size() - tail;
    if (head == aEnd || head == bEnd)
        return m;

    // A diff pairs entries only once it has found its way through.
    const auto keep = [&](qsizetype i, qsizetype j) { m.to[size_t(i)] = int(j); };
    // After a diff, what it left may still have moved: paired by text.
    const auto pairRest = [&] {
        std::vector<qsizetype> restA;
        std::vector<qsizetype> restB;
        qsizetype nextB = head; // the diff's pairs increase in both
        for (qsizetype i = head; i < aEnd; ++i) {
            const qsizetype j = m.to[size_t(i)];
            if (j < 0) {
                restA.push_back(i);
                continue;
            }
            for (; nextB < j; ++nextB)
                restB.push_back(nextB);
            nextB = j + 1;
        }
        for (; nextB < bEnd; ++nextB)
            restB.push_back(nextB);
        pairByText(a, restA, b, restB, [&](qsizetype i, qsizetype j) {
            m.to[size_t(i)] = int(j);
            m.moved[size_t(i)] = 1;
        });
        return m;
    };
    if (diff(
            aEnd - head, bEnd - head, kQuickEdits,
            [&](int i, int j) { return sameEntry(a[head + i], b[head + j]); },
            [&](int i, int j) { keep(head + i, head + j); }))
        return pairRest();

    // Equal entries get one id, so the rest compares integers.
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

    // Where no entry that both hold repeats, pairs are known by their text and
    // the longest run of them in order is a longest common subsequence.
    // Repeated entries are better paired by a diff, when one is affordable.
    bool repeats = false;
    for (size_t id = 0; id < inA.size() && !repeats; ++id)
        repeats = inA[id] > 0 && inB[id] > 0 && (inA[id] > 1 || inB[id] > 1);
    if (repeats) {
        // An entry that only one side holds can never be paired: leaving it
        // out keeps the diff to the entries that moved about.
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
        if (diff(
                qsizetype(seqA.size()), qsizetype(seqB.size()), kMaxEdits,
                [&](int i, int j) { return seqA[size_t(i)] == seqB[size_t(j)]; },
                [&](int i, int j) { keep(placeA[size_t(i)], placeB[size_t(j)]); }))
            return pairRest();
    }

    // Each id's k-th entry of a with its k-th of b, and the longest run of
    // those pairs in order stays.
    std::vector<qsizetype> firstB(inA.size(), -1);
    std::vector<qsizetype> nextB(idsB.size(), -1);
    for (size_t j = idsB.size(); j-- > 0;) {
        nextB[j] = firstB[size_t(idsB[j])];
        firstB[size_t(idsB[j])] = qsizetype(j);
    }
    for (size_t i = 0; i < idsA.size(); ++i) {
        qsizetype &j = firstB[size_t(idsA[i])];
        if (j < 0)
            continue;
        m.to[head + i] = int(head + j);
        j = nextB[size_t(j)];
    }
    markMoved(m.to, head, aEnd, &m.moved);
    return m;
}

struct ListMerge {
    QStringList entries;
    qsizetype added = 0;
    qsizetype removed = 0;
};

// What became of an entry of ours or theirs.
enum class Fate : char {
    New,     // only this side holds it
    Gone,    // of base, and the other side removed or changed it
    Kept,    // both hold it, where ours has it
    Follows, // both hold it, where theirs moved it and ours left it
};

ListMerge mergeList(const QStringList &base, const QStringList &theirs, const QStringList &ours)
{
    const Matching inOurs = matchAll(base, ours);
    const Matching inTheirs = matchAll(base, theirs);
    // For each entry of a side, its fate and the other side's entry it is.
    std::vector<Fate> oursFate(size_t(ours.size()), Fate::New);
    std::vector<Fate> theirsFate(size_t(theirs.size()), Fate::New);
    std::vector<int> oursPeer(size_t(ours.size()), -1);
    std::vector<int> theirsPeer(size_t(theirs.size()), -1);
    ListMerge out;
    for (size_t k = 0; k < inOurs.to.size(); ++k) {
        const qsizetype o = inOurs.to[k];
        const qsizetype t = inTheirs.to[k];
        if (o >= 0 && t >= 0) {
            const Fate fate = inTheirs.moved[k] && !inOurs.moved[k] ? Fate::Follows : Fate::Kept;
            oursFate[size_t(o)] = theirsFate[size_t(t)] = fate;
            oursPeer[size_t(o)] = int(t);
            theirsPeer[size_t(t)] = int(o);
        } else if (o >= 0) {
            oursFate[size_t(o)] = Fate::Gone;
            ++out.removed; // on screen, but the other program dropped or changed it
        } else if (t >= 0) {
            theirsFate[size_t(t)] = Fate::Gone;
        }
    }
    // What both sides added alike is kept once, where ours has it.
    std::vector<qsizetype> newOurs;
    std::vector<qsizetype> newTheirs;
    for (qsizetype i = 0; i < ours.size(); ++i)
        if (oursFate[size_t(i)] == Fate::New)
            newOurs.push_back(i);
    for (qsizetype j = 0; j < theirs.size(); ++j)
        if (theirsFate[size_t(j)] == Fate::New)
            newTheirs.push_back(j);
    pairByText(ours, newOurs, theirs, newTheirs, [&](qsizetype i, qsizetype j) {
        oursFate[size_t(i)] = theirsFate[size_t(j)] = Fate::Kept;
        oursPeer[size_t(i)] = int(j);
        theirsPeer[size_t(j)] = int(i);
    });

    // The entries kept where ours has them come in ours' order. After each
    // come the new entries of ours up to the next entry both hold, then those
    // of theirs, among them the entries only theirs moved, each again with the
    // new ones of ours after it: an added entry follows the one it follows on
    // its side, wherever that went.
    out.entries.reserve(ours.size() - out.removed + qsizetype(newTheirs.size()));
    // Entries of ours mostly come in runs, appended a run at a time.
    qsizetype runFrom = 0;
    qsizetype runTo = 0;
    const auto flush = [&] { out.entries.append(ours.cbegin() + runFrom, ours.cbegin() + runTo); };
    const auto appendOurs = [&](qsizetype i) {
        if (i != runTo) {
            flush();
            runFrom = i;
        }
        runTo = i + 1;
    };
    const auto oursAfter = [&](qsizetype i) {
        for (++i; i < ours.size(); ++i) {
            const Fate fate = oursFate[size_t(i)];
            if (fate == Fate::New)
                appendOurs(i);
            else if (fate != Fate::Gone)
                return;
        }
    };
    const auto theirsFrom = [&](qsizetype j) {
        for (; j < theirs.size(); ++j) {
            switch (theirsFate[size_t(j)]) {
            case Fate::New:
                flush();
                runFrom = runTo;
                out.entries.append(theirs[j]);
                ++out.added;
                break;
            case Fate::Follows:
                appendOurs(theirsPeer[size_t(j)]);
                oursAfter(theirsPeer[size_t(j)]);
                break;
            case Fate::Gone:
                break;
            case Fate::Kept:
                return;
            }
        }
    };
    oursAfter(-1);
    theirsFrom(0);
    for (qsizetype i = 0; i < ours.size(); ++i) {
        if (oursFate[size_t(i)] != Fate::Kept)
            continue;
        appendOurs(i);
        oursAfter(i);
        theirsFrom(oursPeer[size_t(i)] + 1);
    }
    flush();
    return out;
}

} // namespace

std::vector<qsizetype> matchEntries(const QStringList &a, const QStringList &b)
{
    const Matching m = matchAll(a, b);
    std::vector<qsizetype> out(m.to.size(), -1);
    for (size_t i = 0; i < m.to.size(); ++i)
        if (!m.moved[i])
            out[i] = m.to[i];
    return out;
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
