#pragma once

// The system's error texts as the program's warnings quote them.

#include <QString>

namespace listora {

// The system's texts end in a full stop, and the warnings that quote them go on after it.
inline QString reason(QString error)
{
    while (error.endsWith(QLatin1Char('.')) || error.endsWith(QLatin1Char(' ')))
        error.chop(1);
    return error;
}

} // namespace listora
