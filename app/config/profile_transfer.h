#pragma once

#include <functional>

namespace tavik {

class Dialogs;
class PageContext;

// The import and export buttons of the profile dialog (message 1705 with wParam 1 and 2):
// the file dialogs, the profile file and the messages about files that failed.
class ProfileTransfer {
public:
    // hasLighting tells whether the current mouse has lighting (its description says so).
    ProfileTransfer(PageContext& context, Dialogs& dialogs, std::function<bool()> hasLighting)
        : m_context(context), m_dialogs(dialogs), m_hasLighting(std::move(hasLighting)) {}

    // Reads a chosen file into the current profile and queues job 5 so that the mouse gets
    // it. A file that could not be imported changes nothing and the user is told.
    void ImportProfile();
    // Writes the given profile (its name, buttons, lights and values) to a chosen file; a
    // file that could not be saved is reported.
    void ExportProfile(int profile);

private:
    PageContext& m_context;  // not owned
    Dialogs& m_dialogs;      // not owned
    std::function<bool()> m_hasLighting;
};

}  // namespace tavik
