#include "texts/texts.h"
#include "storage/codepage.h"
#include "tasks/appointmentdate.h"
#include "tasks/capacity.h"
#include "tasks/repetition.h"

#include <QTest>

using namespace listora;

class TestAppointmentDate : public QObject {
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void writtenDatesReadBack_data();
    void writtenDatesReadBack();
    void due_data();
    void due();
    void repetitionEnding_data();
    void repetitionEnding();
    void nextAppointment_data();
    void nextAppointment();
};

namespace {

const QDate kToday(2026, 12, 9);

} // namespace

void TestAppointmentDate::read_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("date"); // invalid: not read
    QTest::addColumn<QString>("text"); // what follows the date and its blank

    const QDate dec8(2026, 12, 8);
    const QDate none;
    struct Row { const char *name; const char *locale; const char *entry; QDate today; QDate date; const char *text; };
    const Row rows[] = {
        // The locale's own short form.
        {"en_US month first, two-digit year", "en_US", " ---> 12/8/26 Dentist at ten", kToday, dec8, "Dentist at ten"},
        {"en_GB day first", "en_GB", " ---> 08/12/2026 Dentist at ten", kToday, dec8, "Dentist at ten"},
        {"de_DE dots", "de_DE", " ---> 08.12.26 Zahnarzt", kToday, dec8, "Zahnarzt"},
        {"ja_JP year first", "ja_JP", " ---> 2026/12/08 歯医者", kToday, dec8, "歯医者"},
        {"ru_RU", "ru_RU", " ---> 08.12.2026 Стоматолог", kToday, dec8, "Стоматолог"},
        {"vi_VN", "vi_VN", " ---> 08/12/2026 Nha sĩ", kToday, dec8, "Nha sĩ"},
        {"hu_HU blanks and a closing dot", "hu_HU", " ---> 2026. 12. 08. Fogorvos", kToday, dec8, "Fogorvos"},
        {"ko_KR two-digit year first", "ko_KR", " ---> 26. 12. 8. 치과", kToday, dec8, "치과"},
        {"bg_BG a word after the year", "bg_BG", " ---> 8.12.26 г. Зъболекар", kToday, dec8, "Зъболекар"},
        {"C month name", "C", " ---> 8 Dec 2026 Dentist", kToday, dec8, "Dentist"},
        {"C month name in any case", "C", " ---> 8 DEC 2026 Dentist", kToday, dec8, "Dentist"},
        {"C another language's month", "C", " ---> 8 Dez 2026 Zahnarzt", kToday, none, ""},
        {"fa_IR Persian digits", "fa_IR", " ---> ۲۰۲۶/۱۲/۸ دندانپزشک", kToday, dec8, "دندانپزشک"},
        {"ar_EG Arabic digits and direction marks", "ar_EG", " ---> ٨\u200F/١٢\u200F/٢٠٢٦ طبيب", kToday, dec8, "طبيب"},
        {"ar_EG Arabic digits without marks", "ar_EG", " ---> ٨/١٢/٢٠٢٦ طبيب", kToday, dec8, "طبيب"},
        {"en_US Arabic digits are not its own", "en_US", " ---> ١٢/٨/٢٦ x", kToday, none, ""},
        // What the program writes where the page cannot hold the locale's form.
        {"fa_IR ASCII form", "fa_IR", " ---> 2026/12/8 دندانپزشک", kToday, dec8, "دندانپزشک"},
        {"ar_EG ASCII form", "ar_EG", " ---> 8/12/2026 طبيب", kToday, dec8, "طبيب"},
        {"ar_EG ASCII form, two-digit year", "ar_EG", " ---> 8/12/26 طبيب", kToday, dec8, "طبيب"},
        {"my_MM ASCII form, its dashes", "my_MM", " ---> 8-12-2026 x", kToday, dec8, "x"},
        {"en_US four-digit year", "en_US", " ---> 12/8/2026 Dentist", kToday, dec8, "Dentist"},
        // Another common order, when it is the only valid reading.
        {"en_US reads a day-first date", "en_US", " ---> 25/12/2026 Christmas", kToday, QDate(2026, 12, 25), "Christmas"},
        {"de_DE reads ISO", "de_DE", " ---> 2026-12-08 Zahnarzt", kToday, dec8, "Zahnarzt"},
        {"de_DE reads a month-first date", "de_DE", " ---> 12/25/2026 x", kToday, QDate(2026, 12, 25), "x"},
        {"en_GB reads a month-first date", "en_GB", " ---> 08/13/2026 x", kToday, QDate(2026, 8, 13), "x"},
        {"ja_JP reads a day-first date", "ja_JP", " ---> 25.12.2026 x", kToday, QDate(2026, 12, 25), "x"},
        {"en_US: dotted date reads two ways", "en_US", " ---> 08.12.2026 x", kToday, none, ""},
        {"en_GB: dashed date reads two ways", "en_GB", " ---> 12-8-2026 x", kToday, none, ""},
        {"another order with a two-digit year", "en_US", " ---> 25.12.26 x", kToday, none, ""},
        // Two-digit years in the hundred years around today.
        {"76 is 1976 in 2026", "en_US", " ---> 1/1/76 x", kToday, QDate(1976, 1, 1), "x"},
        {"75 is 2075 in 2026", "en_US", " ---> 1/1/75 x", kToday, QDate(2075, 1, 1), "x"},
        {"30 is 2030 in 2080", "en_US", " ---> 1/1/30 x", QDate(2080, 6, 1), QDate(2030, 1, 1), "x"},
        {"29 is 2129 in 2080", "en_US", " ---> 1/1/29 x", QDate(2080, 6, 1), QDate(2129, 1, 1), "x"},
        // The end of the date.
        {"no words after the date", "en_US", " ---> 12/8/26", kToday, dec8, ""},
        {"only the blank after the date", "en_US", " ---> 12/8/26 ", kToday, dec8, ""},
        {"words keep their own blanks", "en_US", " ---> 12/8/26   indented", kToday, dec8, "  indented"},
        // Things that only look like dates.
        {"a task", "en_US", "Dentist on 12/8/26", kToday, none, ""},
        {"no blank before the arrow", "en_US", "---> 12/8/26 x", kToday, none, ""},
        {"short arrow", "en_US", " --> 12/8/26 x", kToday, none, ""},
        {"arrow without a date", "en_US", " ---> Call the bank", kToday, none, ""},
        {"two blanks before the date", "en_US", " --->  12/8/26 x", kToday, none, ""},
        {"day and month only", "en_GB", " ---> 08/12 x", kToday, none, ""},
        {"five-digit year", "en_GB", " ---> 08/12/20265 x", kToday, none, ""},
        {"three-digit year", "en_GB", " ---> 08/12/202 x", kToday, none, ""},
        {"one-digit year", "en_US", " ---> 12/8/6 x", kToday, none, ""},
        {"letters stuck to the date", "en_GB", " ---> 08/12/2026x", kToday, none, ""},
        {"month 13 in every order", "en_GB", " ---> 13/13/2026 x", kToday, none, ""},
        {"day 0", "en_GB", " ---> 00/12/2026 x", kToday, none, ""},
        {"29 February of a common year", "en_GB", " ---> 29/02/2027 x", kToday, none, ""},
        {"29 February of a leap year", "en_GB", " ---> 29/02/2028 x", kToday, QDate(2028, 2, 29), "x"},
        {"mixed separators", "en_GB", " ---> 08/12-2026 x", kToday, none, ""},
        {"a version number", "de_DE", " ---> 3.14.15 Folien", kToday, none, ""},
        {"a time", "en_US", " ---> 10:30 call", kToday, none, ""},
        {"empty", "en_US", "", kToday, none, ""},
        {"the arrow alone", "en_US", " ---> ", kToday, none, ""},
    };
    for (const Row &row : rows)
        QTest::newRow(row.name) << QString::fromUtf8(row.locale) << QString::fromUtf8(row.entry) << row.today
                                << row.date << QString::fromUtf8(row.text);
}

