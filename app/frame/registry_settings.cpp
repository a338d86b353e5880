#include "app/frame/registry_settings.h"

#include <windows.h>

#include <cwchar>

#include "orvo/manager.h"

namespace tavik {
namespace {

enum class MissingKey { kCreate, kLeave };

// Parses decimal text the way the stored values are written; anything else reads as 0.
int ParseDecimal(const wchar_t* text) {
    wchar_t* end = nullptr;
    const long value = std::wcstol(text, &end, 10);
    if (end == text) {
        return 0;
    }
    return static_cast<int>(value);
}

// Reads a REG_SZ decimal value. `onCreateFailure` and `onOtherFailure` are what the caller
// falls back to; a created key has no values yet and reads as 0.
int ReadDecimalValue(const wchar_t* valueName, MissingKey missing, int onCreateFailure,
                     int onOtherFailure) {
    const std::wstring keyName = ApplicationRegistryKey();
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExW(HKEY_CURRENT_USER, keyName.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (opened == ERROR_FILE_NOT_FOUND) {
        if (missing == MissingKey::kLeave) {
            return 0;
        }
        HKEY created = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, keyName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &created, nullptr) != ERROR_SUCCESS) {
            return onCreateFailure;
        }
        RegCloseKey(created);
        return 0;
    }
    if (opened != ERROR_SUCCESS) {
        return onOtherFailure;
    }
    wchar_t buffer[256] = {};  // 512 bytes, zeroed so a value without terminator still ends
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = 0;
    int result = 0;
    if (RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
            ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        result = ParseDecimal(buffer);
    }
    RegCloseKey(key);
    return result;
}

}  // namespace

std::wstring ApplicationRegistryKey() {
    return std::wstring(L"SOFTWARE\\") + Orvo::Manager::GetDeviceName();
}

int ReadLanguageId() {
    return ReadDecimalValue(L"LCID", MissingKey::kCreate, 2052, 2052);
}

void WriteLanguageId(int languageId) {
    WriteRegistryInt(L"LCID", languageId);
}

int ReadDeviceType() {
    return ReadDecimalValue(L"DeviceType", MissingKey::kLeave, 0, 0);
}

void WriteDeviceType(int deviceType) {
    WriteRegistryInt(L"DeviceType", deviceType);
}

int ReadRegistryInt(const wchar_t* valueName) {
    return ReadDecimalValue(valueName, MissingKey::kCreate, 0, 0);
}

void WriteRegistryInt(const wchar_t* valueName, int value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ApplicationRegistryKey().c_str(), 0, KEY_ALL_ACCESS,
                      &key) != ERROR_SUCCESS) {
        return;
    }
    wchar_t text[16] = {};
    std::swprintf(text, 16, L"%d", value);
    RegSetValueExW(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

}  // namespace tavik
