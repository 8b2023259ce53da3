#pragma once

#include <QFont>
#include <QStringList>

class QLabel;

namespace listora {

// The face a design asked for: the first of families that is installed, else
// the nearest sans-serif. Fontconfig answers every name with some face, and its
// default stand-in is much wider than these designs allow.
QFont designFont(const QStringList &families, qreal points, bool bold);

// "MS Sans Serif", the face of most of the windows, or its metric-compatible
// stand-in where it is missing.
QFont msSansSerif(qreal points, bool bold);

// Sets the label's font to its design size, or smaller by steps down to smallest,
// until its text fits its width: a time with a day-half marker is wider than a
// design allowed for, and is better smaller than cut off.
void shrinkToFit(QLabel *label, qreal designPoints, qreal smallest, qreal step);

} // namespace listora
