#pragma once

#include <string>

#include "app/config/file_values.h"

namespace tavik {

class CXmlDoc;
class JobQueue;
class SettingsDatabase;

// The mouse a profile file is exported from or imported into.
struct ProfileFileDevice {
    int deviceType = 0;       // the catalogue's device type (101, 102)
    bool hasLighting = true;  // the file carries `Lightitems` only for a mouse with lighting
};

// The largest device type whose mouse gets the imported profile at once (job 5).
constexpr int kLastDeviceTypeSentAfterImport = 200;

// Builds the profile file of one stored profile into doc: its shown name, its button
// assignments of layer 0, its lights (with lighting) and its configuration values.
void BuildProfileDocument(SettingsDatabase& database, int profile, const ProfileFileDevice& device,
                          CXmlDoc& doc);

// Writes the profile file of `profile` to path (UTF-8, CR LF).
FileResult ExportProfileFile(SettingsDatabase& database, int profile,
                             const ProfileFileDevice& device, const std::wstring& path);

// Reads a profile file into `profile` in one transaction, so a failure leaves the profile as
// it was. A file that cannot be read, is not well-formed or has no top-level `profile`
// element changes nothing. The file's name is not applied; its assignments replace all of
// the profile's; light rows and configuration values are replaced field by field, and a
// field that is absent or out of range keeps its stored value. On success with a device type
// up to kLastDeviceTypeSentAfterImport, job 5 is queued when jobs is given.
FileResult ImportProfileFile(SettingsDatabase& database, int profile,
                             const ProfileFileDevice& device, const std::wstring& path,
                             JobQueue* jobs);
// The same for a document already loaded.
FileResult ImportProfileDocument(SettingsDatabase& database, int profile,
                                 const ProfileFileDevice& device, CXmlDoc& doc, JobQueue* jobs);

}  // namespace tavik
