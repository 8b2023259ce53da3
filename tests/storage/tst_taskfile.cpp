// The task file reader and writer over bytes, the code page, and reading files.
#include "storage/taskfile.h"
#include "tasks/entrytext.h"

#include "filehelpers.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#endif

using namespace listora;

Q_DECLARE_METATYPE(listora::ReadFault)
namespace {
enum class Edit;
}
Q_DECLARE_METATYPE(Edit)

namespace {

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out += char(v);
    return out;
}

// The 254 characters a Western entry can hold: every byte but CR and LF, decoded.
QString entryAlphabet()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            all += char(b);
    return CodePage(1252).decode(all);
}

} // namespace

class TestTaskFile : public QObject {
    Q_OBJECT
private slots:
    // The rows are Western text; the machine's locale must not choose another page.
    void initTestCase() { setProgramCodePage(CodePage(1252)); }
    void reader_data();
    void reader();
    void writer_data();
    void writer();
    void roundTrip();
    void codePageIsByteExact_data();
    void codePageIsByteExact();
    void linesKeptAsRead_data();
    void linesKeptAsRead();
    void savesCopyKnownLines_data();
    void savesCopyKnownLines();
    void entryText_data();
    void entryText();
    void loadFile_data();
    void loadFile();
    void dialogFolder();
};

