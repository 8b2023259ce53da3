// The code page of each locale, and what users of it type, date and read.
#include "texts/texts.h"
#include "storage/codepage.h"
#include "storage/codepagebackend.h"
#include "storage/taskfile.h"
#include "tasks/capacity.h"
#include "tasks/entrytext.h"
#include "tasks/pageletters.h"
#include "tasks/tasklistmodel.h"

#include <QScopeGuard>
#include <QTest>

using namespace listora;

class TestCodePage : public QObject {
    Q_OBJECT
private slots:
    void locales_data();
    void locales();
    void tablesMatchConverter_data();
    void tablesMatchConverter();
    void entryText_data();
    void entryText();
    void secondForms_data();
    void secondForms();
    void unstorableEntryNamed();
    void brokenSequenceRead();
    void lettersToMeasure_data();
    void lettersToMeasure();
};

void TestCodePage::locales_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("line");
    const auto row = [](const char *locale, int page, const char16_t *line) {
        QTest::newRow(locale) << QString::fromLatin1(locale) << page << QString::fromUtf16(line);
    };
    row("en_US.UTF-8", 1252, u"Buy bread, call the bank at 9 \u2013 \u20ac5");
    row("de_DE.UTF-8", 1252, u"Gr\u00f6\u00dfere Br\u00f6tchen f\u00fcr K\u00e4the kaufen");
    row("pl_PL.UTF-8", 1250, u"Za\u017c\u00f3\u0142\u0107 g\u0119\u015bl\u0105 ja\u017a\u0144, \u0141\u00f3d\u017a");
    row("ru_RU.UTF-8", 1251, u"\u041a\u0443\u043f\u0438\u0442\u044c \u0445\u043b\u0435\u0431 \u0438 "
                             u"\u043f\u043e\u0437\u0432\u043e\u043d\u0438\u0442\u044c \u0432 \u0431\u0430\u043d\u043a, \u0451\u0436");
    row("el_GR.UTF-8", 1253, u"\u0391\u03b3\u03bf\u03c1\u03ac\u03c3\u03c4\u03b5 \u03c8\u03c9\u03bc\u03af, "
                             u"\u03ad\u03c9\u03c2 \u03c4\u03b7\u03bd \u03a4\u03c1\u03af\u03c4\u03b7");
    row("tr_TR.UTF-8", 1254, u"\u00c7ar\u015famba g\u00fcn\u00fc \u0131\u015f\u0131k ve \u015feker al, \u0130zmir, \u011f");
    row("he_IL.UTF-8", 1255, u"\u05dc\u05e7\u05e0\u05d5\u05ea \u05dc\u05d7\u05dd \u05d5\u05d7\u05dc\u05d1");
    row("ar_EG.UTF-8", 1256, u"\u0634\u0631\u0627\u0621 \u0627\u0644\u062e\u0628\u0632 \u0648\u0627\u0644\u062d\u0644\u064a\u0628");
    // Typed with FARSI YEH and KEHEH, as Persian keyboards give them.
    row("fa_IR.UTF-8", 1256, u"\u062e\u0631\u06cc\u062f \u0646\u0627\u0646 \u0648 \u0634\u06cc\u0631\u060c "
                             u"\u067e\u0633\u062a \u06a9\u0631\u062f\u0646 \u06af\u0644 \u0698\u0627\u0644\u0647 \u0686\u0627\u06cc");
    row("lt_LT.UTF-8", 1257, u"Nupirkti duonos ir pieno: \u0105\u010d\u0119\u0117\u012f\u0161\u0173\u016b\u017e");
    // Precomposed, as Vietnamese input methods give it.
    row("vi_VN.UTF-8", 1258, u"Mua b\u00e1nh m\u00ec v\u00e0 g\u1ecdi ng\u00e2n h\u00e0ng, Ti\u1ebfng Vi\u1ec7t \u0111\u01b0\u1ee3c");
    row("th_TH.UTF-8", 874, u"\u0e0b\u0e37\u0e49\u0e2d\u0e02\u0e19\u0e21\u0e1b\u0e31\u0e07\u0e41\u0e25\u0e30\u0e19\u0e21");
    row("ja_JP.UTF-8", 932, u"\u30d1\u30f3\u3068\u725b\u4e73\u3092\u8cb7\u3046\u3001\u9280\u884c\u306b\u96fb\u8a71\uff08\uff11\uff09\u2460");
    row("zh_CN.UTF-8", 936, u"\u4e70\u9762\u5305\u548c\u725b\u5976\uff0c\u7ed9\u94f6\u884c\u6253\u7535\u8bdd");
    row("ko_KR.UTF-8", 949, u"\ube75\uacfc \uc6b0\uc720 \uc0ac\uae30, \uc740\ud589\uc5d0 \uc804\ud654\ud558\uae30 \ub620");
    row("zh_TW.UTF-8", 950, u"\u8cb7\u9eb5\u5305\u548c\u725b\u5976\uff0c\u6253\u96fb\u8a71\u7d66\u9280\u884c");
    row("bg_BG.UTF-8", 1251, u"\u041a\u0443\u043f\u0438 \u0445\u043b\u044f\u0431 \u0438 \u043c\u043b\u044f\u043a\u043e");
    row("ca_ES.UTF-8", 1252, u"Comprar pa i llet a la pla\u00e7a, col\u00b7legi");
    row("C", 1252, u"Buy bread");
    row("sr_RS.UTF-8@latin", 1250, u"Kupiti hleb i mleko, \u0111ak \u010di\u0161\u0107enje");
    row("uk_UA.UTF-8", 1251, u"\u041a\u0443\u043f\u0438\u0442\u0438 \u0445\u043b\u0456\u0431, \u0491\u0430\u043d\u043e\u043a, \u0454, \u0457");
    row("zh_HK.UTF-8", 950, u"\u8cb7\u9eb5\u5305");
    row("eu_ES.UTF-8", 1252, u"Ogia erosi");
}

