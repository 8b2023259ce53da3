#pragma once

#include "platform/notifications.h"
#include "platform/platform.h"

#include <QAction>
#include <QList>
#include <QMenu>
#include <QQueue>
#include <QStringList>

#include <memory>
#include <optional>

namespace listora::test {

// One call of the page printer, in the order the page was drawn.
struct PrintCall {
    enum Kind { Line, Size, Bold, End } kind;
    QString text;
    double size = 0;
    bool bold = false;
    friend bool operator==(const PrintCall &, const PrintCall &) = default;
};

class FakeLinePrinter final : public LinePrinter {
public:
    explicit FakeLinePrinter(QList<PrintCall> &calls, bool failOnEnd) : calls_(calls), failOnEnd_(failOnEnd) {}
    void setFontSize(double points) override { calls_.append({PrintCall::Size, {}, points, false}); }
    void setBold(bool bold) override { calls_.append({PrintCall::Bold, {}, 0, bold}); }
    void printLine(const QString &text) override { calls_.append({PrintCall::Line, text, 0, false}); }
    bool endDoc() override
    {
        calls_.append({PrintCall::End, {}, 0, false});
        return !failOnEnd_;
    }
    QString errorString() const override { return failOnEnd_ ? QStringLiteral("printer jammed") : QString(); }

private:
    QList<PrintCall> &calls_;
    bool failOnEnd_;
};

// Desktop messages recorded; activate() is the user clicking the last.
class FakeNotifications final : public DesktopNotifications {
public:
    QList<QPair<QString, QString>> shown; // summary, body
    void show(const QString &summary, const QString &body) override { shown.append({summary, body}); }
    void activate() { emit activated(); }
};

// Answers queued in advance; every call recorded.
class FakePlatform final : public Platform {
public:
    // Message boxes: queued answers, Cancel when the queue is empty.
    QQueue<MessageAnswer> answers;
    QList<MessageRequest> messages;

    // File dialogs: queued paths, a null optional meaning "cancelled".
    QQueue<std::optional<QString>> paths;
    QList<FileDialogRequest> dialogs;

    bool hasPrinter = true;
    bool printerFails = false;
    bool pdfFails = false;
    QList<PrintCall> printed;
    QStringList pdfPaths;
    QList<PrintCall> pdfPrinted;

    // Menus: each item as "text\tshortcut" ("-" for a separator), disabled
    // ones marked "(off)"; the queued item texts are picked and triggered, none when empty.
    QList<QStringList> menus;
    QQueue<QString> menuPicks;

    QList<QUrl> urls;
    QDateTime clock = QDateTime(QDate(2026, 12, 8), QTime(9, 30, 15));
    int quitCalls = 0;

    MessageAnswer message(QWidget *, const MessageRequest &request) override
    {
        messages.append(request);
        return answers.isEmpty() ? MessageAnswer::Cancel : answers.dequeue();
    }
    std::optional<QString> fileDialog(QWidget *, const FileDialogRequest &request) override
    {
        dialogs.append(request);
        return paths.isEmpty() ? std::nullopt : paths.dequeue();
    }
    std::unique_ptr<LinePrinter> defaultPrinter() override
    {
        if (!hasPrinter)
            return nullptr;
        return std::make_unique<FakeLinePrinter>(printed, printerFails);
    }
    std::unique_ptr<LinePrinter> pdfPrinter(const QString &path) override
    {
        pdfPaths.append(path);
        return std::make_unique<FakeLinePrinter>(pdfPrinted, pdfFails);
    }
    QAction *popUpMenu(QMenu &menu, const QPoint &) override
    {
        QStringList items;
        for (QAction *action : menu.actions()) {
            if (action->isSeparator())
                items << QStringLiteral("-");
            else
                items << action->text() + QLatin1Char('\t') + action->shortcut().toString(QKeySequence::PortableText)
                             + (action->isEnabled() ? QString() : QStringLiteral(" (off)"));
        }
        menus.append(items);
        // Picked by its text, or by its first word ("Undo" for "Undo Remove “b”");
        // "Repeat/Every week" picks in a submenu.
        QString pick = menuPicks.isEmpty() ? QString() : menuPicks.dequeue();
        QMenu *in = &menu;
        if (const qsizetype slash = pick.indexOf(QLatin1Char('/')); slash > 0) {
            for (QAction *action : menu.actions())
                if (action->text() == pick.left(slash) && action->menu() && action->isEnabled())
                    in = action->menu();
            pick = in == &menu ? QString() : pick.mid(slash + 1);
        }
        for (QAction *action : in->actions()) {
            const QString text = action->text();
            if (!pick.isEmpty() && (text == pick || text.startsWith(pick + QLatin1Char(' '))) && action->isEnabled()) {
                action->trigger(); // as a menu does with the item picked
                return action;
            }
        }
        return nullptr;
    }
    void openUrl(const QUrl &url) override { urls.append(url); }
    QDateTime now() const override { return clock; }
    FakeNotifications notes;
    DesktopNotifications &notifications() override { return notes; }
    void quit() override { ++quitCalls; }

    QStringList messageTexts() const;
};

} // namespace listora::test
