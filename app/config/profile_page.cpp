#include "app/config/profile_page.h"

#include <utility>

#include "app/config/dialogs.h"
#include "app/config/page_context.h"
#include "app/device/job_queue.h"
#include "app/store/profile_loader.h"
#include "app/store/settings_database.h"

namespace tavik {

namespace {

constexpr int kNoDeviceTitle = 576;
constexpr int kNoDeviceMessage = 57;

}  // namespace

ProfilePage::ProfilePage(PageContext& context, ProfileView& view, Dialogs& dialogs)
    : m_context(context), m_view(view), m_dialogs(dialogs) {}

void ProfilePage::SetFileHandlers(ImportProfileHandler importProfile,
                                  ExportProfileHandler exportProfile) {
    m_importProfile = std::move(importProfile);
    m_exportProfile = std::move(exportProfile);
}

bool ProfilePage::LoadProfiles() {
    const LoadedProfiles loaded = tavik::LoadProfiles(
        m_context.Store(), [this](int number) { return m_context.Text(number); });
    if (loaded.currentProfile <= 0) {
        return false;
    }
    m_context.SetCurrentProfile(loaded.currentProfile);
    m_view.SetProfileLabel(loaded.currentName);
    return true;
}

bool ProfilePage::CanOpenProfileDialog() {
    if (!m_context.DeviceConnected()) {
        m_dialogs.Message(kNoDeviceTitle, kNoDeviceMessage);
        return false;
    }
    return true;
}

bool ProfilePage::SwitchProfile(int profile) {
    std::wstring name;
    if (profile <= 0 || !m_context.Store().GetProfileName(profile, name)) {
        return false;
    }
    m_context.SetCurrentProfile(profile);
    m_context.Store().SetActiveProfile(profile);
    m_view.SetProfileLabel(name);
    m_context.QueueJob(job::kSendAllSettings);
    return true;
}

bool ProfilePage::RenameProfile(int profile, const std::wstring& name) {
    if (name.empty()) {
        return false;
    }
    if (!m_context.Store().RenameProfile(profile, name)) {
        return false;
    }
    if (profile == m_context.CurrentProfile()) {
        std::wstring shown;
        m_context.Store().GetProfileName(profile, shown);
        m_view.SetProfileLabel(shown);
    }
    return true;
}

bool ProfilePage::ResetCurrentProfile() {
    SettingsDatabase& store = m_context.Store();
    const int profile = m_context.CurrentProfile();
    // One transaction under the store lock: the worker never sees the buttons gone but the
    // old settings still there, and a failure leaves the profile as it was.
    const bool reset = store.RunInTransaction([&store, profile] {
        const bool keys = store.DeleteProfileKeys(profile);
        const bool config = store.ResetConfigToDefaults(profile);
        const bool lights = store.DeleteProfileLights(profile);
        return keys && config && lights;
    });
    m_context.QueueJob(job::kSendFactoryReset);
    return reset;
}

void ProfilePage::OnProfileRequest(int wParam, int lParam) {
    switch (wParam) {
        case kProfileRequestSwitch:
            SwitchProfile(lParam);
            break;
        case kProfileRequestImport:
            if (m_importProfile) {
                m_importProfile();
            }
            break;
        case kProfileRequestExport:
            if (m_exportProfile) {
                m_exportProfile(lParam);
            }
            break;
        default:
            break;
    }
}

ProfileDialogLogic::ProfileDialogLogic(SettingsDatabase& store, int currentProfile,
                                       PostRequest post, Close close)
    : m_store(store),
      m_profile(currentProfile),
      m_post(std::move(post)),
      m_close(std::move(close)) {}

void ProfileDialogLogic::OnProfileClicked(int profile) {
    m_post(kProfileRequestSwitch, profile);
    m_close();
}

void ProfileDialogLogic::OnNameEdited(int profile, const std::wstring& text) {
    if (text.empty()) {
        return;
    }
    m_store.RenameProfile(profile, text);
    m_profile = profile;
    m_nameChanged = true;
}

void ProfileDialogLogic::OnImportClicked(int selectedProfile) {
    FileRequest(kProfileRequestImport, selectedProfile);
}

void ProfileDialogLogic::OnExportClicked(int selectedProfile) {
    FileRequest(kProfileRequestExport, selectedProfile);
}

void ProfileDialogLogic::FileRequest(int wParam, int selectedProfile) {
    if (m_nameChanged) {
        m_post(kProfileRequestSwitch, selectedProfile);
    }
    m_post(wParam, selectedProfile);
    m_close();
}

void ProfileDialogLogic::OnLostActivation() {
    if (m_nameChanged) {
        m_post(kProfileRequestSwitch, m_profile);
    }
    m_close();
}

}  // namespace tavik
