#pragma once

#include <memory>

namespace listora {

// Qt's file dialog stores its history and last folder as user settings each
// time it closes. Where those settings live in files, the settings sandbox sends
// them nowhere; the Windows registry cannot be redirected, so there this guard
// notes what Qt keeps for the dialog and, when it goes, puts that back exactly.
// Hold one for as long as a QFileDialog lives.
class DialogHistoryGuard {
public:
    DialogHistoryGuard();
    ~DialogHistoryGuard();
    DialogHistoryGuard(const DialogHistoryGuard &) = delete;
    DialogHistoryGuard &operator=(const DialogHistoryGuard &) = delete;

private:
    struct Saved;
    std::unique_ptr<Saved> saved_;
};

} // namespace listora
