#include "app/refusalhint.h"

#include "widgets/fonts.h"
#include "tasks/entrytext.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>

namespace listora {

void RefusalHint::show(const QString &character)
{
    showNotice(refusedCharacterHint(character));
}

void RefusalHint::showNotice(const QString &text)
{
    if (line_->isHidden())
        boxDescription_ = box_->accessibleDescription();
    line_->setText(text);
    if (!line_->testAttribute(Qt::WA_SetFont))
        line_->setFont(msSansSerif(8, false)); // set when first needed, as start-up need not
    line_->show();
    // A screen reader speaks a changed description of the focused box.
    box_->setAccessibleDescription(line_->text());
}

void RefusalHint::hide()
{
    if (line_->isHidden())
        return;
    line_->hide();
    line_->clear();
    box_->setAccessibleDescription(boxDescription_);
}

bool takeFileDrag(QEvent *event, QString *dropped)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    const QMimeData *mime = drop->mimeData();
    const QList<QUrl> urls = mime && mime->hasUrls() ? mime->urls() : QList<QUrl>();
    const QString path = urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
    if (!QFileInfo(path).isFile() || !(drop->possibleActions() & Qt::CopyAction))
        return false;
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop)
        *dropped = path;
    return true;
}

} // namespace listora