// A user of the locale gets its code page, keeps what they type, dates an
// appointment storably and reads a clean time.
void TestCodePage::locales()
{
    QFETCH(QString, locale);
    QFETCH(int, page);
    QFETCH(QString, line);

    QCOMPARE(codePageForLocale(locale), page);
    const CodePage codePage(page);
    QCOMPARE(codePage.number(), page);

    const EntryText typed = storableEntryText(line, codePage);
    QCOMPARE(typed.refused, QString());
    // Only a canonically equivalent form, or the page's own letter for it, is stored.
    if (page != 1256)
        QCOMPARE(typed.text.normalized(QString::NormalizationForm_C), line.normalized(QString::NormalizationForm_C));
    QCOMPARE(typed.text.size() >= line.size(), true);

    const QLocale qlocale(locale.section(QLatin1Char('.'), 0, 0));
    const QString date = storedDateText(QDate(2026, 12, 8), qlocale, codePage);
    QVERIFY2(codePage.firstUnstorable(date) < 0, qPrintable(date));
    QVERIFY2(date.contains(QLatin1String("8")) || date.contains(qlocale.toString(8)), qPrintable(date));

    const QStringList entries{typed.text, appointmentEntry(date, typed.text)};
    ChangedEntry changed;
    const QByteArray bytes = writeTaskFile(entries, {}, codePage, &changed);
    QVERIFY(!changed);
    QCOMPARE(readTaskFile(bytes, codePage).lists.first, entries);

    const QString time = timeText(QTime(21, 5, 9), qlocale);
    for (const char *trace : {"()", "[]", "( )", "[ ]"})
        QVERIFY2(!time.contains(QLatin1String(trace)), qPrintable(time));
    QVERIFY2(!time.endsWith(QLatin1Char(',')) && time.trimmed() == time, qPrintable(time));
    QVERIFY2(time.contains(qlocale.toString(QTime(21, 5, 9), QStringLiteral("s"))), qPrintable(time));
}

void TestCodePage::tablesMatchConverter_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("line");
    QTest::newRow("1251") << 1251 << QString::fromUtf16(u"\u0416\u0451\u043b\u0442\u044b\u0439 \u20ac \u2116");
    QTest::newRow("1255 points") << 1255 << QString::fromUtf16(u"\u05e9\u05b8\u05c1\u05dc\u05d5\u05b9\u05dd \u20aa");
    QTest::newRow("932 half-width and NEC") << 932 << QString::fromUtf16(u"\uff71\uff72 \u2460 \u9ad9 \uff5e abc\\");
    QTest::newRow("936 euro") << 936 << QString::fromUtf16(u"\u20ac\u4e2d\u6587");
    QTest::newRow("949 beyond KS X 1001") << 949 << QString::fromUtf16(u"\ub620\ud55c");
    QTest::newRow("950 euro") << 950 << QString::fromUtf16(u"\u20ac\u7e41\u9ad4");
    QTest::newRow("874 euro") << 874 << QString::fromUtf16(u"\u20ac\u0e44\u0e17\u0e22");
}

