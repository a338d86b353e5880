#include "orvo/menu_wnd.h"

#include "../buttons/button_paint.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {
namespace {

constexpr Argb kItemText = Argb(0xFF050505);
constexpr Argb kItemDisabledText = Argb(0xFF808080);
constexpr Argb kSeparatorLine = Argb(0xFFD2D2D2);
// The style of MWindow::Create(parent), as a popup: an overlapped window whose caption is
// taken away after creation keeps a caption-high input area under Wine's X11 driver, so
// clicks below its first 12 pixels never arrive.
constexpr DWORD kMenuStyle = WS_POPUP | 0x0000080B;
constexpr int kNoChange = -1;

}  // namespace

MenuItem::MenuItem(MObject* parent, UINT id, const RECT& rect, const wchar_t* title, int visible,
                   int enabled)
    : MControlFont(parent, id, rect, title, visible, enabled, 1) {
    m_textColor = kItemText;
    m_imageCount = 3;
}

MenuWnd* MenuItem::GetParentMenu() const {
    return dynamic_cast<MenuWnd*>(m_parent);
}

void MenuItem::SetState(int state) {
    if (state == m_state) {
        return;
    }
    m_state = state;
    UpdateControl(TRUE);
}

void MenuItem::SetCheck(int check) {
    m_check = check != 0 ? 1 : 0;
    UpdateControl(TRUE);
}

void MenuItem::SetControlCheck(int check) {
    m_check = check != 0 ? 1 : 0;
    UpdateControl(TRUE);
}

void MenuItem::UncheckByGroup() {
    m_check = 0;
    UpdateControl(TRUE);
}

void MenuItem::SetHoverImage(Gdiplus::Image* image, CSize size) {
    m_hoverImage = image;
    m_hoverImageSize = size;
}

void MenuItem::SetCheckImage(Gdiplus::Image* image, CSize size) {
    m_checkImage = image;
    m_checkImageSize = size;
}

void MenuItem::SetControlEnabled(int enabled) {
    MControlFont::SetControlEnabled(enabled);
    UpdateControl(TRUE);
}

BOOL MenuItem::OnControlMouseMove(UINT, POINT point) {
    if (!m_enabled || m_separator) {
        return FALSE;
    }
    const bool inside = PtInRect(point) != FALSE;
    if (m_state != 2 || !inside) {
        SetState(inside ? 1 : 0);
    }
    return inside ? TRUE : FALSE;
}

BOOL MenuItem::OnControlLButtonDown(UINT, POINT point) {
    if (!m_enabled || m_separator || !PtInRect(point)) {
        return FALSE;
    }
    SetState(2);
    return TRUE;
}

BOOL MenuItem::OnControlLButtonUp(UINT, POINT point) {
    if (!m_enabled || m_separator) {
        return FALSE;
    }
    if (!PtInRect(point)) {
        SetState(0);
        return FALSE;
    }
    SetState(1);
    SendMessageW(kNotifyClicked, 0, 0);
    return TRUE;
}

