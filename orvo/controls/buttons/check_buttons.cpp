#include "button_paint.h"
#include "orvo/buttons.h"
#include "orvo/manager.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {
namespace {

constexpr Argb kDisabledText = Argb(0xFF808080);
constexpr int kTitleGap = 8;
constexpr int kCheckSlots = 8;

// The visual state 0..7 = check x 4 + state.
int VisualOf(int check, int state) {
    return (check ? 4 : 0) + state;
}

}  // namespace

int ResetGroupOf(MControl& self, const std::wstring& group) {
    MObject* owner = self.GetParantObject();
    if (owner == nullptr) {
        return 0;
    }
    // A control owner (a panel) holds its members as sub-controls; a window owner (a dialog
    // or a popup) in its manager's control list.
    std::vector<MControl*> members;
    if (auto* container = dynamic_cast<MControl*>(owner)) {
        members = container->GetControls();
    } else if (PaintManager* manager = self.GetManager()) {
        members = manager->GetControls();
    } else {
        return 0;
    }
    const wchar_t* className = self.GetClassNameW();
    for (MControl* member : members) {
        if (member == &self || !member->IsClass(className)) {
            continue;
        }
        auto* peer = dynamic_cast<CheckGroupMember*>(member);
        if (peer != nullptr && peer->GetGroupName() == group) {
            peer->UncheckByGroup();
        }
    }
    return 1;
}

CheckButtonBase::CheckButtonBase(MObject* parent, UINT id, const RECT& rect, const wchar_t* title,
                                 int visible, int enabled, bool radioLike)
    : MControlFont(parent, id, rect, title, visible, enabled, 1),
      m_checkedColor(Manager::GetSelectColor()),
      m_radioLike(radioLike) {
    m_imageCount = kCheckSlots;
    m_visual = enabled ? 0 : 3;
}

void CheckButtonBase::SetVisual(int visual) {
    if (visual == m_visual) {
        return;
    }
    m_visual = visual;
    UpdateControl(FALSE);
}

int CheckButtonBase::SetCheck(int check) {
    if (!m_enabled) {
        return m_check;
    }
    const int value = check != 0 ? 1 : 0;
    const bool changed = value != m_check;
    m_check = value;
    m_visual = VisualOf(m_check, kStateNormal);
    if (changed) {
        AfterCheckChange();
    }
    UpdateControl(FALSE);
    return m_check;
}

void CheckButtonBase::Toggle(bool fromKeyboard) {
    if (m_radioLike) {
        m_check = 1;
        AfterCheckChange();
    } else if (fromKeyboard) {
        SetCheck(m_check ? 0 : 1);
        return;
    } else {
        m_check = m_check ? 0 : 1;
    }
}

void CheckButtonBase::SetControlEnabled(int enabled) {
    MControlFont::SetControlEnabled(enabled);
    SetVisual(VisualOf(m_check, enabled ? kStateNormal : kStateDisabled));
}

void CheckButtonBase::SetControlFocus(int focus) {
    m_focused = focus;
    if (m_visible && m_enabled) {
        m_keyboardFocus = focus;
        UpdateControl(FALSE);
    }
}

BOOL CheckButtonBase::OnControlMouseMove(UINT, POINT point) {
    if (!m_enabled || m_pressed) {
        return FALSE;
    }
    const bool inside = PtInRect(point) != FALSE;
    SetCursorEx(inside ? kCursorHand : kCursorArrow);
    SetVisual(VisualOf(m_check, inside ? kStateHot : kStateNormal));
    return inside ? TRUE : FALSE;
}

BOOL CheckButtonBase::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled || !PtInRect(point)) {
        return FALSE;
    }
    m_pressed = 1;
    SetVisual(VisualOf(m_check, kStatePressed));
    return TRUE;
}

BOOL CheckButtonBase::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled) {
        return FALSE;
    }
    const bool wasPressed = m_pressed != 0;
    m_pressed = 0;
    if (PtInRect(point)) {
        if (wasPressed) {
            Toggle(false);
            SetVisual(VisualOf(m_check, kStateHot));
            UpdateControl(FALSE);
            SendMessageW(kNotifyClicked, 0, 0);
        } else {
            SetVisual(VisualOf(m_check, kStateHot));
        }
        return TRUE;
    }
    SetVisual(VisualOf(m_check, kStateNormal));
    return FALSE;
}