// The tables give the very bytes the platform's converter gives.
void TestCodePage::tablesMatchConverter()
{
    QFETCH(int, page);
    QFETCH(QString, line);
    const CodePage codePage(page);
    const QByteArray bytes = codePage.encode(line);
    QCOMPARE(codepagebackend::encodeEach(page, {line}).value(0), bytes);
    QCOMPARE(codepagebackend::decodeEach(page, {bytes}).value(0), line);
    QCOMPARE(codePage.decode(bytes), line);
}

void TestCodePage::entryText_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown"); // in the entry box while typing
    QTest::addColumn<QString>("kept");  // the entry added
    QTest::addColumn<QString>("refused");
    const auto row = [](const char *name, int page, const char16_t *typed, const char16_t *shown, const char16_t *kept,
                        const char16_t *refused) {
        QTest::newRow(name) << page << QString::fromUtf16(typed) << QString::fromUtf16(shown) << QString::fromUtf16(kept)
                            << QString::fromUtf16(refused);
    };
    row("check mark refused in 1252", 1252, u"Done \u2713 ok", u"Done  ok", u"Done  ok", u"\u2713");
    row("Polish letters refused in 1252", 1252, u"\u0142\u00f3d\u017a", u"\u00f3d", u"\u00f3d", u"\u0142");
    row("Latin letters kept in 1251", 1251, u"Bank \u0431\u0430\u043d\u043a", u"Bank \u0431\u0430\u043d\u043a",
        u"Bank \u0431\u0430\u043d\u043a", u"");
    row("Cyrillic refused in 1250", 1250, u"a\u0436b", u"ab", u"ab", u"\u0436");
    row("emoji refused whole in 932", 932, u"\u65e5\U0001F600", u"\u65e5", u"\u65e5", u"\U0001F600");
    row("line break becomes a blank in 936", 936, u"\u4e2d\r\n\u6587", u"\u4e2d \u6587", u"\u4e2d \u6587", u"");
    // Shown whole, so that Backspace takes the letter; added as 1258 stores it.
    row("1258 keeps tone marks as combining marks", 1258, u"Vi\u1ec7t", u"Vi\u1ec7t", u"Vi\u00ea\u0323t", u"");
    row("1258 marks it lacks typed apart are composed", 1258, u"Vie\u0302\u0323t", u"Vi\u1ec7t", u"Vi\u00ea\u0323t",
        u"");
    // As the Windows Vietnamese keyboard types it.
    row("1258 marks it holds typed apart stay as typed", 1258, u"Vi\u00ea\u0323t", u"Vi\u00ea\u0323t",
        u"Vi\u00ea\u0323t", u"");
    row("1258 letter it holds whole", 1258, u"ho\u00e0n h\u00f2a", u"ho\u00e0n h\u00f2a", u"ho\u00e0n ho\u0300a", u"");
    row("1258 keeps what it cannot store out", 1258, u"\u1ec7\u2713", u"\u1ec7", u"\u00ea\u0323", u"\u2713");
    row("a separately typed accent is composed in 1252", 1252, u"cafe\u0301", u"caf\u00e9", u"caf\u00e9", u"");
    row("Persian yeh kept as the yeh of 1256", 1256, u"\u0686\u0627\u06cc", u"\u0686\u0627\u064a",
        u"\u0686\u0627\u064a", u"");
    row("Persian digits kept as ASCII digits in 1256", 1256,
        u"\u0633\u0627\u0639\u062a \u06f1\u06f0 \u06f2\u06f3\u06f4\u06f5\u06f6\u06f7\u06f8\u06f9",
        u"\u0633\u0627\u0639\u062a 10 23456789", u"\u0633\u0627\u0639\u062a 10 23456789", u"");
    row("Arabic-Indic digits kept as ASCII digits in 1256", 1256,
        u"\u0660\u0661\u0662\u0663\u0664\u0665\u0666\u0667\u0668\u0669", u"0123456789", u"0123456789", u"");
    row("Romanian comma-below letters kept as the cedilla ones of 1250", 1250,
        u"Mul\u021bumesc, Bucure\u0219ti \u0218\u021a", u"Mul\u0163umesc, Bucure\u015fti \u015e\u0162",
        u"Mul\u0163umesc, Bucure\u015fti \u015e\u0162", u"");
    row("Romanian comma below typed apart", 1250, u"s\u0326t\u0326", u"\u015f\u0163", u"\u015f\u0163", u"");
    row("Romanian letters stay out of 1252", 1252, u"\u0219a", u"a", u"a", u"\u0219");
    row("Japanese wave dash and minus kept as the full-width forms of 932", 932,
        u"10\u6642\u301c12\u6642 \u2212\u2016\u2014\u00a2\u00a3\u00ac",
        u"10\u6642\uff5e12\u6642 \uff0d\u2225\u2015\uffe0\uffe1\uffe2",
        u"10\u6642\uff5e12\u6642 \uff0d\u2225\u2015\uffe0\uffe1\uffe2", u"");
}