void MenuItem::DrawControl(HDC hdc, const RECT&) {
    DrawCachedSlots(
        *this, hdc, 1, 0, [this](Gdiplus::Graphics& graphics, HDC, const RECT& box, int) {
            const int width = box.right - box.left;
            const int height = box.bottom - box.top;
            if (m_separator) {
                if (m_image != nullptr) {
                    MRender::DrawImageExact(&graphics, m_image, Gdiplus::Rect(0, 0, width, height),
                                            0, 0, static_cast<int>(m_image->GetWidth()),
                                            static_cast<int>(m_image->GetHeight()));
                } else {
                    Gdiplus::SolidBrush line{Gdiplus::Color(kSeparatorLine.Value())};
                    graphics.FillRectangle(&line, 0, 0, width, height);
                }
                return;
            }
            if (m_state != 0 && m_enabled) {
                const Gdiplus::Rect hover(m_textInset - 2, 0, width - 2 * (m_textInset - 2),
                                          height);
                if (m_hoverImage != nullptr) {
                    // Stretched as a nine-patch, so that its edges keep their width.
                    const RECT box = {hover.X, hover.Y, hover.X + hover.Width,
                                      hover.Y + hover.Height};
                    MRender::DrawImageFrame(&graphics, m_hoverImage, box, 0, 0, m_hoverImageSize.cx,
                                            m_hoverImageSize.cy, 6);
                } else {
                    Gdiplus::SolidBrush fill{Gdiplus::Color(m_hoverColor.Value())};
                    graphics.FillRectangle(&fill, hover);
                }
            }
            int textLeft = m_textInset + 4;
            if (m_image != nullptr && m_imageWidth > 0) {
                const int frame = m_enabled ? m_state : m_imageCount - 1;
                DrawStateImageFrame(*this, graphics, textLeft, (height - m_imageHeight) / 2, frame);
                textLeft += m_imageWidth + 6;
            }
            const RECT textBox = {textLeft, 0, width - m_textInset - 24, height};
            DrawControlText(*this, graphics, textBox, m_enabled ? m_textColor : kItemDisabledText,
                            m_title, 0, 4);
            if (m_check && m_checkImage != nullptr) {
                const int x = width - m_textInset - 4 - m_checkImageSize.cx;
                MRender::DrawImageExact(&graphics, m_checkImage,
                                        Gdiplus::Rect(x, (height - m_checkImageSize.cy) / 2,
                                                      m_checkImageSize.cx, m_checkImageSize.cy),
                                        0, 0, m_checkImageSize.cx, m_checkImageSize.cy);
            }
        });
}

MenuWnd::MenuWnd(MObject* parent) {
    m_parentObject = parent;
    SetBackColor(ColorRef(0xFFFFFF));
}

bool MenuWnd::Create(HWND owner, POINT point, UINT messageId, int width) {
    return Create(owner, point, messageId, nullptr, width);
}

bool MenuWnd::Create(HWND owner, POINT point, UINT messageId, const wchar_t* backgroundImage,
                     int width) {
    m_owner = owner;
    m_messageId = messageId;
    if (width > 0) {
        m_width = width;
    }
    const CRect rect(point.x, point.y, point.x + m_width, point.y + m_width);
    if (MPopupWnd::Create(owner, L"Menu Window", kMenuStyle, 0, rect) == nullptr) {
        return false;
    }
    if (backgroundImage != nullptr) {
        LoadBKImage(backgroundImage);
        SetBackMode(1, 6);
    }
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(m_hWnd);
    return true;
}

MenuItem* MenuWnd::MakeItem(const wchar_t* text, UINT id) {
    MControl* control = m_PaintManager.CreateControl(this, L"MenuItem", id, CRect(), text, 1, 1);
    auto* item = dynamic_cast<MenuItem*>(control);
    if (item != nullptr) {
        item->SetFont(m_fontFace.c_str(), m_fontSize, m_fontStyle);
    }
    return item;
}

int MenuWnd::AddMenu(const wchar_t* text, UINT id, const wchar_t* iconFile) {
    MenuItem* item = MakeItem(text, id);
    if (item != nullptr && iconFile != nullptr && *iconFile != L'\0') {
        item->SetImage(iconFile, 4);
    }
    SetMenuPoint();
    return -1;
}

int MenuWnd::AddMenu(const wchar_t* text, UINT id, UINT iconResourceId) {
    MenuItem* item = MakeItem(text, id);
    if (item != nullptr && iconResourceId != static_cast<UINT>(-1)) {
        item->SetImage(iconResourceId, L"PNG", 4);
    }
    SetMenuPoint();
    return -1;
}

void MenuWnd::AddSeparator(UINT id, const wchar_t* image) {
    MenuItem* item = MakeItem(L"", id);
    if (item != nullptr) {
        item->SetSeparator(1);
        if (image != nullptr && *image != L'\0') {
            item->SetImage(image, 1);
        }
    }
    SetMenuPoint();
}

MenuWnd::PendingChange& MenuWnd::ChangeFor(UINT id) {
    for (PendingChange& change : m_pending) {
        if (change.id == id) {
            return change;
        }
    }
    m_pending.push_back(PendingChange{id, L"", kNoChange, kNoChange, kNoChange});
    return m_pending.back();
}

