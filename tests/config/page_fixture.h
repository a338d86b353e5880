#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/config/page_context.h"
#include "app/device/job_queue.h"
#include "tests/config/recording_views.h"
#include "tests/config/scripted_dialogs.h"
#include "tests/device/worker_fixture.h"

namespace tavik::test {

// A page under test: a real store with its four profiles, the device worker on the simulator
// taking the jobs the page queues, scripted dialogs and a log of every control call.
class PageTest : public WorkerTest {
protected:
    PageTest()
        : m_context(
              m_database,
              [this](int code) {
                  m_queued.push_back(code);
                  m_worker->QueueJob(code);
              },
              [](int number) { return L"T" + std::to_wstring(number); }) {}

    void SetUp() override {
        WorkerTest::SetUp();
        // Start-up as the main window does it: the first full read creates the profiles and
        // leaves the simulated mouse connected for the jobs the page queues.
        StartUp();
        RunQueue();
        ASSERT_GT(m_worker->MouseState().currentProfile, 0);
        m_context.SetProfileSink([this](int profile) {
            m_worker->ChangeMouseState(
                [profile](ConnectedMouseState& state) { state.currentProfile = profile; });
        });
        m_context.SetCurrentProfile(m_worker->MouseState().currentProfile);
        m_context.SetDeviceType(102);
        m_context.SetDevMode(0);
    }

    // The jobs the page queued since the last ClearJobs, in order.
    const std::vector<int>& Jobs() const { return m_queued; }
    void ClearJobs() { m_queued.clear(); }

    std::wstring Stored(const std::wstring& key) {
        std::wstring value;
        m_database.GetConfigValue(m_context.CurrentProfile(), key, value);
        return value;
    }
    void Store(const std::wstring& key, const std::wstring& value) {
        ASSERT_TRUE(m_database.SetConfigValue(m_context.CurrentProfile(), key, value));
    }

    std::vector<int> m_queued;
    ControlLog m_log;
    ScriptedDialogs m_dialogs;
    PageContext m_context;
};

}  // namespace tavik::test