void TestTaskFile::reader_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<ReadFault>("fault");
    QTest::addColumn<int>("faultLine");

    const auto ok = ReadFault::None;
    const auto bad = ReadFault::BadCount;
    const auto cut = ReadFault::Truncated;
    using L = QStringList;

    QTest::newRow("two empty lists") << QByteArray(" 0 \r\n 0 \r\n") << L{} << L{} << ok << 0;
    QTest::newRow("example") << QByteArray(" 2 \r\nBuy bread\r\nCall the bank\r\n 0 \r\n")
                             << L{"Buy bread", "Call the bank"} << L{} << ok << 0;
    QTest::newRow("counts without blanks") << QByteArray("2\r\na\r\nb\r\n0\r\n") << L{"a", "b"} << L{} << ok << 0;
    QTest::newRow("counts among blanks and tabs")
        << QByteArray("   1\t \r\nx\r\n\t 1\r\ny\r\n") << L{"x"} << L{"y"} << ok << 0;
    QTest::newRow("plus sign and leading zeros") << QByteArray("+01\r\na\r\n000\r\n") << L{"a"} << L{} << ok << 0;
    QTest::newRow("negative count reads nothing")
        << QByteArray(" -1 \r\n 1 \r\nz\r\n") << L{} << L{"z"} << ok << 0;
    // Long lines go sixteen bytes at a time, line ends and odd bytes anywhere in them.
    const QByteArray plain17("abcdefghijklmnopq");
    QTest::newRow("long lines, ends past sixteen bytes")
        << (" 2 \r\n" + plain17 + plain17 + "\n" + plain17 + "\r 0 \r\n") << L{plain17 + plain17, plain17} << L{} << ok << 0;
    QTest::newRow("long line, Western letter after the first block")
        << (" 1 \r\n" + plain17 + "\xe9" + plain17 + "\r\n 0 \r\n")
        << L{plain17 + QString::fromUtf16(u"\u00e9") + plain17} << L{} << ok << 0;
    QTest::newRow("long line, odd byte in the last overlapping block")
        << (" 1 \r\n" + plain17 + plain17.left(15) + "\x80\r\n 0 \r\n")
        << L{plain17 + plain17.left(15) + QString::fromUtf16(u"\u20ac")} << L{} << ok << 0;
    QTest::newRow("long line, control byte early, plain block after")
        << (" 1 \r\n\x01" + plain17 + plain17 + "\r\n 0 \r\n") << L{"\x01" + plain17 + plain17} << L{} << ok << 0;
    QTest::newRow("lowest count") << QByteArray("-32768\r\n0\r\n") << L{} << L{} << ok << 0;
    QTest::newRow("empty entry lines") << QByteArray(" 2 \r\n\r\n\r\n 1 \r\n\r\n") << L{"", ""} << L{""} << ok << 0;
    QTest::newRow("entries kept as they stand")
        << QByteArray(" 2 \r\n  lead and trail  \r\n ---> 08/12/2026 Dentist\r\n 0 \r\n")
        << L{"  lead and trail  ", " ---> 08/12/2026 Dentist"} << L{} << ok << 0;
    QTest::newRow("lines after the second list ignored")
        << QByteArray(" 0 \r\n 1 \r\nq\r\ngarbage\r\n 5 \r\n") << L{} << L{"q"} << ok << 0;
    QTest::newRow("last line without its end") << QByteArray(" 0 \r\n 1 \r\nq") << L{} << L{"q"} << ok << 0;
    QTest::newRow("LF endings") << QByteArray("1\na\n1\nb\n") << L{"a"} << L{"b"} << ok << 0;
    QTest::newRow("CR endings") << QByteArray("1\ra\r1\rb\r") << L{"a"} << L{"b"} << ok << 0;
    QTest::newRow("mixed endings") << QByteArray("2\r\na\nb\r1\r\nc") << L{"a", "b"} << L{"c"} << ok << 0;
    QTest::newRow("CR CR LF is an empty line between")
        << QByteArray("2\r\na\r\r\n0\r\n") << L{"a", ""} << L{} << ok << 0;
    QTest::newRow("LF CR is two breaks") << QByteArray("2\n\rb\r\n0") << L{"", "b"} << L{} << ok << 0;
    QTest::newRow("bytes 0x80 to 0xFF")
        << (QByteArray("1\r\n") + bytesOf({0x80, 0x81, 0x8a, 0x9f, 0xa0, 0xe9, 0xff}) + QByteArray("\r\n0\r\n"))
        << L{QString::fromUtf16(u"\u20ac\u0081\u0160\u0178\u00a0\u00e9\u00ff")} << L{} << ok << 0;
    QTest::newRow("NUL inside an entry")
        << QByteArray("1\r\na\0b\r\n0\r\n", 11) << L{QString::fromUtf16(u"a\u0000b", 3)} << L{} << ok << 0;

    QTest::newRow("empty file") << QByteArray() << L{} << L{} << cut << 1;
    QTest::newRow("first list cut short") << QByteArray(" 3 \r\na\r\nb\r\n") << L{"a", "b"} << L{} << cut << 4;
    QTest::newRow("second count missing") << QByteArray(" 1 \r\na\r\n") << L{"a"} << L{} << cut << 3;
    QTest::newRow("second list cut short")
        << QByteArray(" 1 \r\na\r\n 2 \r\nb") << L{"a"} << L{"b"} << cut << 5;
    QTest::newRow("highest count, few lines") << QByteArray("32767\r\na\r\n") << L{"a"} << L{} << cut << 3;

    QTest::newRow("text count") << QByteArray("abc\r\n 0 \r\n") << L{} << L{} << bad << 1;
    QTest::newRow("empty count line") << QByteArray("\r\n 0 \r\n") << L{} << L{} << bad << 1;
    QTest::newRow("blank count line") << QByteArray("   \r\n") << L{} << L{} << bad << 1;
    QTest::newRow("sign alone") << QByteArray("-\r\n") << L{} << L{} << bad << 1;
    QTest::newRow("fraction") << QByteArray(" 2.0 \r\na\r\nb\r\n") << L{} << L{} << bad << 1;
    QTest::newRow("comma fraction") << QByteArray("1,5\r\n") << L{} << L{} << bad << 1;
    QTest::newRow("blank inside the number") << QByteArray(" 1 2 \r\n") << L{} << L{} << bad << 1;
    QTest::newRow("hex") << QByteArray("0x10\r\n") << L{} << L{} << bad << 1;
    QTest::newRow("one above 16 bits") << QByteArray("32768\r\n") << L{} << L{} << bad << 1;
    QTest::newRow("one below 16 bits") << QByteArray("-32769\r\n") << L{} << L{} << bad << 1;
    QTest::newRow("far too many digits") << QByteArray("99999999999999999999999\r\n") << L{} << L{} << bad << 1;
    QTest::newRow("bad second count") << QByteArray(" 1 \r\na\r\nx\r\n") << L{"a"} << L{} << bad << 3;
    QTest::newRow("entry where a count belongs")
        << QByteArray(" 1 \r\na\r\nb\r\n 0 \r\n") << L{"a"} << L{} << bad << 3;

    QTest::newRow("lone CR at the end") << QByteArray("1\r") << L{} << L{} << cut << 2;
    QTest::newRow("no-break blank is no blank") << bytesOf({' ', 0xa0, '1'}) << L{} << L{} << bad << 1;
}

