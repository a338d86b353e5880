#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/config/page_context.h"
#include "app/device/job_queue.h"
#include "app/store/profile_loader.h"
#include "table_language_texts.h"
#include "tests/store/store_fixture.h"

namespace tavik::test {

// A store as the program has it after its first full read: four profiles, the first
// current, each with its lights; the English texts; an empty job queue.
class ConfigTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        const LoadedProfiles loaded =
            LoadProfiles(m_database, [this](int number) { return m_texts.LanguageText(number); });
        ASSERT_EQ(loaded.currentProfile, 1);
        for (int profile = 1; profile <= 4; ++profile) {
            ASSERT_TRUE(m_database.EnsureDefaultLights(profile));
        }
        m_context.SetCurrentProfile(1);
        m_context.SetDeviceType(102);
    }

    // Every row of every table, for checking that something changed nothing.
    std::wstring AllRows() {
        std::wstring rows;
        for (const char* table :
             {"t_profile_data", "t_configdata", "t_key_macro_data", "t_key_otherdata",
              "t_light_data", "t_macro_data", "t_macrorecord", "t_text_data"}) {
            rows += Utf8ToWide(table) + L":\n" +
                    SideRows(std::string("SELECT * FROM ") + table + " ORDER BY 1");
        }
        return rows;
    }

    std::filesystem::path File(const std::string& name) const { return m_temp.Path() / name; }
    std::wstring WideFile(const std::string& name) const {
        return Utf8ToWide(File(name).u8string());
    }
    std::string ReadBytes(const std::filesystem::path& path) const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void WriteBytes(const std::filesystem::path& path, const std::string& bytes) const {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    TableLanguageTexts m_texts;
    JobQueue m_jobs;
    PageContext m_context{m_database, [this](int code) { m_jobs.Push(code); }, m_texts.Lookup()};
};

}  // namespace tavik::test
