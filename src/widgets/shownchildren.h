#pragma once

class QWidget;

namespace listora {

// Screen readers get only the controls container shows. Qt lists hidden ones
// too, merely marked as not showing, so a reader could still offer a list that
// lies hidden under a panel. Call before anything asks for container's
// accessibility.
void listShownChildrenOnly(QWidget *container);

} // namespace listora
