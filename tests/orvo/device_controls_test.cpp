// The device list and the battery gauge on a real dialog: card places, the state rule, the
// selection, the fitted picture, battery segments by level, the charging animation, and
// the setters the device worker calls from its own thread while the window paints and
// takes input.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <set>
#include <thread>

#include "orvo/battery.h"
#include "orvo/device_list.h"
#include "values_test_support.h"

namespace {

using Orvo::CRect;
using OrvoTest::TestDialog;
using ValuesTest::Rgb;
using ValuesTest::SkinPicture;

constexpr DWORD kGreen = 0x00FF00;
constexpr DWORD kGrey = 0x404040;
constexpr DWORD kRed = 0xFF0000;

// Controls that note the thread of every paint.
template <typename Base>
class ThreadNotingControl : public Base {
public:
    using Base::Base;
    void DrawControl(HDC hdc, const RECT& rect) override {
        m_paintThreads.insert(::GetCurrentThreadId());
        ++m_paints;
        Base::DrawControl(hdc, rect);
    }
    std::set<DWORD> m_paintThreads;
    int m_paints = 0;
};

class DeviceControlsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OrvoTest::StartGdiplus(); }
    void SetUp() override {
        ASSERT_NE(m_dialog.CreateAt(0, 0, 1200, 700), nullptr);
        ASSERT_TRUE(m_background.Saved() && m_level.Saved() && m_charge.Saved());
    }
    void TearDown() override { m_dialog.DestroyWindow(); }

    Orvo::CDeviceList* CreateList(const RECT& rect) {
        auto* list = dynamic_cast<Orvo::CDeviceList*>(
            m_dialog.CreateControl(L"CDeviceList", 20, rect, L"", 1, 1));
        EXPECT_NE(list, nullptr);
        if (list != nullptr) {
            list->SetBatteryBkg(m_background.Name());
            list->SetBatteryIcon(m_level.Name(), m_charge.Name());
        }
        return list;
    }
    int Clicks() const {
        int count = 0;
        for (const auto& message : m_dialog.m_messages) {
            count += message.code == Orvo::kNotifyClicked ? 1 : 0;
        }
        return count;
    }

    TestDialog m_dialog;
    SkinPicture m_background{L"devices_battery_bkg", 46, 20, {0xFF404040}};
    SkinPicture m_level{L"devices_battery_level", 31, 20, {0xFF00FF00}};
    SkinPicture m_charge{L"devices_battery_charge", 12, 20, {0xFFFFC233}};
};

TEST_F(DeviceControlsTest, CardsOfOneOrTwoConnectedDevices) {
    Orvo::CDeviceList* list = CreateList(CRect(0, 0, 1100, 600));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->AddDevice(L"Tavik Mouse Lite", 101, L""), 0);
    EXPECT_EQ(list->AddDevice(L"Tavik Mouse", 102, L""), 1);
    list->SetDeviceState(102, 1, 1);
    ASSERT_NE(ValuesTest::PaintControls(m_dialog), nullptr);
    // One connected: one 770 x 530 card; the other has none.
    EXPECT_EQ(list->GetCardRect(1), CRect(135, 35, 905, 565));
    EXPECT_TRUE(list->GetCardRect(0).IsRectEmpty());
    // Both: two 500 x 400 cards 30 pixels apart.
    list->SetDeviceState(101, 0, 1);
    ASSERT_NE(ValuesTest::PaintControls(m_dialog), nullptr);
    EXPECT_EQ(list->GetCardRect(0), CRect(20, 100, 520, 500));
    EXPECT_EQ(list->GetCardRect(1), CRect(550, 100, 1050, 500));
    EXPECT_EQ(list->GetOnlineDevCount(), 2);
}

TEST_F(DeviceControlsTest, DeviceInStateOneOnlyAcceptsTheWiredMode) {
    struct Case {
        int startMode, startState;
        int mode, state;
        int endMode, endState;
    };
    const Case cases[] = {
        {1, 1, 1, 2, 1, 1},  // state 1 refuses a wireless change
        {1, 1, 0, 2, 0, 2},  // ... but takes mode 0
        {0, 2, 1, 1, 1, 1},  // other states take anything
        {0, 0, 1, 1, 1, 1}, {0, 1, 0, 0, 0, 0},
    };
    Orvo::CDeviceList* list = CreateList(CRect(0, 0, 1100, 600));
    ASSERT_NE(list, nullptr);
    list->AddDevice(L"Tavik Mouse", 102, L"");
    list->AddDevice(L"Tavik Mouse again", 102, L"");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.startMode << "/" << c.startState << " <- " << c.mode << "/" << c.state);
        list->SetAllDeviceState(0);
        list->SetDeviceState(102, c.startMode, c.startState);
        list->SetDeviceState(102, c.mode, c.state);
        const Orvo::CDeviceList::DeviceInfo info = list->GetDeviceInfo(0);
        EXPECT_EQ(info.mode, c.endMode);
        EXPECT_EQ(info.state, c.endState);
        // Only the first record of a type is addressed.
        EXPECT_EQ(list->GetDeviceInfo(1).state, 0);
    }
    // A type not in the list reads as not connected, and changes nothing.
    list->SetDeviceState(555, 0, 1);
    EXPECT_EQ(list->GetDeviceState(555), 0);
}