void TestTaskFile::reader()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(ReadFault, fault);
    QFETCH(int, faultLine);

    const ReadResult result = readTaskFile(bytes);
    QCOMPARE(result.lists.first, first);
    QCOMPARE(result.lists.second, second);
    QCOMPARE(result.fault, fault);
    QCOMPARE(result.complete, fault == ReadFault::None);
    QCOMPARE(result.faultLine, faultLine);
    QCOMPARE(result.entriesRead(), first.size() + second.size());
}

void TestTaskFile::writer_data()
{
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QByteArray>("bytes");
    using L = QStringList;

    QTest::newRow("two empty lists") << L{} << L{} << QByteArray(" 0 \r\n 0 \r\n");
    QTest::newRow("example") << L{"Buy bread", "Call the bank"} << L{}
                             << QByteArray(" 2 \r\nBuy bread\r\nCall the bank\r\n 0 \r\n");
    QTest::newRow("three and one") << L{"a", "b", "c"} << L{"d"} << QByteArray(" 3 \r\na\r\nb\r\nc\r\n 1 \r\nd\r\n");
    QTest::newRow("entries as they stand")
        << L{"", "  lead", " ---> 08/12/2026 Dentist"} << L{}
        << QByteArray(" 3 \r\n\r\n  lead\r\n ---> 08/12/2026 Dentist\r\n 0 \r\n");
    QTest::newRow("one byte a character")
        << L{QString::fromUtf16(u"\u20ac\u0161\u00ff\u00e9\u0081")} << L{}
        << (QByteArray(" 1 \r\n") + bytesOf({0x80, 0x9a, 0xff, 0xe9, 0x81}) + QByteArray("\r\n 0 \r\n"));
    QTest::newRow("unstorable characters become ?")
        << L{QString::fromUtf16(u"\u65e5\u672c \U0001F600 \u0080")} << L{} << QByteArray(" 1 \r\n?? ? ?\r\n 0 \r\n");
    QTest::newRow("breaks inside an entry become blanks")
        << L{"a\nb\r\nc"} << L{} << QByteArray(" 1 \r\na b  c\r\n 0 \r\n");
    // Long entries go through the wide copy; what it must not copy as it
    // stands may sit anywhere in them, also past the first sixteen units.
    const QString lead(15, QLatin1Char('a'));
    const QByteArray leadBytes(15, 'a');
    auto longRow = [&](const char *name, const QString &odd, const QByteArray &oddBytes) {
        const QString tail(20, QLatin1Char('z'));
        QTest::newRow(name) << L{lead + odd + tail, lead + lead + odd} << L{}
                            << (" 2 \r\n" + leadBytes + oddBytes + QByteArray(20, 'z') + "\r\n" + leadBytes + leadBytes +
                                oddBytes + "\r\n 0 \r\n");
    };
    longRow("long, plain", QStringLiteral("bc"), "bc");
    longRow("long, Latin-1 letter", QString::fromUtf16(u"\u00e9\u00ff\u00a0"), bytesOf({0xe9, 0xff, 0xa0}));
    longRow("long, code-page letter", QString::fromUtf16(u"\u20ac\u0161\u0178"), bytesOf({0x80, 0x9a, 0x9f}));
    longRow("long, C1 control", QString::fromUtf16(u"\u0081\u0080"), bytesOf({0x81, '?'}));
    longRow("long, high units", QString::fromUtf16(u"\u65e5\uff21\U0001F600"), "???");
    longRow("long, breaks", QStringLiteral("\r\n\n"), "   ");
    longRow("long, tab and control", QStringLiteral("\t\x01"), "\t\x01");
    // Eight to fifteen units: two blocks of eight that overlap.
    QTest::newRow("short, odd unit in the overlap")
        << L{QString::fromUtf16(u"abcdefgh\u00e9ij"), QString::fromUtf16(u"abcdefghij\u0080")} << L{}
        << (" 2 \r\nabcdefgh" + bytesOf({0xe9}) + "ij\r\nabcdefghij?\r\n 0 \r\n");
    // Longer than the runs of lines a save encodes at once.
    const QString huge = QString(1536 * 1024, QLatin1Char('h'));
    QTest::newRow("entry longer than a piece") << L{"a", huge} << L{"b"}
                                               << (" 2 \r\na\r\n" + huge.toLatin1() + "\r\n 1 \r\nb\r\n");
    QTest::newRow("over capacity, all written") << L(53, "x") << L{}
                                                << (" 53 \r\n" + QByteArray("x\r\n").repeated(53) + " 0 \r\n");
    // Enough entries for a save to encode on two threads, in runs of lines.
    L many;
    QByteArray manyBytes;
    for (int i = 0; i < 30000; ++i) {
        many << QStringLiteral("entry %1 ").arg(i).repeated(1 + i % 7);
        manyBytes += many.last().toLatin1() + "\r\n";
    }
    QTest::newRow("many entries") << many << L{"last"} << (" 30000 \r\n" + manyBytes + " 1 \r\nlast\r\n");
    QTest::newRow("many entries, the last unstorable")
        << many << L{QString::fromUtf16(u"\u65e5")} << (" 30000 \r\n" + manyBytes + " 1 \r\n?\r\n");
    // A first list of exactly a mebibyte: the second list's count line
    // starts the next write.
    const L mebibyte = L(1023, QString(1022, QLatin1Char('k'))) + L{QString(1014, QLatin1Char('k'))};
    const QByteArray mebibyteBytes =
        " 1024 \r\n" + QByteArray(1022, 'k').append("\r\n").repeated(1023) + QByteArray(1014, 'k') + "\r\n";
    QTest::newRow("a piece ends with the first list")
        << mebibyte << L{"next", "after"} << (mebibyteBytes + " 2 \r\nnext\r\nafter\r\n");
    QTest::newRow("a piece ends before an unstorable entry")
        << mebibyte << L{QString::fromUtf16(u"\u65e5")} << (mebibyteBytes + " 1 \r\n?\r\n");
    // Runs are 8192 lines: a first list of 8191 entries fills the first run
    // with its count line, and the second list's count line starts a run.
    const L runFirst = many.mid(0, 8191);
    QByteArray runFirstBytes;
    for (const QString &entry : runFirst)
        runFirstBytes += entry.toLatin1() + "\r\n";
    QTest::newRow("a run ends with the first list")
        << runFirst << many.mid(0, 9000)
        << (" 8191 \r\n" + runFirstBytes + " 9000 \r\n" + manyBytes.left(manyBytes.indexOf("entry 9000 ")));
    // Whichever thread encodes them, the one named is the first in the file.
    L twoUnstorable = many;
    twoUnstorable[5000] = QString::fromUtf16(u"\u65e5");
    twoUnstorable[20000] = QString::fromUtf16(u"\u00e9\u65e5");
    QByteArray twoUnstorableBytes;
    for (const QString &entry : twoUnstorable)
        twoUnstorableBytes += entry.toLatin1() + "\r\n";
    QTest::newRow("unstorable entries in two runs") << twoUnstorable << L{"last"}
                                                    << (" 30000 \r\n" + twoUnstorableBytes + " 1 \r\nlast\r\n");
    QTest::newRow("an unstorable entry in a late run of the second list")
        << many << (L(9000, "x") << QString::fromUtf16(u"\u65e5"))
        << (" 30000 \r\n" + manyBytes + " 9001 \r\n" + QByteArray("x\r\n").repeated(9000) + "?\r\n");
}

