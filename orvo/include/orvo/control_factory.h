#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "orvo/control.h"
#include "orvo/orvo_api.h"

namespace Orvo {

// The arguments a class's constructor takes after (parent, id, rect).
enum class ConstructorGroup {
    kTextBothFlags,      // (text, visible, enabled)
    kTextEnabledForced,  // (text, visible, 1)
    kBothFlags,          // (visible, enabled)
    kEnabledForced,      // (visible, 1)
    kVisibleOnly,        // (visible)
    kStaticText,         // (text, visible)
    kNone,               // not a factory class
};

// Which factory table a name is looked up in.
enum class FactoryTable {
    kDialog,  // PaintManager::CreateControl
    kPanel,   // MPanel::CreateControl
};

struct FactoryClass {
    const wchar_t* name;
    ConstructorGroup group;
};

// Every class the factories can create, with its constructor group.
inline constexpr FactoryClass kFactoryClasses[] = {
    {L"MButton", ConstructorGroup::kTextBothFlags},
    {L"CImageButton", ConstructorGroup::kTextBothFlags},
    {L"CTextButton", ConstructorGroup::kTextBothFlags},
    {L"CCheckButton", ConstructorGroup::kTextBothFlags},
    {L"CRadioButton", ConstructorGroup::kTextBothFlags},
    {L"CSelectButton", ConstructorGroup::kTextBothFlags},
    {L"CIconButton", ConstructorGroup::kTextBothFlags},
    {L"CTimerButton", ConstructorGroup::kTextBothFlags},
    {L"CHelpButton", ConstructorGroup::kTextBothFlags},
    {L"MEdit", ConstructorGroup::kTextBothFlags},
    {L"MRichEdit", ConstructorGroup::kTextBothFlags},
    {L"MEditEx", ConstructorGroup::kTextBothFlags},
    {L"MenuItem", ConstructorGroup::kTextEnabledForced},
    {L"TextCheckButton", ConstructorGroup::kTextEnabledForced},
    {L"UpgradeButton", ConstructorGroup::kTextEnabledForced},
    {L"DownloadButton", ConstructorGroup::kTextEnabledForced},
    {L"LongPressButton", ConstructorGroup::kTextEnabledForced},
    {L"ColorButtonEx", ConstructorGroup::kTextEnabledForced},
    {L"CDeviceState", ConstructorGroup::kTextEnabledForced},
    {L"MPicture", ConstructorGroup::kBothFlags},
    {L"CPhotoFrame", ConstructorGroup::kBothFlags},
    {L"CSliderPicture", ConstructorGroup::kBothFlags},
    {L"CGifPicture", ConstructorGroup::kBothFlags},
    {L"MProgress", ConstructorGroup::kBothFlags},
    {L"MSlider", ConstructorGroup::kBothFlags},
    {L"LightSlider", ConstructorGroup::kBothFlags},
    {L"DPISlider", ConstructorGroup::kBothFlags},
    {L"MLevelCtrl", ConstructorGroup::kBothFlags},
    {L"CColorButton", ConstructorGroup::kBothFlags},
    {L"MSpinButton", ConstructorGroup::kBothFlags},
    {L"CSpinButton", ConstructorGroup::kBothFlags},
    {L"CSwitchButton", ConstructorGroup::kBothFlags},
    {L"MComboBox", ConstructorGroup::kBothFlags},
    {L"MTabCtrl", ConstructorGroup::kBothFlags},
    {L"CArea", ConstructorGroup::kEnabledForced},
    {L"CRoundArea", ConstructorGroup::kEnabledForced},
    {L"CirclePalette", ConstructorGroup::kEnabledForced},
    {L"CComboBoxList", ConstructorGroup::kEnabledForced},
    {L"BatteryCtrl", ConstructorGroup::kEnabledForced},
    {L"CDeviceList", ConstructorGroup::kEnabledForced},
    {L"CTabCtrl1", ConstructorGroup::kEnabledForced},
    {L"DPIControl", ConstructorGroup::kEnabledForced},
    {L"MComboBox2", ConstructorGroup::kEnabledForced},
    {L"MButton2", ConstructorGroup::kEnabledForced},
    {L"MButton3", ConstructorGroup::kEnabledForced},
    {L"KeyFuncType", ConstructorGroup::kEnabledForced},
    {L"KeyFuncValue", ConstructorGroup::kEnabledForced},
    {L"MTabLayout", ConstructorGroup::kVisibleOnly},
    {L"MListBox", ConstructorGroup::kVisibleOnly},
    {L"DListBox", ConstructorGroup::kVisibleOnly},
    {L"MPalette", ConstructorGroup::kVisibleOnly},
    {L"CColorPalette", ConstructorGroup::kVisibleOnly},
    {L"CColorSelect", ConstructorGroup::kVisibleOnly},
    {L"MacroList", ConstructorGroup::kVisibleOnly},
    {L"CRecordList", ConstructorGroup::kVisibleOnly},
    {L"MouseKeyCtrl", ConstructorGroup::kVisibleOnly},
    {L"MouseCtrl", ConstructorGroup::kVisibleOnly},
    {L"PaletteBar", ConstructorGroup::kVisibleOnly},
    {L"NumberEdit", ConstructorGroup::kVisibleOnly},
    {L"NumberEdit2", ConstructorGroup::kVisibleOnly},
    {L"ReporteCtrl", ConstructorGroup::kVisibleOnly},
    {L"MText", ConstructorGroup::kStaticText},
};

// The constructor group of a factory class name; kNone for other names.
constexpr ConstructorGroup GroupOf(std::wstring_view name) {
    for (const FactoryClass& entry : kFactoryClasses) {
        if (name == entry.name) {
            return entry.group;
        }
    }
    return ConstructorGroup::kNone;
}

// Makes a control; the text is never null.
using ControlCreator = MControl* (*)(MObject* parent, UINT id, const RECT& rect,
                                     const wchar_t* text, int visible, int enabled);

// Creating controls by class name. The tables fix which names each factory accepts and in
// which order; a class becomes creatable when its file registers it with
// ORVO_REGISTER_CONTROL.
class ORVO_API ControlFactory {
public:
    // The names a factory accepts, in table order.
    static const std::vector<const wchar_t*>& GetNames(FactoryTable table);
    // Exact, case-sensitive lookup.
    static bool IsListed(FactoryTable table, const wchar_t* className);
    // Adds a creator; false when the name is not a factory class or already has one.
    static bool Register(const wchar_t* className, ControlCreator creator);
    // Removes a creator (for tests that stand in for a class not written yet).
    static void Unregister(const wchar_t* className);
    static bool IsRegistered(const wchar_t* className);
    // A new, unattached control; null for an empty, unlisted or unregistered name.
    static std::unique_ptr<MControl> Create(FactoryTable table, const wchar_t* className,
                                            MObject* parent, UINT id, const RECT& rect,
                                            const wchar_t* text, int visible, int enabled);
};

// Calls T's constructor with the arguments of its group.
template <typename T, ConstructorGroup Group>
MControl* CreateControlOf(MObject* parent, UINT id, const RECT& rect, const wchar_t* text,
                          int visible, int enabled) {
    static_assert(Group != ConstructorGroup::kNone, "not a factory class name");
    if constexpr (Group == ConstructorGroup::kTextBothFlags) {
        return new T(parent, id, rect, text, visible, enabled);
    } else if constexpr (Group == ConstructorGroup::kTextEnabledForced) {
        return new T(parent, id, rect, text, visible, 1);
    } else if constexpr (Group == ConstructorGroup::kBothFlags) {
        return new T(parent, id, rect, visible, enabled);
    } else if constexpr (Group == ConstructorGroup::kEnabledForced) {
        return new T(parent, id, rect, visible, 1);
    } else if constexpr (Group == ConstructorGroup::kVisibleOnly) {
        return new T(parent, id, rect, visible);
    } else {
        return new T(parent, id, rect, text, visible);
    }
}

struct ORVO_API ControlRegistration {
    ControlRegistration(const wchar_t* className, ControlCreator creator);
};

}  // namespace Orvo

#define ORVO_WIDEN_IMPL(text) L##text
#define ORVO_WIDEN(text) ORVO_WIDEN_IMPL(text)

// Makes ClassName creatable by its name; put it in the class's .cpp at namespace scope.
// The constructor's arguments follow the class's group in kFactoryClasses.
#define ORVO_REGISTER_CONTROL(ClassName)                                           \
    static const ::Orvo::ControlRegistration kOrvoControlRegistration_##ClassName( \
        ORVO_WIDEN(#ClassName),                                                    \
        &::Orvo::CreateControlOf<ClassName, ::Orvo::GroupOf(ORVO_WIDEN(#ClassName))>)

// Declares the class-name overrides of a control class: its name and its parent's.
#define ORVO_DECLARE_CONTROL(ClassName, BaseName)         \
    const wchar_t* GetClassNameW() const override {       \
        return ORVO_WIDEN(#ClassName);                    \
    }                                                     \
    const wchar_t* GetObjectClass() const override {      \
        return ORVO_WIDEN(#ClassName);                    \
    }                                                     \
    const wchar_t* BaseObjectClassName() const override { \
        return ORVO_WIDEN(#BaseName);                     \
    }