void MenuWnd::SetItemTitle(UINT id, const wchar_t* title) {
    ChangeFor(id).title = title != nullptr ? title : L"";
}

void MenuWnd::SetItemVisible(UINT id, int visible) {
    ChangeFor(id).visible = visible;
}

void MenuWnd::SetItemEnable(UINT id, int enabled) {
    ChangeFor(id).enabled = enabled;
}

void MenuWnd::SetItemCheck(UINT id, int check) {
    ChangeFor(id).check = check;
}

bool MenuWnd::SetHoverImage(const wchar_t* fileName) {
    ImgResInfo* info = m_PaintManager.AddImgResInfo(fileName, 1);
    if (info == nullptr) {
        return false;
    }
    m_hoverImage = info->image.get();
    m_hoverImageSize = CSize(info->frameWidth, info->frameHeight);
    return true;
}

bool MenuWnd::SetCheckImage(const wchar_t* fileName) {
    ImgResInfo* info = m_PaintManager.AddImgResInfo(fileName, 1);
    if (info == nullptr) {
        return false;
    }
    m_checkImage = info->image.get();
    m_checkImageSize = CSize(info->frameWidth, info->frameHeight);
    return true;
}

void MenuWnd::SetMenuFont(const wchar_t* face, int size, int style) {
    m_fontFace = face != nullptr ? face : L"Segoe UI";
    m_fontSize = size;
    m_fontStyle = style;
}

void MenuWnd::InitUI(const CRect&) {
    for (const PendingChange& change : m_pending) {
        auto* item = dynamic_cast<MenuItem*>(m_PaintManager.GetControl(change.id));
        if (item == nullptr) {
            continue;
        }
        if (!change.title.empty()) {
            item->SetTitle(change.title.c_str());
            item->ClearGDIFont();
            item->UpdateControl(TRUE);
        }
        if (change.visible == 0) {
            item->SetVisible(0);
        }
        if (change.enabled == 0) {
            item->SetEnabled(0);
        }
        if (change.check != kNoChange) {
            item->SetCheck(change.check);
        }
    }
    SetMenuPoint();
}

void MenuWnd::SetMenuPoint() {
    int y = m_topMargin != 0 ? m_topMargin : 2;
    for (MControl* control : m_PaintManager.GetControls()) {
        auto* item = dynamic_cast<MenuItem*>(control);
        if (item == nullptr) {
            if (control->GetControlID() == static_cast<UINT>(-1)) {
                control->SetRect(CRect(m_textInset + 4, y + 1, m_width - 9, y + 2));
                y += 4;
            }
            continue;
        }
        if (!item->IsVisible()) {
            item->SetRect(CRect());
        } else if (item->IsSeparator()) {
            item->SetRect(CRect(m_textInset + 1, y + 1, m_width - 1, y + 2));
            y += 4;
        } else {
            item->SetRect(CRect(2, y, m_width - 2, y + m_itemHeight));
            y += m_itemHeight;
            item->SetTextInset(m_textInset);
            if (m_hoverImage != nullptr) {
                item->SetHoverImage(m_hoverImage, m_hoverImageSize);
            } else {
                item->SetHoverColor(m_hoverColor);
            }
            item->SetCheckImage(m_checkImage, m_checkImageSize);
        }
        item->UpdateControl(TRUE);
    }
    const int height = y + (m_bottomMargin != 0 ? m_bottomMargin : 2);
    if (m_hWnd != nullptr) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_width, height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
}

long MenuWnd::OnMessage(UINT controlId, UINT code, WPARAM wParam, LPARAM) {
    if (m_owner != nullptr) {
        ::PostMessageW(m_owner, m_messageId, wParam, static_cast<LPARAM>(controlId));
    }
    if (code == kNotifyClicked) {
        CloseWindow();
    }
    return 0;
}

LRESULT MenuWnd::PostNcDestroy() {
    delete this;
    return 0;
}

ORVO_REGISTER_CONTROL(MenuItem);

}  // namespace Orvo
