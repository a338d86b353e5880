#include "app/config/profile_page.h"

#include <gtest/gtest.h>

#include "tests/config/page_fixture.h"

namespace tavik::test {
namespace {

class RecordingProfileView : public ProfileView {
public:
    void SetProfileLabel(const std::wstring& name) override { labels.push_back(name); }
    std::vector<std::wstring> labels;
};

class ProfilePageTest : public PageTest {
protected:
    RecordingProfileView m_view;
    ProfilePage m_page{m_context, m_view, m_dialogs};
};

TEST_F(ProfilePageTest, NewDatabaseGetsFourNamedProfilesWithTheFirstActive) {
    // The worker's start-up already created them; a second load keeps them as they are.
    ASSERT_TRUE(m_page.LoadProfiles());
    EXPECT_EQ(SideRows("SELECT profile, name, status FROM t_profile_data"),
              L"1|Profile 1|1\n2|Profile 2|0\n3|Profile 3|0\n4|Profile 4|0\n");
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_configdata GROUP BY profile HAVING profile = 4"), 38);
    EXPECT_EQ(m_context.CurrentProfile(), 1);
    EXPECT_EQ(m_view.labels.back(), L"Profile 1");
}

TEST_F(ProfilePageTest, ProfilesAreNamedWithTheLanguagesProfileWord) {
    m_side.Execute("DELETE FROM t_profile_data");
    m_side.Execute("DELETE FROM t_configdata");
    ASSERT_TRUE(m_page.LoadProfiles());
    EXPECT_EQ(SideRows("SELECT name, status FROM t_profile_data"),
              L"T61 1|1\nT61 2|0\nT61 3|0\nT61 4|0\n");
}

TEST_F(ProfilePageTest, WithoutAnActiveProfileTheFirstBecomesActive) {
    m_side.Execute("UPDATE t_profile_data SET status = 0");
    ASSERT_TRUE(m_page.LoadProfiles());
    EXPECT_EQ(SideInt("SELECT profile FROM t_profile_data WHERE status = 1"), 1);
    EXPECT_EQ(m_context.CurrentProfile(), 1);
}

TEST_F(ProfilePageTest, SwitchingSendsTheNewProfilesSettings) {
    ASSERT_TRUE(m_database.SetConfigValue(3, L"report_rate", L"0"));
    ClearJobs();
    ASSERT_TRUE(m_page.SwitchProfile(3));
    EXPECT_EQ(SideRows("SELECT profile FROM t_profile_data WHERE status = 1"), L"3\n");
    EXPECT_EQ(m_context.CurrentProfile(), 3);
    EXPECT_EQ(m_view.labels.back(), L"Profile 3");
    EXPECT_EQ(Jobs(), std::vector<int>{job::kSendAllSettings});
    RunQueue();
    EXPECT_EQ(m_simulator->Mouse().reportRate, 0);

    for (int unknown : {0, -1, 9}) {
        ClearJobs();
        EXPECT_FALSE(m_page.SwitchProfile(unknown));
        EXPECT_TRUE(Jobs().empty());
        EXPECT_EQ(SideInt("SELECT profile FROM t_profile_data WHERE status = 1"), 3);
    }
}

TEST_F(ProfilePageTest, RenamingShowsTheNewNameOfTheCurrentProfile) {
    EXPECT_FALSE(m_page.RenameProfile(1, L""));
    EXPECT_TRUE(m_page.RenameProfile(2, L"Games"));
    EXPECT_TRUE(m_view.labels.empty()) << "another profile's name is not shown";
    EXPECT_TRUE(m_page.RenameProfile(1, L"Work & \"play\""));
    EXPECT_EQ(m_view.labels.back(), L"Work & \"play\"");
    EXPECT_EQ(SideRows("SELECT name FROM t_profile_data WHERE profile <= 2"),
              L"Work & \"play\"\nGames\n");
}

TEST_F(ProfilePageTest, ResetClearsButtonsAndLightsAndResetsTheSettings) {
    for (int profile : {1, 2}) {
        m_database.SaveKeyAssignment({0, profile, 0, 3, 0, L"", 8, 1, 0, 0, L"off"});
        m_database.EnsureDefaultLights(profile);
        m_database.SetConfigValue(profile, L"dpi_group5_rgb", L"1");
    }
    ClearJobs();
    ASSERT_TRUE(m_page.ResetCurrentProfile());
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_key_macro_data WHERE profile = 1"), 0);
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_light_data WHERE profile = 1"), 0);
    EXPECT_EQ(Stored(L"dpi_group5_rgb"), L"8388736");
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_key_macro_data WHERE profile = 2"), 1);
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_light_data WHERE profile = 2"), 4);
    EXPECT_EQ(Jobs(), std::vector<int>{job::kSendFactoryReset});
}

TEST_F(ProfilePageTest, ResetThatCannotWriteLeavesTheProfileWhole) {
    m_database.SaveKeyAssignment({0, 1, 0, 3, 0, L"", 8, 1, 0, 0, L"off"});
    m_database.EnsureDefaultLights(1);
    Store(L"dpi_count", L"2");
    // Another program holds the file's write lock for the whole reset.
    ASSERT_EQ(m_side.Execute("BEGIN IMMEDIATE"), kSQLiteOk);
    EXPECT_FALSE(m_page.ResetCurrentProfile());
    ASSERT_EQ(m_side.Execute("ROLLBACK"), kSQLiteOk);
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_key_macro_data WHERE profile = 1"), 1);
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_light_data WHERE profile = 1"), 4);
    EXPECT_EQ(Stored(L"dpi_count"), L"2");
}

TEST_F(ProfilePageTest, WithoutADeviceTheDialogDoesNotOpen) {
    m_context.SetDeviceConnected(false);
    EXPECT_FALSE(m_page.CanOpenProfileDialog());
    ASSERT_EQ(m_dialogs.requests.size(), 1u);
    EXPECT_EQ(m_dialogs.requests[0].titleText, 576);
    EXPECT_EQ(m_dialogs.requests[0].messageText, 57);
    m_context.SetDeviceConnected(true);
    EXPECT_TRUE(m_page.CanOpenProfileDialog());
    EXPECT_EQ(m_dialogs.requests.size(), 1u);
}

TEST_F(ProfilePageTest, RequestsOfTheDialogReachTheirHandlers) {
    std::vector<int> files;
    m_page.SetFileHandlers([&files] { files.push_back(-1); },
                           [&files](int profile) { files.push_back(profile); });
    m_page.OnProfileRequest(kProfileRequestSwitch, 2);
    m_page.OnProfileRequest(kProfileRequestImport, 4);
    m_page.OnProfileRequest(kProfileRequestExport, 3);
    m_page.OnProfileRequest(7, 3);
    EXPECT_EQ(m_context.CurrentProfile(), 2);
    EXPECT_EQ(files, (std::vector<int>{-1, 3}));
}

struct DialogCase {
    const char* name;
    std::function<void(ProfileDialogLogic&)> actions;
    std::vector<std::pair<int, int>> posts;
    int closes;
};

TEST_F(ProfilePageTest, ProfileDialogPostsAndCloses) {
    const DialogCase cases[] = {
        {"click", [](ProfileDialogLogic& d) { d.OnProfileClicked(3); }, {{0, 3}}, 1},
        {"click outside", [](ProfileDialogLogic& d) { d.OnLostActivation(); }, {}, 1},
        {"rename, click outside",
         [](ProfileDialogLogic& d) {
             d.OnNameEdited(2, L"Games");
             d.OnLostActivation();
         },
         {{0, 2}},
         1},
        {"empty name",
         [](ProfileDialogLogic& d) {
             d.OnNameEdited(2, L"");
             d.OnLostActivation();
         },
         {},
         1},
        {"import", [](ProfileDialogLogic& d) { d.OnImportClicked(4); }, {{1, 4}}, 1},
        {"export", [](ProfileDialogLogic& d) { d.OnExportClicked(4); }, {{2, 4}}, 1},
        {"rename, import",
         [](ProfileDialogLogic& d) {
             d.OnNameEdited(2, L"Games");
             d.OnImportClicked(3);
         },
         {{0, 3}, {1, 3}},
         1},
        {"rename, export",
         [](ProfileDialogLogic& d) {
             d.OnNameEdited(2, L"Games");
             d.OnExportClicked(2);
         },
         {{0, 2}, {2, 2}},
         1},
    };
    for (const DialogCase& test : cases) {
        SCOPED_TRACE(test.name);
        std::vector<std::pair<int, int>> posts;
        int closes = 0;
        ProfileDialogLogic dialog(
            m_database, 1, [&posts](int wParam, int lParam) { posts.emplace_back(wParam, lParam); },
            [&closes] { ++closes; });
        test.actions(dialog);
        EXPECT_EQ(posts, test.posts);
        EXPECT_EQ(closes, test.closes);
    }
    EXPECT_EQ(SideRows("SELECT name FROM t_profile_data WHERE profile = 2"), L"Games\n");
}

TEST_F(ProfilePageTest, RenamedProfileIsSwitchedToThroughTheMainWindow) {
    ProfileDialogLogic dialog(
        m_database, 1, [this](int wParam, int lParam) { m_page.OnProfileRequest(wParam, lParam); },
        [] {});
    dialog.OnNameEdited(4, L"Travel");
    dialog.OnLostActivation();
    EXPECT_EQ(m_context.CurrentProfile(), 4);
    EXPECT_EQ(m_view.labels.back(), L"Travel");
}

}  // namespace
}  // namespace tavik::test
