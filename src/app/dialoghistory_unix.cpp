#include "app/dialoghistory.h"

namespace listora {

// The settings sandbox already keeps the dialog's settings file from being written.
struct DialogHistoryGuard::Saved {};

DialogHistoryGuard::DialogHistoryGuard() = default;
DialogHistoryGuard::~DialogHistoryGuard() = default;

} // namespace listora