TEST_F(DeviceControlsTest, SelectionFallsBackToTheFirstConnectedDevice) {
    Orvo::CDeviceList* list = CreateList(CRect(0, 0, 1100, 600));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetSelectDevice(), 0) << "an empty list";
    list->AddDevice(L"A", 101, L"");
    list->AddDevice(L"B", 102, L"");
    list->SetDeviceState(102, 0, 1);
    list->SetSelectDevice(101);  // not connected: the first connected one
    EXPECT_EQ(list->GetSelectIndex(), 1);
    EXPECT_EQ(list->GetSelectDevice(), 102);
    list->SetAllDeviceState(0);
    list->SetSelectDevice(102);  // none connected: -1, read back as the first record
    EXPECT_EQ(list->GetSelectIndex(), -1);
    EXPECT_EQ(list->GetSelectDevice(), 101);
    EXPECT_EQ(list->GetSelectIndex(), 0);
}

TEST_F(DeviceControlsTest, WidePictureIsFittedIntoItsBox) {
    Orvo::CDeviceList* list = CreateList(CRect(0, 0, 1100, 600));
    ASSERT_NE(list, nullptr);
    const CRect fitted = list->GetImageRect(1000, 300, CRect(50, 50, 720, 510));
    EXPECT_EQ(fitted.Width(), 670);
    EXPECT_EQ(fitted.Height(), 201);
    // Centred vertically: 259 pixels to spare, 129 above.
    EXPECT_EQ(fitted, CRect(50, 179, 720, 380));
    EXPECT_EQ(list->GetImageRect(200, 100, CRect(50, 50, 720, 510)).Width(), 200);
    EXPECT_TRUE(list->GetImageRect(0, 100, CRect(50, 50, 720, 510)).IsRectEmpty());
}

TEST_F(DeviceControlsTest, ClickOnAConnectedCardSelectsItAndSendsTwo) {
    Orvo::CDeviceList* list = CreateList(CRect(0, 0, 1100, 600));
    ASSERT_NE(list, nullptr);
    list->AddDevice(L"A", 101, L"");
    list->AddDevice(L"B", 102, L"");
    list->SetDeviceState(101, 0, 1);
    list->SetDeviceState(102, 1, 2);
    ASSERT_NE(ValuesTest::PaintControls(m_dialog), nullptr);
    const CRect second = list->GetCardRect(1);
    m_dialog.Mouse(WM_MOUSEMOVE, second.left + 40, second.top + 40);
    EXPECT_EQ(list->GetHoverIndex(), 1);
    m_dialog.Mouse(WM_LBUTTONDOWN, second.left + 40, second.top + 40, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, second.left + 40, second.top + 40);
    EXPECT_EQ(list->GetSelectIndex(), 1);
    EXPECT_EQ(Clicks(), 1);
    // Between the cards nothing is hovered and a click sends nothing.
    m_dialog.Mouse(WM_MOUSEMOVE, second.left - 15, second.top + 40);
    EXPECT_EQ(list->GetHoverIndex(), -1);
    m_dialog.Mouse(WM_LBUTTONDOWN, second.left - 15, second.top + 40, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, second.left - 15, second.top + 40);
    EXPECT_EQ(Clicks(), 1);
}

