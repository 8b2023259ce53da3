// Start-up: the main window built, shown and painted once, against a bare
// window holding the same number and kinds of widgets in the same places, with
// the focus in the same box.
#include "comparison.h"
#include "support.h"

#include "widgets/controls.h"
#include "app/mainwindow.h"
#include "widgets/windows.h"
#include "support/fakeplatform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <map>

namespace listora::bench {

namespace {

using Factory = std::function<QWidget *(QWidget *)>;

template <class W> Factory make()
{
    return [](QWidget *parent) { return new W(parent); };
}

const std::map<QString, Factory> &factories()
{
    static const std::map<QString, Factory> table{
        {"QListView", make<QListView>()}, {"QPushButton", make<QPushButton>()},
        {"QLabel", make<QLabel>()},           {"QProgressBar", make<QProgressBar>()},
        {"QLineEdit", make<QLineEdit>()},     {"QDateEdit", make<QDateEdit>()},
        {"QCheckBox", make<QCheckBox>()},     {"QComboBox", make<QComboBox>()},
        {"QFrame", make<QFrame>()},           {"QWidget", make<QWidget>()},
    };
    return table;
}

// The nearest Qt class the floor can build; the program's own subclasses
// (ClickLabel, Panel) count as the Qt widget they extend.
QString kindOf(const QWidget *widget)
{
    for (const QMetaObject *meta = widget->metaObject(); meta; meta = meta->superClass()) {
        const QString name = QString::fromLatin1(meta->className());
        if (factories().count(name))
            return name;
    }
    return QStringLiteral("QWidget");
}

struct Node {
    QString kind;
    int parent; // index into the shape, -1 for the window itself
    QRect geometry;
    bool hidden;
    bool focused; // the window's focus starts here
};

// The controls of a window. Plain containers are entered; the inner parts of
// composite widgets (a list's viewport, a date edit's line edit) are not, since
// building the composite builds them in the floor too.
void collect(const QWidget *container, const QWidget *focus, int parentIndex, std::vector<Node> &shape)
{
    for (QObject *object : container->children()) {
        auto *widget = qobject_cast<QWidget *>(object);
        if (!widget || widget->isWindow())
            continue;
        const QString kind = kindOf(widget);
        shape.push_back({kind, parentIndex, widget->geometry(), widget->isHidden(), widget == focus});
        if (kind == QLatin1String("QWidget") || kind == QLatin1String("QFrame"))
            collect(widget, focus, int(shape.size()) - 1, shape);
    }
}

// The main window's controls, and its size: the floor is a window as large.
struct Shape {
    std::vector<Node> nodes;
    QSize size;
};

const Shape &mainWindowShape()
{
    static const Shape shape = [] {
        test::FakePlatform platform;
        Windows windows(platform);
        MainWindow window(windows, platform);
        Shape made;
        collect(&window, window.focusWidget(), -1, made.nodes);
        made.size = window.size();
        return made;
    }();
    return shape;
}

QWidget *buildFloor(const Shape &shape)
{
    auto *window = new QWidget;
    window->resize(shape.size);
    std::vector<QWidget *> built;
    built.reserve(shape.nodes.size());
    for (const Node &node : shape.nodes) {
        QWidget *parent = node.parent < 0 ? window : built[size_t(node.parent)];
        QWidget *widget = factories().at(node.kind)(parent);
        widget->setGeometry(node.geometry);
        if (node.hidden)
            widget->hide();
        // A focused box draws its focus frame and cursor: the same first paint, not the program's own work.
        if (node.focused)
            widget->setFocus(Qt::OtherFocusReason);
        built.push_back(widget);
    }
    return window;
}

using Clock = std::chrono::steady_clock;

// Seconds from building a window to its first paint, or a negative number when it never painted.
double timeToFirstPaint(const std::function<QWidget *()> &build)
{
    const auto start = Clock::now();
    QWidget *window = build();
    window->show();
    const bool painted = waitForFirstPaint(*window);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    delete window;
    QCoreApplication::processEvents();
    return painted ? seconds : -1;
}

// The main window and its bare floor, one after the other in every iteration
// and in turns first, so that both meet the same machine: on a shared machine
// start-up times drift by a third from one second to the next.
void startupMainWindow(benchmark::State &state)
{
    const Shape &shape = mainWindowShape();
    test::FakePlatform platform;
    Windows windows(platform);
    const auto startMain = [&] { return timeToFirstPaint([&] { return new MainWindow(windows, platform); }); };
    const auto startFloor = [&] { return timeToFirstPaint([&] { return buildFloor(shape); }); };
    timePaired(state, startMain, {{"floor", startFloor}}, "the main window or its bare floor never painted");
    state.counters["widgets"] = double(shape.nodes.size());
}

} // namespace

void registerStartup(Length length)
{
    // Start-up takes about a millisecond: a full repetition takes in a thousand or more.
    benchmark::RegisterBenchmark("Startup/MainWindow", startupMainWindow)
        ->UseManualTime()
        ->MinTime(length == Length::Full ? 2 : 0.3)
        ->Unit(benchmark::kMillisecond);
}

} // namespace listora::bench
