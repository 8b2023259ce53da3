// Merging the lists on screen with a task file another program changed.
#include "storage/merge.h"
#include "tasks/capacity.h"

#include <QElapsedTimer>
#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <array>

using namespace listora;

namespace {

QStringList numbered(const QString &prefix, int n)
{
    QStringList out;
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out.append(prefix + QString::number(i));
    return out;
}

} // namespace

class TestMerge : public QObject {
    Q_OBJECT
private slots:
    void merge_data();
    void merge();
    void listsMergeApart();
    void tooManyEntries_data();
    void tooManyEntries();
    void oursKeepTheirStrings();
    void longListsStayQuick();
    void farApartListsLoseNothing();
    void randomEdits_data();
    void randomEdits();
    void changesText_data();
    void changesText();
};

void TestMerge::merge_data()
{
    QTest::addColumn<QStringList>("base");
    QTest::addColumn<QStringList>("theirs");
    QTest::addColumn<QStringList>("ours");
    QTest::addColumn<QStringList>("merged");
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("removed");
    using L = QStringList;

    QTest::newRow("nothing changed") << L{"a", "b", "c"} << L{"a", "b", "c"} << L{"a", "b", "c"}
                                     << L{"a", "b", "c"} << 0 << 0;
    QTest::newRow("added by ours") << L{"a", "b", "c"} << L{"a", "b", "c"} << L{"a", "o", "b", "c"}
                                   << L{"a", "o", "b", "c"} << 0 << 0;
    QTest::newRow("added by theirs") << L{"a", "b", "c"} << L{"a", "b", "t", "c"} << L{"a", "b", "c"}
                                     << L{"a", "b", "t", "c"} << 1 << 0;
    QTest::newRow("added on each side, apart") << L{"a", "b", "c"} << L{"a", "b", "t", "c"} << L{"a", "o", "b", "c"}
                                               << L{"a", "o", "b", "t", "c"} << 1 << 0;
    QTest::newRow("added on each side, same place") << L{"a", "b"} << L{"a", "t", "b"} << L{"a", "o", "b"}
                                                    << L{"a", "o", "t", "b"} << 1 << 0;
    QTest::newRow("added at the start by theirs") << L{"a", "b"} << L{"t", "a", "b"} << L{"a", "b"}
                                                  << L{"t", "a", "b"} << 1 << 0;
    QTest::newRow("removed by ours") << L{"a", "b", "c"} << L{"a", "b", "c"} << L{"a", "c"} << L{"a", "c"} << 0 << 0;
    QTest::newRow("removed by theirs") << L{"a", "b", "c"} << L{"a", "c"} << L{"a", "b", "c"} << L{"a", "c"} << 0
                                       << 1;
    QTest::newRow("removed on each side") << L{"a", "b", "c"} << L{"a", "b"} << L{"a", "c"} << L{"a"} << 0 << 1;
    QTest::newRow("removed on both alike") << L{"a", "b", "c"} << L{"a", "c"} << L{"a", "c"} << L{"a", "c"} << 0
                                           << 0;
    QTest::newRow("removed on each side, neighbours") << L{"a", "b", "c", "d"} << L{"a", "d"} << L{"a", "c", "d"}
                                                      << L{"a", "d"} << 0 << 1;
    QTest::newRow("theirs emptied the list") << L{"a", "b"} << L{} << L{"a", "b", "o"} << L{"o"} << 0 << 2;
    QTest::newRow("changed by theirs") << L{"a", "b", "c"} << L{"a", "B", "c"} << L{"a", "b", "c"}
                                       << L{"a", "B", "c"} << 1 << 1;
    QTest::newRow("changed on both, ours first") << L{"a", "b", "c"} << L{"a", "b2", "c"} << L{"a", "b1", "c"}
                                                 << L{"a", "b1", "b2", "c"} << 1 << 0;
    QTest::newRow("changed on both alike") << L{"a", "b", "c"} << L{"a", "B", "c"} << L{"a", "B", "c"}
                                           << L{"a", "B", "c"} << 0 << 0;
    QTest::newRow("changed on both, one line more on theirs")
        << L{"a", "b", "c"} << L{"a", "B", "t", "c"} << L{"a", "B", "c"} << L{"a", "B", "t", "c"} << 1 << 0;
    QTest::newRow("changed on both, overlapping stretches")
        << L{"a", "b", "c", "d"} << L{"a", "b", "c2", "d"} << L{"a", "b1", "c1", "d"}
        << L{"a", "b1", "c1", "c2", "d"} << 1 << 0;
    QTest::newRow("changed by ours, removed by theirs") << L{"a", "b", "c"} << L{"a", "c"} << L{"a", "b1", "c"}
                                                        << L{"a", "b1", "c"} << 0 << 0;
    QTest::newRow("removed by ours, changed by theirs") << L{"a", "b", "c"} << L{"a", "b2", "c"} << L{"a", "c"}
                                                        << L{"a", "b2", "c"} << 1 << 0;
    QTest::newRow("both adding at the end") << L{"a"} << L{"a", "t"} << L{"a", "o"} << L{"a", "o", "t"} << 1 << 0;
    QTest::newRow("both adding the same at the end") << L{"a"} << L{"a", "n"} << L{"a", "n"} << L{"a", "n"} << 0 << 0;
    QTest::newRow("both adding at the end, theirs more")
        << L{"a"} << L{"a", "n", "t"} << L{"a", "n"} << L{"a", "n", "t"} << 1 << 0;
    QTest::newRow("both adding at the end, common one between")
        << L{"a"} << L{"a", "n", "t"} << L{"a", "o", "n"} << L{"a", "o", "n", "t"} << 1 << 0;
    QTest::newRow("empty base") << L{} << L{"t"} << L{"o1", "o2"} << L{"o1", "o2", "t"} << 1 << 0;
    QTest::newRow("empty base, same lists") << L{} << L{"x", "y"} << L{"x", "y"} << L{"x", "y"} << 0 << 0;
    QTest::newRow("empty base, overlapping lists") << L{} << L{"a", "c", "d"} << L{"a", "b", "c"}
                                                   << L{"a", "b", "c", "d"} << 1 << 0;
    QTest::newRow("empty base, empty ours") << L{} << L{"t"} << L{} << L{"t"} << 1 << 0;
    QTest::newRow("all empty") << L{} << L{} << L{} << L{} << 0 << 0;
    QTest::newRow("duplicates: theirs removed one of two")
        << L{"x", "x", "y"} << L{"x", "y"} << L{"x", "x", "y", "z"} << L{"x", "y", "z"} << 0 << 1;
    QTest::newRow("duplicates: ours added another") << L{"x"} << L{"x", "t"} << L{"x", "x"} << L{"x", "x", "t"} << 1
                                                    << 0;
    QTest::newRow("duplicates: both added another") << L{"x"} << L{"x", "x"} << L{"x", "x"} << L{"x", "x"} << 0 << 0;
    QTest::newRow("duplicates: theirs added one between")
        << L{"x", "x"} << L{"x", "t", "x"} << L{"x", "x"} << L{"x", "t", "x"} << 1 << 0;
    QTest::newRow("duplicates: empty entries") << L{"", "a", ""} << L{"", "a", "", ""} << L{"", ""}
                                               << L{"", "", ""} << 1 << 0;
    QTest::newRow("moved by theirs") << L{"a", "b", "c", "d"} << L{"a", "c", "d", "b"} << L{"a", "b", "c", "d"}
                                     << L{"a", "c", "d", "b"} << 0 << 0;
    QTest::newRow("moved by ours") << L{"a", "b", "c", "d"} << L{"a", "b", "c", "d"} << L{"a", "c", "d", "b"}
                                   << L{"a", "c", "d", "b"} << 0 << 0;
    QTest::newRow("moved by both alike") << L{"a", "b", "c", "d"} << L{"a", "c", "d", "b"} << L{"a", "c", "d", "b"}
                                         << L{"a", "c", "d", "b"} << 0 << 0;
    QTest::newRow("moved by theirs, changed by ours") << L{"a", "b", "c", "d"} << L{"a", "c", "d", "b"}
                                                      << L{"a", "b1", "c", "d"} << L{"a", "b1", "c", "d"} << 0 << 0;
    QTest::newRow("moved by ours, removed by theirs") << L{"a", "b", "c", "d"} << L{"a", "c", "d"}
                                                      << L{"d", "c", "b", "a"} << L{"d", "c", "a"} << 0 << 1;
    QTest::newRow("moved apart on each side") << L{"a", "b", "c", "d"} << L{"b", "a", "c", "d"}
                                              << L{"a", "b", "d", "c"} << L{"b", "a", "d", "c"} << 0 << 0;
    QTest::newRow("moved on both, ours wins") << L{"a", "b", "c", "d", "e"} << L{"b", "c", "d", "e", "a"}
                                              << L{"b", "c", "a", "d", "e"} << L{"b", "c", "a", "d", "e"} << 0 << 0;
    QTest::newRow("moved by theirs, added after it by ours") << L{"a", "b", "c", "d"} << L{"a", "c", "d", "b"}
                                                             << L{"a", "b", "o", "c", "d"}
                                                             << L{"a", "c", "d", "b", "o"} << 0 << 0;

    // More edits than the quick diff on the entries takes: the one over their ids.
    const QStringList many = numbered(QStringLiteral("n"), 300);
    QStringList everyThirdGone;
    for (int i = 0; i < many.size(); ++i)
        if (i % 3 != 0)
            everyThirdGone.append(many[i]);
    QStringList oursInMany = many;
    oursInMany.insert(150, QStringLiteral("o"));
    QStringList mergedMany = everyThirdGone;
    mergedMany.insert(100, QStringLiteral("o"));
    QTest::newRow("a hundred removed by theirs") << many << everyThirdGone << oursInMany << mergedMany << 0 << 100;
    QStringList theirsMany = many;
    for (int i = 0; i < many.size(); i += 2)
        theirsMany[i] += QStringLiteral(" changed");
    QStringList oursMany = many;
    oursMany.insert(0, QStringLiteral("o"));
    QTest::newRow("a hundred and fifty changed by theirs")
        << many << theirsMany << oursMany << QStringList{"o"} + theirsMany << 150 << 150;
    QTest::newRow("repeated entries among a hundred and fifty changed by theirs")
        << L{"x", "y", "x"} + many << L{"y", "x"} + theirsMany << L{"x", "o", "y", "x"} + many
        << L{"o", "y", "x"} + theirsMany << 150 << 151;

    const QStringList fifty = numbered(QStringLiteral("daily "), kFirstListCapacity);
    QTest::newRow("past the first list's capacity") << fifty << fifty + L{"t"} << fifty + L{"o"}
                                                    << fifty + L{"o", "t"} << 1 << 0;
    const QStringList full = numbered(QStringLiteral("backlog "), kSecondListCapacity);
    QTest::newRow("past the second list's capacity")
        << full << L{"t"} + full << full.mid(1) + L{"o"} << L{"t"} + full.mid(1) + L{"o"} << 1 << 0;
}

