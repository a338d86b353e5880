#pragma once

// When a press on a draggable control turns into a drag; no Windows API, tested natively.

namespace Orvo {
namespace DragThreshold {

// The platform's drag rectangle (SM_CXDRAG, SM_CYDRAG) gives how far the pointer may move on
// either side of the press point and still be a click; a move past it in x or y starts the
// drag. A negative slack counts by its size.
constexpr bool IsPast(int pressX, int pressY, int x, int y, int slackX, int slackY) {
    const int dx = x > pressX ? x - pressX : pressX - x;
    const int dy = y > pressY ? y - pressY : pressY - y;
    const int sx = slackX < 0 ? -slackX : slackX;
    const int sy = slackY < 0 ? -slackY : slackY;
    return dx > sx || dy > sy;
}

}  // namespace DragThreshold
}  // namespace Orvo
