#include "orvo/object.h"

#include <cwchar>

namespace Orvo {

int MObject::IsClass(const wchar_t* name) const {
    const wchar_t* own = GetClassNameW();
    if (own == nullptr || name == nullptr) {
        return 0;
    }
    return std::wcscmp(own, name) == 0 ? 1 : 0;
}

long MObject::OnBaseMessage(UINT, UINT, WPARAM, LPARAM) {
    return 0;
}

long MObject::OnControlUpdate(const RECT&, int, MControl*) {
    return 0;
}

}  // namespace Orvo
