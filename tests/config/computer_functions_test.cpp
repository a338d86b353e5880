#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/config/computer_function_runner.h"
#include "app/device/clock.h"
#include "config_fixture.h"
#include "recording_shell.h"

namespace tavik {
namespace {

struct AddressCase {
    const wchar_t* stored;
    const wchar_t* opened;
};

// Names the case in test listings.
void PrintTo(const AddressCase& param, std::ostream* os) {
    *os << WideToUtf8(param.stored);
}

class WebAddressTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(WebAddressTest, Rewrite) {
    EXPECT_EQ(RewriteWebAddress(GetParam().stored), GetParam().opened);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, WebAddressTest,
    ::testing::Values(AddressCase{L"example.com", L"www.example.com"},
                      AddressCase{L"www.example.com", L"www.example.com"},
                      AddressCase{L"WWW.Example.com", L"WWW.Example.com"},
                      AddressCase{L"http://example.com/a", L"www.example.com/a"},
                      AddressCase{L"HTTP://www.example.com", L"www.example.com"},
                      // https is opened as written, never downgraded.
                      AddressCase{L"https://example.com", L"https://example.com"},
                      AddressCase{L"https://www.example.com/x", L"https://www.example.com/x"},
                      // A scheme further on is part of the address, not a prefix to cut.
                      AddressCase{L"example.com/?u=https://other.org",
                                  L"www.example.com/?u=https://other.org"},
                      AddressCase{L"http://example.com/?u=https://other.org",
                                  L"www.example.com/?u=https://other.org"},
                      AddressCase{L"example.com/www.page", L"www.example.com/www.page"},
                      // Other schemes, and a host with a port.
                      AddressCase{L"mailto:someone@example.com", L"mailto:someone@example.com"},
                      AddressCase{L"ftp://files.example.com", L"ftp://files.example.com"},
                      AddressCase{L"localhost:8080/x", L"www.localhost:8080/x"},
                      AddressCase{L"  example.com  ", L"www.example.com"}, AddressCase{L"", L""},
                      AddressCase{L"   ", L""}, AddressCase{L"http://", L""}));

class ComputerFunctionTest : public test::ConfigTest {
protected:
    test::RecordingShell m_shell;
    VirtualClock m_clock;
    ComputerFunctionRunner m_runner{m_database, m_shell, m_clock};
};

TEST_F(ComputerFunctionTest, LaunchesTheStoredProgramAndOpensTheStoredAddress) {
    const int program = m_database.AddKeyExtraData(L"Notes", L"C:\\Tools\\notes.exe", 9);
    const int address = m_database.AddKeyExtraData(L"https://example.com/?q=1", L"", 10);
    const int plain = m_database.AddKeyExtraData(L"example.org", L"", 10);
    m_runner.RunComputerFunction(9, program);
    m_runner.RunComputerFunction(10, address);
    m_runner.RunComputerFunction(10, plain);
    m_runner.RunComputerFunction(10, 200);  // no such row
    m_runner.RunComputerFunction(9, 201);
    m_runner.RunComputerFunction(7, program);  // not a computer-side function
    EXPECT_EQ(m_shell.calls, (std::vector<std::wstring>{L"launch C:\\Tools\\notes.exe",
                                                        L"open https://example.com/?q=1",
                                                        L"open www.example.org"}));
}

// Ctrl+V is held for 100 ms, the text stays on the clipboard a while longer, then the user's
// own content comes back.
TEST_F(ComputerFunctionTest, TypesASnippetAndPutsTheClipboardBack) {
    NamedRecord snippet;
    snippet.name = L"Greeting";
    snippet.text = L"Hello there";
    const int id = m_database.AddText(snippet);
    ASSERT_TRUE(m_shell.SetClipboardText(L"password"));
    const ClipboardContent users = m_shell.clipboard;
    m_shell.calls.clear();

    m_runner.RunComputerFunction(11, id);
    EXPECT_EQ(m_shell.calls,
              (std::vector<std::wstring>{L"clipboard Hello there", L"key 17 down", L"key 86 down",
                                         L"key 86 up", L"key 17 up", L"restore clipboard"}));
    EXPECT_EQ(m_clock.SleptMs(), static_cast<uint64_t>(ComputerFunctionRunner::kPasteHoldMs +
                                                       ComputerFunctionRunner::kPasteSettleMs));
    EXPECT_EQ(m_shell.clipboard.formats, users.formats);

    // An empty clipboard is left empty again.
    m_shell.clipboard = {};
    m_shell.calls.clear();
    m_runner.RunComputerFunction(11, id);
    EXPECT_EQ(m_shell.calls.back(), L"clipboard ");
    EXPECT_TRUE(m_shell.clipboard.Empty());
}

// Without the text on the clipboard a Ctrl+V would paste whatever the user copied last.
TEST_F(ComputerFunctionTest, NoKeysWhenTheTextCannotBeTyped) {
    NamedRecord snippet;
    snippet.name = L"Greeting";
    snippet.text = L"Hello";
    const int id = m_database.AddText(snippet);
    NamedRecord empty;
    empty.name = L"Empty";
    const int emptyId = m_database.AddText(empty);

    m_shell.clipboardWorks = false;
    m_runner.RunComputerFunction(11, id);
    m_shell.clipboardWorks = true;
    m_runner.RunComputerFunction(11, 99);  // deleted snippet
    m_runner.RunComputerFunction(11, emptyId);
    for (const std::wstring& call : m_shell.calls) {
        EXPECT_EQ(call.find(L"key"), std::wstring::npos) << call;
    }
    EXPECT_EQ(m_shell.calls, std::vector<std::wstring>{L"clipboard Hello"});
}

}  // namespace
}  // namespace tavik
