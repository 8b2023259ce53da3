// Start-up: the main window built, shown and painted once, against a bare
// window holding the same number and kinds of widgets in the same places.
#include "support.h"

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
};

// The controls of a window. Plain containers are entered; the inner parts of
// composite widgets (a list's viewport, a date edit's line edit) are not, since
// building the composite builds them in the floor too.
void collect(const QWidget *container, int parentIndex, std::vector<Node> &shape)
{
    for (QObject *object : container->children()) {
        auto *widget = qobject_cast<QWidget *>(object);
        if (!widget || widget->isWindow())
            continue;
        const QString kind = kindOf(widget);
        shape.push_back({kind, parentIndex, widget->geometry(), widget->isHidden()});
        if (kind == QLatin1String("QWidget") || kind == QLatin1String("QFrame"))
            collect(widget, int(shape.size()) - 1, shape);
    }
}

std::vector<Node> &form1Shape()
{
    static std::vector<Node> shape = [] {
        test::FakePlatform platform;
        Windows windows(platform);
        Form1 form(windows, platform);
        std::vector<Node> nodes;
        collect(&form, -1, nodes);
        return nodes;
    }();
    return shape;
}

QWidget *buildFloor(const std::vector<Node> &shape, QSize size)
{
    auto *window = new QWidget;
    window->resize(size);
    std::vector<QWidget *> built;
    built.reserve(shape.size());
    for (const Node &node : shape) {
        QWidget *parent = node.parent < 0 ? window : built[size_t(node.parent)];
        QWidget *widget = factories().at(node.kind)(parent);
        widget->setGeometry(node.geometry);
        if (node.hidden)
            widget->hide();
        built.push_back(widget);
    }
    return window;
}

void startupForm1(benchmark::State &state)
{
    test::FakePlatform platform;
    Windows windows(platform);
    for (auto _ : state) {
        auto *form = new Form1(windows, platform);
        form->show();
        if (!waitForFirstPaint(*form)) {
            state.SkipWithError("the main window never painted");
            delete form;
            break;
        }
        state.PauseTiming();
        delete form;
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

void startupFloor(benchmark::State &state)
{
    const std::vector<Node> &shape = form1Shape();
    const QSize size(tw(8985), tw(6150));
    state.counters["widgets"] = double(shape.size());
    for (auto _ : state) {
        QWidget *window = buildFloor(shape, size);
        window->show();
        if (!waitForFirstPaint(*window)) {
            state.SkipWithError("the bare window never painted");
            delete window;
            break;
        }
        state.PauseTiming();
        delete window;
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

} // namespace

// Start-up takes under a millisecond, so the machine's drift weighs heavily: each
// repetition takes in a few thousand start-ups.
BENCHMARK(startupForm1)->Name("Startup/Form1")->MinTime(2)->Unit(benchmark::kMillisecond);
BENCHMARK(startupFloor)->Name("Startup/Floor")->MinTime(2)->Unit(benchmark::kMillisecond);

} // namespace listora::bench
