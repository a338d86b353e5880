#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "orvo/control.h"

namespace Orvo {
namespace ControlList {

// A list of owned controls, as controls and paint managers keep them, each list with its
// own lock.
using Owned = std::vector<std::unique_ptr<MControl>>;

// The controls in drawing order.
inline std::vector<MControl*> Snapshot(const Owned& list, std::recursive_mutex& lock) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    std::vector<MControl*> result;
    result.reserve(list.size());
    for (const auto& control : list) {
        result.push_back(control.get());
    }
    return result;
}

// The control at index, null past the end. The lock is not held between calls: a handler
// reached while walking the list may add or delete controls, and the tick takes the lock.
inline MControl* At(const Owned& list, std::recursive_mutex& lock, size_t index) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    return index < list.size() ? list[index].get() : nullptr;
}

}  // namespace ControlList
}  // namespace Orvo
