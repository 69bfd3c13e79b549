// Runs a job on a thread with a large stack: the formula classes recurse along the depth of
// a formula, and a deep formula must not overflow the small default stack.
#pragma once

#include <cstddef>
#include <functional>

namespace umbrix {

inline constexpr std::size_t kLargeStackBytes = std::size_t{1} << 30;

/// Runs job to its end on a thread with the given stack size; rethrows what it throws.
void RunWithLargeStack(const std::function<void()>& job, std::size_t stackBytes = kLargeStackBytes);

}  // namespace umbrix
