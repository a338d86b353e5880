#include "app/device/device_catalogue.h"

#include <cstdint>
#include <tuple>
#include <utility>

#include "app/common/text_encoding.h"
#include "app/device/hid_device_manager.h"
#include "app/device/window_effects.h"
#include "app/services/xml_doc.h"
#include "app/store/settings_database.h"

namespace tavik {
namespace {

constexpr int kVersionLabelText = 17;

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

int HexDigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

// Drops separators at the end of a folder name ("theme1\" becomes "theme1") so that joining
// puts exactly one separator of this platform between the parts.
std::wstring_view WithoutTrailingSeparators(std::wstring_view folder) {
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) {
        folder.remove_suffix(1);
    }
    return folder;
}

// Makes the first element named `name` below the root element `root` current, searching
// from the root's first child whatever was read before.
bool FindTopLevelChild(CXmlDoc& document, std::wstring_view root, std::wstring_view name) {
    document.ResetPosition();
    return document.FindElement(root) && document.EnterElement() && document.FindElement(name);
}

}  // namespace

int ParseCatalogueNumber(std::wstring_view text) {
    size_t position = 0;
    while (position < text.size() && IsBlank(text[position])) {
        ++position;
    }
    bool negative = false;
    if (position < text.size() && (text[position] == L'+' || text[position] == L'-')) {
        negative = text[position] == L'-';
        ++position;
    }
    int64_t value = 0;
    for (; position < text.size() && text[position] >= L'0' && text[position] <= L'9'; ++position) {
        value = value * 10 + (text[position] - L'0');
        if (value > int64_t{INT32_MAX} + 1) {
            return 0;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT32_MAX || value < INT32_MIN) {
        return 0;
    }
    return static_cast<int>(value);
}

int ParseCatalogueHexId(std::wstring_view text) {
    size_t position = 0;
    while (position < text.size() && IsBlank(text[position])) {
        ++position;
    }
    if (text.size() - position >= 2 && text[position] == L'0' &&
        (text[position + 1] == L'x' || text[position + 1] == L'X')) {
        position += 2;
    }
    int value = 0;
    for (; position < text.size(); ++position) {
        const int digit = HexDigitValue(text[position]);
        if (digit < 0) {
            break;
        }
        value = value * 16 + digit;
        if (value > 0xFFFF) {
            return 0;
        }
    }
    return value;
}

CalloutRect ParseCalloutRect(std::wstring_view text) {
    CalloutRect rect;
    const size_t first = text.find(L'#');
    rect.a = ParseCatalogueNumber(text.substr(0, first));
    if (first == std::wstring_view::npos) {
        return rect;
    }
    const std::wstring_view rest = text.substr(first + 1);
    const size_t second = rest.find(L'#');
    rect.b = ParseCatalogueNumber(rest.substr(0, second));
    if (second != std::wstring_view::npos) {
        rect.c = ParseCatalogueNumber(rest.substr(second + 1));
    }
    return rect;
}

bool IsUsableModelKey(std::wstring_view modelKey) {
    if (modelKey.empty()) {
        return false;
    }
    for (wchar_t c : modelKey) {
        if (c == L'/' || c == L'\\' || c == L':' || c == L'\0') {
            return false;
        }
    }
    return true;
}

DeviceCatalogue::DeviceCatalogue(Setup setup) : m_setup(std::move(setup)) {}

std::wstring DeviceCatalogue::CatalogueFilePath() const {
    return JoinPath(m_setup.programDirectory, L"config.xml");
}

std::wstring DeviceCatalogue::DescriptionFilePath(std::wstring_view modelKey) const {
    if (!IsUsableModelKey(modelKey)) {
        return std::wstring();
    }
    std::wstring fileName(modelKey);
    fileName.append(L".xml");
    return JoinPath(JoinPath(m_setup.programDirectory, L"device"), fileName);
}

std::wstring DeviceCatalogue::DevicePicturePath(std::wstring_view image) const {
    std::wstring path = JoinPath(m_setup.programDirectory, L"skins");
    const std::wstring_view theme = WithoutTrailingSeparators(m_setup.themeDirectory);
    if (!theme.empty()) {
        path = JoinPath(path, theme);
    }
    return JoinPath(JoinPath(path, L"device"), image);
}

std::wstring DeviceCatalogue::LanguageText(int number) const {
    return m_setup.languageText ? m_setup.languageText(number) : std::wstring();
}

std::vector<DeviceModeRecord> DeviceCatalogue::ModeRecords() const {
    std::vector<DeviceModeRecord> records;
    records.reserve(m_devices.size());
    for (const CatalogueDevice& device : m_devices) {
        DeviceModeRecord record;
        record.deviceType = device.deviceType;
        record.mode = device.mode;
        record.vendorId = device.vendorId;
        record.productId = device.productId;
        record.hidInterface = WideToUtf8(device.hidInterface);
        records.push_back(std::move(record));
    }
    return records;
}

const ButtonDefault* DeviceCatalogue::FindButtonDefault(int keyValue) const {
    for (const ButtonDefault& entry : m_buttonDefaults) {
        if (entry.keyValue == keyValue) {
            return &entry;
        }
    }
    return nullptr;
}

bool DeviceCatalogue::LoadCatalogue() {
    WindowEffects* effects = m_setup.effects;
    m_models.clear();
    m_devices.clear();
    m_software = SoftwareInfo();
    if (effects != nullptr) {
        effects->ClearDeviceList();
    }
    m_setup.manager->ClearSupportedIds();

    CXmlDoc document;
    const bool loaded = document.LoadFile(CatalogueFilePath());
    if (loaded && FindTopLevelChild(document, L"config", L"device")) {
        document.EnterElement();
        while (document.FindElement(L"mouse")) {
            CatalogueModel model;
            model.name = document.GetAttribute(L"name");
            model.deviceType = ParseCatalogueNumber(document.GetAttribute(L"device_type"));
            model.modelKey = document.GetAttribute(L"device_attr");
            model.image = document.GetAttribute(L"image");
            model.picturePath = DevicePicturePath(model.image);
            m_models.push_back(model);
            if (effects != nullptr) {
                effects->AddDeviceListItem(model.name, model.deviceType, model.picturePath);
            }

            document.EnterElement();
            while (document.FindElement(L"mode")) {
                CatalogueDevice device;
                device.name = model.name;
                device.deviceType = model.deviceType;
                device.modelKey = model.modelKey;
                device.picturePath = model.picturePath;
                device.mode = ParseCatalogueNumber(document.GetAttribute(L"value"));
                device.modeDescription = document.GetAttribute(L"desc");
                device.vendorId = ParseCatalogueHexId(document.GetAttribute(L"vid"));
                device.productId = ParseCatalogueHexId(document.GetAttribute(L"pid"));
                device.hidInterface = document.GetAttribute(L"hid_interface");
                m_devices.push_back(device);
                m_setup.manager->AddSupportedId(device.vendorId, device.productId, L"",
                                                device.deviceType, device.mode);
            }
            document.LeaveElement();
        }
    }

    if (loaded && FindTopLevelChild(document, L"config", L"software")) {
        m_software.present = true;
        m_software.caption = document.GetAttribute(L"caption");
        m_software.version = document.GetAttribute(L"version");
        // Each link is looked for among all children, whatever order the file has them in.
        const std::tuple<const wchar_t*, const wchar_t*, std::wstring*> links[] = {
            {L"website", L"url", &m_software.websiteUrl},
            {L"store", L"url", &m_software.storeUrl},
            {L"upgrade", L"url", &m_software.upgradeUrl},
            {L"copyright", L"info", &m_software.copyrightInfo},
        };
        for (const auto& [element, attribute, field] : links) {
            if (FindTopLevelChild(document, L"config", L"software") && document.EnterElement() &&
                document.FindElement(element)) {
                *field = document.GetAttribute(attribute);
            }
        }
        if (effects != nullptr) {
            effects->SetApplicationVersionLabel(LanguageText(kVersionLabelText) + L": v" +
                                                m_software.version);
        }
    }

    if (loaded && effects != nullptr) {
        effects->DisableInputMethod();
    }
    LoadDeviceDescription(kMainModelDeviceType);
    return loaded;
}

bool DeviceCatalogue::LoadDeviceDescription(int deviceType) {
    WindowEffects* effects = m_setup.effects;
    m_currentModelName.clear();
    m_currentModelKey.clear();
    for (const CatalogueModel& model : m_models) {
        if (model.deviceType == deviceType) {
            m_currentModelName = model.name;
            m_currentModelKey = model.modelKey;
            break;
        }
    }
    m_currentDeviceType = deviceType;

    if (m_setup.store != nullptr) {
        // Without a usable model key no store is opened, and the open one is closed: its
        // settings belong to another model.
        if (IsUsableModelKey(m_currentModelKey)) {
            m_setup.store->OpenForModel(m_setup.dataDirectory, m_currentModelKey);
        } else {
            m_setup.store->Close();
        }
    }

    CXmlDoc document;
    const std::wstring path = DescriptionFilePath(m_currentModelKey);
    if (path.empty() || !document.LoadFile(path)) {
        m_mousePicture.clear();
        m_buttons.clear();
        m_buttonDefaults.clear();
        if (effects != nullptr) {
            effects->SetMousePicture(m_mousePicture);
            effects->ClearMouseButtons();
        }
        return false;
    }

    m_mousePicture.clear();
    if (FindTopLevelChild(document, L"mouse", L"image_file")) {
        const std::wstring image = document.GetAttribute(L"mouse_img");
        if (!image.empty()) {
            m_mousePicture = L"device\\" + image;
        }
    }
    if (effects != nullptr) {
        effects->SetMousePicture(m_mousePicture);
    }

    std::wstring light;
    if (FindTopLevelChild(document, L"mouse", L"menu")) {
        light = document.GetAttribute(L"light");
    }
    m_hasLighting = ParseCatalogueNumber(light) == 1;
    if (effects != nullptr) {
        effects->SetLightingAvailable(m_hasLighting);
    }

    m_buttons.clear();
    m_buttonDefaults.clear();
    if (effects != nullptr) {
        effects->ClearMouseButtons();
    }
    if (FindTopLevelChild(document, L"mouse", L"mouse_key")) {
        document.EnterElement();
        while (document.FindElement(L"key")) {
            DescribedButton button;
            ButtonDefault entry;
            entry.name = document.GetAttribute(L"name");
            button.nameText = ParseCatalogueNumber(entry.name);
            button.keyValue = ParseCatalogueNumber(document.GetAttribute(L"key_value"));
            button.direction = ParseCatalogueNumber(document.GetAttribute(L"direction"));
            button.rect = ParseCalloutRect(document.GetAttribute(L"rect"));
            entry.keyValue = button.keyValue;
            entry.funcType = ParseCatalogueNumber(document.GetAttribute(L"func_type"));
            entry.funcValue = ParseCatalogueNumber(document.GetAttribute(L"func_value"));
            entry.funcDesc = document.GetAttribute(L"func_desc");
            m_buttons.push_back(button);
            m_buttonDefaults.push_back(std::move(entry));
            if (effects != nullptr) {
                effects->AddMouseButton(LanguageText(button.nameText), button.keyValue,
                                        button.direction, button.rect.a, button.rect.c,
                                        button.rect.b, button.rect.c);
            }
        }
    }
    return true;
}

}  // namespace tavik
