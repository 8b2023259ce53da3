#pragma once

#include <QString>
#include <QStringView>

namespace listora {

// What finding compares: the text without case, width and accents (the marks
// Latin, Greek and Cyrillic letters carry, Hebrew points and Arabic vowel
// signs), so that "jardin" finds "Jardín". Marks that make another letter, as
// Japanese voicing marks do, stay: "か" does not find "が".
QString findKey(QStringView text);

} // namespace listora