void TestMerge::merge()
{
    QFETCH(QStringList, base);
    QFETCH(QStringList, theirs);
    QFETCH(QStringList, ours);
    QFETCH(QStringList, merged);
    QFETCH(int, added);
    QFETCH(int, removed);

    // Each list on its own: the same rows in the second list, the first left alone.
    for (int list : {0, 1}) {
        const QStringList same{QStringLiteral("same")};
        const auto lists = [&](const QStringList &l) { return list == 0 ? TaskLists{l, same} : TaskLists{same, l}; };
        const MergeResult result = mergeTaskLists(lists(base), lists(theirs), lists(ours));
        QVERIFY(result.ok);
        QCOMPARE(result.lists, lists(merged));
        QCOMPARE(result.addedByOther, added);
        QCOMPARE(result.removedByOther, removed);
    }
}

void TestMerge::listsMergeApart()
{
    // An entry the other program moved to the other list: gone from one, new in the other.
    const TaskLists base{{"a", "b"}, {"c"}};
    const TaskLists theirs{{"a"}, {"c", "b"}};
    const TaskLists ours{{"a", "b", "o"}, {"c"}};
    const MergeResult result = mergeTaskLists(base, theirs, ours);
    QVERIFY(result.ok);
    QCOMPARE(result.lists, (TaskLists{{"a", "o"}, {"c", "b"}}));
    QCOMPARE(result.addedByOther, 1);
    QCOMPARE(result.removedByOther, 1);
}

