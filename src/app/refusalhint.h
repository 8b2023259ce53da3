#pragma once

#include <QString>

class QEvent;
class QLabel;
class QWidget;

namespace listora {

// The line under the entry box that names a character the task file could not
// hold. While it stands, a screen reader hears it as the box's description.
class RefusalHint {
public:
    RefusalHint(QLabel *line, QWidget *box) : line_(line), box_(box) {}
    void show(const QString &character);
    // Any other line for the user to read there, as a screen reader hears it.
    void showNotice(const QString &line);
    void hide();

private:
    QLabel *line_;
    QWidget *box_;
    QString boxDescription_; // the box's own, while the hint stands in for it
};

// Takes the drag of one local file, only ever as a copy (a move would let the
// file manager delete the task file): true when event is such a drag, with
// the file in dropped once it is dropped. Several files, folders and web
// addresses are not a task file to open.
bool takeFileDrag(QEvent *event, QString *dropped);

} // namespace listora
