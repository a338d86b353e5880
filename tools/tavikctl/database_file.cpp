#include "tools/tavikctl/database_file.h"

#include <random>
#include <system_error>

#include "app/common/text_encoding.h"
#include "app/store/settings_database.h"

namespace tavik::tavikctl {

namespace {

constexpr const char* kFileSuffix = "_datav8.db";
constexpr const char* kScratchModel = "tavikctl";

std::wstring WidePath(const std::filesystem::path& path) {
    return Utf8ToWide(path.u8string());
}

// "<folder>/db/<model>_datav8.db" gives <folder> and <model>.
bool SplitModelPath(const std::filesystem::path& file, std::filesystem::path& dataDirectory,
                    std::string& model) {
    const std::string name = file.filename().u8string();
    const std::string suffix = kFileSuffix;
    if (name.size() <= suffix.size() ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0 ||
        file.parent_path().filename() != "db") {
        return false;
    }
    model = name.substr(0, name.size() - suffix.size());
    dataDirectory = file.parent_path().parent_path();
    return true;
}

}  // namespace

DatabaseFile::~DatabaseFile() {
    if (m_database != nullptr) {
        m_database->Close();
    }
    if (!m_scratch.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_scratch, ignored);
    }
}

bool DatabaseFile::MakeScratchDirectory() {
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) {
        return false;
    }
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            base / ("tavikctl-" + std::to_string(random()) + "-" + std::to_string(attempt));
        if (std::filesystem::create_directory(candidate, error)) {
            m_scratch = candidate;
            return std::filesystem::create_directory(m_scratch / "db", error);
        }
    }
    return false;
}

bool DatabaseFile::Open(SettingsDatabase& database, const std::filesystem::path& file,
                        std::string& error) {
    m_database = &database;
    std::error_code fileError;
    const std::filesystem::path absolute = std::filesystem::absolute(file, fileError);
    if (fileError || absolute.filename().empty()) {
        error = "cannot open the settings database \"" + file.u8string() + "\"";
        return false;
    }

    std::filesystem::path dataDirectory;
    std::string model;
    if (SplitModelPath(absolute, dataDirectory, model)) {
        std::filesystem::create_directories(absolute.parent_path(), fileError);
        if (database.OpenForModel(WidePath(dataDirectory), Utf8ToWide(model))) {
            return true;
        }
        error = "cannot open the settings database \"" + file.u8string() + "\"";
        return false;
    }

    const std::wstring scratchModel = Utf8ToWide(kScratchModel);
    if (!MakeScratchDirectory()) {
        error = "cannot make a scratch folder for the settings database";
        return false;
    }
    const std::filesystem::path link =
        m_scratch / "db" / (std::string(kScratchModel) + kFileSuffix);
    if (!std::filesystem::exists(absolute, fileError)) {
        // Created with the schema in the scratch folder, then moved where it was asked for.
        if (!database.OpenForModel(WidePath(m_scratch), scratchModel)) {
            error = "cannot create the settings database \"" + file.u8string() + "\"";
            return false;
        }
        database.Close();
        std::filesystem::create_directories(absolute.parent_path(), fileError);
        std::filesystem::copy_file(link, absolute, fileError);
        std::error_code ignored;
        std::filesystem::remove(link, ignored);
        if (fileError) {
            error = "cannot create the settings database \"" + file.u8string() + "\"";
            return false;
        }
    }
    std::filesystem::create_symlink(absolute, link, fileError);
    if (fileError) {
        error = "cannot open \"" + file.u8string() +
                "\" here: name it <model>_datav8.db inside a folder named db";
        return false;
    }
    if (!database.OpenForModel(WidePath(m_scratch), scratchModel)) {
        error = "cannot open the settings database \"" + file.u8string() + "\"";
        return false;
    }
    return true;
}

}  // namespace tavik::tavikctl
