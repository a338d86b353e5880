#pragma once

#include <string>

namespace tavik {

// Values of the application's key "SOFTWARE\<application name>" under the current user,
// stored as decimal text.
std::wstring ApplicationRegistryKey();

// Reads "LCID": its value, 0 when absent (creating the key when it is missing), 2052 when the
// key cannot be opened or created.
int ReadLanguageId();
void WriteLanguageId(int languageId);

// Reads "DeviceType" without creating the key; 0 when absent.
int ReadDeviceType();
void WriteDeviceType(int deviceType);

// Reads any integer value of the key, creating the key when it is missing; 0 on every failure.
int ReadRegistryInt(const wchar_t* valueName);

// Writes any integer value of the existing key; does nothing when it cannot be opened.
void WriteRegistryInt(const wchar_t* valueName, int value);

}  // namespace tavik
