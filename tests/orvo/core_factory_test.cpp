// Creating controls by class name through both factory tables.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "core_test_support.h"
#include "orvo/control_factory.h"
#include "orvo/paint_manager.h"
#include "orvo/text.h"

namespace {

using Orvo::ConstructorGroup;
using Orvo::ControlFactory;
using Orvo::CRect;
using Orvo::FactoryTable;

static_assert(Orvo::GroupOf(L"MText") == ConstructorGroup::kStaticText);
static_assert(Orvo::GroupOf(L"CImageButton") == ConstructorGroup::kTextBothFlags);
static_assert(Orvo::GroupOf(L"CDeviceState") == ConstructorGroup::kTextEnabledForced);
static_assert(Orvo::GroupOf(L"MTabLayout") == ConstructorGroup::kVisibleOnly);
static_assert(Orvo::GroupOf(L"mtext") == ConstructorGroup::kNone);

class CoreFactoryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
};

TEST_F(CoreFactoryTest, TablesHoldTheirNamesInOrder) {
    const auto& dialog = ControlFactory::GetNames(FactoryTable::kDialog);
    const auto& panel = ControlFactory::GetNames(FactoryTable::kPanel);
    ASSERT_EQ(dialog.size(), 44u);
    ASSERT_EQ(panel.size(), 57u);
    EXPECT_STREQ(dialog.front(), L"CArea");
    EXPECT_STREQ(dialog.back(), L"CRoundArea");
    EXPECT_STREQ(panel.back(), L"KeyFuncValue");
    for (auto* names : {&dialog, &panel}) {
        for (const wchar_t* name : *names) {
            EXPECT_NE(Orvo::GroupOf(name), ConstructorGroup::kNone) << name;
        }
    }
    EXPECT_TRUE(ControlFactory::IsListed(FactoryTable::kPanel, L"MacroList"));
    EXPECT_FALSE(ControlFactory::IsListed(FactoryTable::kDialog, L"MacroList"));
    EXPECT_TRUE(ControlFactory::IsListed(FactoryTable::kDialog, L"BatteryCtrl"));
    EXPECT_FALSE(ControlFactory::IsListed(FactoryTable::kPanel, L"BatteryCtrl"));
}

TEST_F(CoreFactoryTest, EveryNameGivesThatClassOrIsNotWrittenYet) {
    OrvoTest::TestDialog parent;
    for (const Orvo::FactoryClass& entry : Orvo::kFactoryClasses) {
        const wchar_t* name = entry.name;
        if (entry.state == Orvo::kNotYetWritten) {
            EXPECT_FALSE(ControlFactory::IsRegistered(name))
                << "written now: mark its row kWritten: " << name;
        } else {
            EXPECT_TRUE(ControlFactory::IsRegistered(name))
                << "marked kWritten but its file registers nothing: " << name;
        }
        for (FactoryTable table : {FactoryTable::kDialog, FactoryTable::kPanel}) {
            if (!ControlFactory::IsListed(table, name)) {
                continue;
            }
            std::unique_ptr<Orvo::MControl> control =
                ControlFactory::Create(table, name, &parent, 5, CRect(0, 0, 40, 20), L"text", 1, 1);
            if (entry.state == Orvo::kNotYetWritten) {
                EXPECT_EQ(control, nullptr) << name;
                continue;
            }
            ASSERT_NE(control, nullptr) << name;
            ASSERT_NE(control->GetClassNameW(), nullptr) << name;
            EXPECT_STREQ(control->GetClassNameW(), name);
            EXPECT_EQ(control->GetControlID(), 5u);
        }
    }
}

TEST_F(CoreFactoryTest, UnknownEmptyAndWronglyCasedNamesGiveNull) {
    OrvoTest::TestDialog dialog;
    ASSERT_NE(dialog.CreateAt(40, 40, 200, 100), nullptr);
    for (const wchar_t* name : {L"", L"mbutton", L"MBUTTON", L"NoSuchControl"}) {
        EXPECT_EQ(dialog.CreateControl(name, 1, CRect(0, 0, 10, 10), L"", 1, 1), nullptr) << name;
    }
    EXPECT_EQ(dialog.CreateControl(nullptr, 1, CRect(0, 0, 10, 10), L"", 1, 1), nullptr);
    // Only a panel creates a macro list, whether or not its class exists yet.
    EXPECT_EQ(dialog.CreateControl(L"MacroList", 1, CRect(0, 0, 10, 10), L"", 1, 1), nullptr);
    EXPECT_TRUE(dialog.GetControls().empty());
    dialog.DestroyWindow();
}