void TestTaskFile::writer()
{
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QByteArray, bytes);
    ChangedEntry changed;
    QCOMPARE(writeTaskFile(first, second, programCodePage(), &changed), bytes);

    // A save writes the same bytes, or refuses and writes nothing when an entry would read back otherwise.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved.dat"));
    ContentHasher written;
    const SaveResult saved = saveTaskFile(path, TaskLists{first, second}, programCodePage(), nullptr, &written);
    QCOMPARE(bool(saved), !changed);
    if (changed) {
        QCOMPARE(saved.changed.list, changed.list);
        QCOMPARE(saved.changed.row, changed.row);
        QVERIFY(QDir(dir.path()).isEmpty());
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
        // What the save says it wrote, piece by piece, is what the file holds.
        QCOMPARE(written.size(), qint64(bytes.size()));
        QCOMPARE(written.result(), ContentHasher::of(bytes));
    }
}

// Random lists, written and read back, come back identical; the seed is
// printed so that a failure can be replayed.
void TestTaskFile::roundTrip()
{
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    const QString alphabet = entryAlphabet();
    const QStringList pieces{QStringLiteral(" ---> "), QStringLiteral("   "), QStringLiteral(" 3 "),
                             QStringLiteral("-1"), QString()};
    auto entry = [&] {
        QString text;
        const int parts = random.bounded(6);
        for (int p = 0; p < parts; ++p) {
            if (random.bounded(3) == 0)
                text += pieces.at(random.bounded(int(pieces.size())));
            else
                for (int n = random.bounded(12); n > 0; --n)
                    text += alphabet.at(random.bounded(int(alphabet.size())));
        }
        return text;
    };
    for (int round = 0; round < 300; ++round) {
        TaskLists lists;
        for (int n = random.bounded(40); n > 0; --n)
            lists.first.append(entry());
        for (int n = random.bounded(round == 0 ? 1 : 400); n > 0; --n)
            lists.second.append(entry());
        const QByteArray bytes = writeTaskFile(lists);
        const ReadResult back = readTaskFile(bytes);
        if (!back.complete || !(back.lists == lists))
            QFAIL(qPrintable(QStringLiteral("round %1 differs; seed %2").arg(round).arg(seed)));
        QCOMPARE(writeTaskFile(back.lists), bytes);
    }
}