void TestCodePage::entryText()
{
    QFETCH(int, page);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, kept);
    QFETCH(QString, refused);
    const CodePage codePage(page);
    const EntryText inBox = typedEntryText(typed, codePage);
    QCOMPARE(inBox.text, shown);
    QCOMPARE(inBox.refused, refused);
    QCOMPARE(typedEntryText(shown, codePage).text, shown);
    const EntryText text = storableEntryText(typed, codePage);
    QCOMPARE(text.text, kept);
    QCOMPARE(text.refused, refused);
    QCOMPARE(storableEntryText(shown, codePage).text, kept);
    QCOMPARE(codePage.decode(codePage.encode(text.text)), kept);
    // The editor opens the entry with its letters whole, and an unchanged edit changes nothing.
    QCOMPARE(editableEntryText(kept, codePage), shown.normalized(QString::NormalizationForm_C));
    QCOMPARE(storableEntryText(editableEntryText(kept, codePage), codePage).text, kept);
    // The list shows it so, and keeps it as stored.
    const CodePage before = programCodePage();
    setProgramCodePage(codePage);
    const auto restore = qScopeGuard([&] { setProgramCodePage(before); });
    TaskListModel list(kFirstListCapacity);
    list.append(kept);
    QCOMPARE(list.data(list.index(0), Qt::DisplayRole).toString(), shown.normalized(QString::NormalizationForm_C));
    QCOMPARE(list.data(list.index(0), Qt::EditRole).toString(), kept);
    QCOMPARE(list.at(0), kept);
}

void TestCodePage::secondForms_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("found"); // byte strings that read as a character whose own bytes differ
    QTest::newRow("932 NEC-selected and IBM duplicates") << 932 << 398;
    QTest::newRow("950 box drawing duplicates") << 950 << 10;
    QTest::newRow("936") << 936 << 0;
    QTest::newRow("949") << 949 << 0;
    QTest::newRow("1252") << 1252 << 0;
    QTest::newRow("1258") << 1258 << 0;
}

// Reading says which lines would not be written back as they came.
void TestCodePage::secondForms()
{
    QFETCH(int, page);
    QFETCH(int, found);
    const CodePage codePage(page);
    QList<QByteArray> pieces;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n') // never inside a line
            pieces.append(QByteArray(1, char(b)));
    for (int lead = 0x81; codePage.doubleByte() && lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail)
            pieces.append(QByteArray(1, char(lead)) + char(trail));
    int seen = 0;
    for (const QByteArray &piece : pieces) {
        bool faithful = false;
        const QString text = codePage.decode(piece, &faithful);
        QVERIFY2(faithful == (codePage.encode(text) == piece), piece.toHex().constData());
        if (!faithful && text.size() == 1 && codePage.canEncode(text.at(0).unicode()))
            ++seen;
    }
    QCOMPARE(seen, found);
    bool faithful = true;
    codePage.decode("plain text, long enough for a block", &faithful);
    QVERIFY(faithful);
}

