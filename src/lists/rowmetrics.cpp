#include "lists/rowmetrics.h"

#include "storage/codepage.h"
#include "tasks/pageletters.h"

#include <QGlyphRun>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QRawFont>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <vector>

namespace listora {

namespace {

// How far the ink of a line of text reaches above and below its baseline,
// laid out as drawn, so that marks stand where shaping puts them: a font's
// own bounding box of the text leaves out how marks are raised to stack.
// Each glyph is measured as drawn at each of scales, since a face is hinted
// for each size anew.
struct Reach {
    qreal above = 0, below = 0;
};

Reach reachOf(const QFont &font, const QString &text, const QPaintDevice *device,
              std::initializer_list<qreal> scales = {1})
{
    QTextLayout layout(text, font, const_cast<QPaintDevice *>(device));
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    Reach reach;
    if (!line.isValid())
        return reach;
    const QList<QGlyphRun> runs = line.glyphRuns();
    const qreal baseline = line.ascent();
    // Runs alternate between a few faces, and measuring a glyph loads its outline: each once.
    struct Scaled {
        QRawFont raw;
        qreal scale;
        QHash<quint32, QRectF> inks;
    };
    QHash<QString, std::vector<Scaled>> faces;
    for (const QGlyphRun &run : runs) {
        const QRawFont raw = run.rawFont();
        const QString key = raw.familyName() + QLatin1Char('|') + raw.styleName() + QLatin1Char('|')
                          + QString::number(raw.pixelSize()) + QLatin1Char('|') + QString::number(int(raw.weight()));
        std::vector<Scaled> &sizes = faces[key];
        if (sizes.empty()) {
            for (const qreal scale : scales) {
                QRawFont scaled = raw;
                if (scale != 1)
                    scaled.setPixelSize(raw.pixelSize() * scale);
                sizes.push_back({scaled, scale, {}});
            }
        }
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> places = run.positions();
        for (Scaled &size : sizes) {
            for (qsizetype i = 0; i < glyphs.size() && i < places.size(); ++i) {
                auto known = size.inks.constFind(glyphs[i]);
                if (known == size.inks.cend()) {
                    const QRectF ink = size.raw.boundingRect(glyphs[i]);
                    known = size.inks.insert(glyphs[i], QRectF(ink.topLeft() / size.scale, ink.size() / size.scale));
                }
                if (known->isEmpty())
                    continue;
                const QRectF ink = known->translated(places[i]);
                reach.above = std::max(reach.above, baseline - ink.top());
                reach.below = std::max(reach.below, ink.bottom() - baseline);
            }
        }
    }
    return reach;
}

// Glyphs snap to whole pixels of the screen: as much as one of a screen scaled by 150 %.
constexpr qreal kSnap = 0.7;

class LetterKeeper final : public QObject {
public:
    explicit LetterKeeper(QLineEdit *edit) : QObject(edit), edit_(edit)
    {
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, &LetterKeeper::follow);
        follow();
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::InputMethod:
            preedit_ = static_cast<QInputMethodEvent *>(event)->preeditString();
            follow();
            break;
        case QEvent::FontChange:
        case QEvent::StyleChange:
        case QEvent::Resize:
            follow();
            break;
        default:
            break;
        }
        return false;
    }

private:
    // Where the line edit draws its text, before any text margins, as it finds it.
    QRect textArea() const
    {
        QStyleOptionFrame option;
        option.initFrom(edit_);
        option.rect = edit_->contentsRect();
        option.lineWidth =
            edit_->hasFrame() ? edit_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit_) : 0;
        option.midLineWidth = 0;
        option.state |= QStyle::State_Sunken;
        if (edit_->isReadOnly())
            option.state |= QStyle::State_ReadOnly;
        option.features = QStyleOptionFrame::None;
        return edit_->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit_);
    }

    void follow()
    {
        const QString text = edit_->text() + preedit_;
        int shift = 0;
        if (!text.isEmpty()) {
            const QFontMetrics metrics(edit_->font());
            const Reach reach = reachOf(edit_->font(), text, edit_);
            const int above = int(std::ceil(reach.above + kSnap)), below = int(std::ceil(reach.below + kSnap));
            // The line edit centres a box as high as the text's bounding box
            // or the face's line, and hangs the text from the face's ascent.
            const int room = textArea().height();
            const int box = std::max(metrics.boundingRect(text).height(), metrics.height());
            const int top = (room - box + 1) / 2 + metrics.ascent() - above;
            // Where that cuts letters off, their ink is centred instead: the
            // box then starts where the centred ink's baseline needs it.
            if (top < 0 || top + above + below > room)
                shift = 2 * ((room - above - below) / 2 + above - metrics.ascent()) - (room - box + 1);
        }
        // Stretching the text's area below (or above) the box moves the
        // centred text down (or up) by half as much.
        const QMargins margins = edit_->textMargins();
        const QMargins moved(margins.left(), std::min(shift, 0), margins.right(), -std::max(shift, 0));
        if (margins != moved)
            edit_->setTextMargins(moved);
    }

    QLineEdit *edit_;
    QString preedit_;
};

} // namespace

RowMetrics::RowMetrics(const QFont &font, const QPaintDevice *device)
    : metrics_(font, const_cast<QPaintDevice *>(device))
{
    latin_.fill(-1);
    const Reach reach =
        reachOf(font, lettersToMeasure(programCodePage()).join(QLatin1Char(' ')), device, {1, 1.5, 2});
    // Never less than the face's own line, as rows have always been.
    above_ = std::max(int(std::ceil(reach.above + kSnap)), qRound(metrics_.ascent()));
    below_ = std::max(int(std::ceil(reach.below + kSnap)), qRound(metrics_.descent()));
}

int RowMetrics::width(QStringView text) const
{
    qreal sum = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        float *advance = u < 256 ? &latin_[u] : nullptr;
        if (!advance) {
            auto found = others_.find(u);
            if (found == others_.end())
                found = others_.insert(u, -1);
            advance = &*found;
        }
        if (*advance < 0) {
            if (u == u'\t')
                *advance = 80; // a tab stop's distance, the most a tab takes
            else if (c.isSurrogate())
                *advance = float(metrics_.maxWidth()) / 2; // each half of a pair
            else
                *advance = float(metrics_.horizontalAdvance(c));
        }
        sum += *advance;
    }
    return int(std::ceil(sum));
}

std::shared_ptr<const RowMetrics> rowMetricsFor(const QFont &font, const QPaintDevice *device)
{
    static QHash<QString, std::shared_ptr<const RowMetrics>> known;
    const QString key = font.key() + QLatin1Char('|') + QString::number(programCodePage().number())
                      + QLatin1Char('|') + QString::number(device->logicalDpiY());
    std::shared_ptr<const RowMetrics> &metrics = known[key];
    if (!metrics)
        metrics = std::make_shared<const RowMetrics>(font, device);
    return metrics;
}

void keepLettersWhole(QLineEdit *edit)
{
    new LetterKeeper(edit);
}

} // namespace listora
