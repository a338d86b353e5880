// What the macro page and a profile import send: the worker runs the jobs they queue on the
// simulated mouse, which ends up holding what the store holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/common/text_encoding.h"
#include "app/config/macro_page.h"
#include "app/config/profile_file.h"
#include "app/device/key_macro_image.h"
#include "tests/config/fake_lists.h"
#include "tests/config/page_fixture.h"

namespace tavik {
namespace {

class FakeMacroControls : public MacroView {
public:
    explicit FakeMacroControls(test::ControlLog& log) : buttons(log), texts(log), combos(log) {}
    NameListControl& MacroList() override { return macros; }
    RecordListControl& EventList() override { return events; }
    ButtonControl& Button(int controlId) override { return buttons[controlId]; }
    TextControl& Text(int controlId) override { return texts[controlId]; }
    ComboControl& Combo(int controlId) override { return combos[controlId]; }
    void SetEventCounter(const std::wstring&) override {}
    void SetRecordButton(int, const std::wstring&) override {}
    void SetFixedDelayTip(const std::wstring&) override {}
    void EnablePageControls(bool) override {}
    bool CursorOnRecordButton() override { return false; }
    void ShowMacroMenu() override {}
    void StartCapture(int) override {}
    void StopCapture() override {}

    test::ControlSet<test::FakeButton> buttons;
    test::ControlSet<test::FakeText> texts;
    test::ControlSet<test::FakeCombo> combos;
    test::FakeNameList macros;
    test::FakeRecordList events;
};

class FilesToMouseTest : public test::PageTest {};

CapturedInput Key(int code, bool down) {
    CapturedInput input;
    input.kind = CapturedInput::kKeyboard;
    input.action = down ? CapturedInput::kDown : CapturedInput::kUp;
    input.code = code;
    input.name = L"A";
    return input;
}

TEST_F(FilesToMouseTest, RecordedMacroReachesTheMouseAsStored) {
    FakeMacroControls view(m_log);
    view.buttons[macro_control::kNoDelay].checkedState = true;
    MacroPage page(m_context, view, m_dialogs, *m_clock, {}, {});
    page.OnNewMacro();
    page.OnRecord();
    page.OnCapturedInput(capture_mode::kMacroRecording, Key(65, true));
    page.OnCapturedInput(capture_mode::kMacroRecording, Key(65, false));
    page.OnRecord();
    EXPECT_EQ(Jobs(), std::vector<int>{job::kSendMacros});
    RunQueue();

    std::vector<MacroRecord> macros;
    ASSERT_EQ(m_database.ListMacros(macros), 1);
    MacroImageSource source{macros[0].macroId, {}};
    ASSERT_EQ(m_database.ListMacroEvents(macros[0].macroId, source.events), 2);
    const MacroImage expected = BuildMacroImage({source});
    const sim::MouseState mouse = m_simulator->Mouse();
    ASSERT_EQ(mouse.macroLength, expected.bytes.size());
    EXPECT_TRUE(
        std::equal(expected.bytes.begin(), expected.bytes.end(), mouse.macroMemory.begin()));
}

// An imported profile goes to the mouse whole (job 5): its report rate among the rest.
TEST_F(FilesToMouseTest, ImportedProfileIsSentToTheMouse) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("tavik-profile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ".xml");
    {
        std::ofstream out(file, std::ios::binary);
        out << "<profile><profileinfo><Mouse><report_rate value='0'/></Mouse></profileinfo>"
               "</profile>";
    }
    m_simulator->ClearReceivedCommands();
    JobQueue jobs;
    ASSERT_EQ(ImportProfileFile(m_database, m_context.CurrentProfile(), {102, true},
                                Utf8ToWide(file.u8string()), &jobs),
              FileResult::kDone);
    std::filesystem::remove(file);
    int code = 0;
    ASSERT_TRUE(jobs.Pop(code));
    EXPECT_EQ(code, job::kSendAllSettings);
    m_worker->QueueJob(code);
    RunQueue();
    const std::vector<std::string> sent = SentCommands();
    EXPECT_TRUE(std::any_of(sent.begin(), sent.end(), [](const std::string& command) {
        return command.rfind("06 13 02 00 00 02", 0) == 0;
    })) << "the report rate is among the settings sent";
    EXPECT_EQ(Stored(L"report_rate"), L"0");
}

}  // namespace
}  // namespace tavik
