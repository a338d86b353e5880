#include "app/config/page_context.h"

#include <climits>
#include <utility>

#include "app/store/settings_database.h"

namespace tavik {

PageContext::PageContext(SettingsDatabase& store, JobSink queueJob, TextLookup texts)
    : m_store(store), m_queueJob(std::move(queueJob)), m_texts(std::move(texts)) {}

void PageContext::QueueJob(int jobCode) const {
    if (m_queueJob) {
        m_queueJob(jobCode);
    }
}

void PageContext::SetCurrentProfile(int profile) {
    m_currentProfile = profile;
    if (m_profileSink) {
        m_profileSink(profile);
    }
}

std::wstring PageContext::Text(int number) const {
    return m_texts ? m_texts(number) : std::wstring();
}

std::wstring PageContext::Config(std::wstring_view key) {
    std::wstring value;
    m_store.GetConfigValue(m_currentProfile, key, value);
    return value;
}

int PageContext::ConfigNumber(std::wstring_view key, int fallback) {
    std::wstring value;
    if (!m_store.GetConfigValue(m_currentProfile, key, value)) {
        return fallback;
    }
    return ReadDecimal(value);
}

bool PageContext::SetConfig(std::wstring_view key, std::wstring_view value) {
    return m_store.SetConfigValue(m_currentProfile, key, value);
}

bool PageContext::SetConfig(std::wstring_view key, int value) {
    return SetConfig(key, DecimalText(value));
}

int ReadDecimal(std::wstring_view text) {
    size_t at = 0;
    while (at < text.size() &&
           (text[at] == L' ' || text[at] == L'\t' || text[at] == L'\r' || text[at] == L'\n')) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+')) {
        negative = text[at] == L'-';
        ++at;
    }
    long long value = 0;
    for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
        value = value * 10 + (text[at] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return static_cast<int>(value < INT_MIN ? INT_MIN : value);
}

std::wstring DecimalText(int value) {
    return std::to_wstring(value);
}

}  // namespace tavik
