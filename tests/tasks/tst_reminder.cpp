#include "tasks/reminder.h"

#include <QTest>

using namespace listora;

class TestReminder : public QObject {
    Q_OBJECT
private slots:
    void text_data();
    void text();
    void when_data();
    void when();
};

namespace {

const QDate kDay(2026, 12, 9);

const AppointmentDateReader &reader()
{
    static const AppointmentDateReader britishReader(QLocale(QStringLiteral("en_GB")), CodePage(1252));
    return britishReader;
}

// An appointment days after kDay, as the entry box writes it in en_GB.
QString on(int days, const QString &words)
{
    return QStringLiteral(" ---> ") + kDay.addDays(days).toString(QStringLiteral("dd/MM/yyyy")) + QLatin1Char(' ')
         + words;
}

struct Step {
    int day; // after kDay
    QStringList first;
    QStringList second;
    QString told; // empty: nothing shown
};

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

void TestReminder::text_data()
{
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("rows"); // list:row of each due entry, in order
    using L = QStringList;

    const QString longWords = QStringLiteral("Ring the insurance about the water damage in the cellar and the garage door");
    QTest::newRow("one of today") << L{on(0, "Dentist at ten")} << L{} << "1 appointment due: Dentist at ten" << "0:0";
    QTest::newRow("one overdue") << L{} << L{"Buy bread", on(-3, "Pay the taxes")}
                                 << "1 appointment due: Pay the taxes (overdue)" << "1:1";
    QTest::newRow("one in each list") << L{on(0, "Dentist at ten")} << L{on(-3, "Pay the taxes")}
                                      << "2 appointments due: Dentist at ten; Pay the taxes (overdue)" << "0:0 1:0";
    QTest::newRow("list order, the first list first")
        << L{"Buy bread", on(0, "B"), on(-1, "A")} << L{on(0, "C")} << "3 appointments due: B; A (overdue); C"
        << "0:1 0:2 1:0";
    QTest::newRow("five: the first three named")
        << L{on(0, "A"), on(-1, "B"), on(0, "C"), on(-400, "D")} << L{on(0, "E")}
        << "5 appointments due: A; B (overdue); C; and 2 more" << "0:0 0:1 0:2 0:3 1:0";
    QTest::newRow("nothing due") << L{"Buy bread", on(1, "Tomorrow")} << L{on(7, "Next week")} << "" << "";
    QTest::newRow("unreadable dates are not due") << L{" ---> 99/99/2026 Dentist", " ---> Call the bank"} << L{}
                                                  << "" << "";
    QTest::newRow("no words: known by its date") << L{on(0, "")} << L{} << "1 appointment due: 09/12/2026" << "0:0";
    QTest::newRow("words trimmed") << L{on(0, "  Dentist  ")} << L{} << "1 appointment due: Dentist" << "0:0";
    QTest::newRow("long words cut") << L{on(0, longWords)} << L{}
                                    << "1 appointment due: " + longWords.left(59) + QChar(0x2026) << "0:0";
}

void TestReminder::text()
{
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QString, text);
    QFETCH(QString, rows);

    const QList<DueAppointment> due = dueAppointments(first, second, kDay, reader());
    QStringList where;
    for (const DueAppointment &appointment : due) {
        where << QStringLiteral("%1:%2").arg(appointment.list).arg(appointment.row);
        const QStringList &list = appointment.list == 0 ? first : second;
        QCOMPARE(appointment.entry, list.at(appointment.row));
    }
    QCOMPARE(where.join(QLatin1Char(' ')), rows);
    QCOMPARE(dueNotificationText(due), text);
}

void TestReminder::when_data()
{
    QTest::addColumn<QList<Step>>("steps");
    using L = QStringList;
    const QString dentist = on(0, "Dentist");
    const QString taxes = on(-2, "Taxes");

    QTest::newRow("once a day for the same entries")
        << QList<Step>{{0, L{dentist}, L{}, "1 appointment due: Dentist"}, {0, L{dentist}, L{}, ""},
                       {0, L{"Buy bread", dentist}, L{}, ""}};
    QTest::newRow("again at the start of the next day")
        << QList<Step>{{0, L{dentist}, L{}, "1 appointment due: Dentist"},
                       {1, L{dentist}, L{}, "1 appointment due: Dentist (overdue)"}, {1, L{dentist}, L{}, ""}};
    QTest::newRow("nothing due, nothing shown")
        << QList<Step>{{0, L{"Buy bread", on(3, "Later")}, L{}, ""}, {1, L{"Buy bread", on(3, "Later")}, L{}, ""}};
    QTest::newRow("a file opened with one due")
        << QList<Step>{{0, L{}, L{}, ""}, {0, L{}, L{taxes}, "1 appointment due: Taxes (overdue)"}};
    QTest::newRow("another one added the same day names both")
        << QList<Step>{{0, L{dentist}, L{}, "1 appointment due: Dentist"},
                       {0, L{dentist}, L{taxes}, "2 appointments due: Dentist; Taxes (overdue)"}};
    QTest::newRow("removed and undone the same day")
        << QList<Step>{{0, L{dentist}, L{}, "1 appointment due: Dentist"}, {0, L{}, L{}, ""}, {0, L{dentist}, L{}, ""}};
    QTest::newRow("moved to the other list")
        << QList<Step>{{0, L{dentist}, L{}, "1 appointment due: Dentist"}, {0, L{}, L{dentist}, ""}};
    QTest::newRow("put in another order")
        << QList<Step>{{0, L{dentist, taxes}, L{}, "2 appointments due: Dentist; Taxes (overdue)"},
                       {0, L{taxes, dentist}, L{}, ""}};
    QTest::newRow("words edited: another entry")
        << QList<Step>{{0, L{dentist}, L{}, "1 appointment due: Dentist"},
                       {0, L{on(0, "Dentist at ten")}, L{}, "1 appointment due: Dentist at ten"}};
    QTest::newRow("five due: all counted, three named")
        << QList<Step>{{0, L{on(0, "A"), on(-1, "B"), "Buy bread", on(0, "C")}, L{on(-9, "D"), on(0, "E")},
                        "5 appointments due: A; B (overdue); C; and 2 more"}};
    QTest::newRow("an appointment of tomorrow, the next day")
        << QList<Step>{{0, L{on(1, "Dentist")}, L{}, ""}, {1, L{on(1, "Dentist")}, L{}, "1 appointment due: Dentist"}};
}

void TestReminder::when()
{
    QFETCH(QList<Step>, steps);

    Reminder reminder;
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const Step &step = steps[i];
        const auto told = reminder.update(step.first, step.second, kDay.addDays(step.day), reader());
        QVERIFY2(told.has_value() == !step.told.isEmpty(), qPrintable(QStringLiteral("step %1").arg(i + 1)));
        QCOMPARE(told.value_or(QString()), step.told);
    }
}

QTEST_GUILESS_MAIN(TestReminder)
#include "tst_reminder.moc"
