#pragma once

namespace listora {

// While it lives, a save that waits for another program to let go of its
// file keeps the windows painting and shows the busy cursor; what the user
// types or clicks meanwhile waits until the save has ended.
class BusySaveScope {
public:
    BusySaveScope();
    ~BusySaveScope();
    BusySaveScope(const BusySaveScope &) = delete;
    BusySaveScope &operator=(const BusySaveScope &) = delete;

private:
    bool cursorShown_ = false;
};

} // namespace listora