void TestAppointmentDate::read()
{
    QFETCH(QString, locale);
    QFETCH(QString, entry);
    QFETCH(QDate, today);
    QFETCH(QDate, date);
    QFETCH(QString, text);

    const QLocale qlocale(locale);
    const CodePage page(codePageForLocale(locale));
    const AppointmentDateReader reader(qlocale, page);
    const auto reading = reader.read(entry, today);
    QCOMPARE(reading.has_value(), date.isValid());
    QCOMPARE(appointmentDate(entry, today, qlocale, page).value_or(QDate()), date);
    if (reading) {
        QCOMPARE(reading->date, date);
        QCOMPARE(entry.mid(reading->textStart), text);
    }
}

// Whatever date the entry box writes, in whichever form the page makes it, reads back.
void TestAppointmentDate::writtenDatesReadBack_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("page");

    const char *const locales[] = {"en_US", "en_GB", "de_DE", "ja_JP", "ru_RU", "fa_IR", "ar_EG", "vi_VN", "hu_HU",
                                   "ko_KR", "bg_BG", "zh_CN", "th_TH", "he_IL", "el_GR", "tr_TR", "pl_PL", "lt_LT",
                                   "sk_SK", "hr_HR", "sr_RS", "mr_IN", "my_MM", "C"};
    for (const char *locale : locales) {
        const int page = codePageForLocale(QString::fromLatin1(locale));
        QTest::addRow("%s in its page %d", locale, page) << QString::fromLatin1(locale) << page;
        // The same locale where a Western page cannot hold its form.
        if (page != 1252)
            QTest::addRow("%s in page 1252", locale) << QString::fromLatin1(locale) << 1252;
    }
}