void TestTaskFile::codePageIsByteExact_data()
{
    QTest::addColumn<int>("page");
    for (int page : {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258})
        QTest::newRow(qPrintable(QString::number(page))) << page;
}

// A file from any other code page reads into this one and saves back byte for
// byte, the bytes this page leaves undefined included.
void TestTaskFile::codePageIsByteExact()
{
    QFETCH(int, page);
    const CodePage codePage(page);
    QCOMPARE(codePage.number(), page);
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n') // written as blanks, since they would split the entry
            all += char(b);
    const QString text = codePage.decode(all);
    QCOMPARE(text.size(), 254);
    QCOMPARE(QSet<QChar>(text.begin(), text.end()).size(), 254);
    QCOMPARE(codePage.encode(text), all);
    for (const QChar c : text)
        QVERIFY2(codePage.canEncode(c.unicode()), qPrintable(QString::number(c.unicode(), 16)));
}

void TestTaskFile::linesKeptAsRead_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kept");
    QTest::newRow("932 small roman one, NEC-selected form") << 932 << QByteArray(" 1 \r\n\xee\xef\r\n 0 \r\n") << 1;
    QTest::newRow("932 both forms of one character")
        << 932 << QByteArray(" 1 \r\n\xee\xef\r\n 1 \r\n\xfa\x40\r\n") << 1;
    QTest::newRow("932 the same line twice") << 932 << QByteArray(" 2 \r\nx\xed\x40\r\nx\xed\x40\r\n 0 \r\n") << 2;
    // "Привет, мир" from a Russian system: half-width katakana, kanji and a lead byte without its trail.
    QTest::newRow("932 reading a Cyrillic file")
        << 932 << QByteArray(" 1 \r\n\xcf\xf0\xe8\xe2\xe5\xf2, \xec\xe8\xf0\r\n 0 \r\n") << 1;
    QTest::newRow("932 broken sequence") << 932 << QByteArray(" 0 \r\n 1 \r\ncaf\xe9\r\n") << 1;
    QTest::newRow("950 box drawing, second form") << 950 << QByteArray(" 1 \r\n\xa2\xa4\r\n 0 \r\n") << 1;
    QTest::newRow("932 file of its own") << 932 << QByteArray(" 1 \r\n\x93\xfa\x96\x7b\xfa\x40\r\n 0 \r\n") << 0;
    QTest::newRow("1252 any byte") << 1252 << (" 1 \r\n" + bytesOf({0x81, 0x8d, 0xe9, 0xff}) + "\r\n 0 \r\n") << 0;
}

