#include <windows.h>

#include "bench/cpu_time.h"

namespace tavik::bench {

double ProcessCpuSeconds() {
    FILETIME created{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
        return 0.0;
    }
    auto seconds = [](const FILETIME& time) {
        const ULONGLONG ticks =
            (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
        return static_cast<double>(ticks) / 1e7;  // 100 ns units
    };
    return seconds(kernel) + seconds(user);
}

}  // namespace tavik::bench
