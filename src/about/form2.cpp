#include "about/form2.h"

#include "app/icons.h"
#include "app/windows.h"

namespace listora {

Form2::Form2(Windows &windows)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , windows_(windows)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Brenholt Software"));
    setWindowIcon(icons::icon(icons::Glyph::Programs));
    setFixedSize(594, 411);
}

} // namespace listora
