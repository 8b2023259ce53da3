#pragma once

#include <functional>

class QWidget;

namespace listora {

// Runs action on every move of the pointer over control, before the control
// sees it: buttons and labels ignore moves and would hand them on to their
// window, whose own reaction must not fire over a control.
void onMouseMove(QWidget *control, std::function<void()> action);

} // namespace listora
