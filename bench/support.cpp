#include "support.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTest>

#include <stdexcept>

namespace listora::bench {

namespace {

class PaintWatcher final : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
    bool painted = false;
};

} // namespace

bool waitForFirstPaint(QWidget &widget)
{
    PaintWatcher watcher;
    widget.installEventFilter(&watcher);
    QElapsedTimer timer;
    timer.start();
    // The children paint in the same backing-store sync as the window, before
    // processEvents returns.
    while (!watcher.painted && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    widget.removeEventFilter(&watcher);
    return watcher.painted;
}

QStringList sampleEntries(int n, int list)
{
    static const char *const subjects[] = {"Call the supplier about", "Write to the bank about", "Book a table for",
                                           "Check the invoice for", "Buy new parts for", "Plan the meeting on"};
    static const char *const objects[] = {"the spring order and its delivery", "the café on the corner street",
                                          "next month's rent and the deposit", "the broken printer in room two",
                                          "the garden shed before the rain", "the quarterly figures and notes"};
    QStringList entries;
    entries.reserve(n);
    for (int i = 0; i < n; ++i) {
        QString text = QStringLiteral("%1 %2, item %3/%4")
                           .arg(QString::fromUtf8(subjects[(i + list) % 6]), QString::fromUtf8(objects[(i / 6) % 6]))
                           .arg(i)
                           .arg(list + 1);
        if (i % 10 == 0)
            text = QStringLiteral(" ---> %1/%2/2026 ").arg(1 + i % 28).arg(1 + i % 12) + text.left(48);
        entries.append(text);
    }
    return entries;
}

QByteArray taskFileBytes(const QStringList &first, const QStringList &second)
{
    QByteArray bytes;
    bytes.reserve(64 * (first.size() + second.size()) + 32);
    for (const QStringList *list : {&first, &second}) {
        bytes += ' ' + QByteArray::number(list->size()) + " \r\n";
        for (const QString &entry : *list) {
            bytes += entry.toLatin1();
            bytes += "\r\n";
        }
    }
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

ShownForm::ShownForm() : form(std::make_unique<Form1>(windows, platform))
{
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        throw std::runtime_error("the main window was never exposed");
}

ShownForm::~ShownForm()
{
    form.reset();
}

} // namespace listora::bench
