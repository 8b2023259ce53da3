#include "app/settingssandbox.h"

namespace listora {

// The device's own name space: a plain "NUL" is not reserved in every folder on every version.
QString nullDevicePath()
{
    return QStringLiteral("//./NUL");
}

} // namespace listora
