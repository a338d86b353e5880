#pragma once

#include <memory>
#include <vector>

#include "orvo/control.h"

namespace Orvo {
namespace ControlList {

// A list of owned controls, as controls and paint managers keep them. Only the UI thread
// touches these lists, so they have no locks.
using Owned = std::vector<std::unique_ptr<MControl>>;

// The controls in drawing order.
inline std::vector<MControl*> Snapshot(const Owned& list) {
    std::vector<MControl*> result;
    result.reserve(list.size());
    for (const auto& control : list) {
        result.push_back(control.get());
    }
    return result;
}

// The control at index, null past the end. Walking by index survives a handler that adds
// or deletes controls of the list while it runs.
inline MControl* At(const Owned& list, size_t index) {
    return index < list.size() ? list[index].get() : nullptr;
}

}  // namespace ControlList
}  // namespace Orvo
