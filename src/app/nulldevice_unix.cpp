#include "app/settingssandbox.h"

namespace listora {

QString nullDevicePath()
{
    return QStringLiteral("/dev/null");
}

} // namespace listora
