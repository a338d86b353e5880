#include "app/config/palette_dialog.h"

#include <gtest/gtest.h>

#include "app/config/performance_page.h"
#include "tests/config/recording_views.h"

namespace tavik::test {
namespace {

namespace id = palette_control;

class FakeColourControl : public FakeControl<ColourControl> {
public:
    using FakeControl::FakeControl;
    void SetColor(std::uint32_t colour) override { colourState = colour; }
    std::uint32_t GetColor() override { return colourState; }
    std::uint32_t colourState = 0;
};

class RecordingPaletteView : public PaletteDialogView {
public:
    RecordingPaletteView() : palette(id::kPalette, log), preview(id::kPreview, log), fields(log) {}
    ColourControl& Palette() override { return palette; }
    ColourControl& Preview() override { return preview; }
    TextControl& Field(int controlId) override { return fields[controlId]; }
    void Close(bool accepted) override { closes.push_back(accepted); }

    ControlLog log;
    FakeColourControl palette;
    FakeColourControl preview;
    ControlSet<FakeText> fields;
    std::vector<bool> closes;
};

struct PaletteCase {
    const char* name;
    std::function<void(RecordingPaletteView&, MousePaletteDialogLogic&)> actions;
    std::optional<std::uint32_t> chosen;
};

TEST(MousePaletteDialogTest, OnlyOkGivesAColour) {
    const PaletteCase cases[] = {
        {"ok at once", [](auto&, auto& d) { d.OnControlNotify(id::kOk, 2); }, 0x0000FFu},
        {"closed", [](auto&, auto& d) { d.OnControlNotify(id::kClose, 2); }, std::nullopt},
        {"preset then close",
         [](auto&, auto& d) {
             d.OnControlNotify(id::kFirstPreset + 1, 2);
             d.OnControlNotify(id::kClose, 2);
         },
         std::nullopt},
        {"preset then ok",
         [](auto&, auto& d) {
             d.OnControlNotify(id::kFirstPreset + 1, 2);
             d.OnControlNotify(id::kOk, 2);
         },
         16711680u},
        {"palette then ok",
         [](auto& v, auto& d) {
             v.palette.colourState = 0x00345678;
             d.OnControlNotify(id::kPalette, notify_code::kPaletteColourPicked);
             d.OnControlNotify(id::kOk, 2);
         },
         0x00345678u},
        {"fields clamp then ok",
         [](auto& v, auto& d) {
             v.fields[id::kRed].textState = L"300";
             v.fields[id::kGreen].textState = L"-2";
             v.fields[id::kBlue].textState = L"16";
             d.OnControlNotify(id::kRed, notify_code::kEditTextChanged);
             d.OnControlNotify(id::kOk, 2);
         },
         0x001000FFu},
        {"never closed", [](auto&, auto&) {}, std::nullopt},
    };
    for (const PaletteCase& test : cases) {
        SCOPED_TRACE(test.name);
        RecordingPaletteView view;
        MousePaletteDialogLogic dialog(view, 0x0000FF);
        dialog.InitUI();
        EXPECT_EQ(view.fields[id::kRed].textState, L"255");
        EXPECT_EQ(view.palette.colourState, 0x0000FFu);
        test.actions(view, dialog);
        EXPECT_EQ(dialog.ChosenColour(), test.chosen);
        if (test.chosen) {
            EXPECT_EQ(view.preview.colourState, *test.chosen);
        }
    }
}

TEST(MousePaletteDialogTest, FieldsShowTheComponentsWithRedInTheLowByte) {
    RecordingPaletteView view;
    MousePaletteDialogLogic dialog(view, 0);
    dialog.OnControlNotify(id::kFirstPreset + 5, 2);  // 16776960: cyan
    EXPECT_EQ(view.fields[id::kRed].textState, L"0");
    EXPECT_EQ(view.fields[id::kGreen].textState, L"255");
    EXPECT_EQ(view.fields[id::kBlue].textState, L"255");
    EXPECT_EQ(dialog.ResultColour(), 16776960u);
    EXPECT_EQ(kPalettePresets[4], kPalettePresets[6]);
}

}  // namespace
}  // namespace tavik::test
