#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/device/hid_api.h"

namespace tavik::device_test {

using Report = std::vector<unsigned char>;

// A stand-in for hidapi driven by the test: interfaces with their enumeration records,
// reports waiting to be read, and a hook that answers written reports. Reads never wait.
class ScriptedHid {
public:
    struct Interface {
        std::string path;
        uint16_t vendorId = 0;
        uint16_t productId = 0;
        uint16_t usagePage = 0;
        uint16_t usage = 0;
        uint16_t releaseNumber = 0;
        std::wstring product;
        bool openable = true;
        // Called for every report written to the interface; may queue replies in `input`.
        std::function<void(Interface& self, const Report& written)> onWrite;
        std::deque<Report> input;
        std::vector<Report> written;
        int opens = 0;
        int closes = 0;
        int openHandles = 0;
        int reads = 0;
    };

    ScriptedHid();

    Interface& Add(const std::string& path, uint16_t vendorId, uint16_t productId,
                   uint16_t usagePage, uint16_t usage);
    void Remove(const std::string& path);
    Interface& At(const std::string& path);
    // Serialises a test thread's changes against the manager's calls.
    std::unique_lock<std::recursive_mutex> Lock();
    int OpenHandleCount();
    int EnumerationsLive();
    // Writes, reads and closes that named a handle already closed.
    int CallsOnClosedHandles();

    HidApi Api();

private:
    struct Handle {
        std::string path;
        bool closed = false;
    };
    struct State {
        std::recursive_mutex lock;  // guards everything in State
        std::map<std::string, Interface> interfaces;
        std::vector<std::string> order;
        std::vector<std::unique_ptr<Handle>> handles;
        int enumerationsLive = 0;
        int callsOnClosedHandles = 0;
    };
    std::shared_ptr<State> m_state;
};

// The reply the mouse gives to the device-information command.
Report DeviceInformationReply(unsigned char build, unsigned char version, unsigned char battery,
                              unsigned char charging);
// An onWrite hook that answers the device-information command with `reply`.
std::function<void(ScriptedHid::Interface&, const Report&)> AnswerProbe(Report reply);

}  // namespace tavik::device_test