void TestAppointmentDate::writtenDatesReadBack()
{
    QFETCH(QString, locale);
    QFETCH(int, page);

    const QLocale qlocale(locale);
    const CodePage codePage(page);
    const AppointmentDateReader reader(qlocale, codePage);
    // Days whose day and month could be taken for each other, and the ends of the two-digit window.
    const QDate dates[] = {QDate(2026, 12, 8), QDate(2026, 1, 2), QDate(2026, 12, 31), QDate(2027, 2, 28),
                           QDate(1977, 6, 15), QDate(2075, 11, 30), QDate(2026, 12, 9)};
    for (const QDate &date : dates) {
        const QString entry = appointmentEntry(storedDateText(date, qlocale, codePage), QStringLiteral("Dentist"));
        const auto reading = reader.read(entry, kToday);
        QVERIFY2(reading.has_value(), qPrintable(entry));
        QCOMPARE(reading->date, date);
        QCOMPARE(entry.mid(reading->textStart), QStringLiteral("Dentist"));
    }
}

Q_DECLARE_METATYPE(listora::Due)

void TestAppointmentDate::due_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<Due>("due");

    QTest::newRow("today") << " ---> 09/12/2026 Dentist" << kToday << Due::Today;
    QTest::newRow("yesterday") << " ---> 08/12/2026 Dentist" << kToday << Due::Overdue;
    QTest::newRow("last year") << " ---> 31/12/2025 Taxes" << kToday << Due::Overdue;
    QTest::newRow("tomorrow") << " ---> 10/12/2026 Dentist" << kToday << Due::None;
    QTest::newRow("unreadable date") << " ---> 99/99/2026 Dentist" << kToday << Due::None;
    QTest::newRow("a task naming a past day") << "Paid on 08/12/2026" << kToday << Due::None;
    QTest::newRow("no day to judge by") << " ---> 08/12/2026 Dentist" << QDate() << Due::None;
}

void TestAppointmentDate::due()
{
    QFETCH(QString, entry);
    QFETCH(QDate, today);
    QFETCH(Due, due);

    const QLocale locale(QStringLiteral("en_GB"));
    const CodePage page(1252);
    QCOMPARE(dueState(entry, today, locale, page), due);
    QCOMPARE(AppointmentDateReader(locale, page).due(entry, today), due);
}

void TestAppointmentDate::repetitionEnding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("ending"); // as the program writes it; empty: the text does not repeat
    QTest::addColumn<QString>("heard");

    QTest::newRow("every day") << "Pills (every day)" << " (every day)" << "repeats every day";
    QTest::newRow("any letter case") << "Plants (EVERY Week)" << " (every week)" << "repeats every week";
    QTest::newRow("every weekday") << "Stand-up (every weekday)" << " (every weekday)" << "repeats every weekday";
    QTest::newRow("every 2 weeks") << "Bins (every 2 weeks)" << " (every 2 weeks)" << "repeats every 2 weeks";
    QTest::newRow("every 99 days") << "x (every 99 days)" << " (every 99 days)" << "repeats every 99 days";
    QTest::newRow("the ending alone") << "(every year)" << " (every year)" << "repeats every year";
    QTest::newRow("a month's day past 28") << "Rent (every month on the 31st)" << " (every month on the 31st)"
                                           << "repeats every month on the 31st";
    QTest::newRow("29 February") << "Birthday (every year on the 29th)" << " (every year on the 29th)"
                                 << "repeats every year on the 29th";
    QTest::newRow("every 1 days is no form") << "x (every 1 days)" << "" << "";
    QTest::newRow("every 100 days") << "x (every 100 days)" << "" << "";
    QTest::newRow("a leading zero") << "x (every 02 weeks)" << "" << "";
    QTest::newRow("a day every month has") << "x (every month on the 28th)" << "" << "";
    QTest::newRow("a year's day that every year has") << "x (every year on the 30th)" << "" << "";
    QTest::newRow("the wrong ordinal") << "x (every month on the 31th)" << "" << "";
    QTest::newRow("no blank before it") << "Plants(every week)" << "" << "";
    QTest::newRow("not at the end") << "Plants (every week) or so" << "" << "";
}

void TestAppointmentDate::repetitionEnding()
{
    QFETCH(QString, text);
    QFETCH(QString, ending);
    QFETCH(QString, heard);
    const RepetitionEnding found = listora::repetitionEnding(text);
    QCOMPARE(repetitionText(found.repetition), ending);
    QCOMPARE(repetitionDescription(found.repetition), heard);
    QCOMPARE(found.at, ending.isEmpty() ? text.size() : qMax(text.size() - ending.size(), 0));
}

