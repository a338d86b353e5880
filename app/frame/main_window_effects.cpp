#include "app/frame/main_window_effects.h"

#include <utility>

#include "app/frame/device_main_dlg.h"
#include "app/frame/ui_thread_queue.h"
#include "app/services/ui_message_box.h"
#include "app/services/wait_dlg.h"
#include "orvo/device_list.h"

namespace tavik {

MainWindowEffects::MainWindowEffects(DeviceMainDlg& window, UiThreadQueue& queue,
                                     KeptWaitDlg& waitDialog)
    : m_window(window),
      m_queue(queue),
      m_waitDialog(waitDialog),
      m_windowThread(GetCurrentThreadId()) {}

void MainWindowEffects::OnWindowThread(std::function<void()> work) {
    if (GetCurrentThreadId() == m_windowThread) {
        work();
        return;
    }
    m_queue.Post(std::move(work));
}

void MainWindowEffects::SetBatteryInfo(int level, int charging) {
    OnWindowThread([this, level, charging] { m_window.ShowBattery(level, charging); });
}

void MainWindowEffects::SetDeviceBattery(int deviceType, int level, int charging) {
    HeadlessWindow::SetDeviceBattery(deviceType, level, charging);
    OnWindowThread([this, deviceType, level, charging] {
        if (Orvo::CDeviceList* list = m_window.DeviceList()) {
            list->SetDeviceBattery(deviceType, charging, level);
        }
        m_window.NoteChange();
    });
}

void MainWindowEffects::SetMouseVersionLabel(const std::wstring& text) {
    {
        std::lock_guard<std::mutex> hold(m_labelLock);
        m_mouseLabel = text;
    }
    OnWindowThread([this] {
        std::lock_guard<std::mutex> hold(m_labelLock);
        m_window.ShowFirmwareLabels(m_mouseLabel, m_receiverLabel);
    });
}

void MainWindowEffects::SetReceiverVersionLabel(const std::wstring& text) {
    {
        std::lock_guard<std::mutex> hold(m_labelLock);
        m_receiverLabel = text;
    }
    OnWindowThread([this] {
        std::lock_guard<std::mutex> hold(m_labelLock);
        m_window.ShowFirmwareLabels(m_mouseLabel, m_receiverLabel);
    });
}

void MainWindowEffects::SelectDpiStage(int stageIndex) {
    OnWindowThread([this, stageIndex] { m_window.ShowDpiStage(stageIndex); });
}

void MainWindowEffects::RefreshButtonPage() {
    OnWindowThread([this] { m_window.RefreshProfileLabel(); });
}

void MainWindowEffects::RefreshMacroPage() {
    OnWindowThread([this] { m_window.NoteChange(); });
}

void MainWindowEffects::RefreshPerformancePage() {
    OnWindowThread([this] { m_window.RefreshPerformancePage(); });
}

void MainWindowEffects::RefreshLightPage() {
    OnWindowThread([this] { m_window.NoteChange(); });
}

void MainWindowEffects::ClearDeviceList() {
    HeadlessWindow::ClearDeviceList();
    OnWindowThread([this] {
        if (Orvo::CDeviceList* list = m_window.DeviceList()) {
            list->ClearList();
        }
        m_window.NoteChange();
    });
}

void MainWindowEffects::AddDeviceListItem(const std::wstring& name, int deviceType,
                                          const std::wstring& picturePath) {
    HeadlessWindow::AddDeviceListItem(name, deviceType, picturePath);
    OnWindowThread([this, name, deviceType, picturePath] {
        if (Orvo::CDeviceList* list = m_window.DeviceList()) {
            list->AddDevice(name.c_str(), deviceType, picturePath.c_str());
        }
        m_window.NoteChange();
    });
}

void MainWindowEffects::SetAllDeviceState(ConnectState state) {
    HeadlessWindow::SetAllDeviceState(state);
    OnWindowThread([this, state] {
        if (Orvo::CDeviceList* list = m_window.DeviceList()) {
            list->SetAllDeviceState(static_cast<int>(state));
        }
        m_window.NoteChange();
    });
}

void MainWindowEffects::SetDeviceState(int deviceType, DeviceMode mode, ConnectState state) {
    HeadlessWindow::SetDeviceState(deviceType, mode, state);
    OnWindowThread([this, deviceType, mode, state] {
        if (Orvo::CDeviceList* list = m_window.DeviceList()) {
            list->SetDeviceState(deviceType, static_cast<int>(mode), static_cast<int>(state));
        }
        m_window.NoteChange();
    });
}

void MainWindowEffects::SetDeviceVersion(int deviceType, int releaseNumber) {
    HeadlessWindow::SetDeviceVersion(deviceType, releaseNumber);
    OnWindowThread([this, deviceType, releaseNumber] {
        if (Orvo::CDeviceList* list = m_window.DeviceList()) {
            list->SetDeviceVersion(deviceType, releaseNumber);
        }
    });
}

void MainWindowEffects::SetSelectDevice(int deviceType) {
    HeadlessWindow::SetSelectDevice(deviceType);
    OnWindowThread([this, deviceType] {
        if (Orvo::CDeviceList* list = m_window.DeviceList()) {
            list->SetSelectDevice(deviceType);
        }
    });
}

void MainWindowEffects::SetStatusText(int languageText) {
    HeadlessWindow::SetStatusText(languageText);
    OnWindowThread([this, languageText] { m_window.ShowStatusText(languageText); });
}

void MainWindowEffects::ShowView(MainView view) {
    HeadlessWindow::ShowView(view);
    OnWindowThread([this, view] { m_window.ShowView(view); });
}

void MainWindowEffects::LoadDeviceDescription(int deviceType) {
    // The selection runs on the window's thread and queues its job right after this: the
    // description and the store of the new model must be in place before that job runs.
    OnWindowThread([this, deviceType] { m_window.LoadDeviceDescription(deviceType); });
}

void MainWindowEffects::SetApplicationVersionLabel(const std::wstring& text) {
    OnWindowThread([this, text] { m_window.ShowApplicationVersion(text); });
}

void MainWindowEffects::SetMousePicture(const std::wstring& picture) {
    OnWindowThread([this, picture] { m_window.ShowMousePicture(picture); });
}

void MainWindowEffects::SetLightingAvailable(bool available) {
    OnWindowThread([this, available] { m_window.ShowLightTab(available); });
}

void MainWindowEffects::ClearMouseButtons() {
    OnWindowThread([this] { m_window.ClearMouseButtons(); });
}

void MainWindowEffects::AddMouseButton(const std::wstring& name, int keyValue, int direction,
                                       int fromX, int fromY, int toX, int toY) {
    OnWindowThread([=] {
        m_window.AddMouseButton(name, keyValue, direction, POINT{fromX, fromY}, POINT{toX, toY});
    });
}

void MainWindowEffects::DisableInputMethod() {
    OnWindowThread([this] { m_window.DisableInputMethod(); });
}

int MainWindowEffects::CloseTransientWindows() {
    // The boxes close as cancelled and the wait dialog as done from this thread, so a modal
    // loop waiting on the window's thread ends even while that thread is inside it.
    const int closed = CloseMessageBoxes();
    m_waitDialog.DoOK();
    OnWindowThread([this] { m_window.CloseOwnedPopups(); });
    return closed;
}

void MainWindowEffects::CloseWaitDialog() {
    m_waitDialog.DoOK();
}

}  // namespace tavik
