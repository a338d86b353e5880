#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tavik {

class NameListControl;
class PageContext;
class SettingsDatabase;
class Shell;

// A snippet holds at most this many characters (UTF-16 units, as the edit counts them).
constexpr int kSnippetLengthLimit = 500;
// The example snippets: names 460 and 461, contents 470 and 471.
constexpr int kFirstExampleNameText = 460;
constexpr int kSecondExampleNameText = 461;
constexpr int kFirstExampleContentText = 470;
constexpr int kSecondExampleContentText = 471;
// The word in the name of a new snippet ("3 Text").
constexpr int kNewSnippetWordText = 455;

// The length of a text in UTF-16 units, whatever the width of wchar_t.
int SnippetLength(std::wstring_view text);
// "%d/%d" with the text's length and the limit.
std::wstring SnippetCounterText(std::wstring_view text);

// A stored example name or content (in either language) as the current language shows it;
// every other value as stored.
std::wstring DisplayedSnippetName(std::wstring_view stored, const PageContext& context);
std::wstring DisplayedSnippetContent(std::wstring_view stored, const PageContext& context);

// Stores the two examples in the current language when there is no snippet at all; true when
// there are snippets afterwards.
bool EnsureExampleSnippets(SettingsDatabase& database, const PageContext& context);
// Stores a snippet; its id, or 0 when the content is longer than the limit or the store
// failed.
int AddSnippet(SettingsDatabase& database, std::wstring_view name, std::wstring_view content);
// Stores a new content; false when it is longer than the limit or the store failed.
bool SaveSnippetContent(SettingsDatabase& database, int textId, std::wstring_view content);
// Renames a snippet, and the description of every button of `profile` that types it (the
// other profiles keep theirs), in one transaction.
bool RenameSnippet(SettingsDatabase& database, int profile, int textId, std::wstring_view name);

// The view of the text page: the snippet list (162), the content edit (168), the counter
// (172).
class TextPageView {
public:
    virtual ~TextPageView() = default;
    virtual NameListControl& TextList() = 0;
    virtual void SetContentText(const std::wstring& text) = 0;
    virtual std::wstring GetContentText() const = 0;
    virtual void SetCounterText(const std::wstring& text) = 0;
};

// The text page: the snippet list and the content of the selected snippet.
class TextPage {
public:
    // The button page's snippet choices are refilled through refreshButtonPageTextChoices
    // after a snippet is created, deleted or renamed.
    TextPage(PageContext& context, Shell& shell, TextPageView& view,
             std::function<void()> refreshButtonPageTextChoices);

    void RefreshTextPage();
    void OnTextListClicked();  // 162, code 2
    void OnTextListRenamed();  // 162, code 29
    void OnContentChanged();   // 168, code 26
    void OnNewText();          // 163
    void OnDeleteText();       // 164
    void OnCharacterMap();     // 169
    void OnClearText();        // 170
    void OnSaveText();         // 171

private:
    void ShowContent(int textId);
    void RefreshButtonPageTextChoices();

    PageContext& m_context;        // not owned
    SettingsDatabase& m_database;  // not owned
    Shell& m_shell;                // not owned
    TextPageView& m_view;          // not owned
    std::function<void()> m_refreshButtonPageTextChoices;
};

}  // namespace tavik
