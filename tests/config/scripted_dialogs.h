#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/config/dialogs.h"

namespace tavik::test {

// Dialogs that answer from scripts queued by the test and record every request. An empty
// script answers as a user who closes the dialog: no answer (0), no colour, no file.
class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { kConfirm, kMessage, kPickColour, kOpenFile, kSaveFile };
    struct Request {
        Kind kind = Kind::kConfirm;
        int titleText = 0;
        int messageText = 0;
        int style = 0;
        std::uint32_t initialColour = 0;
        FileFilter filter;
    };

    std::deque<int> answers;
    std::deque<std::optional<std::uint32_t>> colours;
    std::deque<std::optional<std::wstring>> files;
    std::vector<Request> requests;

    int Confirm(int titleText, int messageText, int style) override {
        requests.push_back({Kind::kConfirm, titleText, messageText, style, 0, {}});
        return Take(answers, 0);
    }
    void Message(int titleText, int messageText) override {
        requests.push_back({Kind::kMessage, titleText, messageText, kMessageStyleOneButton, 0, {}});
    }
    std::optional<std::uint32_t> PickColour(std::uint32_t initial) override {
        requests.push_back({Kind::kPickColour, 0, 0, 0, initial, {}});
        return Take(colours, std::optional<std::uint32_t>());
    }
    std::optional<std::wstring> ChooseFileToOpen(const FileFilter& filter) override {
        requests.push_back({Kind::kOpenFile, 0, 0, 0, 0, filter});
        return Take(files, std::optional<std::wstring>());
    }
    std::optional<std::wstring> ChooseFileToSave(const FileFilter& filter) override {
        requests.push_back({Kind::kSaveFile, 0, 0, 0, 0, filter});
        return Take(files, std::optional<std::wstring>());
    }

private:
    template <typename T>
    static T Take(std::deque<T>& script, T whenEmpty) {
        if (script.empty())
            return whenEmpty;
        T front = script.front();
        script.pop_front();
        return front;
    }
};

}  // namespace tavik::test
