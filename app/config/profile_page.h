#pragma once

#include <functional>
#include <string>

namespace tavik {

class Dialogs;
class PageContext;
class SettingsDatabase;

// The main window's message for requests of the profile dialog, and its wParam values.
constexpr int kProfileRequestMessage = 1705;
constexpr int kProfileRequestSwitch = 0;  // lParam: the profile to switch to
constexpr int kProfileRequestImport = 1;  // into the current profile
constexpr int kProfileRequestExport = 2;  // lParam: the profile to write

// The profile label of the main window.
class ProfileView {
public:
    virtual ~ProfileView() = default;
    virtual void SetProfileLabel(const std::wstring& name) = 0;
};

// The profiles of the model: the choice of the current one, switching, renaming, the reset
// that belongs to the factory reset, and the main window's handling of the profile dialog's
// requests.
class ProfilePage {
public:
    using ImportProfileHandler = std::function<void()>;
    using ExportProfileHandler = std::function<void(int profile)>;

    ProfilePage(PageContext& context, ProfileView& view, Dialogs& dialogs);

    // The file operations behind the dialog's import and export buttons.
    void SetFileHandlers(ImportProfileHandler importProfile, ExportProfileHandler exportProfile);

    // Creates the four profiles of a new database, makes the active one current and shows
    // its name. False when the database has no usable profile.
    bool LoadProfiles();
    // Whether the profile dialog may open: it needs a connected device, otherwise the user
    // is told so.
    bool CanOpenProfileDialog();
    // Makes a profile current and active, shows its name and sends all its settings
    // (job 5). False, changing nothing, for an id without a profile.
    bool SwitchProfile(int profile);
    // An empty name changes nothing.
    bool RenameProfile(int profile, const std::wstring& name);
    // The store part of the factory reset: the current profile's buttons and lights go and
    // its settings return to their reset values, all in one transaction under the store
    // lock, then the mouse is reset (job 24).
    bool ResetCurrentProfile();
    // The main window's handler of message 1705.
    void OnProfileRequest(int wParam, int lParam);

private:
    PageContext& m_context;  // not owned
    ProfileView& m_view;     // not owned
    Dialogs& m_dialogs;      // not owned
    ImportProfileHandler m_importProfile;
    ExportProfileHandler m_exportProfile;
};

// What the profile dialog does with its list and buttons: it posts requests to the main
// window (message 1705) and closes. A renamed profile is switched to before anything else,
// so the main window shows the new name.
class ProfileDialogLogic {
public:
    using PostRequest = std::function<void(int wParam, int lParam)>;
    using Close = std::function<void()>;

    ProfileDialogLogic(SettingsDatabase& store, int currentProfile, PostRequest post, Close close);

    // A profile clicked in the list.
    void OnProfileClicked(int profile);
    // The in-place edit of a profile's name ended with `text`.
    void OnNameEdited(int profile, const std::wstring& text);
    void OnImportClicked(int selectedProfile);
    void OnExportClicked(int selectedProfile);
    // The dialog lost activation, for instance by a click outside it.
    void OnLostActivation();

    int ProfileId() const { return m_profile; }
    bool NameChanged() const { return m_nameChanged; }

private:
    void FileRequest(int wParam, int selectedProfile);

    SettingsDatabase& m_store;  // not owned
    int m_profile;
    bool m_nameChanged = false;
    PostRequest m_post;
    Close m_close;
};

}  // namespace tavik
