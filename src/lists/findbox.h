#pragma once

#include <QWidget>
#include <QPointer>

class QLabel;

namespace listora {

class EntryLineEdit;
class FindProxy;
class TaskListView;

// Finding an entry in a long list. Opened over a shown list, the box shows in
// the list's place only the entries that contain what is typed (whatever the
// case and accents), with the first of them chosen, and a line to type in over
// the list's bottom edge. Up and Down choose among the matches; Enter selects
// the chosen entry in the whole list, scrolled into sight; Esc leaves the
// list's selection as it was. Either closes the box. Typing follows the entry
// box's rules, so what a task file cannot hold is left out and never matches.
//
// While open the box lies over the list in the list's parent, following it as
// it moves and resizes, and closes when the list is hidden; closed, it goes
// back to the parent it was made with.
class FindBox final : public QWidget {
    Q_OBJECT
public:
    explicit FindBox(QWidget *parent = nullptr);
    ~FindBox() override;

    // Opens the box over list, which must be shown, with nothing typed and
    // the list's selected entry chosen, and takes the keyboard focus. Open
    // over another list, it closes there first.
    void open(TaskListView *list);
    // Closes without choosing, as Esc does (QWidget::close() does the same):
    // the focus goes back to where it was when the box opened.
    void cancel();
    bool isOpen() const { return !list_.isNull(); }
    TaskListView *list() const { return list_; }

    QString text() const;

signals:
    // The box closed, by Enter, Esc, cancel(), or the focus going elsewhere.
    void closed();
    // Enter chose the entry at row of the whole list, now selected there.
    void entryChosen(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Closes; the row chosen in the whole list, or -1 to keep its selection.
    void finish(int row, bool giveFocusBack);
    void place();
    void accept();
    void textChanged(const QString &text);
    // Chooses the match at row of what is shown, or none.
    void choose(int row);
    void chosenChanged();
    int chosenRow() const;
    void showHint(const QString &character);

    QPointer<QWidget> home_;
    QPointer<TaskListView> list_;
    QPointer<QWidget> focusBefore_;
    FindProxy *proxy_;
    TaskListView *matches_;
    EntryLineEdit *line_;
    QLabel *hint_;
};

} // namespace listora
