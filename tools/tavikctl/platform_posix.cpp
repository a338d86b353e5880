#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "app/common/text_encoding.h"
#include "tools/tavikctl/platform.h"

namespace tavik::tavikctl {

std::wstring ProgramDirectory() {
    char path[PATH_MAX + 1] = {};
    const ssize_t length = readlink("/proc/self/exe", path, PATH_MAX);
    if (length <= 0) {
        return std::wstring();
    }
    std::string executable(path, static_cast<size_t>(length));
    const size_t slash = executable.rfind('/');
    return slash == std::string::npos ? std::wstring()
                                      : Utf8ToWide(executable.substr(0, slash + 1));
}

std::wstring DefaultDataDirectory() {
    // Relative values are to be ignored, as the XDG base directory rules say.
    std::string base;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') {
        base = dataHome;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] != '/') {
            return std::wstring();
        }
        base = std::string(home) + "/.local/share";
    }
    return Utf8ToWide(base) + L"/" + kApplicationName + L" Files/";
}

}  // namespace tavik::tavikctl
