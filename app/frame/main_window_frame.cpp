// The main window's controls: the frame, the home view, the pages, their geometry and texts,
// and what the device engine shows in them.
#include <windows.h>

#include <algorithm>
#include <string>

#include "app/config/performance_rules.h"
#include "app/device/device_catalogue.h"
#include "app/device/device_protocol.h"
#include "app/device/device_worker.h"
#include "app/frame/device_main_dlg.h"
#include "app/frame/main_window_effects.h"
#include "app/frame/main_window_ids.h"
#include "app/frame/ui_state_file.h"
#include "app/services/language_text.h"
#include "app/services/ui_message_box.h"
#include "app/store/settings_database.h"
#include "orvo/battery.h"
#include "orvo/buttons.h"
#include "orvo/device_list.h"
#include "orvo/dpi_control.h"
#include "orvo/dpi_slider.h"
#include "orvo/manager.h"
#include "orvo/mouse_pickers.h"
#include "orvo/panel.h"
#include "orvo/picture.h"
#include "orvo/tab_ctrl.h"
#include "orvo/text.h"

namespace tavik {
namespace {

constexpr Orvo::Argb kWhite{0xFFFFFFFF};
constexpr Orvo::Argb kSecondaryText{0xFFB8D3EF};
constexpr Orvo::Argb kMutedText{0xFF828282};
constexpr int kCentred = 1;
constexpr int kMiddle = 4;
constexpr int kTitleSize = 18;
constexpr int kHeadingSize = 16;
constexpr int kBodySize = 14;
constexpr int kHintSize = 12;
constexpr wchar_t kTitleFont[] = L"\u6977\u4f53";

// Text numbers of the frame and the home view.
constexpr int kApplicationNameText = 1;
constexpr int kVersionLabelText = 2;
constexpr int kVersionWordText = 17;
constexpr int kCloseTipText = 5;
constexpr int kMinimiseTipText = 6;
constexpr int kMaximiseTipText = 7;
constexpr int kSettingsTipText = 11;
constexpr int kNotConnectedStatusText = 50;
constexpr int kProfileWordText = 61;
constexpr int kDeviceListHintText = 56;
constexpr int kWiredText = 58;
constexpr int kWirelessText = 59;
constexpr int kPairReceiverText = 700;
constexpr int kCheckUpdatesText = 851;
constexpr int kNoConnectionMessageText = 852;
constexpr int kEmptyPageText = 853;
constexpr int kFactoryResetText = 570;
constexpr int kCharacterMapText = 453;
constexpr int kMouseSettingsText = 540;

// The tab items with their icons, texts and pages, in the strip's order.
struct TabItem {
    UINT itemId;
    const wchar_t* icon;
    int text;
    UINT pageId;
};
constexpr TabItem kTabItems[] = {
    {kHomeTab, L"icon\\tab_home.png", 71, kHomePageId},
    {kButtonTab, L"icon\\tab_key.png", 72, kButtonPageId},
    {kPerformanceTab, L"icon\\tab_dpi.png", 73, kPerformancePageId},
    {kMacroTab, L"icon\\tab_macro.png", 74, kMacroPageId},
    {kTextTab, L"icon\\tab_text.png", 77, kTextPageId},
    {kLightTab, L"icon\\tab_light.png", 75, kLightPageId},
    {kSystemTab, L"icon\\tab_set.png", 76, kSystemPageId},
};
// Seven tabs, one pixel apart, fit the 420-pixel strip.
constexpr int kTabHeight = 59;

// The pages that show an empty state until their controls are bound, with their tab's text.
struct EmptyPage {
    UINT pageId;
    int titleText;
};
constexpr EmptyPage kEmptyPages[] = {
    {kMacroPageId, 74},
    {kTextPageId, 77},
    {kLightPageId, 75},
};

// The language's font, or the toolkit's own for Latin text.
std::wstring LanguageFont() {
    const std::wstring family = GetLanguageFontName();
    return family.empty() ? std::wstring(Orvo::Manager::GetFontName()) : family;
}

void UseLanguageFont(Orvo::MControlFont& control) {
    control.SetFontName(LanguageFont().c_str());
}

Orvo::CRect ToRect(const Box& box) {
    return Orvo::CRect(box.left, box.top, box.right, box.bottom);
}

template <typename Control>
Control* CreateOnDialog(Orvo::MDialog& dialog, const wchar_t* className, UINT id, const RECT& rect,
                        const std::wstring& text = std::wstring(), bool visible = true) {
    return dynamic_cast<Control*>(
        dialog.CreateControl(className, id, rect, text.c_str(), visible ? 1 : 0, 1));
}

template <typename Control>
Control* CreateOnPage(Orvo::MPanel& page, const wchar_t* className, UINT id, const RECT& rect,
                      const std::wstring& text = std::wstring()) {
    return dynamic_cast<Control*>(page.CreateControl(className, id, rect, text.c_str(), 1, 1));
}

Orvo::MText* StyleText(Orvo::MText* text, int size, Orvo::Argb colour, int horizontal,
                       bool multiLine) {
    if (text == nullptr) {
        return nullptr;
    }
    UseLanguageFont(*text);
    text->SetFontWidth(size);
    text->SetTextColor(colour);
    text->SetAlignment(horizontal, kMiddle);
    text->EnableMultiLine(multiLine ? 1 : 0);
    return text;
}

Orvo::MButton* StyleButton(Orvo::MButton* button) {
    if (button == nullptr) {
        return nullptr;
    }
    UseLanguageFont(*button);
    button->SetFontWidth(kBodySize);
    button->SetImage(L"img_button.png", 4);
    button->SetTextColor(kWhite);
    return button;
}

// A control's new text is drawn at once: the controls cache their drawing and a new title
// alone does not renew it.
void ShowText(Orvo::MControlFont* control, const std::wstring& text) {
    if (control == nullptr) {
        return;
    }
    control->SetControlTitle(text.c_str());
    control->SetUpdate(0, Orvo::ColorRef(0));
    control->UpdateControl(TRUE);
}

const char* ViewName(MainView view) {
    switch (view) {
        case MainView::kDeviceList:
            return "device-list";
        case MainView::kNoConnection:
            return "no-connection";
        case MainView::kDevice:
            return "device";
    }
    return "device-list";
}

}  // namespace

void DeviceMainDlg::InitUI(const Orvo::CRect& clientRect) {
    CreateFrameControls(clientRect);
    CreateHomeView();
    CreatePages();
    ApplyTexts();
    UISize(clientRect);
    ShowView(MainView::kDeviceList);
}

void DeviceMainDlg::CreateFrameControls(const Orvo::CRect& client) {
    const MainWindowGeometry g =
        ComputeMainWindowGeometry(Box{client.left, client.top, client.right, client.bottom}, 0, 0);
    m_background =
        CreateOnDialog<Orvo::MPicture>(*this, L"MPicture", kBackgroundId, ToRect(g.background));
    if (m_background != nullptr) {
        m_background->SetImage(L"main_bkg.png", 1);
        m_background->SetShowMode(Orvo::kShowNinePatch, 8);
    }
    m_captionBar =
        CreateOnDialog<Orvo::MPicture>(*this, L"MPicture", kCaptionBarId, ToRect(g.captionBar));
    m_statusBar =
        CreateOnDialog<Orvo::MPicture>(*this, L"MPicture", kStatusBarId, ToRect(g.statusBar));
    for (Orvo::MPicture* bar : {m_captionBar, m_statusBar}) {
        if (bar != nullptr) {
            bar->SetImage(L"img_caption.png", 1);
            bar->SetShowMode(Orvo::kShowStretched);
        }
    }
    m_leftPanel = CreateOnDialog<Orvo::MPicture>(*this, L"MPicture", kLeftPanelId,
                                                 ToRect(g.leftPanel), L"", false);
    if (m_leftPanel != nullptr) {
        m_leftPanel->SetImage(L"img_tab_bkg.png", 1);
        m_leftPanel->SetShowMode(Orvo::kShowStretched);
    }
    m_logo = CreateOnDialog<Orvo::MPicture>(*this, L"MPicture", kLogoId, ToRect(g.logo));
    if (m_logo != nullptr) {
        m_logo->SetImage(L"logo\\logo.png", 1);
    }
    m_captionPicture = CreateOnDialog<Orvo::MPicture>(*this, L"MPicture", kCaptionPictureId,
                                                      Orvo::CRect(0, 0, 0, 0), L"", false);
    m_title = StyleText(CreateOnDialog<Orvo::MText>(*this, L"MText", kTitleId, ToRect(g.title)),
                        kTitleSize, kWhite, kCentred, false);
    m_version = StyleText(
        CreateOnDialog<Orvo::MText>(*this, L"MText", kVersionId, ToRect(g.applicationVersion)),
        kHintSize, kMutedText, 0, false);
    m_statusCentre = StyleText(
        CreateOnDialog<Orvo::MText>(*this, L"MText", kStatusCentreId, ToRect(g.statusCentreText)),
        kHintSize, kSecondaryText, kCentred, false);

    const struct {
        UINT id;
        const wchar_t* image;
        Orvo::CImageButton** control;
        Box rect;
        bool visible;
    } captionButtons[] = {
        {kCloseButtonId, L"sysbtn_close.png", &m_closeButton, g.closeButton, true},
        {kMaximiseButtonId, L"sysbtn_maximize.png", &m_maximiseButton, g.maximiseButton, false},
        {kMinimiseButtonId, L"sysbtn_min.png", &m_minimiseButton, g.minimiseButton, true},
        {kSettingsButtonId, L"sysbtn_setting.png", &m_settingsButton, g.settingsButton, true},
    };
    for (const auto& button : captionButtons) {
        *button.control = CreateOnDialog<Orvo::CImageButton>(
            *this, L"CImageButton", button.id, ToRect(button.rect), L"", button.visible);
        if (*button.control != nullptr) {
            (*button.control)->SetImage(button.image, 4);
        }
    }

    m_battery = CreateOnDialog<Orvo::BatteryCtrl>(*this, L"BatteryCtrl", kBatteryId,
                                                  ToRect(g.battery), L"", false);
    if (m_battery != nullptr) {
        m_battery->SetImage(L"icon\\icon_battery_bkg.png", 1);
        m_battery->SetBatteryIcon(L"icon\\icon_batteryvalue.png", L"icon\\icon_charge.png");
        m_battery->AddMTimer();
    }
    m_connectionState = CreateOnDialog<Orvo::CDeviceState>(
        *this, L"CDeviceState", kConnectionStateId, ToRect(g.connectionStatus), L"", false);
    if (m_connectionState != nullptr) {
        m_connectionState->SetImage(L"img_area.png", 1);
        UseLanguageFont(*m_connectionState);
        m_connectionState->SetFontWidth(kHintSize);
        m_connectionState->SetTextColor(kSecondaryText);
    }
    m_profileButton = CreateOnDialog<Orvo::CIconButton>(*this, L"CIconButton", kProfileButtonId,
                                                        ToRect(g.profileButton), L"", false);
    if (m_profileButton != nullptr) {
        m_profileButton->SetImage(L"img_button.png", 4);
        m_profileButton->SetIconImage(L"icon\\icon_arrow_up.png", 4);
        UseLanguageFont(*m_profileButton);
        m_profileButton->SetFontWidth(kHintSize);
        const int width = g.profileButton.Width();
        const int height = g.profileButton.Height();
        m_profileButton->SetTextRect(RECT{8, 0, width - 24, height},
                                     RECT{width - 24, 0, width - 8, height});
    }
}

void DeviceMainDlg::CreateHomeView() {
    const Orvo::CRect client = GetCachedClientRect();
    const MainWindowGeometry g =
        ComputeMainWindowGeometry(Box{client.left, client.top, client.right, client.bottom}, 0, 0);
    for (const UINT id : {kHomePageId, kButtonPageId, kPerformancePageId, kMacroPageId,
                          kLightPageId, kTextPageId, kSystemPageId}) {
        const Box& area = id == kHomePageId ? g.homeView : g.pageArea;
        m_pages.push_back(CreateOnDialog<Orvo::MTabLayout>(*this, L"MTabLayout", id, ToRect(area),
                                                           L"", id == kHomePageId));
    }
    m_tabs = CreateOnDialog<Orvo::MTabCtrl>(*this, L"MTabCtrl", kTabStripId, ToRect(g.tabStrip),
                                            L"", false);
    if (m_tabs != nullptr) {
        m_tabs->SetImage(L"img_tabitem_bkg.png", 3);
        m_tabs->SetTabCtrlWidth(g.tabStrip.Width());
        m_tabs->SetItemHeight(kTabHeight, 0, 1);
        UseLanguageFont(*m_tabs);
        for (const TabItem& item : kTabItems) {
            Orvo::MControl* page = GetControl(item.pageId);
            m_tabs->InsertItem(item.itemId, L"", item.icon, page);
        }
    }

    Orvo::MTabLayout* home = m_pages.empty() ? nullptr : m_pages.front();
    if (home == nullptr) {
        return;
    }
    m_deviceListHint =
        StyleText(CreateOnPage<Orvo::MText>(*home, L"MText", kDeviceListHintId,
                                            Orvo::CRect(g.deviceList.left, g.deviceList.top - 40,
                                                        g.deviceList.right, g.deviceList.top - 8)),
                  kHeadingSize, kSecondaryText, kCentred, false);
    m_deviceList =
        CreateOnPage<Orvo::CDeviceList>(*home, L"CDeviceList", kDeviceListId, ToRect(g.deviceList));
    if (m_deviceList != nullptr) {
        m_deviceList->SetImage(L"area_device.png", 1);
        m_deviceList->SetBatteryBkg(L"icon\\icon_battery_bkg.png");
        m_deviceList->SetBatteryIcon(L"icon\\icon_batteryvalue.png", L"icon\\icon_charge.png");
        m_deviceList->SetDevModeImage(L"device_mode.png");
    }
    m_noConnectionPicture = CreateOnPage<Orvo::MPicture>(*home, L"MPicture", kNoConnectionPictureId,
                                                         ToRect(g.noConnection));
    if (m_noConnectionPicture != nullptr) {
        m_noConnectionPicture->SetImage(L"img_no_device.png", 1);
        m_noConnectionPicture->SetAlignment(kCentred, kMiddle);
    }
    m_noConnectionText = StyleText(
        CreateOnPage<Orvo::MText>(*home, L"MText", kNoConnectionTextId, ToRect(g.noConnection)),
        kBodySize, kSecondaryText, kCentred, true);
    const struct {
        UINT id;
        int text;
    } homeButtons[] = {{kPairingButtonId, kPairReceiverText},
                       {kMouseFirmwareCheckId, kCheckUpdatesText}};
    for (const auto& button : homeButtons) {
        Orvo::MButton* made =
            StyleButton(CreateOnPage<Orvo::MButton>(*home, L"MButton", button.id, RECT{}));
        if (made != nullptr) {
            m_homeButtons.push_back(made);
            m_textLabels.emplace_back(made, button.text);
        }
    }
}

void DeviceMainDlg::CreatePages() {
    CreateButtonPage();
    CreatePerformancePage();
    for (const EmptyPage& page : kEmptyPages) {
        if (auto* layout = dynamic_cast<Orvo::MTabLayout*>(GetControl(page.pageId))) {
            CreateEmptyState(*layout, kEmptyStateFirstId + 2 * (page.pageId - kButtonPageId),
                             page.titleText);
        }
    }
    CreateSystemPage();
}

void DeviceMainDlg::CreateEmptyState(Orvo::MTabLayout& page, UINT firstId, int titleText) {
    Orvo::MText* title = StyleText(CreateOnPage<Orvo::MText>(page, L"MText", firstId, RECT{}),
                                   kHeadingSize + 4, kWhite, kCentred, false);
    Orvo::MText* line = StyleText(CreateOnPage<Orvo::MText>(page, L"MText", firstId + 1, RECT{}),
                                  kBodySize, kMutedText, kCentred, true);
    m_emptyStates.push_back({title, line});
    if (title != nullptr) {
        m_textLabels.emplace_back(title, titleText);
    }
    if (line != nullptr) {
        m_textLabels.emplace_back(line, kEmptyPageText);
    }
}

void DeviceMainDlg::CreateButtonPage() {
    auto* page = dynamic_cast<Orvo::MTabLayout*>(GetControl(kButtonPageId));
    if (page == nullptr) {
        return;
    }
    m_mousePictureControl =
        CreateOnPage<Orvo::MPicture>(*page, L"MPicture", kMousePictureId, RECT{});
    m_mouseButtons = CreateOnPage<Orvo::MouseCtrl>(*page, L"MouseCtrl", kMouseButtonsId, RECT{});
    if (m_mouseButtons != nullptr) {
        m_mouseButtons->SetImage(L"img_key_bkg.png", 4);
        m_mouseButtons->SetRresponse(false);
    }
}

void DeviceMainDlg::CreatePerformancePage() {
    auto* page = dynamic_cast<Orvo::MTabLayout*>(GetControl(kPerformancePageId));
    if (page == nullptr) {
        return;
    }
    // Shown, not yet edited here: a change the user could make would not reach the mouse
    // until the page's handlers are bound, so the controls take no input meanwhile.
    m_dpiStages = CreateOnPage<Orvo::DPIControl>(*page, L"DPIControl", kDpiStagesId, RECT{});
    if (m_dpiStages != nullptr) {
        m_dpiStages->SetRresponse(false);
    }
    m_dpiSlider = CreateOnPage<Orvo::DPISlider>(*page, L"DPISlider", kDpiSliderId, RECT{});
    if (m_dpiSlider != nullptr) {
        m_dpiSlider->SetRresponse(false);
        m_dpiSlider->SetBkgImage(L"img_area2.png");
        m_dpiSlider->SetImage(L"img_dpi_bar.png", 1);
        m_dpiSlider->SetTextColor(kSecondaryText);
        m_dpiSlider->SetMinProgress(0);
        m_dpiSlider->SetMaxProgress(DpiSliderMaximum(kHighDpiDeviceType));
    }
}

void DeviceMainDlg::CreateSystemPage() {
    auto* page = dynamic_cast<Orvo::MTabLayout*>(GetControl(kSystemPageId));
    if (page == nullptr) {
        return;
    }
    const struct {
        UINT id;
        int text;
    } buttons[] = {{kFactoryResetButtonId, kFactoryResetText},
                   {kMouseSettingsButtonId, kMouseSettingsText},
                   {kCharacterMapButtonId, kCharacterMapText},
                   {kPairingButton2Id, kPairReceiverText}};
    for (const auto& button : buttons) {
        if (Orvo::MButton* made =
                StyleButton(CreateOnPage<Orvo::MButton>(*page, L"MButton", button.id, RECT{}))) {
            m_systemButtons.push_back(made);
            m_textLabels.emplace_back(made, button.text);
        }
    }
}

void DeviceMainDlg::ApplyTexts() {
    const std::wstring font = LanguageFont();
    if (m_title != nullptr) {
        m_title->SetFontName(kTitleFont);
        ShowText(m_title, GetLanguageText(kApplicationNameText));
    }
    if (m_captionPicture != nullptr) {
        m_captionPicture->SetTitle(GetLanguageText(kApplicationNameText).c_str());
    }
    if (m_applicationVersion.empty()) {
        if (m_version != nullptr) {
            ShowText(m_version, GetLanguageText(kVersionLabelText));
        }
    } else if (m_catalogue) {
        ShowApplicationVersion(GetLanguageText(kVersionWordText) + L": v" +
                               m_catalogue->Software().version);
    }
    const struct {
        Orvo::CImageButton* button;
        int text;
    } tips[] = {{m_closeButton, kCloseTipText},
                {m_minimiseButton, kMinimiseTipText},
                {m_maximiseButton, kMaximiseTipText},
                {m_settingsButton, kSettingsTipText}};
    for (const auto& tip : tips) {
        if (tip.button != nullptr) {
            tip.button->SetTooltip(GetLanguageText(tip.text).c_str());
        }
    }
    if (m_tabs != nullptr) {
        for (int i = 0; i < m_tabs->GetItemCount(); ++i) {
            const UINT item = m_tabs->GetItemID(i);
            for (const TabItem& known : kTabItems) {
                if (known.itemId == item) {
                    m_tabs->SetItemText(i, GetLanguageText(known.text).c_str());
                }
            }
        }
        UseLanguageFont(*m_tabs);
        m_tabs->RefreshItems();
    }
    if (m_deviceList != nullptr) {
        m_deviceList->SetDevModeDesc(GetLanguageText(kWiredText).c_str(),
                                     GetLanguageText(kWirelessText).c_str());
    }
    if (m_deviceListHint != nullptr) {
        ShowText(m_deviceListHint, GetLanguageText(kDeviceListHintText));
    }
    if (m_noConnectionText != nullptr) {
        ShowText(m_noConnectionText, GetLanguageText(kNoConnectionMessageText));
    }
    for (const auto& [label, text] : m_textLabels) {
        UseLanguageFont(*label);
        ShowText(label, GetLanguageText(text));
    }
    for (Orvo::MControlFont* control : std::initializer_list<Orvo::MControlFont*>{
             m_version, m_statusCentre, m_deviceListHint, m_noConnectionText, m_connectionState,
             m_profileButton}) {
        if (control != nullptr) {
            control->SetFontName(font.c_str());
        }
    }
    if (m_mouseButtons != nullptr) {
        // The button labels are in the language too: a Latin face draws Chinese as boxes.
        m_mouseButtons->SetFontName(font.c_str());
        m_mouseButtons->SetUpdate(0, Orvo::ColorRef(0));
        m_mouseButtons->UpdateControl(TRUE);
    }
    ShowStatusText(m_statusText);
    ShowFirmwareLabels(m_mouseVersion, m_receiverVersion);
    if (m_profilePage) {
        RefreshProfileLabel();
    }
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void DeviceMainDlg::UISize(const Orvo::CRect& clientRect) {
    if (m_background == nullptr) {
        return;
    }
    const Orvo::CSize logoSize = m_logo != nullptr ? m_logo->GetImageSize() : Orvo::CSize(0, 0);
    const MainWindowGeometry g = ComputeMainWindowGeometry(
        Box{clientRect.left, clientRect.top, clientRect.right, clientRect.bottom}, logoSize.cx,
        logoSize.cy);
    const struct {
        Orvo::MControl* control;
        Box rect;
    } placed[] = {
        {m_background, g.background},
        {m_captionBar, g.captionBar},
        {m_statusBar, g.statusBar},
        {m_logo, g.logo},
        {m_closeButton, g.closeButton},
        {m_minimiseButton, g.minimiseButton},
        {m_settingsButton, g.settingsButton},
        {m_maximiseButton, g.maximiseButton},
        {m_title, g.title},
        {m_version, g.applicationVersion},
        {m_statusCentre, g.statusCentreText},
        {m_battery, g.battery},
        {m_connectionState, g.connectionStatus},
        {m_profileButton, g.profileButton},
        {m_leftPanel, g.leftPanel},
        {m_tabs, g.tabStrip},
    };
    for (const auto& item : placed) {
        if (item.control != nullptr) {
            item.control->SetRect(ToRect(item.rect));
        }
    }
    for (Orvo::MTabLayout* page : m_pages) {
        if (page != nullptr) {
            page->SetRect(ToRect(page->GetControlID() == kHomePageId ? g.homeView : g.pageArea));
        }
    }
    LayOutPages(g);
    NoteChange();
}

void DeviceMainDlg::LayOutPages(const MainWindowGeometry& g) {
    const double scale = g.scale;
    const auto scaled = [scale](int value) { return static_cast<int>(value * scale); };
    if (m_deviceList != nullptr) {
        m_deviceList->SetRect(ToRect(g.deviceList));
    }
    if (m_deviceListHint != nullptr) {
        m_deviceListHint->SetRect(Orvo::CRect(g.deviceList.left, g.deviceList.top - 40,
                                              g.deviceList.right, g.deviceList.top - 8));
    }
    const Box& nc = g.noConnection;
    if (m_noConnectionPicture != nullptr) {
        m_noConnectionPicture->SetRect(
            Orvo::CRect(nc.left, nc.top - scaled(150), nc.right, nc.top - scaled(10)));
    }
    if (m_noConnectionText != nullptr) {
        m_noConnectionText->SetRect(ToRect(nc));
    }
    // The home view's buttons sit centred below the device list.
    const int buttonWidth = 180;
    const int gap = 24;
    int left =
        g.homeView.left +
        (g.homeView.Width() - static_cast<int>(m_homeButtons.size()) * (buttonWidth + gap) + gap) /
            2;
    const int buttonTop = g.deviceList.bottom + 14;
    for (Orvo::MButton* button : m_homeButtons) {
        button->SetRect(Orvo::CRect(left, buttonTop, left + buttonWidth, buttonTop + 34));
        left += buttonWidth + gap;
    }

    const Box& area = g.pageArea;
    if (m_mousePictureControl != nullptr) {
        const Orvo::CSize size = m_mousePictureControl->GetImageSize();
        const int pictureLeft = g.background.right - size.cx - 150;
        m_mousePictureControl->SetRect(
            Orvo::CRect(pictureLeft, 145, pictureLeft + size.cx, 145 + size.cy));
        if (m_mouseButtons != nullptr) {
            m_mouseButtons->SetRect(
                Orvo::CRect(pictureLeft, 145, pictureLeft + size.cx, 145 + size.cy));
        }
    }
    if (m_dpiStages != nullptr) {
        m_dpiStages->SetRect(Orvo::CRect(area.left + 40, area.top + 40, area.right - 40,
                                         area.top + 40 + scaled(180)));
    }
    if (m_dpiSlider != nullptr) {
        const int top = area.top + 60 + scaled(180);
        m_dpiSlider->SetRect(Orvo::CRect(area.left + 40, top, area.left + 40 + 905, top + 70));
    }
    const int centreX = area.left + area.Width() / 2;
    const int centreY = area.top + area.Height() / 2;
    for (const EmptyState& empty : m_emptyStates) {
        if (empty.title != nullptr) {
            empty.title->SetRect(
                Orvo::CRect(centreX - 300, centreY - 60, centreX + 300, centreY - 20));
        }
        if (empty.line != nullptr) {
            empty.line->SetRect(
                Orvo::CRect(centreX - 300, centreY - 14, centreX + 300, centreY + 40));
        }
    }
    int top = area.top + 60;
    for (Orvo::MButton* button : m_systemButtons) {
        button->SetRect(Orvo::CRect(area.left + 60, top, area.left + 60 + 260, top + 40));
        top += 60;
    }
}

void DeviceMainDlg::ShowView(MainView view) {
    m_view = view;
    if (m_pageContext) {
        m_pageContext->SetDeviceConnected(view == MainView::kDevice);
    }
    const bool device = view == MainView::kDevice;
    const bool list = view == MainView::kDeviceList;
    for (Orvo::MControl* control :
         std::initializer_list<Orvo::MControl*>{m_leftPanel, m_tabs, m_battery, m_connectionState,
                                                m_profileButton, m_captionPicture}) {
        if (control != nullptr) {
            control->SetVisible(device ? 1 : 0);
        }
    }
    for (Orvo::MControl* control :
         std::initializer_list<Orvo::MControl*>{m_deviceList, m_deviceListHint}) {
        if (control != nullptr) {
            control->SetVisible(list ? 1 : 0);
        }
    }
    for (Orvo::MControl* control :
         std::initializer_list<Orvo::MControl*>{m_noConnectionPicture, m_noConnectionText}) {
        if (control != nullptr) {
            control->SetVisible(view == MainView::kNoConnection ? 1 : 0);
        }
    }
    for (Orvo::MButton* button : m_homeButtons) {
        button->SetVisible(device ? 0 : 1);
    }
    // Leaving the device with its settings page open brings back the caption's maximise and
    // settings buttons.
    if (!device && m_currentTab == static_cast<int>(kSystemTab)) {
        for (Orvo::MControl* button :
             std::initializer_list<Orvo::MControl*>{m_maximiseButton, m_settingsButton}) {
            if (button != nullptr) {
                button->SetVisible(1);
            }
        }
    }
    if (m_tabs != nullptr) {
        if (device) {
            // Entering the device view selects the buttons page.
            if (m_tabs->GetSelectItem() <= 0) {
                m_tabs->SetSelectItem(1);
            }
        } else {
            m_tabs->SetSelectItem(0);
        }
        m_currentTab = static_cast<int>(m_tabs->GetItemID(m_tabs->GetSelectItem()));
    }
    if (!device && !m_pages.empty() && m_pages.front() != nullptr) {
        for (Orvo::MTabLayout* page : m_pages) {
            if (page != nullptr) {
                page->SetVisible(page == m_pages.front() ? 1 : 0);
            }
        }
    }
    if (m_title != nullptr) {
        std::wstring title = GetLanguageText(kApplicationNameText);
        if (device && m_catalogue && !m_catalogue->CurrentModelName().empty()) {
            title = m_catalogue->CurrentModelName();
        }
        ShowText(m_title, title);
    }
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    NoteChange();
}

void DeviceMainDlg::OnTabSelected(int index) {
    if (m_tabs == nullptr) {
        return;
    }
    const UINT item = m_tabs->GetItemID(index);
    if (item == 0) {
        return;
    }
    m_currentTab = static_cast<int>(item);
    if (item == kHomeTab && m_view == MainView::kDevice) {
        ShowView(MainView::kDeviceList);
        if (m_effects) {
            m_effects->HeadlessWindow::ShowView(MainView::kDeviceList);
        }
        return;
    }
    NoteChange();
}

void DeviceMainDlg::ShowBattery(int level, int charging) {
    if (m_battery != nullptr) {
        m_battery->SetBatteryInfo(level, charging);
    }
    NoteChange();
}

void DeviceMainDlg::ShowStatusText(int languageText) {
    m_statusText = languageText;
    if (m_connectionState != nullptr) {
        const int shown = languageText != 0 ? languageText : kNotConnectedStatusText;
        ShowText(m_connectionState, GetLanguageText(shown));
        m_connectionState->UpdateControl(TRUE);
    }
    NoteChange();
}

void DeviceMainDlg::ShowFirmwareLabels(const std::wstring& mouse, const std::wstring& receiver) {
    m_mouseVersion = mouse;
    m_receiverVersion = receiver;
    if (m_statusCentre != nullptr) {
        // A label without its version (no receiver answered) says nothing worth showing.
        const auto hasVersion = [](const std::wstring& label) {
            return label.find(L": ") != std::wstring::npos;
        };
        // The engine writes a label in the language of that moment ("<551>: 1.2.5"); its
        // word is shown in the current language, so a language change reaches it too.
        const auto inLanguage = [](const std::wstring& label, int word) {
            return GetLanguageText(word) + label.substr(label.find(L": "));
        };
        std::wstring text = hasVersion(mouse) ? inLanguage(mouse, kMouseVersionText) : L"";
        if (hasVersion(receiver)) {
            const std::wstring shown = inLanguage(receiver, kReceiverVersionText);
            text += text.empty() ? shown : L"    " + shown;
        }
        ShowText(m_statusCentre, text);
    }
    NoteChange();
}

void DeviceMainDlg::ShowDpiStage(int stageIndex) {
    if (m_dpiStages != nullptr && stageIndex >= 0 && stageIndex < m_dpiStages->GetItemCount()) {
        m_dpiStages->SetSelectItem(stageIndex);
        if (m_dpiSlider != nullptr) {
            m_dpiSlider->SetProgress(m_dpiStages->GetDPIValue(stageIndex) / kDpiStep);
        }
    }
    if (m_pageContext) {
        m_pageContext->SetCachedDpiIndex(stageIndex);
    }
    NoteChange();
}

void DeviceMainDlg::RefreshPerformancePage() {
    if (m_dpiStages == nullptr || !m_pageContext) {
        return;
    }
    RefreshProfileLabel();
    m_dpiStages->ClearList();
    const int count = ClampDpiCount(m_pageContext->ConfigNumber(L"dpi_count", 0));
    for (int stage = 0; stage < count; ++stage) {
        const int dpi = m_pageContext->ConfigNumber(DpiValueKey(stage), 0);
        const int colour = m_pageContext->ConfigNumber(DpiColourKey(stage), 0);
        m_dpiStages->AddItem(dpi, Orvo::ColorRef(static_cast<std::uint32_t>(colour)));
    }
    const int index = m_worker ? m_worker->MouseState().dpiStageIndex : 0;
    ShowDpiStage(ClampDpiIndex(index, count));
}

void DeviceMainDlg::ShowMousePicture(const std::wstring& picture) {
    if (m_mousePictureControl != nullptr) {
        m_mousePictureControl->SetImage(picture.c_str(), 1);
        m_mousePictureControl->SetVisible(picture.empty() ? 0 : 1);
    }
    UISize(GetCachedClientRect());
}

void DeviceMainDlg::ShowLightTab(bool available) {
    if (m_tabs == nullptr) {
        return;
    }
    for (int i = 0; i < m_tabs->GetItemCount(); ++i) {
        if (m_tabs->GetItemID(i) == kLightTab) {
            m_tabs->SetItemVisible(i, available ? 1 : 0);
        }
    }
    NoteChange();
}

void DeviceMainDlg::ClearMouseButtons() {
    if (m_mouseButtons != nullptr) {
        m_mouseButtons->DeleteAllItems();
    }
}

void DeviceMainDlg::AddMouseButton(const std::wstring& name, int keyValue, int direction,
                                   POINT from, POINT to) {
    if (m_mouseButtons != nullptr) {
        m_mouseButtons->AddItem(name.c_str(), keyValue, direction == 1 ? 1 : 0, from, to);
    }
}

void DeviceMainDlg::ShowApplicationVersion(const std::wstring& text) {
    m_applicationVersion = text;
    if (m_version != nullptr) {
        ShowText(m_version, text);
    }
    NoteChange();
}

void DeviceMainDlg::CloseOwnedPopups() {
    if (m_dpiStages != nullptr) {
        m_dpiStages->HideEdit();
    }
    SetFocusControl(nullptr);
    NoteChange();
}

void DeviceMainDlg::WriteUiState() {
    if (!m_uiState || m_hWnd == nullptr) {
        return;
    }
    UiStateFile& state = *m_uiState;
    const Orvo::CRect client = GetCachedClientRect();
    state.Add("client", std::to_wstring(client.Width()) + L"," + std::to_wstring(client.Height()));
    state.Add("view", ViewName(m_view));
    state.Add("tab", m_currentTab);
    state.Add("battery", m_battery != nullptr ? m_battery->GetBatteryLevel() : -1);
    state.Add("charging", m_battery != nullptr ? m_battery->GetCharging() : 0);
    state.Add("status", m_statusText);
    state.Add("dpi_stage", m_dpiStages != nullptr && m_dpiStages->GetItemCount() > 0
                               ? m_dpiStages->GetSelectItem()
                               : -1);
    std::wstring devices;
    if (m_deviceList != nullptr) {
        for (int i = 0; i < m_deviceList->GetItemCount(); ++i) {
            const Orvo::CDeviceList::DeviceInfo info = m_deviceList->GetDeviceInfo(i);
            if (!devices.empty()) {
                devices += L";";
            }
            devices += std::to_wstring(info.type) + L":" + std::to_wstring(info.state) + L":" +
                       std::to_wstring(info.mode) + L":" + std::to_wstring(info.level) + L":" +
                       std::to_wstring(info.charging);
        }
    }
    state.Add("devices", devices);
    state.Add("language", GetCurrentLanguage());
    state.Add("profile", m_pageContext ? m_pageContext->CurrentProfile() : 0);
    state.Add("message_box", IsMessageBoxOpen() ? 1 : 0);
    state.Add("wait_dialog", ::FindWindowW(L"MWindow", L"WaitDlg") != nullptr ? 1 : 0);
    for (const auto& [code, count] : m_queuedJobs) {
        state.Add("job." + std::to_string(code), count);
    }
    const struct {
        UINT id;
        Orvo::MControlFont* control;
    } texts[] = {{kTitleId, m_title},
                 {kVersionId, m_version},
                 {kStatusCentreId, m_statusCentre},
                 {kConnectionStateId, m_connectionState},
                 {kProfileButtonId, m_profileButton}};
    for (const auto& text : texts) {
        if (text.control != nullptr) {
            state.Add("text." + std::to_string(text.id), text.control->GetControlTitle());
        }
    }
    if (m_tabs != nullptr) {
        for (int i = 0; i < m_tabs->GetItemCount(); ++i) {
            const Orvo::TabItemInfo* info = m_tabs->GetItemInfo(i);
            if (info == nullptr) {
                continue;
            }
            const std::string item = std::to_string(m_tabs->GetItemID(i));
            state.Add("tab_text." + item, info->text);
            if (m_tabs->IsVisible() && m_tabs->GetItemVisible(i)) {
                const Orvo::CRect& r = info->rect;
                state.AddRect("tab_item." + item, r.left, r.top, r.right, r.bottom);
            }
        }
    }
    for (const UINT id :
         {kBackgroundId,      kCaptionBarId,      kStatusBarId,      kLogoId,
          kTitleId,           kVersionId,         kStatusCentreId,   kCloseButtonId,
          kMinimiseButtonId,  kMaximiseButtonId,  kSettingsButtonId, kBatteryId,
          kConnectionStateId, kProfileButtonId,   kLeftPanelId,      kTabStripId,
          kHomePageId,        kButtonPageId,      kDeviceListId,     kNoConnectionTextId,
          kCaptionPictureId,  kPerformancePageId, kMacroPageId,      kLightPageId}) {
        Orvo::MControl* control = GetControl(id);
        if (id == kDeviceListId) {
            control = m_deviceList;
        } else if (id == kNoConnectionTextId) {
            control = m_noConnectionText;
        }
        if (control == nullptr) {
            continue;
        }
        const Orvo::CRect& r = control->GetRect();
        state.AddRect("rect." + std::to_string(id), r.left, r.top, r.right, r.bottom);
        state.Add("visible." + std::to_string(id), control->IsVisible() ? 1 : 0);
    }
    if (m_deviceList != nullptr && m_deviceList->IsVisible()) {
        for (int i = 0; i < m_deviceList->GetItemCount(); ++i) {
            const Orvo::CRect card = m_deviceList->GetCardRect(i);
            if (card.Width() > 0) {
                state.AddRect("card." + std::to_string(i), card.left, card.top, card.right,
                              card.bottom);
            }
        }
    }
    std::vector<Orvo::MButton*> buttons = m_homeButtons;
    buttons.insert(buttons.end(), m_systemButtons.begin(), m_systemButtons.end());
    for (Orvo::MButton* button : buttons) {
        const bool onShownPage =
            m_view == MainView::kDevice ? m_currentTab == static_cast<int>(kSystemTab) : true;
        if (button->IsVisible() && onShownPage) {
            const Orvo::CRect& r = button->GetRect();
            state.AddRect("button." + std::to_string(button->GetControlID()), r.left, r.top,
                          r.right, r.bottom);
        }
    }
    state.Write();
}

}  // namespace tavik
