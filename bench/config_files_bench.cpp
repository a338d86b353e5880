// Figures of the macro and profile files against a real store in a scratch folder:
//   macro    export and import of a macro with the full 200 events
//   profile  export and import of a profile with its assignments and lights
//   hostile  import of a profile file of 10,000 assignment items (none of them valid)
// Each is the median of 20 runs. Usage: config_files_bench [macro|profile|hostile]...

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/common/text_encoding.h"
#include "app/config/macro_file.h"
#include "app/config/profile_file.h"
#include "app/store/profile_loader.h"
#include "app/store/settings_database.h"

namespace tavik::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr int kRuns = 20;
constexpr ProfileFileDevice kDevice{102, true};

double MedianMs(const std::function<void()>& work) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const Clock::time_point start = Clock::now();
        work();
        times.push_back(Milliseconds(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::wstring Wide(const fs::path& path) {
    return Utf8ToWide(path.u8string());
}

int Run(const std::vector<std::string>& figures) {
    const fs::path folder =
        fs::temp_directory_path() / ("tavik-files-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder / "db");
    SettingsDatabase database;
    if (!database.OpenForModel(Wide(folder), L"M700")) {
        std::printf("the store could not be opened\n");
        return 1;
    }
    const int profile = LoadProfiles(database).currentProfile;
    database.EnsureDefaultLights(profile);
    auto wanted = [&](const char* name) {
        return figures.empty() || std::find(figures.begin(), figures.end(), name) != figures.end();
    };

    if (wanted("macro")) {
        const int macroId = database.AddMacro(L"Macro 1");
        std::vector<MacroEvent> events;
        for (int index = 0; index < 200; ++index) {
            events.push_back({0, macroId, 2 + index % 2, index, 'A', 10, L"\u2193  A"});
        }
        database.AddMacroEvents(events);
        const std::wstring file = Wide(folder / "macro.xml");
        const double exportMs =
            MedianMs([&] { ExportMacroFile(database, macroId, L"Macro 1", file); });
        const double importMs = MedianMs([&] { ImportMacroFile(database, file); });
        std::printf("macro (200 events): export %.2f ms, import %.2f ms, %ju bytes\n", exportMs,
                    importMs, static_cast<uintmax_t>(fs::file_size(folder / "macro.xml")));
    }
    if (wanted("profile")) {
        for (int key = 0; key < 9; ++key) {
            KeyAssignment assignment;
            assignment.profile = profile;
            assignment.keyCode = key;
            assignment.functionType = 2;
            assignment.value1 = 4 + key;
            assignment.value2 = 2;
            assignment.description = L"Shift + A";
            database.SaveKeyAssignment(assignment);
        }
        const std::wstring file = Wide(folder / "profile.xml");
        const double exportMs =
            MedianMs([&] { ExportProfileFile(database, profile, kDevice, file); });
        const double importMs =
            MedianMs([&] { ImportProfileFile(database, profile, kDevice, file, nullptr); });
        std::printf("profile (9 buttons, 4 lights): export %.2f ms, import %.2f ms\n", exportMs,
                    importMs);
    }
    if (wanted("hostile")) {
        std::ofstream out(folder / "hostile.xml", std::ios::binary);
        out << "<profile><profileinfo><keyitems>";
        for (int item = 0; item < 10000; ++item) {
            out << "<item key_code='1' macro_type='99' macro_value='1'/>";
        }
        out << "</keyitems></profileinfo></profile>";
        out.close();
        const std::wstring file = Wide(folder / "hostile.xml");
        const double importMs =
            MedianMs([&] { ImportProfileFile(database, profile, kDevice, file, nullptr); });
        std::printf("hostile profile (10,000 items): import %.2f ms\n", importMs);
    }
    database.Close();
    std::error_code error;
    fs::remove_all(folder, error);
    return 0;
}

}  // namespace
}  // namespace tavik::bench

int main(int argc, char** argv) {
    return tavik::bench::Run(std::vector<std::string>(argv + 1, argv + argc));
}
