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

// Whether the file of a factory class exists yet. A class is moved to kWritten in its row of
// kFactoryClasses when its file registers it; the factory test fails for a registered class
// still marked kNotYetWritten and for a kWritten class that is not registered.
enum ClassState : bool { kNotYetWritten = false, kWritten = true };

// The place of a class in a factory's table, or kNotListed when that factory refuses it.
inline constexpr int kNotListed = -1;

struct FactoryClass {
    const wchar_t* name;
    ConstructorGroup group;
    int dialogPlace;  // in PaintManager::CreateControl's table
    int panelPlace;   // in MPanel::CreateControl's table
    ClassState state;
};

// Every class the factories can create: the one table of class names.
inline constexpr FactoryClass kFactoryClasses[] = {
    {L"MButton", ConstructorGroup::kTextBothFlags, 11, 11, kWritten},
    {L"CImageButton", ConstructorGroup::kTextBothFlags, 12, 12, kWritten},
    {L"CTextButton", ConstructorGroup::kTextBothFlags, 13, 13, kWritten},
    {L"CCheckButton", ConstructorGroup::kTextBothFlags, 14, 14, kWritten},
    {L"CRadioButton", ConstructorGroup::kTextBothFlags, 15, 15, kWritten},
    {L"CSelectButton", ConstructorGroup::kTextBothFlags, 16, 16, kWritten},
    {L"CIconButton", ConstructorGroup::kTextBothFlags, 21, 21, kWritten},
    {L"CTimerButton", ConstructorGroup::kTextBothFlags, 22, 22, kWritten},
    {L"CHelpButton", ConstructorGroup::kTextBothFlags, 23, 23, kWritten},
    {L"MEdit", ConstructorGroup::kTextBothFlags, 24, 24, kWritten},
    {L"MRichEdit", ConstructorGroup::kTextBothFlags, 25, 25, kWritten},
    {L"MEditEx", ConstructorGroup::kTextBothFlags, 26, 26, kWritten},
    {L"MenuItem", ConstructorGroup::kTextEnabledForced, 37, 35, kWritten},
    {L"TextCheckButton", ConstructorGroup::kTextEnabledForced, 38, kNotListed, kWritten},
    {L"UpgradeButton", ConstructorGroup::kTextEnabledForced, kNotListed, 37, kWritten},
    {L"DownloadButton", ConstructorGroup::kTextEnabledForced, kNotListed, 38, kWritten},
    {L"LongPressButton", ConstructorGroup::kTextEnabledForced, kNotListed, 42, kWritten},
    {L"ColorButtonEx", ConstructorGroup::kTextEnabledForced, kNotListed, 45, kWritten},
    {L"CDeviceState", ConstructorGroup::kTextEnabledForced, 39, kNotListed, kWritten},
    {L"MPicture", ConstructorGroup::kBothFlags, 2, 2, kWritten},
    {L"CPhotoFrame", ConstructorGroup::kBothFlags, 3, 3, kWritten},
    {L"CSliderPicture", ConstructorGroup::kBothFlags, 4, 4, kWritten},
    {L"CGifPicture", ConstructorGroup::kBothFlags, 5, 5, kWritten},
    {L"MProgress", ConstructorGroup::kBothFlags, 6, 6, kWritten},
    {L"MSlider", ConstructorGroup::kBothFlags, 7, 7, kWritten},
    {L"LightSlider", ConstructorGroup::kBothFlags, 8, 8, kWritten},
    {L"DPISlider", ConstructorGroup::kBothFlags, 9, 9, kWritten},
    {L"MLevelCtrl", ConstructorGroup::kBothFlags, 10, 10, kWritten},
    {L"CColorButton", ConstructorGroup::kBothFlags, 17, 17, kWritten},
    {L"MSpinButton", ConstructorGroup::kBothFlags, 18, 18, kWritten},
    {L"CSpinButton", ConstructorGroup::kBothFlags, 19, 19, kWritten},
    {L"CSwitchButton", ConstructorGroup::kBothFlags, 20, 20, kWritten},
    {L"MComboBox", ConstructorGroup::kBothFlags, 27, 27, kWritten},
    {L"MTabCtrl", ConstructorGroup::kBothFlags, 28, 28, kWritten},
    {L"CArea", ConstructorGroup::kEnabledForced, 0, 0, kWritten},
    {L"CRoundArea", ConstructorGroup::kEnabledForced, 43, 55, kWritten},
    {L"CirclePalette", ConstructorGroup::kEnabledForced, 35, 34, kWritten},
    {L"CComboBoxList", ConstructorGroup::kEnabledForced, 36, kNotListed, kWritten},
    {L"BatteryCtrl", ConstructorGroup::kEnabledForced, 40, kNotListed, kWritten},
    {L"CDeviceList", ConstructorGroup::kEnabledForced, 41, 52, kWritten},
    {L"CTabCtrl1", ConstructorGroup::kEnabledForced, 42, kNotListed, kWritten},
    {L"DPIControl", ConstructorGroup::kEnabledForced, kNotListed, 41, kWritten},
    {L"MComboBox2", ConstructorGroup::kEnabledForced, kNotListed, 46, kWritten},
    {L"MButton2", ConstructorGroup::kEnabledForced, kNotListed, 47, kWritten},
    {L"MButton3", ConstructorGroup::kEnabledForced, kNotListed, 48, kWritten},
    {L"KeyFuncType", ConstructorGroup::kEnabledForced, kNotListed, 54, kWritten},
    {L"KeyFuncValue", ConstructorGroup::kEnabledForced, kNotListed, 56, kWritten},
    {L"MTabLayout", ConstructorGroup::kVisibleOnly, 29, 29, kWritten},
    {L"MListBox", ConstructorGroup::kVisibleOnly, 30, 30, kWritten},
    {L"DListBox", ConstructorGroup::kVisibleOnly, 31, 36, kWritten},
    {L"MPalette", ConstructorGroup::kVisibleOnly, 32, 31, kWritten},
    {L"CColorPalette", ConstructorGroup::kVisibleOnly, 33, 32, kWritten},
    {L"CColorSelect", ConstructorGroup::kVisibleOnly, 34, 33, kWritten},
    {L"MacroList", ConstructorGroup::kVisibleOnly, kNotListed, 39, kWritten},
    {L"CRecordList", ConstructorGroup::kVisibleOnly, kNotListed, 40, kWritten},
    {L"MouseKeyCtrl", ConstructorGroup::kVisibleOnly, kNotListed, 43, kWritten},
    {L"MouseCtrl", ConstructorGroup::kVisibleOnly, kNotListed, 44, kWritten},
    {L"PaletteBar", ConstructorGroup::kVisibleOnly, kNotListed, 49, kWritten},
    {L"NumberEdit", ConstructorGroup::kVisibleOnly, kNotListed, 50, kWritten},
    {L"NumberEdit2", ConstructorGroup::kVisibleOnly, kNotListed, 51, kWritten},
    {L"ReporteCtrl", ConstructorGroup::kVisibleOnly, kNotListed, 53, kWritten},
    {L"MText", ConstructorGroup::kStaticText, 1, 1, kWritten},
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
