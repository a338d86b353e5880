#include "app/store/profile_loader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/common/text_encoding.h"
#include "app/store/settings_database.h"
#include "store_fixture.h"

namespace tavik {
namespace {

using ProfileLoaderTest = test::StoreTest;

const std::wstring kChineseWord = Utf8ToWide("\xE9\x85\x8D\xE7\xBD\xAE");  // 配置

TEST_F(ProfileLoaderTest, NewDatabaseGetsFourNamedProfilesWithTheFirstActive) {
    std::vector<int> asked;
    const LanguageTextLookup texts = [&asked](int number) {
        asked.push_back(number);
        return number == kProfileWordText ? kChineseWord : std::wstring(L"?");
    };
    m_database.SetInterfaceLanguage(2052);
    const LoadedProfiles loaded = LoadProfiles(m_database, texts);
    EXPECT_TRUE(loaded.created);
    EXPECT_EQ(loaded.currentProfile, 1);
    EXPECT_EQ(loaded.currentName, kChineseWord + L" 1");
    EXPECT_EQ(asked, std::vector<int>{kProfileWordText});

    EXPECT_EQ(SideRows("SELECT profile, name, status FROM t_profile_data"),
              L"1|" + kChineseWord + L" 1|1\n2|" + kChineseWord + L" 2|0\n3|" + kChineseWord +
                  L" 3|0\n4|" + kChineseWord + L" 4|0\n");
    EXPECT_EQ(SideRows("SELECT profile, count(*) FROM t_configdata GROUP BY profile"),
              L"1|38\n2|38\n3|38\n4|38\n");

    // The next load finds them and creates nothing.
    const LoadedProfiles again = LoadProfiles(m_database, texts);
    EXPECT_FALSE(again.created);
    EXPECT_EQ(again.currentProfile, 1);
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_profile_data"), 4);
}

TEST_F(ProfileLoaderTest, WithoutLanguageTextTheProfileWordIsEnglish) {
    m_database.SetInterfaceLanguage(2052);
    const LoadedProfiles loaded = LoadProfiles(m_database);
    EXPECT_EQ(SideRows("SELECT name FROM t_profile_data WHERE profile = 4"), L"Profile 4\n");
    // Stored in English, shown in the interface language.
    EXPECT_EQ(loaded.currentName, kChineseWord + L"  1");
}

TEST_F(ProfileLoaderTest, TheActiveProfileBecomesCurrent) {
    LoadProfiles(m_database);
    ASSERT_TRUE(m_database.SetActiveProfile(3));
    const LoadedProfiles loaded = LoadProfiles(m_database);
    EXPECT_EQ(loaded.currentProfile, 3);
    EXPECT_EQ(loaded.currentName, L"Profile 3");

    // A failed switch leaves none active: the next load makes profile 1 active.
    ASSERT_TRUE(m_database.SetActiveProfile(77));
    EXPECT_EQ(LoadProfiles(m_database).currentProfile, 1);
    EXPECT_EQ(m_database.GetActiveProfile(), 1);

    // Without a profile 1 the first profile there is takes its place.
    ASSERT_EQ(m_side.Execute("DELETE FROM t_profile_data WHERE profile = 1; "
                             "UPDATE t_profile_data SET status = 0"),
              kSQLiteOk);
    EXPECT_EQ(LoadProfiles(m_database).currentProfile, 2);
}

TEST_F(ProfileLoaderTest, ProfilesOfAnEarlierTableKeepCountingUp) {
    LoadProfiles(m_database);
    ASSERT_EQ(m_side.Execute("DELETE FROM t_profile_data"), kSQLiteOk);
    const LoadedProfiles loaded = LoadProfiles(m_database);
    EXPECT_TRUE(loaded.created);
    EXPECT_EQ(loaded.currentProfile, 5);
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_profile_data WHERE status = 1"), 1);
}

TEST_F(ProfileLoaderTest, UnusableDatabaseGivesNoProfile) {
    m_database.Close();
    const LoadedProfiles loaded = LoadProfiles(m_database);
    EXPECT_EQ(loaded.currentProfile, 0);
    EXPECT_EQ(loaded.currentName, L"");
}

using StoreFailureTest = test::StoreTest;

TEST_F(StoreFailureTest, DroppedTableFailsOnlyItsOwnOperations) {
    const int profile = LoadProfiles(m_database).currentProfile;
    ASSERT_NE(m_database.AddText(NamedRecord{0, L"t", L"c", 0, 0}), 0);
    ASSERT_EQ(m_side.Execute("DROP TABLE t_text_data"), kSQLiteOk);
    m_database.Close();
    ASSERT_TRUE(m_database.OpenForModel(m_temp.Wide(), L"M700"));

    std::wstring text = L"stale";
    std::vector<NamedRecord> list(2);
    EXPECT_EQ(m_database.AddText(NamedRecord{0, L"t", L"c", 0, 0}), 0);
    EXPECT_FALSE(m_database.GetTextName(1, text));
    EXPECT_EQ(text, L"");
    EXPECT_FALSE(m_database.GetTextContent(1, text));
    EXPECT_FALSE(m_database.RenameText(1, L"n"));
    EXPECT_FALSE(m_database.SetTextContent(1, L"n"));
    EXPECT_FALSE(m_database.DeleteText(1));
    EXPECT_EQ(m_database.ListTexts(list), 0);
    EXPECT_TRUE(list.empty());

    EXPECT_TRUE(m_database.SetConfigValue(profile, L"dpi_index", L"4"));
    EXPECT_TRUE(m_database.GetConfigValue(profile, L"dpi_index", text));
    EXPECT_EQ(text, L"4");
    EXPECT_EQ(m_database.ListProfiles(list), 4);
    EXPECT_NE(m_database.AddMacro(L"m"), 0);
    EXPECT_TRUE(m_database.EnsureDefaultLights(profile));
}

TEST(StoreWithoutFile, EveryOperationFailsQuietly) {
    test::TempDirectory temp;
    SettingsDatabase database;
    EXPECT_FALSE(database.OpenForModel(Utf8ToWide((temp.Path() / "missing").u8string()), L"M"));
    std::wstring text = L"stale";
    std::vector<NamedRecord> named(1);
    std::vector<MacroRecord> macros(1);
    KeyAssignment key;
    key.functionType = 1;
    key.value1 = 1;
    EXPECT_EQ(database.AddProfile(NamedRecord{}), 0);
    EXPECT_FALSE(database.SetConfigValue(1, L"dpi_index", L"1"));
    EXPECT_FALSE(database.GetConfigValue(1, L"dpi_index", text));
    EXPECT_EQ(text, L"");
    EXPECT_EQ(database.ListProfiles(named), 0);
    EXPECT_TRUE(named.empty());
    EXPECT_EQ(database.GetActiveProfile(), 0);
    EXPECT_EQ(database.SaveKeyAssignment(key), 0);
    EXPECT_EQ(database.AddKeyExtraData(L"a", L"b", 9), 0);
    EXPECT_FALSE(database.EnsureDefaultLights(1));
    EXPECT_EQ(database.CountProfileLights(1), 0);
    EXPECT_EQ(database.AddMacro(L"m"), 0);
    EXPECT_EQ(database.AddMacroEvents({MacroEvent{}}), 0);
    EXPECT_EQ(database.ListMacros(macros), 0);
}

TEST_F(StoreFailureTest, ModelChangeNeverClosesUnderAnotherThreadsStatement) {
    const int profile = LoadProfiles(m_database).currentProfile;
    ASSERT_EQ(profile, 1);
    std::atomic<bool> stop{false};
    std::atomic<int> writes{0};
    // The device worker stores values while the user-interface thread switches models.
    std::thread worker([&] {
        std::wstring value;
        for (int n = 0; n < 400 && !stop; ++n) {
            m_database.SetConfigValue(profile, L"dpi_index", std::to_wstring(n % 6));
            m_database.GetConfigValue(profile, L"dpi_index", value);
            std::vector<NamedRecord> list;
            m_database.ListProfiles(list);
            ++writes;
        }
    });
    for (int n = 0; n < 40; ++n) {
        m_database.Close();
        EXPECT_TRUE(m_database.OpenForModel(m_temp.Wide(), n % 2 == 0 ? L"M800" : L"M700"));
    }
    stop = true;
    worker.join();
    EXPECT_GT(writes.load(), 0);
    ASSERT_TRUE(m_database.OpenForModel(m_temp.Wide(), L"M700"));
    std::wstring value;
    EXPECT_TRUE(m_database.GetConfigValue(profile, L"dpi_index", value));
}

}  // namespace
}  // namespace tavik
