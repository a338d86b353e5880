#include "app/config/text_snippets.h"

#include <vector>

#include "app/common/text_encoding.h"
#include "app/config/list_views.h"
#include "app/config/page_context.h"
#include "app/config/shell.h"
#include "app/store/settings_database.h"

namespace tavik {
namespace {

// The examples as they are stored, in both languages: whichever language they were made in,
// they are shown in the current one.
struct StoredExample {
    const wchar_t* chinese;
    const wchar_t* english;
    int text;
};

const StoredExample kExampleNames[] = {
    {L"1 \u5b9e\u4f8b - \u795d\u798f", L"Example 1 - Blessing", kFirstExampleNameText},
    {L"1 \u5b9e\u4f8b - \u5ba2\u670d", L"Example 1 - Customer Service", kSecondExampleNameText},
};

const StoredExample kExampleContents[] = {
    {L"\u795d\u798f\u4f60\u5fc3\u60f3\u4e8b\u6210,\u6b65\u6b65\u9ad8\u5347,\u98ce\u751f\u6c34"
     L"\u8d77,\u524d\u9014\u65e0\u91cf,\u613f\u4f60\u7684\u4eba\u751f\u5145\u6ee1\u65e0\u9650"
     L"\u53ef\u80fd\u3002",
     L"I wish you all your heart's desires, continuous progress, great success, and a "
     L"boundless future. May your life be filled with infinite possibilities.\u3002",
     kFirstExampleContentText},
    {L"\u60a8\u597d\uff0c\u5f88\u9ad8\u5174\u4e3a\u60a8\u670d\u52a1\uff01",
     L"Hello, it's my pleasure to serve you!", kSecondExampleContentText},
};

constexpr int kTypeTextSnippet = 11;

template <size_t N>
std::wstring Displayed(std::wstring_view stored, const StoredExample (&examples)[N],
                       const PageContext& context) {
    for (const StoredExample& example : examples) {
        if (stored == example.chinese || stored == example.english) {
            return context.Text(example.text);
        }
    }
    return std::wstring(stored);
}

}  // namespace

int SnippetLength(std::wstring_view text) {
    int length = 0;
    for (size_t index = 0; index < text.size();) {
        // A character beyond the basic plane takes two UTF-16 units.
        length += NextCodePoint(text, &index) > 0xFFFF ? 2 : 1;
    }
    return length;
}

std::wstring SnippetCounterText(std::wstring_view text) {
    return std::to_wstring(SnippetLength(text)) + L"/" + std::to_wstring(kSnippetLengthLimit);
}

std::wstring DisplayedSnippetName(std::wstring_view stored, const PageContext& context) {
    return Displayed(stored, kExampleNames, context);
}

std::wstring DisplayedSnippetContent(std::wstring_view stored, const PageContext& context) {
    return Displayed(stored, kExampleContents, context);
}

bool EnsureExampleSnippets(SettingsDatabase& database, const PageContext& context) {
    // Under the lock, so two refreshes never both find the table empty.
    std::lock_guard<std::recursive_mutex> guard(database.GetLock());
    std::vector<NamedRecord> list;
    if (database.ListTexts(list) > 0) {
        return true;
    }
    for (const auto& [name, content] :
         {std::pair{kFirstExampleNameText, kFirstExampleContentText},
          std::pair{kSecondExampleNameText, kSecondExampleContentText}}) {
        NamedRecord record;
        record.name = context.Text(name);
        record.text = context.Text(content);
        database.AddText(record);
    }
    return database.ListTexts(list) > 0;
}

int AddSnippet(SettingsDatabase& database, std::wstring_view name, std::wstring_view content) {
    if (SnippetLength(content) > kSnippetLengthLimit) {
        return 0;
    }
    NamedRecord record;
    record.name = std::wstring(name);
    record.text = std::wstring(content);
    return database.AddText(record);
}

bool SaveSnippetContent(SettingsDatabase& database, int textId, std::wstring_view content) {
    return SnippetLength(content) <= kSnippetLengthLimit &&
           database.SetTextContent(textId, content);
}

bool RenameSnippet(SettingsDatabase& database, int profile, int textId, std::wstring_view name) {
    return database.RunInTransaction([&] {
        std::vector<KeyAssignment> assignments;
        database.ListKeyAssignments(profile, 0, assignments);
        for (const KeyAssignment& assignment : assignments) {
            if (assignment.functionType == kTypeTextSnippet && assignment.value1 == textId &&
                !database.SetKeyDescription(profile, 0, assignment.keyCode, name)) {
                return false;
            }
        }
        return database.RenameText(textId, name);
    });
}

TextPage::TextPage(PageContext& context, Shell& shell, TextPageView& view,
                   std::function<void()> refreshButtonPageTextChoices)
    : m_context(context),
      m_database(context.Store()),
      m_shell(shell),
      m_view(view),
      m_refreshButtonPageTextChoices(std::move(refreshButtonPageTextChoices)) {}

void TextPage::RefreshTextPage() {
    NameListControl& list = m_view.TextList();
    list.DeleteAllItems();
    m_view.SetContentText(std::wstring());
    if (!EnsureExampleSnippets(m_database, m_context)) {
        return;
    }
    std::vector<NamedRecord> snippets;
    m_database.ListTexts(snippets);
    for (const NamedRecord& snippet : snippets) {
        list.InsertString(-1, DisplayedSnippetName(snippet.name, m_context), snippet.id);
    }
    list.SetCurSel(0);
    ShowContent(list.GetItemData(0));
}

void TextPage::ShowContent(int textId) {
    std::wstring content;
    m_database.GetTextContent(textId, content);
    const std::wstring shown = DisplayedSnippetContent(content, m_context);
    m_view.SetContentText(shown);
    m_view.SetCounterText(SnippetCounterText(shown));
}

void TextPage::RefreshButtonPageTextChoices() {
    if (m_refreshButtonPageTextChoices) {
        m_refreshButtonPageTextChoices();
    }
}

void TextPage::OnTextListClicked() {
    NameListControl& list = m_view.TextList();
    const int selected = list.GetCurSel();
    if (selected < 0 || list.GetItemData(selected) < 1) {
        return;
    }
    ShowContent(list.GetItemData(selected));
}

void TextPage::OnTextListRenamed() {
    NameListControl& list = m_view.TextList();
    const int selected = list.GetCurSel();
    if (selected < 0) {
        return;
    }
    const int textId = list.GetItemData(selected);
    const std::wstring name = list.GetItemText(selected);
    if (name.empty()) {
        std::wstring stored;
        m_database.GetTextName(textId, stored);
        list.ModifyItemString(selected, stored);
        return;
    }
    RenameSnippet(m_database, m_context.CurrentProfile(), textId, name);
    RefreshButtonPageTextChoices();
}

void TextPage::OnContentChanged() {
    m_view.SetCounterText(SnippetCounterText(m_view.GetContentText()));
}

void TextPage::OnNewText() {
    NameListControl& list = m_view.TextList();
    const std::wstring name =
        std::to_wstring(list.GetItemCount() + 1) + L" " + m_context.Text(kNewSnippetWordText);
    const int textId = AddSnippet(m_database, name, std::wstring_view());
    if (textId > 0) {
        list.SetCurSel(list.InsertString(-1, name, textId));
        m_view.SetContentText(std::wstring());
        m_view.SetCounterText(SnippetCounterText(std::wstring_view()));
    }
    RefreshButtonPageTextChoices();
}

void TextPage::OnDeleteText() {
    NameListControl& list = m_view.TextList();
    const int selected = list.GetCurSel();
    if (selected < 0) {
        return;
    }
    const int textId = list.GetItemData(selected);
    if (textId >= 1 && m_database.DeleteText(textId)) {
        list.DeleteItem(selected);
        list.SetCurSel(selected - 1);
        m_view.SetContentText(std::wstring());
        if (list.GetCurSel() >= 0) {
            ShowContent(list.GetItemData(list.GetCurSel()));
        }
    }
    RefreshButtonPageTextChoices();
}

void TextPage::OnCharacterMap() {
    m_shell.LaunchProgram(L"charmap.exe");
}

void TextPage::OnClearText() {
    m_view.SetContentText(std::wstring());
    NameListControl& list = m_view.TextList();
    const int selected = list.GetCurSel();
    if (selected < 0 || list.GetItemData(selected) < 1) {
        return;
    }
    SaveSnippetContent(m_database, list.GetItemData(selected), std::wstring_view());
    m_view.SetCounterText(SnippetCounterText(std::wstring_view()));
}

void TextPage::OnSaveText() {
    NameListControl& list = m_view.TextList();
    const int selected = list.GetCurSel();
    if (selected < 0) {
        return;
    }
    const std::wstring content = m_view.GetContentText();
    if (list.GetItemData(selected) >= 1) {
        SaveSnippetContent(m_database, list.GetItemData(selected), content);
    }
    m_view.SetCounterText(SnippetCounterText(content));
}

}  // namespace tavik