BOOL CheckButtonBase::OnControlKeyDown(UINT vk, UINT, UINT modifiers) {
    const bool hotKey = m_hotKey != 0 && vk == m_hotKey && modifiers == m_hotKeyModifiers;
    const bool space = vk == VK_SPACE && modifiers == 0 && m_keyboardFocus != 0;
    if (!hotKey && !space) {
        return FALSE;
    }
    if (m_radioLike) {
        if (m_enabled) {
            m_check = 1;
            m_visual = VisualOf(m_check, kStateNormal);
            AfterCheckChange();
            UpdateControl(FALSE);
        }
    } else {
        Toggle(true);
    }
    SendMessageW(kNotifyKeyCheck, 0, m_check);
    return TRUE;
}

Argb CheckButtonBase::SlotTextColor(int slot) const {
    if (slot == 3 || slot == 7) {
        return kDisabledText;
    }
    return slot >= 4 ? m_checkedColor : m_textColor;
}

void CheckButtonBase::DrawControl(HDC hdc, const RECT&) {
    DrawCachedSlots(
        *this, hdc, kCheckSlots, m_visual,
        [this](Gdiplus::Graphics& graphics, HDC, const RECT& slotRect, int slot) {
            const CSize image = GetImageSize();
            // A four-frame image (select buttons) repeats for the checked slots.
            const int frame = m_imageCount >= kCheckSlots ? slot : slot % 4;
            const int y = slotRect.top + (slotRect.bottom - slotRect.top - image.cy) / 2;
            DrawStateImageFrame(*this, graphics, slotRect.left, y, frame);
            RECT box = slotRect;
            box.left += image.cx + kTitleGap;
            DrawControlText(*this, graphics, box, SlotTextColor(slot), m_title, m_hAlign, m_vAlign);
        });
}

CCheckButton::CCheckButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title,
                           int visible, int enabled)
    : CheckButtonBase(parent, id, rect, title, visible, enabled, false) {}

RadioButtonBase::RadioButtonBase(MObject* parent, UINT id, const RECT& rect, const wchar_t* title,
                                 int visible, int enabled)
    : CheckButtonBase(parent, id, rect, title, visible, enabled, true) {}

void RadioButtonBase::SetControlCheck(int check) {
    m_check = check != 0 ? 1 : 0;
    m_visual = VisualOf(m_check, m_enabled ? kStateNormal : kStateDisabled);
    UpdateControl(FALSE);
}

void RadioButtonBase::UncheckByGroup() {
    m_check = 0;
    m_visual = 0;
    UpdateControl(FALSE);
}

CSelectButton::CSelectButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title,
                             int visible, int enabled)
    : RadioButtonBase(parent, id, rect, title, visible, enabled) {
    m_imageCount = 4;
    m_textColor = Argb(0xFEFFFFFF);
}

TextCheckButton::TextCheckButton(MObject* parent, UINT id, const RECT& rect, const wchar_t* title,
                                 int visible, int enabled)
    : CheckButtonBase(parent, id, rect, title, visible, enabled, false),
      m_colors{Argb(0xFEFFFFFF), Argb(0xFEC95100), Argb(0xFEC95100), Argb(0xFE808080)} {}

void TextCheckButton::SetTextButtonColor(Argb normal, Argb hover, Argb checked, Argb disabled) {
    m_colors[0] = normal;
    m_colors[1] = hover;
    m_colors[2] = checked;
    m_colors[3] = disabled;
    UpdateControl(TRUE);
}

Argb TextCheckButton::SlotTextColor(int slot) const {
    if (slot == 3 || slot == 7) {
        return m_colors[3];
    }
    if (slot >= 4) {
        return m_colors[2];
    }
    return slot == 1 || slot == 2 ? m_colors[1] : m_colors[0];
}

ORVO_REGISTER_CONTROL(CCheckButton);
ORVO_REGISTER_CONTROL(CRadioButton);
ORVO_REGISTER_CONTROL(CSelectButton);
ORVO_REGISTER_CONTROL(TextCheckButton);

}  // namespace Orvo
