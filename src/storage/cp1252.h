#pragma once

// Windows-1252, the Western Windows code page the task file stores. Qt 6's
// core has no codec for it.

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

namespace listora::cp1252 {

// Every byte decodes; the five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls of the same value, as
// Windows itself reads them, so they survive a round trip.
QString decode(QByteArrayView bytes);

// Characters without a byte become '?', one per code point.
QByteArray encode(QStringView text);

// True when c is one of the 256 characters decode() produces.
bool canEncode(char32_t c);

} // namespace listora::cp1252
