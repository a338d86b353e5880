#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/device/device_connection.h"

namespace tavik {

class SettingsDatabase;

// The device type whose description the program loads at start-up.
constexpr int kMainModelDeviceType = 102;

// One `mouse` of "config.xml": a model of the product line.
struct CatalogueModel {
    std::wstring name;         // shown as the device list label
    int deviceType = 0;        // `device_type`
    std::wstring modelKey;     // `device_attr`: names the description file and settings store
    std::wstring image;        // `image`, relative to the skin's "device" folder
    std::wstring picturePath;  // full path of that picture below the program directory
};

// One `mode` of a catalogue mouse: how the model shows up on the USB bus in one connection
// mode. The model's fields are repeated so that a record stands on its own.
struct CatalogueDevice {
    std::wstring name;
    int deviceType = 0;
    std::wstring modelKey;
    std::wstring picturePath;
    int mode = 0;  // 0 wired, 1 wireless (the receiver)
    int vendorId = 0;
    int productId = 0;
    std::wstring modeDescription;
    // Upper-case part of the interface path that identifies this mode's interface when it
    // is removed, such as "VID_7768&PID_0002&MI_01".
    std::wstring hidInterface;
};

// The `software` element: the application's own version and links.
struct SoftwareInfo {
    bool present = false;
    std::wstring caption;
    std::wstring version;
    std::wstring websiteUrl;
    std::wstring storeUrl;
    std::wstring upgradeUrl;
    std::wstring copyrightInfo;
};

// The three numbers of a button's `rect`: its call-out runs from (a, c) to (b, c) on the
// mouse picture.
struct CalloutRect {
    int a = 0;
    int b = 0;
    int c = 0;
};

// A button of the mouse picture, as handed to the button page.
struct DescribedButton {
    int nameText = 0;   // language text number of the button's name
    int keyValue = 0;   // the button's key code
    int direction = 0;  // 1: label right of the call-out, anything else: left of it
    CalloutRect rect;
};

// The factory function of a button, the assignment it has while none is stored.
struct ButtonDefault {
    int keyValue = 0;
    std::wstring name;      // the `name` attribute: a language text number as text
    int funcType = 0;       // `macro_type` numbering
    int funcValue = 0;      // `macro_value`
    std::wstring funcDesc;  // the `func_desc` attribute: a language text number as text
};

// Reads a decimal number the way the catalogue files are read: optional blanks and sign,
// then digits up to the first other character. Text without leading digits, and numbers
// outside the range of int, read as 0.
int ParseCatalogueNumber(std::wstring_view text);
// Reads a USB id written in hexadecimal ("7768" is 0x7768): hex digits up to the first other
// character, after an optional "0x". Anything that is not a 16-bit id reads as 0.
int ParseCatalogueHexId(std::wstring_view text);
// Splits "a#b#c": a is the text before the first "#", b the text up to the next "#", c the
// rest; each part read with ParseCatalogueNumber.
CalloutRect ParseCalloutRect(std::wstring_view text);
// Whether a model key can name a file below a folder: not empty, and without a separator, a
// drive colon or a NUL.
bool IsUsableModelKey(std::wstring_view modelKey);

// The device catalogue "config.xml" and the device description files "device\<model>.xml"
// beside the program. Loading fills the records kept here, registers the catalogue's USB
// identities with the device manager, opens the described model's settings store and shows
// the results through the window effects. Files beside the program are still checked like
// any other input: bad markup or odd values lead to empty lists or zeros, never to a crash,
// and a model key can never name a file outside the program's or the data folder.
//
// Used on the user-interface thread only.
class DeviceCatalogue {
public:
    // Language text by number, such as GetLanguageText.
    using LanguageTextLookup = std::function<std::wstring(int number)>;

    struct Setup {
        std::wstring programDirectory;  // folder of the executable
        std::wstring themeDirectory;    // the toolkit's skin folder below "skins", e.g. "theme1\"
        std::wstring dataDirectory;     // the per-user data folder holding "db"
        HidDeviceManager* manager = nullptr;  // not owned; required
        SettingsDatabase* store = nullptr;    // not owned; null: no store is opened
        WindowEffects* effects = nullptr;     // not owned; null: nothing is shown
        LanguageTextLookup languageText;      // empty: every text is empty
    };

    explicit DeviceCatalogue(Setup setup);

    // Reads "config.xml": empties the records, the device list and the manager's id table,
    // then lists every model and registers every mode; shows the application version; turns
    // the input method off; loads the description of the main model. False when the file
    // could not be read or is not well-formed (nothing is listed then). Registering for
    // hot-plug notifications and rebuilding the device list are left to the caller.
    bool LoadCatalogue();

    // Loads the description of the first model of `deviceType` (the start-up call describes
    // kMainModelDeviceType; opening a device in the device list describes that device's type):
    // makes it the current model, opens its settings store (closing the open one), and reads
    // "device\<model key>.xml" into the mouse picture, the lighting flag and the buttons.
    // False when the file could not be read or is not well-formed: the button page is then
    // left without picture and buttons (the previous model's would be wrong for this one),
    // and the lighting flag stays as it was.
    bool LoadDeviceDescription(int deviceType = kMainModelDeviceType);

    const std::vector<CatalogueModel>& Models() const { return m_models; }
    const std::vector<CatalogueDevice>& Devices() const { return m_devices; }
    const SoftwareInfo& Software() const { return m_software; }
    // The device records in the form the connection state keeps them (hot-plug decisions).
    std::vector<DeviceModeRecord> ModeRecords() const;

    // The model of the last LoadDeviceDescription; empty when the catalogue has none of the
    // asked type.
    const std::wstring& CurrentModelName() const { return m_currentModelName; }
    const std::wstring& CurrentModelKey() const { return m_currentModelKey; }
    // The device type the last LoadDeviceDescription described: the main window's current
    // device type.
    int CurrentDeviceType() const { return m_currentDeviceType; }

    // From the last description read.
    const std::wstring& MousePicture() const { return m_mousePicture; }  // "device\..." or ""
    // Whether the mouse has lighting; true until a description says otherwise.
    bool HasLighting() const { return m_hasLighting; }
    const std::vector<DescribedButton>& Buttons() const { return m_buttons; }
    const std::vector<ButtonDefault>& ButtonDefaults() const { return m_buttonDefaults; }
    // The default of the button with this key code, or null.
    const ButtonDefault* FindButtonDefault(int keyValue) const;

    // "config.xml" and "device\<model key>.xml" below the program directory.
    std::wstring CatalogueFilePath() const;
    std::wstring DescriptionFilePath(std::wstring_view modelKey) const;

private:
    std::wstring LanguageText(int number) const;
    std::wstring DevicePicturePath(std::wstring_view image) const;

    Setup m_setup;
    std::vector<CatalogueModel> m_models;
    std::vector<CatalogueDevice> m_devices;
    SoftwareInfo m_software;
    std::wstring m_currentModelName;
    std::wstring m_currentModelKey;
    int m_currentDeviceType = 0;
    std::wstring m_mousePicture;
    bool m_hasLighting = true;
    std::vector<DescribedButton> m_buttons;
    std::vector<ButtonDefault> m_buttonDefaults;
};

}  // namespace tavik