// Lines the page would write back as other bytes are kept with their bytes,
// by the very string read: saved unchanged they come back byte for byte; the
// same text typed or edited anew gets the page's own bytes.
void TestTaskFile::linesKeptAsRead()
{
    QFETCH(int, page);
    QFETCH(QByteArray, bytes);
    QFETCH(int, kept);
    const CodePage codePage(page);
    std::optional<ReadResult> read = readTaskFile(bytes, codePage);
    QVERIFY(read->complete);
    QCOMPARE(read->kept.size(), kept);
    ChangedEntry changed;
    QCOMPARE(writeTaskFile(read->lists, codePage, &changed, &read->kept), bytes);
    QVERIFY(!changed);

    TaskLists typed;
    for (const QString &entry : read->lists.first)
        typed.first.append(QString(entry.constData(), entry.size()));
    for (const QString &entry : read->lists.second)
        typed.second.append(QString(entry.constData(), entry.size()));
    QCOMPARE(writeTaskFile(typed, codePage, nullptr, &read->kept), writeTaskFile(typed, codePage));
    QCOMPARE(writeTaskFile(typed, codePage) == bytes, kept == 0);

    // Lines are let go once nothing holds their entries any longer.
    KeptLines opened;
    opened.add(read->kept);
    QCOMPARE(opened.size(), kept);
    opened.add(KeptLines());
    QCOMPARE(opened.size(), kept);
    read.reset();
    opened.add(KeptLines());
    QCOMPARE(opened.size(), 0);
}

namespace {

enum class Edit { None, EditOne, AddTop, RemoveOne, SwapEnds, MoveToOther, TypeAnew, Reverse, KeepTenth, AddUnstorable };

// What a user's commands do to the lists between saves: every entry they do
// not touch stays the very same string.
void applyEdit(TaskLists &lists, Edit edit, int round)
{
    QStringList &first = lists.first;
    const qsizetype middle = first.size() / 2;
    if (first.isEmpty()) {
        first.append(QStringLiteral("refilled %1").arg(round));
        return;
    }
    switch (edit) {
    case Edit::None:
        break;
    case Edit::EditOne:
        first[middle] += QStringLiteral(" (%1)").arg(round);
        break;
    case Edit::AddTop:
        first.prepend(QStringLiteral("new %1").arg(round));
        break;
    case Edit::RemoveOne:
        first.removeAt(middle);
        break;
    case Edit::SwapEnds:
        first.swapItemsAt(0, first.size() - 1);
        break;
    case Edit::MoveToOther:
        lists.second.insert(lists.second.size() / 2, first.takeAt(middle));
        break;
    case Edit::TypeAnew:
        for (QStringList *list : {&lists.first, &lists.second})
            for (QString &entry : *list)
                entry = QString(entry.constData(), entry.size());
        break;
    case Edit::Reverse:
        std::reverse(first.begin(), first.end());
        break;
    case Edit::KeepTenth:
        for (qsizetype i = first.size() - 1; i >= 0; --i)
            if (i % 10 != 0)
                first.removeAt(i);
        break;
    case Edit::AddUnstorable:
        first.insert(middle, QString::fromUtf16(u"\u65e5"));
        break;
    }
}

} // namespace

