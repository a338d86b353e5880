#include "app/config/performance_page.h"

#include "app/config/dialogs.h"
#include "app/config/page_context.h"
#include "app/config/performance_rules.h"
#include "app/device/job_queue.h"
#include "app/store/config_keys.h"

namespace tavik {

namespace {

namespace id = performance_control;

constexpr int kRestoreDpiTitle = 253;
constexpr int kRestoreDpiMessage = 258;
constexpr int kRestoreRateTitle = 257;
constexpr int kRestoreRateMessage = 259;
constexpr int kMinutesWord = 537;
constexpr int kHoursWord = 538;
// A mouse that reported no rate mask is taken to offer every rate.
constexpr int kAllReportRates = 127;
// The stage count item chosen before the first refresh (data 5).
constexpr int kInitialDpiCount = 5;
// The sleep item chosen before the first refresh.
constexpr int kInitialSleepItem = 5;
// The stage a DPI restore makes current.
constexpr int kRestoredDpiIndex = 1;

// The reset value of a key: the DPI restore writes what a profile reset writes.
std::wstring_view ResetValue(std::wstring_view key) {
    const ConfigKeyDefault* entry = FindConfigKey(key);
    return entry != nullptr ? entry->resetTo : std::wstring_view();
}

}  // namespace

PerformancePage::PerformancePage(PageContext& context, PerformanceView& view, Dialogs& dialogs)
    : m_context(context), m_view(view), m_dialogs(dialogs) {}

void PerformancePage::FillControls() {
    ComboControl& count = m_view.Combo(id::kDpiCount);
    count.DelAllItems();
    for (int stages = 1; stages <= kDpiStageCountMax; ++stages) {
        count.AddItem(DecimalText(stages), stages);
    }
    count.SelectData(kInitialDpiCount);

    DpiStageControl& stages = m_view.DpiStages();
    stages.ClearList();
    for (const DpiStage& stage : kPlaceholderDpiStages) {
        stages.AddItem(stage.dpi, stage.colour);
    }

    ReportRateControl& rates = m_view.ReportRates();
    rates.DeleteAllItems();
    for (const ReportRateItem& rate : kReportRates) {
        rates.AddItem(rate.text, rate.value, rate.colour);
    }
    rates.SetSelectItemValue(kReportRates[2].value);

    ComboControl& sleep = m_view.Combo(id::kSleepTime);
    sleep.DelAllItems();
    const std::wstring minutes = m_context.Text(kMinutesWord);
    const std::wstring hours = m_context.Text(kHoursWord);
    for (const SleepTimeItem& item : kSleepTimes) {
        sleep.AddItem(DecimalText(item.number) + (item.hours ? hours : minutes), item.seconds);
    }
    sleep.SetCurSel(kInitialSleepItem);

    m_view.Button(id::kLiftoff1mm).SetCheck(true);
    m_view.Button(id::kSensorBit2).SetCheck(true);
    m_view.Button(id::kWakeOnMove).SetCheck(true);
    m_view.Button(id::kScrollFirst).SetCheck(true);
    m_view.Button(id::kHighspeed).SetCheck(true);
}

void PerformancePage::RefreshPerformancePage() {
    const int deviceType = m_context.DeviceType();

    m_view.Text(id::kResponseTime).SetText(m_context.Config(L"button_respondtime"));

    ReportRateControl& rates = m_view.ReportRates();
    rates.DeleteAllItems();
    if (m_context.ReportRateMask() == 0) {
        m_context.SetReportRateMask(kAllReportRates);
    }
    for (const ReportRateItem& rate : kReportRates) {
        rates.AddItem(rate.text, rate.value, rate.colour);
    }
    rates.SetSelectItemValue(m_context.ConfigNumber(L"report_rate", 0));

    ButtonControl& highspeed = m_view.Button(id::kHighspeed);
    highspeed.SetCheck(m_context.Config(L"highspeed_mode") == L"1");
    const int devMode = m_context.DevMode();
    if (devMode == 0) {
        // Over the cable the mouse always runs at high speed.
        highspeed.SetCheck(true);
        highspeed.SetEnabled(false);
    } else if (devMode == 1) {
        highspeed.SetEnabled(true);
    }

    DpiStageControl& stages = m_view.DpiStages();
    for (int stage = 0; stage < kDpiStageCountMax; ++stage) {
        stages.SetDPIValue(stage, m_context.ConfigNumber(DpiValueKey(stage), 0));
    }

    // A stored index outside the stages in use (a hostile or stale store) selects the
    // nearest stage that exists.
    const int storedCount = m_context.ConfigNumber(L"dpi_count", kDpiStageCountMax);
    const int index = ClampDpiIndex(m_context.ConfigNumber(L"dpi_index", 0), storedCount);
    stages.SetSelectItem(index);
    m_view.DpiSlider().SetProgress(stages.GetDPIValue(index) / kDpiStep);

    ComboControl& count = m_view.Combo(id::kDpiCount);
    count.SelectData(ClampDpiCount(storedCount));
    RebuildStageList(count.GetCurData());
    stages.SetSelectItem(ClampDpiIndex(index, count.GetCurData()));

    const int sensor = m_context.ConfigNumber(L"sensor_flag", 0);
    m_view.Button(id::kSensorBit0).SetCheck((sensor & 1) != 0);
    m_view.Button(id::kSensorBit1).SetCheck((sensor & 2) != 0);
    m_view.Button(id::kSensorBit2).SetCheck((sensor & 4) != 0);

    const bool liftoffFirst = m_context.Config(L"liftoff_height") == L"0";
    m_view.Button(id::kLiftoff1mm).SetCheck(liftoffFirst);
    m_view.Button(id::kLiftoff2mm).SetCheck(!liftoffFirst);

    const bool scrollFirst = m_context.Config(L"scroll_flag") == L"0";
    m_view.Button(id::kScrollFirst).SetCheck(scrollFirst);
    m_view.Button(id::kScrollSecond).SetCheck(!scrollFirst);

    m_view.Combo(id::kSleepTime).SelectData(m_context.ConfigNumber(L"deep_sleep", 0));

    const bool wake = m_context.Config(L"move_wakeup") == L"1";
    m_view.Button(id::kWakeOnMove).SetCheck(wake);
    m_view.Button(id::kNoWakeOnMove).SetCheck(!wake);

    m_view.Button(id::kCloseLight).SetCheck(m_context.Config(L"move_closelight") != L"1");

    m_view.DpiSlider().SetMaxProgress(DpiSliderMaximum(deviceType));
}

void PerformancePage::OnControlNotify(int controlId, int code) {
    switch (controlId) {
        case id::kDpiStages:
            OnDpiStageNotify(code);
            return;
        case id::kDpiSlider:
            OnDpiSliderNotify(code);
            return;
        case id::kResponseTime:
            OnResponseTimeNotify(code);
            return;
        default:
            break;
    }
    if (code != notify_code::kClicked) {
        return;
    }
    switch (controlId) {
        case id::kRestoreDpi:
            RestoreDpiDefaults();
            break;
        case id::kApplyDpi:
            m_context.QueueJob(job::kSendDpiStages);
            break;
        case id::kDpiCount:
            OnDpiCountChanged();
            break;
        case id::kRestoreReportRate:
            RestoreReportRate();
            break;
        case id::kReportRate:
            OnReportRateChosen();
            break;
        case id::kLiftoff1mm:
        case id::kLiftoff2mm:
            OnLiftoffChanged();
            break;
        case id::kSensorBit0:
        case id::kSensorBit1:
        case id::kSensorBit2:
            OnSensorOptionChanged();
            break;
        case id::kWakeOnMove:
        case id::kNoWakeOnMove:
            OnWakeOnMoveChanged();
            break;
        case id::kScrollFirst:
        case id::kScrollSecond:
            OnScrollOptionChanged();
            break;
        case id::kHighspeed:
            OnHighspeedChanged();
            break;
        case id::kSleepTime:
            OnSleepTimeChanged();
            break;
        default:
            break;
    }
}

void PerformancePage::OnDpiStageNotify(int code) {
    DpiStageControl& stages = m_view.DpiStages();
    const int stage = stages.GetSelectItem();
    if (stage < 0 || stage >= kDpiStageCountMax) {
        return;
    }
    switch (code) {
        case notify_code::kClicked:
            StoreSelectedStage(stage);
            ShowStageOnSlider(stage);
            m_context.QueueJob(job::kSendDpiStages);
            break;
        case notify_code::kEditOpened:
            StoreSelectedStage(stage);
            m_context.QueueJob(job::kSendDpiStages);
            break;
        case notify_code::kEditClosed: {
            const int value =
                NormaliseDpiValue(ReadDecimal(stages.GetEditText()), m_context.DeviceType());
            stages.SetEditText(DecimalText(value));
            stages.SetDPIValue(stage, value);
            m_view.DpiSlider().SetProgress(value / kDpiStep);
            m_context.SetConfig(DpiValueKey(stage), value);
            m_context.QueueJob(job::kSendDpiStages);
            break;
        }
        case notify_code::kColourBlockClicked: {
            StoreSelectedStage(stage);
            ShowStageOnSlider(stage);
            m_context.QueueJob(job::kSendDpiStages);
            const std::optional<std::uint32_t> colour =
                m_dialogs.PickColour(stages.GetDPIColorValue(stage));
            // Cancel gives no colour; black counts as none chosen, as it always has.
            if (!colour || *colour == 0) {
                return;
            }
            stages.SetDPIColorValue(stage, *colour);
            m_context.SetConfig(DpiColourKey(stage), static_cast<int>(*colour & 0xFFFFFF));
            m_context.QueueJob(job::kSendDpiColors);
            m_context.QueueJob(job::kSendDpiStages);
            break;
        }
        default:
            break;
    }
}

void PerformancePage::OnDpiSliderNotify(int code) {
    const int stage = m_view.DpiStages().GetSelectItem();
    if (stage < 0 || stage >= kDpiStageCountMax) {
        return;
    }
    // The slider's own minimum may lie below one step: the value is brought into range too.
    const int value =
        NormaliseDpiValue(m_view.DpiSlider().GetProgress() * kDpiStep, m_context.DeviceType());
    m_view.DpiStages().SetDPIValue(stage, value);
    m_context.SetConfig(DpiValueKey(stage), value);
    if (code == notify_code::kClicked) {
        m_context.QueueJob(job::kSendDpiStages);
    }
}

void PerformancePage::OnDpiCountChanged() {
    const int count = ClampDpiCount(m_view.Combo(id::kDpiCount).GetCurData());
    m_context.SetConfig(L"dpi_count", count);
    RebuildStageList(count);
    int index = m_context.ConfigNumber(L"dpi_index", 0);
    if (index > count - 1) {
        index = count - 1;
        m_context.SetConfig(L"dpi_index", index);
    }
    m_view.DpiStages().SetSelectItem(ClampDpiIndex(index, count));
    m_context.QueueJob(job::kSendDpiStages);
}

void PerformancePage::RestoreDpiDefaults() {
    if (m_dialogs.Confirm(kRestoreDpiTitle, kRestoreDpiMessage, kMessageStyleTwoAnswers) ==
        kAnswerDeclined) {
        return;
    }
    m_context.SetConfig(L"dpi_count", ResetValue(L"dpi_count"));
    m_view.Combo(id::kDpiCount).SetCurSel(kDpiStageCountMax - 1);
    for (int stage = 0; stage < kDpiStageCountMax; ++stage) {
        m_context.SetConfig(DpiValueKey(stage), ResetValue(DpiValueKey(stage)));
    }
    for (int stage = 0; stage < kDpiStageCountMax; ++stage) {
        m_context.SetConfig(DpiColourKey(stage), ResetValue(DpiColourKey(stage)));
    }
    m_context.SetConfig(L"dpi_index", kRestoredDpiIndex);

    DpiStageControl& stages = m_view.DpiStages();
    stages.ClearList();
    for (int stage = 0; stage < kDpiStageCountMax; ++stage) {
        stages.AddItem(ReadDecimal(ResetValue(DpiValueKey(stage))),
                       static_cast<std::uint32_t>(ReadDecimal(ResetValue(DpiColourKey(stage)))));
    }
    stages.SetSelectItem(kRestoredDpiIndex);
    ShowStageOnSlider(kRestoredDpiIndex);
    // The mouse restores its own stages; only the colours are sent after it.
    m_context.QueueJob(job::kSendDpiDefaults);
    m_context.QueueJob(job::kSendDpiColors);
}

void PerformancePage::OnReportRateChosen() {
    ReportRateControl& rates = m_view.ReportRates();
    const int item = rates.GetSelectItem();
    if (item < 0) {
        return;
    }
    m_context.SetConfig(L"report_rate", rates.GetItemKeyValue(item));
    m_context.QueueJob(job::kSendReportRate);
}

void PerformancePage::RestoreReportRate() {
    if (m_dialogs.Confirm(kRestoreRateTitle, kRestoreRateMessage, kMessageStyleTwoAnswers) ==
        kAnswerDeclined) {
        return;
    }
    m_context.SetConfig(L"report_rate", RestoredReportRate(m_context.DeviceType()));
    m_context.QueueJob(job::kSendReportRate);
}

void PerformancePage::OnResponseTimeNotify(int code) {
    TextControl& field = m_view.Text(id::kResponseTime);
    if (code != notify_code::kEditClosed && code != notify_code::kClicked) {
        return;
    }
    // The step buttons (code 2) may leave any text behind too: what is stored is always the
    // value brought into range.
    const std::wstring text = field.GetText();
    const int value = ClampResponseTime(ReadDecimal(text));
    if (DecimalText(value) != text) {
        field.SetText(DecimalText(value));
    }
    m_context.SetConfig(L"button_respondtime", value);
    if (code == notify_code::kClicked) {
        m_context.QueueJob(job::kSendButtonRespondTime);
    }
}

void PerformancePage::OnSensorOptionChanged() {
    const int value = (m_view.Button(id::kSensorBit0).GetCheck() ? 1 : 0) |
                      (m_view.Button(id::kSensorBit1).GetCheck() ? 2 : 0) |
                      (m_view.Button(id::kSensorBit2).GetCheck() ? 4 : 0);
    m_context.SetConfig(L"sensor_flag", value);
    m_context.QueueJob(job::kSendSensorFlag);
}

void PerformancePage::OnLiftoffChanged() {
    m_context.SetConfig(L"liftoff_height", m_view.Button(id::kLiftoff1mm).GetCheck() ? L"0" : L"1");
    m_context.QueueJob(job::kSendLiftoffHeight);
}

void PerformancePage::OnWakeOnMoveChanged() {
    m_context.SetConfig(L"move_wakeup", m_view.Button(id::kWakeOnMove).GetCheck() ? L"1" : L"0");
    m_context.QueueJob(job::kSendMoveWakeup);
}

void PerformancePage::OnScrollOptionChanged() {
    m_context.SetConfig(L"scroll_flag", m_view.Button(id::kScrollFirst).GetCheck() ? L"0" : L"1");
    m_context.QueueJob(job::kSendScrollFlag);
}

void PerformancePage::OnHighspeedChanged() {
    m_context.SetConfig(L"highspeed_mode", m_view.Button(id::kHighspeed).GetCheck() ? L"1" : L"0");
    m_context.QueueJob(job::kSendHighspeedMode);
}

void PerformancePage::OnSleepTimeChanged() {
    ComboControl& sleep = m_view.Combo(id::kSleepTime);
    if (sleep.GetCurSel() < 0) {
        return;
    }
    m_context.SetConfig(L"deep_sleep", sleep.GetCurData());
    m_context.QueueJob(job::kSendSleepTimes);
}

void PerformancePage::OnMouseDpiStageChanged(int index) {
    if (index == m_context.CachedDpiIndex()) {
        return;
    }
    if (index < 0 || index >= kDpiStageCountMax) {
        return;
    }
    m_context.SetCachedDpiIndex(index);
    m_view.DpiStages().SetSelectItem(index);
    m_context.SetConfig(L"dpi_index", index);
    ShowStageOnSlider(index);
}

void PerformancePage::RebuildStageList(int count) {
    DpiStageControl& stages = m_view.DpiStages();
    stages.ClearList();
    for (int stage = 0; stage < ClampDpiCount(count); ++stage) {
        stages.AddItem(m_context.ConfigNumber(DpiValueKey(stage), 0),
                       static_cast<std::uint32_t>(m_context.ConfigNumber(DpiColourKey(stage), 0)));
    }
}

void PerformancePage::ShowStageOnSlider(int stage) {
    m_view.DpiSlider().SetProgress(m_view.DpiStages().GetDPIValue(stage) / kDpiStep);
}

void PerformancePage::StoreSelectedStage(int stage) {
    m_context.SetConfig(L"dpi_index", stage);
}

}  // namespace tavik
