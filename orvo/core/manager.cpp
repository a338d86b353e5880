#include "orvo/manager.h"

#include <atomic>

namespace Orvo {
namespace {

std::atomic<HINSTANCE> g_instance{nullptr};
std::atomic<int> g_language{1033};

}  // namespace

const wchar_t* Manager::GetDeviceName() {
    return L"Tavik Mouse";
}

void Manager::SetInstance(HINSTANCE instance) {
    g_instance = instance;
}

HINSTANCE Manager::GetInstance() {
    return g_instance;
}

void Manager::SetLanguage(int languageId) {
    g_language = languageId;
}

int Manager::GetLanguage() {
    return g_language;
}

std::wstring Manager::GetProgramDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return L"";
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
}

const wchar_t* Manager::GetThemeDirectory() {
    return L"theme1\\";
}

}  // namespace Orvo