void TestTaskFile::savesCopyKnownLines_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("opened"); // the first save knows the lines read; else it encodes them all
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<bool>("forgotten"); // at some save the lines known took far more memory than the file

    const QByteArray western(" 4 \r\nalpha\r\nbeta\r\ncaf\xe9\r\ndelta\r\n 2 \r\necho\r\nfoxtrot\r\n");
    QTest::newRow("unchanged") << 1252 << western << true << Edit::None << false;
    QTest::newRow("an entry edited") << 1252 << western << true << Edit::EditOne << false;
    QTest::newRow("an entry added at the top") << 1252 << western << true << Edit::AddTop << false;
    QTest::newRow("an entry removed") << 1252 << western << true << Edit::RemoveOne << false;
    QTest::newRow("first and last swapped") << 1252 << western << true << Edit::SwapEnds << false;
    QTest::newRow("an entry moved to the other list") << 1252 << western << true << Edit::MoveToOther << false;
    QTest::newRow("every entry typed anew") << 1252 << western << true << Edit::TypeAnew << false;
    QTest::newRow("an unstorable entry added") << 1252 << western << true << Edit::AddUnstorable << false;
    QTest::newRow("saved before, an entry edited") << 1252 << western << false << Edit::EditOne << false;
    QTest::newRow("lone LF and no last line end")
        << 1252 << QByteArray(" 2\nalpha\r\nbeta\n1\r\ngamma") << true << Edit::EditOne << false;
    QTest::newRow("control bytes") << 1252 << QByteArray(" 1 \r\na\tb\x01\x7f\x81\r\n 0 \r\n") << true
                                   << Edit::SwapEnds << false;
    const QByteArray japanese(" 3 \r\n\xee\xef\r\n\x93\xfa\x96\x7b\r\nx\xed\x40\r\n 1 \r\ncaf\xe9\r\n");
    QTest::newRow("932, lines kept as read, moved") << 932 << japanese << true << Edit::MoveToOther << false;
    QTest::newRow("932, lines kept as read, typed anew") << 932 << japanese << true << Edit::TypeAnew << false;

    // Enough lines for a save that knows none of them to encode them on two threads.
    QByteArray many = " 20000 \r\n";
    for (int i = 0; i < 20000; ++i)
        many += QByteArray("entry ").repeated(1 + i % 5) + QByteArray::number(i) + "\r\n";
    many += " 5000 \r\n" + QByteArray("other\r\n").repeated(5000);
    QTest::newRow("many, an entry edited") << 1252 << many << true << Edit::EditOne << false;
    QTest::newRow("many, saved before, an entry added at the top") << 1252 << many << false << Edit::AddTop << false;
    // The second list's lines alone would keep the whole file read in memory.
    QTest::newRow("many, reversed") << 1252 << many << true << Edit::Reverse << true;
    QTest::newRow("many, saved before, an unstorable entry added")
        << 1252 << many << false << Edit::AddUnstorable << false;
    QTest::newRow("many, nine in ten removed") << 1252 << many << true << Edit::KeepTenth << true;
}

// A save that copies the lines of entries it knows writes the very bytes of
// one that encodes them all, through edits and saves in turn, each save
// knowing the lines of the one before.
void TestTaskFile::savesCopyKnownLines()
{
    QFETCH(int, page);
    QFETCH(QByteArray, file);
    QFETCH(bool, opened);
    QFETCH(Edit, edit);
    QFETCH(bool, forgotten);
    const CodePage codePage(page);
    const ReadResult read = readTaskFile(file, codePage);
    QVERIFY(read.complete);
    QCOMPARE(read.encoded.isEmpty(), false);
    EncodedLines known = opened ? read.encoded : EncodedLines();
    TaskLists lists = read.lists;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved.dat"));
    QByteArray onDisk;
    bool wasForgotten = false;
    // Edited four times over, a save lets go of the lines of most saves before.
    for (int round = 0; round < 6; ++round) {
        if (round >= 1 && round <= 4)
            applyEdit(lists, edit, round);
        ChangedEntry changed;
        const QByteArray expected = writeTaskFile(lists, codePage, &changed, &read.kept);
        EncodedLines next;
        ContentHasher written;
        const SaveResult saved = saveTaskFile(path, lists, codePage, &read.kept, &written, &known, &next);
        QCOMPARE(bool(saved), !changed);
        if (changed) {
            QCOMPARE(saved.changed.list, changed.list);
            QCOMPARE(saved.changed.row, changed.row);
            QCOMPARE(test::readFile(path), onDisk);
            return;
        }
        onDisk = test::readFile(path);
        QCOMPARE(onDisk, expected);
        QCOMPARE(written.result(), ContentHasher::of(expected));
        wasForgotten = wasForgotten || next.isEmpty();
        known = std::move(next);
    }
    QCOMPARE(wasForgotten, forgotten);
}

