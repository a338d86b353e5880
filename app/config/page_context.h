#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace tavik {

class SettingsDatabase;

// What every page of the main window works on: the settings store, the device worker's job
// queue and the main window's state of the connected mouse. The window owns one and keeps
// its fields current; tests set them directly. The state fields may be read from the worker
// thread (the refreshes after a read run there), so they are atomic.
class PageContext {
public:
    using JobSink = std::function<void(int jobCode)>;
    using TextLookup = std::function<std::wstring(int number)>;

    // `queueJob` appends a job code to the worker's queue; `texts` looks up language texts
    // (empty: every text is empty).
    PageContext(SettingsDatabase& store, JobSink queueJob, TextLookup texts = {});

    SettingsDatabase& Store() { return m_store; }
    void QueueJob(int jobCode) const;
    std::wstring Text(int number) const;

    int CurrentProfile() const { return m_currentProfile; }
    // Also tells the profile sink, so the device worker sends from the same profile.
    void SetCurrentProfile(int profile);
    // Called with the new current profile on every SetCurrentProfile (may be empty).
    void SetProfileSink(std::function<void(int profile)> sink) { m_profileSink = std::move(sink); }
    // The device type of the catalogue (101, 102), 0 when none.
    int DeviceType() const { return m_deviceType; }
    void SetDeviceType(int deviceType) { m_deviceType = deviceType; }
    // How the mouse is connected: 0 cable, 1 through the receiver, -1 not at all.
    int DevMode() const { return m_devMode; }
    void SetDevMode(int mode) { m_devMode = mode; }
    // The mask of report rates the mouse offers, as it reported it (0 when not read).
    int ReportRateMask() const { return m_reportRateMask; }
    void SetReportRateMask(int mask) { m_reportRateMask = mask; }
    // The DPI stage the mouse last reported as current.
    int CachedDpiIndex() const { return m_cachedDpiIndex; }
    void SetCachedDpiIndex(int index) { m_cachedDpiIndex = index; }
    // Whether a device is listed as connected (the profile dialog needs one).
    bool DeviceConnected() const { return m_deviceConnected; }
    void SetDeviceConnected(bool connected) { m_deviceConnected = connected; }
    // The window's scale factor (1.0 at 96 DPI).
    double ScaleFactor() const { return m_scaleFactor; }
    void SetScaleFactor(double scale) { m_scaleFactor = scale; }

    // The current profile's configuration value of key; empty when it has none.
    std::wstring Config(std::wstring_view key);
    // The value read as a decimal number (ReadDecimal); `fallback` when the key has no row.
    int ConfigNumber(std::wstring_view key, int fallback);
    bool SetConfig(std::wstring_view key, std::wstring_view value);
    bool SetConfig(std::wstring_view key, int value);

private:
    SettingsDatabase& m_store;  // not owned
    JobSink m_queueJob;
    TextLookup m_texts;
    std::function<void(int)> m_profileSink;
    std::atomic<int> m_currentProfile{0};
    std::atomic<int> m_deviceType{0};
    std::atomic<int> m_devMode{-1};
    std::atomic<int> m_reportRateMask{0};
    std::atomic<int> m_cachedDpiIndex{-1};
    std::atomic<bool> m_deviceConnected{false};
    std::atomic<double> m_scaleFactor{1.0};
};

// Reads text the way the pages read typed and stored numbers: leading blanks, an optional
// sign, then digits up to the first other character; no digits give 0, and a number past the
// range of int gives the nearest end of that range.
int ReadDecimal(std::wstring_view text);

// "%d" formatting of a number as wide text.
std::wstring DecimalText(int value);

}  // namespace tavik