// Writing names the first entry that would not read back as it stands.
void TestCodePage::unstorableEntryNamed()
{
    const CodePage western(1252);
    ChangedEntry changed;
    writeTaskFile({QStringLiteral("fine")}, {QStringLiteral("ok"), QString::fromUtf16(u"tick \u2713"), QStringLiteral("a\nb")},
                  western, &changed);
    QCOMPARE(changed.list, 1);
    QCOMPARE(changed.row, qsizetype(1));
    QCOMPARE(changed.at, qsizetype(5));
    QCOMPARE(refusedCharacterHint(QString::fromUtf16(u"\u2713")), QString::fromUtf16(u"\u201c\u2713\u201d cannot be kept in a task file"));
    QCOMPARE(refusedCharacterHint(QString::fromUtf16(u"\u200b")), QStringLiteral("U+200B cannot be kept in a task file"));
}

// A file from a Western system opened with a double-byte page: a lead byte
// without its trail loses only itself, and saving it back is refused, not
// written with a '?'.
void TestCodePage::brokenSequenceRead()
{
    const CodePage japanese(932);
    const ReadResult read = readTaskFile(QByteArray(" 1 \r\ncaf\xe9\r\n 0 \r\n"), japanese);
    QVERIFY(read.complete);
    QCOMPARE(read.lists.first, QStringList{QString::fromUtf16(u"caf\ufffd")});
    ChangedEntry changed;
    writeTaskFile(read.lists, japanese, &changed);
    QCOMPARE(changed.row, qsizetype(0));
}

void TestCodePage::lettersToMeasure_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("among"); // letters that reach far above or below the line
    const auto row = [](int page, std::initializer_list<const char16_t *> among) {
        QStringList letters;
        for (const char16_t *letter : among)
            letters << QString::fromUtf16(letter);
        QTest::addRow("%d", page) << page << letters;
    };
    row(1250, {u"\u0150", u"\u013d", u"\u0163"});
    row(1251, {u"\u0419", u"\u0401", u"\u0444"});
    row(1252, {u"\u00c5", u"\u00c7", u"\u0192", u"\u0178"});
    row(1253, {u"\u03aa", u"\u0390", u"\u03be"});
    row(1254, {u"\u0130", u"\u015e", u"\u011e"});
    // Shin with its dot and a vowel; bet with qamats and dagesh.
    row(1255, {u"\u05e9\u05b8\u05c1", u"\u05d1\u05b8\u05bc", u"\u05da"});
    // Beh with fatha and shadda stacked, and with kasra below.
    row(1256, {u"\u0628\u064e\u0651", u"\u0628\u0650", u"\u0625", u"\u00e7"});
    row(1257, {u"\u0122", u"\u0123", u"\u00c5"});
    // As an entry stores them (tone marks apart) and as the editor shows them.
    row(1258, {u"\u00c2\u0303", u"\u1eaa", u"\u01a0\u0309", u"\u1ede", u"\u0103\u0323", u"\u00ca\u0301"});
    // A tone above an upper vowel, above sara am's circle, and vowels below.
    row(874, {u"\u0e1b\u0e34\u0e4b", u"\u0e19\u0e49\u0e33", u"\u0e0e\u0e38", u"\u0e1f\u0e39\u0e48"});
    row(932, {u"\u30fe", u"\u0401", u"\uff08", u"\u2460"});
    row(936, {u"\u01d8", u"\u0401", u"\u3010"});
    row(949, {u"\u0401", u"\u3041", u"\u3131"});
    row(950, {u"\u3105", u"\uff08", u"\u2551"});
}

// What a row is measured by holds the page's tallest and deepest letters, and
// nothing an entry of the page could not show.
void TestCodePage::lettersToMeasure()
{
    QFETCH(int, page);
    QFETCH(QStringList, among);
    const CodePage codePage(page);
    const QStringList letters = listora::lettersToMeasure(codePage);
    for (const QString &letter : among)
        QVERIFY2(letters.contains(letter), qPrintable(letter));
    for (const QString &letter : letters) {
        QVERIFY2(codePage.firstUnstorable(storableForm(letter, codePage)) < 0, qPrintable(letter));
        QVERIFY2(!letter.at(0).isMark(), qPrintable(letter)); // a mark stands on a letter
    }
    // The ideographs and syllables are sampled, not listed in their thousands.
    QVERIFY2(letters.size() < 8000, qPrintable(QString::number(letters.size())));
}

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
