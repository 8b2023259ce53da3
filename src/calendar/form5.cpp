#include "calendar/form5.h"

#include "app/form1.h"
#include "app/fonts.h"
#include "app/windows.h"
#include "calendar/form3.h"
#include "calendar/form4.h"
#include "calendar/monthview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>

#include <optional>

namespace listora {

namespace {

constexpr int kTops[] = {240, 720, 1200, 1680, 2160, 2640, 3120};

// The number of the first item equal to text, compared as text in list order.
std::optional<int> matchItem(const QString &text, const QStringList &items)
{
    for (const QString &item : items)
        if (text == item)
            return item.toInt();
    return std::nullopt;
}

const QStringList kMonths{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")};
const QStringList kSizes{QStringLiteral("8"),  QStringLiteral("10"), QStringLiteral("12"),
                         QStringLiteral("14"), QStringLiteral("18"), QStringLiteral("24")};

// A wheel turned while the pointer passes over a closed combo would step it
// and apply a setting nobody chose from the list.
class WheelStop final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *, QEvent *event) override { return event->type() == QEvent::Wheel; }
};

} // namespace

Form5::Form5(Windows &windows)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint)
    , windows_(windows)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Preferences"));
    setFixedSize(tw(4680), tw(3600));

    const QFont captionFont = msSansSerif(9.75, true);
    const QString captions[] = {
        QStringLiteral("Nº of vertical months:"),
        QStringLiteral("Nº of horizontal months:"),
        QStringLiteral("Show week number:"),
        QStringLiteral("3D Calendar:"),
        QStringLiteral("Font Size of the Calendar:"),
        QStringLiteral("Show \" Today\""),
        QStringLiteral("Reset Preferences:"),
    };
    QLabel **labels[] = {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6, &Label7};
    for (int i = 0; i < 7; ++i) {
        auto *label = new QLabel(captions[i], this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setFont(captionFont);
        label->setGeometry(tw(240), tw(kTops[i]), tw(3120 - 240 - 60), tw(315));
        *labels[i] = label;
    }

    auto *wheelStop = new WheelStop(this);
    const auto combo = [this, wheelStop](const char *name, int row, const QStringList &items) {
        auto *box = new QComboBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setEditable(true);
        // Typed text is never added to the list: only the design items exist.
        box->setInsertPolicy(QComboBox::NoInsert);
        // Qt would take typed text that equals an item as a choice when the box
        // is left or Enter is pressed; only a choice from the list applies.
        QObject::disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
        box->addItems(items);
        box->setCurrentIndex(-1);
        box->setEditText(QString());
        box->setGeometry(tw(3120), tw(kTops[row]), tw(1215), tw(315) + 4);
        box->installEventFilter(wheelStop);
        return box;
    };
    Combo1 = combo("Combo1", 0, kMonths);
    Combo2 = combo("Combo2", 1, kMonths);
    Combo3 = combo("Combo3", 4, kSizes);

    const auto check = [this](const char *name, int row) {
        auto *box = new QCheckBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setGeometry(tw(3120), tw(kTops[row]), tw(1215), tw(315));
        return box;
    };
    Check1 = check("Check1", 2);
    Check2 = check("Check2", 3);
    Check3 = check("Check3", 5);
    Check4 = check("Check4", 6);

    // The caption labels name the controls for the keyboard and for screen readers.
    const std::pair<QLabel *, QWidget *> buddies[] = {{Label1, Combo1}, {Label2, Combo2}, {Label3, Check1},
                                                      {Label4, Check2}, {Label5, Combo3}, {Label6, Check3},
                                                      {Label7, Check4}};
    for (const auto &[label, control] : buddies) {
        label->setBuddy(control);
        control->setAccessibleName(label->text());
    }

    connect(Combo1, &QComboBox::activated, this, &Form5::Combo1_Click);
    connect(Combo2, &QComboBox::activated, this, &Form5::Combo2_Click);
    connect(Combo3, &QComboBox::activated, this, &Form5::Combo3_Click);
    connect(Check1, &QCheckBox::clicked, this, &Form5::Check1_Click);
    connect(Check2, &QCheckBox::clicked, this, &Form5::Check2_Click);
    connect(Check3, &QCheckBox::clicked, this, &Form5::Check3_Click);
    connect(Check4, &QCheckBox::clicked, this, &Form5::Check4_Click);

    // Load step: the clock's icon, which loads the clock.
    setWindowIcon(windows_.get<Form4>().windowIcon());
}

MonthView &Form5::calendar()
{
    return *windows_.get<Form3>().MonthView1;
}

void Form5::Combo1_Click()
{
    if (const auto n = matchItem(Combo1->currentText(), kMonths))
        calendar().setMonthRows(*n);
}

void Form5::Combo2_Click()
{
    if (const auto n = matchItem(Combo2->currentText(), kMonths))
        calendar().setMonthColumns(*n);
}

void Form5::Combo3_Click()
{
    if (const auto n = matchItem(Combo3->currentText(), kSizes))
        calendar().setFontSize(*n);
}

void Form5::Check1_Click()
{
    const bool on = Check1->isChecked();
    Check1->setText(on ? QStringLiteral("Yes") : QStringLiteral("No"));
    calendar().setShowWeekNumbers(on);
}

void Form5::Check2_Click()
{
    const bool on = Check2->isChecked();
    Check2->setText(on ? QStringLiteral("Yes") : QStringLiteral("No"));
    calendar().setAppearance3D(on);
}

void Form5::Check3_Click()
{
    const bool on = Check3->isChecked();
    Check3->setText(on ? QStringLiteral("Yes") : QStringLiteral("No"));
    calendar().setShowToday(on);
}

void Form5::Check4_Click()
{
    // Runs the other way from the boxes above: the unticked state resets.
    if (Check4->isChecked()) {
        Check4->setText(QStringLiteral("No"));
        return;
    }
    Check4->setText(QStringLiteral("Yes"));
    MonthView &view = calendar();
    view.setShowToday(true);
    view.setAppearance3D(true);
    view.setFontSize(24);
    view.setFontBold(true);
    view.setShowWeekNumbers(false);
    view.setShowToday(true);
    view.setMonthRows(1);
    view.setMonthColumns(1);
}

} // namespace listora
