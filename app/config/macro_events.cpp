#include "app/config/macro_events.h"

namespace tavik {

std::wstring DownEventDescription(std::wstring_view name) {
    return L"\u2193  " + std::wstring(name);
}

std::wstring UpEventDescription(std::wstring_view name) {
    return L"\u2191  " + std::wstring(name);
}

}  // namespace tavik