TEST_F(DeviceControlsTest, BatterySegmentsByLevel) {
    struct Case {
        int level;
        int segments;
        bool red;
    };
    const Case cases[] = {{100, 5, false}, {95, 5, false}, {94, 4, false},
                          {74, 3, false},  {49, 2, false}, {25, 2, false},
                          {24, 0, true},   {0, 0, true},   {-1, 0, false}};
    auto* battery = dynamic_cast<Orvo::BatteryCtrl*>(
        m_dialog.CreateControl(L"BatteryCtrl", 21, CRect(10, 10, 70, 30), L"", 1, 1));
    ASSERT_NE(battery, nullptr);
    ASSERT_EQ(battery->SetImage(m_background.Name(), 1), 1);
    ASSERT_EQ(battery->SetBatteryIcon(m_level.Name(), m_charge.Name()), 1);
    Orvo::CDeviceList* list = CreateList(CRect(0, 100, 1100, 700));
    ASSERT_NE(list, nullptr);
    list->AddDevice(L"A", 101, L"");
    list->SetDeviceState(101, 0, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        battery->SetBatteryInfo(c.level, 0);
        list->SetDeviceBattery(101, 0, c.level);
        auto canvas = ValuesTest::PaintControls(m_dialog);
        ASSERT_NE(canvas, nullptr);
        const CRect card = list->GetCardRect(0);
        for (int i = 0; i < 5; ++i) {
            // Segment i: 5 pixels wide from 4 + 7 i, over the gauge's background.
            const DWORD gauge = Rgb(canvas->GetPixel(10 + 4 + 7 * i + 2, 20));
            const DWORD card_gauge =
                Rgb(canvas->GetPixel(card.right - 226 + 7 * i + 2, card.top + 10 + 20));
            const DWORD expected = i < c.segments ? kGreen : (i == 0 && c.red ? kRed : kGrey);
            EXPECT_EQ(gauge, expected) << "gauge segment " << i;
            EXPECT_EQ(card_gauge, expected) << "card segment " << i;
        }
        EXPECT_EQ(battery->GetShownSegments(), c.segments);
    }
}

TEST_F(DeviceControlsTest, ChargingAnimationAdvancesOnlyWhileCharging) {
    auto* battery = dynamic_cast<Orvo::BatteryCtrl*>(
        m_dialog.CreateControl(L"BatteryCtrl", 21, CRect(10, 10, 70, 30), L"", 1, 1));
    ASSERT_NE(battery, nullptr);
    ASSERT_EQ(battery->SetImage(m_background.Name(), 1), 1);
    ASSERT_EQ(battery->SetBatteryIcon(m_level.Name(), m_charge.Name()), 1);
    Orvo::PaintManager& manager = *m_dialog.GetPaintManager();
    const auto tick = [&] {
        const UINT id = manager.GetTimerId(battery, Orvo::BatteryCtrl::kChargeTimerKey);
        if (id != 0) {
            m_dialog.Send(WM_TIMER, id);
        }
    };

    battery->SetBatteryInfo(50, 0);
    ASSERT_NE(ValuesTest::PaintControls(m_dialog), nullptr);
    EXPECT_FALSE(battery->IsAnimating());
    tick();
    EXPECT_EQ(battery->GetShownSegments(), 3);

    battery->SetBatteryInfo(50, 1);
    ASSERT_NE(ValuesTest::PaintControls(m_dialog), nullptr);
    EXPECT_TRUE(battery->IsAnimating());
    ASSERT_NE(manager.GetTimerId(battery, Orvo::BatteryCtrl::kChargeTimerKey), 0u);
    const int expected[] = {4, 5, 3, 4};
    for (int segments : expected) {
        tick();
        EXPECT_EQ(battery->GetShownSegments(), segments);
    }
    // The charging mark sits right of the gauge.
    auto canvas = ValuesTest::PaintControls(m_dialog);
    EXPECT_EQ(Rgb(canvas->GetPixel(10 + 46 + 1 + 6, 20)), 0xFFC233u);

    battery->SetBatteryInfo(50, 0);
    tick();  // the first tick after charging ends stops the animation
    EXPECT_FALSE(battery->IsAnimating());
    const int phase = battery->GetChargePhase();
    tick();
    tick();
    EXPECT_EQ(battery->GetChargePhase(), phase);
    EXPECT_EQ(battery->GetShownSegments(), 3);
}

