#pragma once
#include <cstdint>

namespace vimbrel {

// A top-level window's handle as the portable logic keeps it; 0 is no window.
using WindowId = std::uintptr_t;

}  // namespace vimbrel