void TestTaskFile::entryText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("Western text kept") << QString::fromUtf16(u"Caf\u00e9 \u20ac5 \u201cok\u201d \u2013 \u0152")
                                       << QString::fromUtf16(u"Caf\u00e9 \u20ac5 \u201cok\u201d \u2013 \u0152");
    QTest::newRow("characters of other scripts left out")
        << QString::fromUtf16(u"a\u65e5\u672cb\u0416") << QStringLiteral("ab");
    QTest::newRow("emoji left out whole") << QString::fromUtf16(u"x\U0001F600y") << QStringLiteral("xy");
    QTest::newRow("lone surrogate left out") << QString::fromUtf16(u"x\xd800y", 3) << QStringLiteral("xy");
    QTest::newRow("C1 control outside the code page") << QString::fromUtf16(u"x\u0080y") << QStringLiteral("xy");
    QTest::newRow("break beside a left-out character")
        << QString::fromUtf16(u"a\u4e00\r\nb") << QStringLiteral("a b");
}

void TestTaskFile::entryText()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    const CodePage western(1252);
    const QString stored = storableEntryText(typed, western).text;
    QCOMPARE(stored, kept);
    // Whatever the box keeps is saved and read back unchanged.
    const ReadResult back = readTaskFile(writeTaskFile({stored}, {}, western), western);
    QCOMPARE(back.lists.first, QStringList{stored});
}

void TestTaskFile::loadFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<bool>("ok");
    QTest::newRow("regular file") << "file" << qint64(9) << kMaxTaskFileBytes << true;
    QTest::newRow("empty file") << "file" << qint64(0) << kMaxTaskFileBytes << true;
    QTest::newRow("read in several pieces") << "file" << qint64(1024 * 1024 + 3) << kMaxTaskFileBytes << true;
    QTest::newRow("exactly at the limit") << "file" << qint64(10) << qint64(10) << true;
    QTest::newRow("one byte over the limit") << "file" << qint64(11) << qint64(10) << false;
    QTest::newRow("over 64 MiB") << "file" << kMaxTaskFileBytes + 1 << kMaxTaskFileBytes << false;
    QTest::newRow("missing") << "missing" << qint64(0) << kMaxTaskFileBytes << false;
    QTest::newRow("folder") << "folder" << qint64(0) << kMaxTaskFileBytes << false;
#ifdef Q_OS_LINUX
    // Windows has no pipes that live in a folder.
    QTest::newRow("pipe") << "pipe" << qint64(0) << kMaxTaskFileBytes << false;
#endif
}

void TestTaskFile::loadFile()
{
    QFETCH(QString, kind);
    QFETCH(qint64, size);
    QFETCH(qint64, limit);
    QFETCH(bool, ok);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lists.dat"));
    if (kind == QLatin1String("file")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(size)); // sparse, so 64 MiB costs nothing
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("lists.dat")));
    } else if (kind == QLatin1String("pipe")) {
#ifdef Q_OS_LINUX
        // Opening a pipe for reading would wait for a writer forever.
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
    }
    const LoadResult loaded = loadFileBytes(path, limit);
    QCOMPARE(loaded.ok, ok);
    QCOMPARE(loaded.error.isEmpty(), ok);
    QCOMPARE(loaded.bytes.size(), ok ? size : 0);
    if (ok) {
        QCOMPARE(loaded.hasher.size(), size);
        QCOMPARE(loaded.hasher.result(), ContentHasher::of(loaded.bytes));
    }
}

void TestTaskFile::dialogFolder()
{
    QTemporaryDir dir;
    QCOMPARE(taskFileFolder(dir.path()), dir.path());
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(taskFileFolder(dir.filePath(QStringLiteral("gone"))), documents);
    QCOMPARE(taskFileFolder(QString()), documents);
}

QTEST_GUILESS_MAIN(TestTaskFile)
#include "tst_taskfile.moc"