void TestMerge::tooManyEntries_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("oursSize");
    QTest::addColumn<int>("theirsSize");
    QTest::addColumn<bool>("ok");

    QTest::newRow("first list exactly full") << 0 << kMaxListEntries - 10 << 10 << true;
    QTest::newRow("first list one past") << 0 << kMaxListEntries - 10 << 11 << false;
    QTest::newRow("second list one past") << 1 << 11 << kMaxListEntries - 10 << false;
    QTest::newRow("both sides full") << 1 << kMaxListEntries << kMaxListEntries << false;
}

void TestMerge::tooManyEntries()
{
    QFETCH(int, list);
    QFETCH(int, oursSize);
    QFETCH(int, theirsSize);
    QFETCH(bool, ok);

    // Nothing in common: every entry of both sides stays.
    const QStringList o = numbered(QStringLiteral("ours "), oursSize);
    const QStringList t = numbered(QStringLiteral("theirs "), theirsSize);
    const auto lists = [&](const QStringList &l) { return list == 0 ? TaskLists{l, {}} : TaskLists{{}, l}; };
    const MergeResult result = mergeTaskLists(lists({}), lists(t), lists(o));
    QCOMPARE(result.ok, ok);
    if (ok) {
        QCOMPARE(result.lists, lists(o + t));
        QCOMPARE(result.addedByOther, theirsSize);
    } else {
        QCOMPARE(result.overfullList, list);
        QCOMPARE(result.lists, TaskLists{});
    }
}