TEST_F(DeviceControlsTest, WorkerSettersRunBesideThePaintsAndInputOfTheWindow) {
    auto list = std::make_unique<ThreadNotingControl<Orvo::CDeviceList>>(
        &m_dialog, 30, CRect(0, 0, 1100, 600), 1, 1);
    auto battery = std::make_unique<ThreadNotingControl<Orvo::BatteryCtrl>>(
        &m_dialog, 31, CRect(1110, 10, 1170, 30), 1, 1);
    auto* listPtr = list.get();
    auto* batteryPtr = battery.get();
    m_dialog.GetPaintManager()->AddControl(std::move(list));
    m_dialog.GetPaintManager()->AddControl(std::move(battery));
    listPtr->SetBatteryBkg(m_background.Name());
    listPtr->SetBatteryIcon(m_level.Name(), m_charge.Name());
    ASSERT_EQ(batteryPtr->SetImage(m_background.Name(), 1), 1);
    ASSERT_EQ(batteryPtr->SetBatteryIcon(m_level.Name(), m_charge.Name()), 1);
    listPtr->AddDevice(L"Tavik Mouse Lite", 101, L"");
    listPtr->AddDevice(L"Tavik Mouse", 102, L"");
    m_dialog.ShowWindow(SW_SHOWNOACTIVATE);

    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int round = 0; round < 400; ++round) {
            const int level = round % 101;
            listPtr->SetDeviceState(101, 0, 1 + round % 2);
            listPtr->SetDeviceState(102, round % 2, 1);
            listPtr->SetDeviceBattery(101, round % 2, level);
            listPtr->SetDeviceVersion(102, round);
            batteryPtr->SetBatteryInfo(level, round % 2);
            if (round % 50 == 0) {
                ::Sleep(1);
            }
        }
        listPtr->SetDeviceBattery(101, 0, 30);
        listPtr->SetDeviceState(101, 0, 1);
        listPtr->SetDeviceState(102, 0, 1);
        batteryPtr->SetBatteryInfo(80, 0);
        done = true;
    });
    // Meanwhile the window paints and the pointer moves over the cards.
    int x = 0;
    while (!done) {
        ::InvalidateRect(m_dialog.GetSafeHwnd(), nullptr, FALSE);
        ::UpdateWindow(m_dialog.GetSafeHwnd());
        m_dialog.Mouse(WM_MOUSEMOVE, 40 + (x += 37) % 1000, 300);
        OrvoTest::PumpMessages();
    }
    worker.join();
    OrvoTest::PumpMessages();
    auto canvas = ValuesTest::PaintControls(m_dialog);
    ASSERT_NE(canvas, nullptr);

    EXPECT_EQ(listPtr->m_paintThreads, std::set<DWORD>{::GetCurrentThreadId()});
    EXPECT_EQ(batteryPtr->m_paintThreads, std::set<DWORD>{::GetCurrentThreadId()});
    EXPECT_GT(listPtr->m_paints, 1);
    EXPECT_EQ(listPtr->GetDeviceInfo(0).level, 30);
    EXPECT_EQ(listPtr->GetDeviceInfo(1).version, 399);
    EXPECT_EQ(batteryPtr->GetBatteryLevel(), 80);
    // What the window shows is the last state: two cards, the first with two segments.
    const CRect card = listPtr->GetCardRect(0);
    EXPECT_EQ(card, CRect(20, 100, 520, 500));
    EXPECT_EQ(Rgb(canvas->GetPixel(card.right - 226 + 7 + 2, card.top + 30)), kGreen);
    EXPECT_EQ(Rgb(canvas->GetPixel(card.right - 226 + 14 + 2, card.top + 30)), kGrey);
    EXPECT_EQ(Rgb(canvas->GetPixel(1110 + 4 + 21 + 2, 20)), kGreen);
    EXPECT_EQ(Rgb(canvas->GetPixel(1110 + 4 + 28 + 2, 20)), kGrey);
}

}  // namespace

namespace {

TEST_F(DeviceControlsTest, ClearingEmptiesTheListAndTheWheelLeavesTheCards) {
    Orvo::CDeviceList* list = CreateList(CRect(0, 0, 1100, 600));
    ASSERT_NE(list, nullptr);
    list->AddDevice(L"A", 101, L"");
    list->AddDevice(L"B", 102, L"");
    list->SetDeviceState(101, 0, 1);
    list->SetDeviceState(102, 0, 1);
    ASSERT_NE(ValuesTest::PaintControls(m_dialog), nullptr);
    const CRect before = list->GetCardRect(1);
    m_dialog.Mouse(WM_MOUSEMOVE, before.left + 40, before.top + 40);
    POINT screen{before.left + 40, before.top + 40};
    ::ClientToScreen(m_dialog.GetSafeHwnd(), &screen);
    m_dialog.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)),
                  MAKELPARAM(screen.x, screen.y));
    ASSERT_NE(ValuesTest::PaintControls(m_dialog), nullptr);
    EXPECT_EQ(list->GetCardRect(1), before);

    list->ClearList();
    EXPECT_EQ(list->GetItemCount(), 0);
    EXPECT_EQ(list->GetHoverIndex(), -1);
    EXPECT_EQ(list->GetSelectIndex(), 0);
    EXPECT_EQ(list->GetSelectDevice(), 0);
    EXPECT_FALSE(list->GetScrollVertical()->IsVisible());
    EXPECT_EQ(list->GetOnlineDevCount(), 0);
    // Nothing is left to paint or click.
    ASSERT_NE(ValuesTest::PaintControls(m_dialog), nullptr);
    m_dialog.Mouse(WM_LBUTTONDOWN, before.left + 40, before.top + 40, MK_LBUTTON);
    m_dialog.Mouse(WM_LBUTTONUP, before.left + 40, before.top + 40);
    EXPECT_EQ(Clicks(), 0);
}

}  // namespace
