#pragma once

namespace listora {

// A task file stores each count in 16 bits: no list may hold more.
inline constexpr int kMaxListEntries = 32767;

} // namespace listora