void TestMerge::oursKeepTheirStrings()
{
    // Lines kept as read are known by their string: a merge must not copy ours' entries.
    const QStringList base{"a", "b", "c"};
    const QStringList ours{QString::fromLatin1("a"), QString::fromLatin1("b"), QString::fromLatin1("o")};
    const QStringList theirs{"a", "t", "b", "c"};
    const MergeResult result = mergeTaskLists({base, {}}, {theirs, {}}, {ours, {}});
    QCOMPARE(result.lists.first, (QStringList{"a", "t", "b", "o"}));
    QCOMPARE(result.lists.first[0].constData(), ours[0].constData());
    QCOMPARE(result.lists.first[2].constData(), ours[1].constData());
    QCOMPARE(result.lists.first[3].constData(), ours[2].constData());
}

void TestMerge::longListsStayQuick()
{
    // Lists at the limit, a few changes at the ends and in the middle on each side.
    const QStringList base = numbered(QStringLiteral("A task of a long backlog, number "), kMaxListEntries - 1);
    QStringList theirs = base;
    QStringList ours = base;
    theirs.insert(0, QStringLiteral("theirs first"));
    theirs.removeAt(20000);
    theirs[30000] = QStringLiteral("theirs changed");
    theirs.append(QStringLiteral("theirs last"));
    ours.removeAt(5);
    ours.insert(16000, QStringLiteral("ours middle"));
    ours[30000] = QStringLiteral("ours changed");
    ours.removeLast();

    QElapsedTimer clock;
    clock.start();
    const MergeResult result = mergeTaskLists({base, base}, {theirs, base}, {ours, theirs});
    const qint64 ms = clock.elapsed();

    QStringList expected = base;
    expected.insert(0, QStringLiteral("theirs first"));
    expected.removeAt(6);                                      // base 5
    expected.insert(16001, QStringLiteral("ours middle"));     // after base 16000
    expected.removeAt(20000);                                  // base 19999
    expected[30000] = QStringLiteral("ours changed");          // base 30000, both versions
    expected.insert(30001, QStringLiteral("theirs changed"));
    expected.removeLast(); // ours removed the last
    expected.append(QStringLiteral("theirs last"));
    QVERIFY(result.ok);
    QCOMPARE(result.lists.first.size(), kMaxListEntries);
    QCOMPARE(result.lists.first, expected);
    QCOMPARE(result.lists.second, theirs);
    QCOMPARE(result.addedByOther, 3);
    QCOMPARE(result.removedByOther, 1);
    // Linear in the length: a diff quadratic in it takes seconds here.
    QVERIFY2(ms < 1000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
    qDebug("merged 2 x %lld entries in %lld ms", qlonglong(base.size()), qlonglong(ms));
}

void TestMerge::farApartListsLoseNothing()
{
    // Reversed by the other program: too far apart for a diff, paired by text.
    const QStringList base = numbered(QStringLiteral("entry "), 3000);
    QStringList theirs(base.crbegin(), base.crend());
    QStringList ours = base;
    ours.append(QStringLiteral("ours"));
    const MergeResult result = mergeTaskLists({base, {}}, {theirs, {}}, {ours, {}});
    QVERIFY(result.ok);
    QCOMPARE(result.lists.first.size(), theirs.size() + 1);
    QVERIFY(result.lists.first.contains(QStringLiteral("ours")));
    for (const QString &entry : theirs)
        QVERIFY(result.lists.first.contains(entry));
}

void TestMerge::randomEdits_data()
{
    QTest::addColumn<int>("cases");
    QTest::addColumn<int>("size"); // of base, which each side first reorders; 0: short, at random

    // LISTORA_MERGE_CASES=200000 runs longer; a failure prints its seed, to
    // run alone with LISTORA_MERGE_SEED and LISTORA_MERGE_CASES=1.
    const int cases = qEnvironmentVariableIntValue("LISTORA_MERGE_CASES");
    QTest::newRow("short lists") << (cases > 0 ? cases : 5000) << 0;
    QTest::newRow("sorted against shuffled, full") << 3 << kMaxListEntries - 12;
}

void TestMerge::randomEdits()
{
    QFETCH(int, cases);
    QFETCH(int, size);
    const quint32 first = quint32(qEnvironmentVariableIntValue("LISTORA_MERGE_SEED"));
    for (quint32 seed = first; seed < first + quint32(cases); ++seed) {
        QRandomGenerator rng(seed);
        int tag = 0; // each new text is tagged apart: an entry is known by its text
        const auto fresh = [&](char kind) { return QLatin1Char(kind) + QString::number(tag++); };
        const bool repeats = rng.bounded(2) == 0; // texts in base more than once, or added alike on both sides
        const auto repeated = [&](char kind) { return repeats ? QString::number(rng.bounded(3)) : fresh(kind); };
        QStringList base;
        for (int i = size > 0 ? size : rng.bounded(rng.bounded(8) == 0 ? 200 : 24); i > 0; --i)
            base.append(rng.bounded(3) == 0 ? repeated('b') : fresh('b'));
        bool moved[2] = {}; // by theirs, by ours
        const auto edited = [&](int reorder, bool *moved) {
            QStringList list = base;
            for (int edit = size > 0 ? -1 : 0, edits = rng.bounded(7); edit < edits; ++edit) {
                const int at = rng.bounded(int(list.size()) + 1);
                const int op = edit < 0 ? reorder : at == list.size() ? rng.bounded(6, 13) : rng.bounded(13);
                *moved |= op == 4 || op == 5 || op >= 9;
                switch (op) {
                case 0: case 1: list.removeAt(at); break;
                case 2: case 3: list[at] = op == 2 ? fresh('c') : repeated('c'); break;
                case 4: case 5: list.move(at, rng.bounded(int(list.size()))); break;
                case 6: case 7: case 8: list.insert(at, op < 8 ? fresh('n') : repeated('n')); break;
                case 9: case 12: std::shuffle(list.begin(), list.end(), rng); break;
                case 10: list.sort(); break; // "b10" before "b2"
                case 11: std::reverse(list.begin(), list.end()); break;
                }
            }
            return list;
        };
        const QStringList theirs = edited(10, &moved[0]);
        const QStringList ours = edited(9, &moved[1]);
        const QDeadlineTimer deadline(1000);
        const MergeResult result = mergeTaskLists({base, base}, {theirs, theirs}, {ours, ours});
        QVERIFY2(!deadline.hasExpired(), "a merge took over a second");
        const QString failed = QStringLiteral("seed %1\nbase   %2\ntheirs %3\nours   %4\nmerged %5").arg(seed).arg(
            base.join(' '), theirs.join(' '), ours.join(' '), result.lists.first.join(' '));
        QVERIFY2(result.ok && result.lists.second == result.lists.first, qPrintable(failed));

        // For each text: of base, each side holds as many as both have and adds the rest. The merge
        // keeps what either added, once where both did, and of base at most what both sides hold.
        QHash<QString, std::array<int, 4>> counts;
        const QStringList *lists[] = {&base, &theirs, &ours, &result.lists.first};
        for (size_t at = 0; at < 4; ++at)
            for (const QString &entry : *lists[at])
                ++counts[entry][at];
        qsizetype added = 0, removed = 0, miscounted = 0;
        for (const auto &[b, t, o, m] : std::as_const(counts)) {
            const int kept = m - std::max(t - std::min(b, t), o - std::min(b, o)); // of base
            miscounted += kept < std::max(0, std::min(b, t) + std::min(b, o) - b) || kept > std::min({b, t, o});
            added += m - kept - (o - std::min(b, o));
            removed += std::min(b, o) - kept;
        }
        QVERIFY2(!miscounted && result.addedByOther == 2 * added && result.removedByOther == 2 * removed,
                 qPrintable(failed));

        // Unless texts repeat, a side the other did not move keeps its order in what it holds of the merge.
        for (const size_t side : {1, 2}) {
            QStringList held[2]; // of the merge, of the side
            for (const size_t in : {size_t(3), side})
                for (const QString &entry : *lists[in])
                    if (counts[entry][in == 3 ? side : 3] > 0)
                        held[in == side].append(entry);
            QVERIFY2(repeats || moved[2 - side] || held[0] == held[1], qPrintable(failed)); // moved by the other
        }
    }
}

void TestMerge::changesText_data()
{
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("text");

    QTest::newRow("both") << 2 << 1 << "2 entries added, 1 removed by the other program";
    QTest::newRow("one added, two removed") << 1 << 2 << "1 entry added, 2 removed by the other program";
    QTest::newRow("one added") << 1 << 0 << "1 entry added by the other program";
    QTest::newRow("added") << 5 << 0 << "5 entries added by the other program";
    QTest::newRow("one removed") << 0 << 1 << "1 entry removed by the other program";
    QTest::newRow("removed") << 0 << 3 << "3 entries removed by the other program";
    QTest::newRow("nothing") << 0 << 0 << "No entries added or removed by the other program";
}

void TestMerge::changesText()
{
    QFETCH(int, added);
    QFETCH(int, removed);
    QFETCH(QString, text);
    QCOMPARE(otherProgramChangesText(added, removed), text);
}

QTEST_GUILESS_MAIN(TestMerge)
#include "tst_merge.moc"
