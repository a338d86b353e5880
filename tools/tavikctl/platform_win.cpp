#include <windows.h>
#include <shlobj.h>

#include <string>

#include "tools/tavikctl/platform.h"

namespace tavik::tavikctl {

std::wstring ProgramDirectory() {
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    if (length == 0 || length >= std::size(path)) {
        return std::wstring();
    }
    std::wstring executable(path, length);
    const size_t separator = executable.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : executable.substr(0, separator + 1);
}

std::wstring DefaultDataDirectory() {
    // The same folder the program itself uses.
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(
            SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        return std::wstring();
    }
    return std::wstring(folder) + L"\\" + kApplicationName + L" Files\\";
}

}  // namespace tavik::tavikctl