void TestAppointmentDate::nextAppointment_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("ending");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("next");          // invalid: no next one
    QTest::addColumn<QString>("nextEnding"); // when the next one keeps more than its ending said

    struct Row { const char *name; const char *locale; QDate date; const char *ending; QDate today; QDate next;
                 const char *nextEnding; };
    const Row rows[] = {
        {"every day, done on the day", "en_US", {2026, 12, 9}, " (every day)", {2026, 12, 9}, {2026, 12, 10}, ""},
        {"every day, done late: no missed days", "en_US", {2026, 12, 1}, " (every day)", {2026, 12, 9},
         {2026, 12, 10}, ""},
        {"every day, done early: the one after it", "en_US", {2026, 12, 15}, " (every day)", {2026, 12, 9},
         {2026, 12, 16}, ""},
        {"every 3 days, late", "en_US", {2026, 12, 1}, " (every 3 days)", {2026, 12, 9}, {2026, 12, 10}, ""},
        {"every weekday, a Friday", "en_US", {2026, 12, 11}, " (every weekday)", {2026, 12, 11}, {2026, 12, 14}, ""},
        {"every weekday, late on the Saturday", "en_US", {2026, 12, 11}, " (every weekday)", {2026, 12, 12},
         {2026, 12, 14}, ""},
        {"every weekday where Friday and Saturday are the weekend", "he_IL", {2026, 12, 10}, " (every weekday)",
         {2026, 12, 10}, {2026, 12, 13}, ""},
        {"every week keeps the weekday, late", "en_US", {2026, 12, 9}, " (every week)", {2026, 12, 20},
         {2026, 12, 23}, ""},
        {"every 2 weeks, late", "en_US", {2026, 12, 1}, " (every 2 weeks)", {2026, 12, 20}, {2026, 12, 29}, ""},
        {"every month, the 31st into February", "en_US", {2027, 1, 31}, " (every month)", {2027, 1, 31},
         {2027, 2, 28}, " (every month on the 31st)"},
        {"every month, back to the 31st after February", "en_US", {2027, 2, 28}, " (every month on the 31st)",
         {2027, 2, 28}, {2027, 3, 31}, ""},
        {"every month, the 30th into a leap February", "en_US", {2028, 1, 30}, " (every month on the 30th)",
         {2028, 1, 30}, {2028, 2, 29}, ""},
        {"every month, months late", "en_US", {2026, 9, 15}, " (every month)", {2026, 12, 20}, {2027, 1, 15}, ""},
        {"every year, 29 February into other years", "en_US", {2028, 2, 29}, " (every year)", {2028, 2, 29},
         {2029, 2, 28}, " (every year on the 29th)"},
        {"every year, back to 29 February", "en_US", {2031, 2, 28}, " (every year on the 29th)", {2031, 2, 28},
         {2032, 2, 29}, ""},
        {"every day, over the end of a year", "en_US", {2026, 12, 31}, " (every day)", {2026, 12, 31},
         {2027, 1, 1}, ""},
        {"every week, over the end of a year, in German", "de_DE", {2026, 12, 28}, " (every week)", {2026, 12, 28},
         {2027, 1, 4}, ""},
        {"no repetition: no next one", "en_US", {2026, 12, 9}, " (every fortnight)", {2026, 12, 9}, {}, ""},
    };
    for (const Row &r : rows)
        QTest::newRow(r.name) << r.locale << r.date << r.ending << r.today << r.next << r.nextEnding;
}

// The next one of a series: the same text and repetition, dated as the program dates appointments.
void TestAppointmentDate::nextAppointment()
{
    QFETCH(QString, locale);
    QFETCH(QDate, date);
    QFETCH(QString, ending);
    QFETCH(QDate, today);
    QFETCH(QDate, next);
    QFETCH(QString, nextEnding);
    const QLocale in(locale);
    const CodePage page(1252);
    const QString entry = appointmentEntry(storedDateText(date, in, page), QStringLiteral("Water the plants") + ending);
    const std::optional<QString> found = listora::nextAppointment(entry, today, in, page);
    QCOMPARE(found.has_value(), next.isValid());
    if (found)
        QCOMPARE(*found, appointmentEntry(storedDateText(next, in, page), QStringLiteral("Water the plants")
                                                                             + (nextEnding.isEmpty() ? ending : nextEnding)));
    // A task never repeats, whatever it ends with.
    QVERIFY(!listora::nextAppointment(QStringLiteral("Water the plants") + ending, today, in, page));
}

QTEST_GUILESS_MAIN(TestAppointmentDate)
#include "tst_appointmentdate.moc"
