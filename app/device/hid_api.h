#pragma once

#include <hidapi/hidapi.h>

#include <cstddef>
#include <functional>

namespace tavik {

// The seam between the device link and the HID library: the hidapi calls it uses,
// with hidapi's own types and meanings. The real table forwards to hidapi (hidraw on Linux,
// the Windows backend under mingw); the device simulator and the tests' scripted stand-in
// fill the table with their own functions, allocating their own hid_device_info lists and
// opaque hid_device handles.
//
// Meanings every implementation keeps: enumerate(0, 0) lists all interfaces and the list is
// released with freeEnumeration; openPath gives null on failure; write returns the bytes
// written or -1; readTimeout returns the bytes read (report ID first), 0 when the time-out
// passes, -1 on error; getProductString returns 0 on success and -1 on error; getDeviceInfo
// gives the opened interface's record (owned by the handle) or null.
struct HidApi {
    // Set up and release the library (hid_init, hid_exit); empty for stand-ins.
    std::function<int()> init;
    std::function<int()> exit;
    std::function<hid_device_info*(unsigned short vendorId, unsigned short productId)> enumerate;
    std::function<void(hid_device_info* list)> freeEnumeration;
    std::function<hid_device*(const char* path)> openPath;
    std::function<int(hid_device* device, const unsigned char* data, size_t length)> write;
    std::function<int(hid_device* device, unsigned char* data, size_t length, int milliseconds)>
        readTimeout;
    std::function<int(hid_device* device, wchar_t* text, size_t maxChars)> getProductString;
    std::function<hid_device_info*(hid_device* device)> getDeviceInfo;
    std::function<void(hid_device* device)> close;
};

// The table of the real hidapi functions.
HidApi RealHidApi();

}  // namespace tavik
