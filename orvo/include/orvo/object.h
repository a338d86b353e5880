#pragma once

#include <windows.h>

#include "orvo/orvo_api.h"

namespace Orvo {

class MControl;

// The root of everything a control can have as its parent. Children talk to their parent
// through two hooks: notifications (OnBaseMessage) and repaint requests (OnControlUpdate).
class ORVO_API MObject {
public:
    virtual ~MObject() = default;

    // 1 when GetClassNameW() equals name exactly (case-sensitive), else 0.
    virtual int IsClass(const wchar_t* name) const;
    // The class name the factory knows the object by; null for a bare object.
    virtual const wchar_t* GetClassNameW() const { return nullptr; }
    // The class name of the most derived class; null for a bare object.
    virtual const wchar_t* GetObjectClass() const { return nullptr; }
    // The class name of the parent class; null for a bare object.
    virtual const wchar_t* BaseObjectClassName() const { return nullptr; }
    // A child's notification (codes in orvo/control.h).
    virtual long OnBaseMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM lParam);
    // A child asks for rect to be repainted; redraw also invalidates its bitmap cache.
    virtual long OnControlUpdate(const RECT& rect, int redraw, MControl* control);
};

}  // namespace Orvo
