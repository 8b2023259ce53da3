#pragma once

#include <QFont>
#include <QStringList>

namespace listora {

// The face a design asked for: the first of families that is installed, else
// the nearest sans-serif. Fontconfig answers every name with some face, and its
// default stand-in is much wider than these designs allow.
QFont designFont(const QStringList &families, qreal points, bool bold);

// "MS Sans Serif", the face of most of the windows, or its metric-compatible
// stand-in where it is missing.
QFont msSansSerif(qreal points, bool bold);

} // namespace listora