// Offered to the factory under names it must refuse.
class Refused : public OrvoTest::RecordingControl {
public:
    Refused(Orvo::MObject* parent, UINT id, const RECT& rect, const wchar_t*, int)
        : RecordingControl(parent, id, rect) {}
};

TEST_F(CoreFactoryTest, CreatedControlsJoinTheListOfTheirKind) {
    const wchar_t* name = L"MText";
    ASSERT_TRUE(ControlFactory::IsRegistered(name));
    // A name takes one class only, and only a factory class takes one.
    EXPECT_FALSE(ControlFactory::Register(
        name, &Orvo::CreateControlOf<Refused, ConstructorGroup::kStaticText>));
    EXPECT_FALSE(ControlFactory::Register(
        L"NotAFactoryClass", &Orvo::CreateControlOf<Refused, ConstructorGroup::kStaticText>));
    EXPECT_FALSE(ControlFactory::IsRegistered(L"NotAFactoryClass"));

    OrvoTest::TestDialog dialog;
    ASSERT_NE(dialog.CreateAt(40, 40, 200, 100), nullptr);
    Orvo::PaintManager& manager = *dialog.GetPaintManager();
    Orvo::MControl* control = dialog.CreateControl(name, 3, CRect(0, 0, 10, 10), L"hello", 1, 1);
    Orvo::MControl* area = dialog.CreateArea(name, 4, CRect(0, 0, 10, 10), nullptr, 0, 1);
    std::unique_ptr<Orvo::MControl> loose(
        manager.CreateControl(2, &dialog, name, 5, CRect(0, 0, 10, 10), L"", 1, 1));

    ASSERT_NE(control, nullptr);
    ASSERT_NE(area, nullptr);
    ASSERT_NE(loose, nullptr);
    EXPECT_STREQ(control->GetClassNameW(), name);
    EXPECT_EQ(static_cast<Orvo::MText*>(control)->GetControlTitle(), L"hello");
    EXPECT_EQ(static_cast<Orvo::MText*>(area)->GetControlTitle(), L"")
        << "a null text is an empty title";
    EXPECT_FALSE(area->IsVisible());
    EXPECT_TRUE(control->IsVisible());
    EXPECT_EQ(control->GetManager(), &manager);
    EXPECT_EQ(area->GetManager(), &manager);
    EXPECT_EQ(control->GetParantObject(), static_cast<Orvo::MObject*>(&dialog));
    EXPECT_EQ(manager.GetControls(), std::vector<Orvo::MControl*>{control});
    EXPECT_EQ(manager.GetAreaControls(), std::vector<Orvo::MControl*>{area});
    EXPECT_EQ(dialog.GetControl(3), control);
    EXPECT_EQ(dialog.GetControl(4), area);
    EXPECT_EQ(dialog.GetControl(5), nullptr) << "a control of no list is not found";

    loose.reset();
    dialog.DestroyWindow();
}

// CRoundArea registers itself with the macro; its group forces it enabled.
TEST_F(CoreFactoryTest, RegistrationMacroMakesAClassCreatable) {
    ASSERT_TRUE(ControlFactory::IsRegistered(L"CRoundArea"));
    OrvoTest::TestDialog dialog;
    ASSERT_NE(dialog.CreateAt(40, 40, 200, 100), nullptr);
    Orvo::MControl* control =
        dialog.CreateControl(L"CRoundArea", 8, CRect(0, 0, 10, 10), L"", 1, 0);
    ASSERT_NE(control, nullptr);
    EXPECT_STREQ(control->GetClassNameW(), L"CRoundArea");
    EXPECT_STREQ(control->BaseObjectClassName(), L"MControl");
    EXPECT_TRUE(control->IsEnabled());
    dialog.DestroyWindow();
}

}  // namespace
