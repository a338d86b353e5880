#include "app/config/profile_transfer.h"

#include <optional>
#include <string>

#include "app/config/dialogs.h"
#include "app/config/macro_page.h"
#include "app/config/page_context.h"
#include "app/config/profile_file.h"
#include "app/device/job_queue.h"

namespace tavik {

void ProfileTransfer::ImportProfile() {
    const std::optional<std::wstring> path =
        m_dialogs.ChooseFileToOpen(file_filter::ProfileImport());
    if (!path) {
        return;
    }
    const ProfileFileDevice device{m_context.DeviceType(), !m_hasLighting || m_hasLighting()};
    if (ImportProfileFile(m_context.Store(), m_context.CurrentProfile(), device, *path, nullptr) !=
        FileResult::kDone) {
        m_dialogs.Message(kFileImportTitleText, kFileNotImportedText);
        return;
    }
    if (device.deviceType <= kLastDeviceTypeSentAfterImport) {
        m_context.QueueJob(job::kSendAllSettings);
    }
}

void ProfileTransfer::ExportProfile(int profile) {
    const std::optional<std::wstring> path =
        m_dialogs.ChooseFileToSave(file_filter::ProfileExport());
    if (!path) {
        return;
    }
    const ProfileFileDevice device{m_context.DeviceType(), !m_hasLighting || m_hasLighting()};
    if (ExportProfileFile(m_context.Store(), profile, device, *path) != FileResult::kDone) {
        m_dialogs.Message(kFileExportTitleText, kFileNotSavedText);
    }
}

}  // namespace tavik
