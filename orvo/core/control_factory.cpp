#include "orvo/control_factory.h"

#include <cwchar>
#include <map>
#include <mutex>

namespace Orvo {
namespace {

// The dialog's factory (PaintManager::CreateControl), in table order.
const wchar_t* const kDialogNames[] = {
    L"CArea",         L"MText",         L"MPicture",     L"CPhotoFrame",     L"CSliderPicture",
    L"CGifPicture",   L"MProgress",     L"MSlider",      L"LightSlider",     L"DPISlider",
    L"MLevelCtrl",    L"MButton",       L"CImageButton", L"CTextButton",     L"CCheckButton",
    L"CRadioButton",  L"CSelectButton", L"CColorButton", L"MSpinButton",     L"CSpinButton",
    L"CSwitchButton", L"CIconButton",   L"CTimerButton", L"CHelpButton",     L"MEdit",
    L"MRichEdit",     L"MEditEx",       L"MComboBox",    L"MTabCtrl",        L"MTabLayout",
    L"MListBox",      L"DListBox",      L"MPalette",     L"CColorPalette",   L"CColorSelect",
    L"CirclePalette", L"CComboBoxList", L"MenuItem",     L"TextCheckButton", L"CDeviceState",
    L"BatteryCtrl",   L"CDeviceList",   L"CTabCtrl1",    L"CRoundArea",
};

// A panel's factory (MPanel::CreateControl), in table order.
const wchar_t* const kPanelNames[] = {
    L"CArea",         L"MText",         L"MPicture",        L"CPhotoFrame",    L"CSliderPicture",
    L"CGifPicture",   L"MProgress",     L"MSlider",         L"LightSlider",    L"DPISlider",
    L"MLevelCtrl",    L"MButton",       L"CImageButton",    L"CTextButton",    L"CCheckButton",
    L"CRadioButton",  L"CSelectButton", L"CColorButton",    L"MSpinButton",    L"CSpinButton",
    L"CSwitchButton", L"CIconButton",   L"CTimerButton",    L"CHelpButton",    L"MEdit",
    L"MRichEdit",     L"MEditEx",       L"MComboBox",       L"MTabCtrl",       L"MTabLayout",
    L"MListBox",      L"MPalette",      L"CColorPalette",   L"CColorSelect",   L"CirclePalette",
    L"MenuItem",      L"DListBox",      L"UpgradeButton",   L"DownloadButton", L"MacroList",
    L"CRecordList",   L"DPIControl",    L"LongPressButton", L"MouseKeyCtrl",   L"MouseCtrl",
    L"ColorButtonEx", L"MComboBox2",    L"MButton2",        L"MButton3",       L"PaletteBar",
    L"NumberEdit",    L"NumberEdit2",   L"CDeviceList",     L"ReporteCtrl",    L"KeyFuncType",
    L"CRoundArea",    L"KeyFuncValue",
};

struct Registry {
    std::mutex lock;  // guards creators
    std::map<std::wstring, ControlCreator> creators;
};

// Built on first use: registrations run while the library is loaded, in no fixed order.
Registry& GetRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

const std::vector<const wchar_t*>& ControlFactory::GetNames(FactoryTable table) {
    static const std::vector<const wchar_t*> dialog(std::begin(kDialogNames),
                                                    std::end(kDialogNames));
    static const std::vector<const wchar_t*> panel(std::begin(kPanelNames), std::end(kPanelNames));
    return table == FactoryTable::kDialog ? dialog : panel;
}

bool ControlFactory::IsListed(FactoryTable table, const wchar_t* className) {
    if (className == nullptr || *className == L'\0') {
        return false;
    }
    for (const wchar_t* name : GetNames(table)) {
        if (std::wcscmp(name, className) == 0) {
            return true;
        }
    }
    return false;
}

bool ControlFactory::Register(const wchar_t* className, ControlCreator creator) {
    if (className == nullptr || creator == nullptr ||
        GroupOf(className) == ConstructorGroup::kNone) {
        return false;
    }
    Registry& registry = GetRegistry();
    std::lock_guard<std::mutex> lock(registry.lock);
    return registry.creators.emplace(className, creator).second;
}

void ControlFactory::Unregister(const wchar_t* className) {
    if (className == nullptr) {
        return;
    }
    Registry& registry = GetRegistry();
    std::lock_guard<std::mutex> lock(registry.lock);
    registry.creators.erase(className);
}

bool ControlFactory::IsRegistered(const wchar_t* className) {
    if (className == nullptr) {
        return false;
    }
    Registry& registry = GetRegistry();
    std::lock_guard<std::mutex> lock(registry.lock);
    return registry.creators.count(className) != 0;
}

std::unique_ptr<MControl> ControlFactory::Create(FactoryTable table, const wchar_t* className,
                                                 MObject* parent, UINT id, const RECT& rect,
                                                 const wchar_t* text, int visible, int enabled) {
    if (!IsListed(table, className)) {
        return nullptr;
    }
    ControlCreator creator = nullptr;
    {
        Registry& registry = GetRegistry();
        std::lock_guard<std::mutex> lock(registry.lock);
        const auto found = registry.creators.find(className);
        if (found == registry.creators.end()) {
            return nullptr;
        }
        creator = found->second;
    }
    return std::unique_ptr<MControl>(
        creator(parent, id, rect, text != nullptr ? text : L"", visible, enabled));
}

ControlRegistration::ControlRegistration(const wchar_t* className, ControlCreator creator) {
    ControlFactory::Register(className, creator);
}

}  // namespace Orvo
