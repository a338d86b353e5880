#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/config/text_snippets.h"
#include "config_fixture.h"
#include "fake_lists.h"
#include "recording_shell.h"

namespace tavik {
namespace {

class FakeTextView : public TextPageView {
public:
    NameListControl& TextList() override { return list; }
    void SetContentText(const std::wstring& text) override { content = text; }
    std::wstring GetContentText() const override { return content; }
    void SetCounterText(const std::wstring& text) override { counter = text; }

    test::FakeNameList list;
    std::wstring content;
    std::wstring counter = L"0/0";
};

class TextPageTest : public test::ConfigTest {
protected:
    void Refresh() { m_page.RefreshTextPage(); }

    FakeTextView m_view;
    test::RecordingShell m_shell;
    int m_choiceRefreshes = 0;
    TextPage m_page{m_context, m_shell, m_view, [this] { ++m_choiceRefreshes; }};
};

const std::wstring kFirstEnglish =
    L"I wish you all your heart's desires, continuous progress, great success, and a boundless "
    L"future. May your life be filled with infinite possibilities.\u3002";

TEST_F(TextPageTest, NewDatabaseShowsTheTwoExamplesFirstSelected) {
    Refresh();
    EXPECT_EQ(m_view.list.Texts(), (std::vector<std::wstring>{L"Example 1 - Blessing",
                                                              L"Example 1 - Customer Service"}));
    EXPECT_EQ(m_view.list.selected, 0);
    EXPECT_EQ(m_view.content, kFirstEnglish);
    EXPECT_EQ(m_view.counter, std::to_wstring(kFirstEnglish.size()) + L"/500");
    // A second refresh finds them and adds nothing.
    Refresh();
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_text_data"), 2);
}

// Examples made in one language are shown in the other after a switch; what is stored, and
// what a button types, stays as it was written.
TEST_F(TextPageTest, ExamplesFollowTheLanguage) {
    m_texts.Load(test::TableLanguageTexts::kChinese);
    Refresh();
    EXPECT_EQ(m_view.list.GetItemText(0), L"1 \u5b9e\u4f8b - \u795d\u798f");
    m_texts.Load(test::TableLanguageTexts::kEnglish);
    Refresh();
    EXPECT_EQ(m_view.list.Texts(), (std::vector<std::wstring>{L"Example 1 - Blessing",
                                                              L"Example 1 - Customer Service"}));
    EXPECT_EQ(m_view.content, kFirstEnglish);
    EXPECT_EQ(SideRows("SELECT name FROM t_text_data ORDER BY text_id"),
              L"1 \u5b9e\u4f8b - \u795d\u798f\n1 \u5b9e\u4f8b - \u5ba2\u670d\n");
    // A name that merely contains an example's name is shown as stored.
    EXPECT_EQ(DisplayedSnippetName(L"Example 1 - Blessing!", m_context), L"Example 1 - Blessing!");
}

TEST_F(TextPageTest, NewSnippetIsNumberedByTheItemCount) {
    Refresh();
    m_view.list.SetCurSel(1);
    m_page.OnDeleteText();
    m_page.OnNewText();
    m_page.OnNewText();
    EXPECT_EQ(m_view.list.Texts(),
              (std::vector<std::wstring>{L"Example 1 - Blessing", L"2 Text", L"3 Text"}));
    EXPECT_EQ(m_view.list.selected, 2);
    EXPECT_EQ(m_view.content, L"");
    EXPECT_EQ(m_view.counter, L"0/500");
    EXPECT_EQ(m_choiceRefreshes, 3);
    // After a deletion the number can repeat a name that is already there.
    m_view.list.SetCurSel(1);
    m_page.OnDeleteText();
    m_page.OnNewText();
    EXPECT_EQ(m_view.list.Texts(),
              (std::vector<std::wstring>{L"Example 1 - Blessing", L"3 Text", L"3 Text"}));
}

TEST_F(TextPageTest, DeletingTheFirstItemLeavesNoSelection) {
    Refresh();
    m_view.list.SetCurSel(0);
    m_page.OnDeleteText();
    EXPECT_EQ(m_view.list.selected, -1);
    EXPECT_EQ(m_view.content, L"");
    EXPECT_EQ(SideInt("SELECT count(*) FROM t_text_data"), 1);
    // Deleting the second selects the one before it and shows it.
    m_page.OnNewText();
    m_page.OnDeleteText();
    EXPECT_EQ(m_view.list.selected, 0);
    EXPECT_EQ(m_view.content, L"Hello, it's my pleasure to serve you!");
    // Every snippet gone: the next refresh brings the examples back.
    m_page.OnDeleteText();
    Refresh();
    EXPECT_EQ(m_view.list.GetItemCount(), 2);
}

TEST_F(TextPageTest, ClearStoresAtOnceTypedTextOnlyOnSave) {
    Refresh();
    m_view.content = L"typed";
    m_page.OnContentChanged();
    EXPECT_EQ(m_view.counter, L"5/500");
    EXPECT_EQ(SideRows("SELECT content FROM t_text_data WHERE text_id = 1"), kFirstEnglish + L"\n");
    m_page.OnSaveText();
    EXPECT_EQ(SideRows("SELECT content FROM t_text_data WHERE text_id = 1"), L"typed\n");
    m_view.content = L"not saved";
    m_page.OnClearText();
    EXPECT_EQ(m_view.content, L"");
    EXPECT_EQ(m_view.counter, L"0/500");
    EXPECT_EQ(SideRows("SELECT content FROM t_text_data WHERE text_id = 1"), L"\n");
    // With nothing selected clear only empties the edit.
    m_view.list.SetCurSel(-1);
    m_view.content = L"x";
    m_page.OnClearText();
    EXPECT_EQ(m_view.content, L"");
    EXPECT_EQ(SideRows("SELECT content FROM t_text_data WHERE text_id = 2"),
              L"Hello, it's my pleasure to serve you!\n");
}

TEST_F(TextPageTest, SaveRefusesMoreThanTheLimit) {
    Refresh();
    // 499 characters plus one beyond the basic plane count as 501 units, as the edit counts.
    m_view.content = std::wstring(499, L'a') + L"\U0001F600";
    m_page.OnSaveText();
    EXPECT_EQ(m_view.counter, L"501/500");
    EXPECT_EQ(SideRows("SELECT content FROM t_text_data WHERE text_id = 1"), kFirstEnglish + L"\n");
    m_view.content = std::wstring(500, L'b');
    m_page.OnSaveText();
    EXPECT_EQ(SideInt("SELECT length(content) FROM t_text_data WHERE text_id = 1"), 500);
    EXPECT_EQ(AddSnippet(m_database, L"long", std::wstring(501, L'c')), 0);
}

// A rename follows into the descriptions of the current profile's buttons only.
TEST_F(TextPageTest, RenameChangesTheCurrentProfilesButtons) {
    Refresh();
    for (int profile : {1, 2}) {
        KeyAssignment assignment;
        assignment.profile = profile;
        assignment.keyCode = 3;
        assignment.functionType = 11;
        assignment.value1 = 2;
        assignment.description = L"Old";
        ASSERT_NE(m_database.SaveKeyAssignment(assignment), 0);
    }
    m_view.list.SetCurSel(1);
    m_view.list.ModifyItemString(1, L"Greeting");
    m_page.OnTextListRenamed();
    EXPECT_EQ(SideRows("SELECT profile, macro_desc FROM t_key_macro_data ORDER BY profile"),
              L"1|Greeting\n2|Old\n");
    EXPECT_EQ(SideRows("SELECT name FROM t_text_data WHERE text_id = 2"), L"Greeting\n");
    EXPECT_EQ(m_choiceRefreshes, 1);

    // An empty name puts the stored one back and changes nothing.
    m_view.list.ModifyItemString(1, L"");
    m_page.OnTextListRenamed();
    EXPECT_EQ(m_view.list.GetItemText(1), L"Greeting");
    EXPECT_EQ(m_choiceRefreshes, 1);
}

TEST_F(TextPageTest, CharacterMapOpensThroughTheShell) {
    m_page.OnCharacterMap();
    EXPECT_EQ(m_shell.calls, std::vector<std::wstring>{L"launch charmap.exe"});
}

}  // namespace
}  // namespace tavik
