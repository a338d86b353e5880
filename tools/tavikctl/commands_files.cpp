#include <filesystem>

#include "app/common/text_encoding.h"
#include "app/config/file_values.h"
#include "app/config/macro_file.h"
#include "app/config/macro_list.h"
#include "app/config/profile_page.h"
#include "app/config/text_snippets.h"
#include "tools/tavikctl/commands.h"
#include "tools/tavikctl/session.h"
#include "tools/tavikctl/settable_keys.h"
#include "tools/tavikctl/usage.h"

namespace tavik::tavikctl {

namespace {

bool FindMacro(Session& session, const std::string& text, MacroRecord& macro) {
    int id = 0;
    return ParseInteger(text, id) && id > 0 && session.Store().GetMacro(id, macro);
}

bool ReadableFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::u8path(path), error);
}

int ImportMacroCommand(Session& session, const std::string& path) {
    if (!ReadableFile(path)) {
        return Refuse(session, "cannot import \"" + Printable(path) + "\": no such file");
    }
    const MacroImport imported = ImportMacroFile(session.Store(), Utf8ToWide(path));
    switch (imported.result) {
        case FileResult::kDone:
            session.Out() << "macro " << imported.macroId << " imported as "
                          << WideToUtf8(imported.name) << " (" << imported.eventCount
                          << " events)\n";
            return kExitSuccess;
        case FileResult::kStoreFailed:
            return Refuse(session, "the settings database refused the macro; nothing stored");
        default:
            return Refuse(session, "cannot import \"" + Printable(path) +
                                       "\": not a readable macro file; nothing stored");
    }
}

int ExportMacroCommand(Session& session, const std::string& idText, const std::string& path) {
    MacroRecord macro;
    int id = 0;
    if (!ParseInteger(idText, id) || id <= 0 || !session.Store().GetMacro(id, macro)) {
        return Refuse(session, "ID must be the id of a stored macro (tavikctl macro list)");
    }
    const FileResult result = ExportMacroFile(
        session.Store(), id, DisplayedMacroName(macro.name, session.Context()), Utf8ToWide(path));
    if (result != FileResult::kDone) {
        return Refuse(session, "cannot write \"" + Printable(path) + "\"");
    }
    session.Out() << "macro " << id << " exported\n";
    return kExitSuccess;
}

}  // namespace

int CommandMacro(Session& session, const Operands& operands) {
    const std::string& action = operands[0];
    SettingsDatabase& store = session.Store();
    std::ostream& out = session.Out();
    if (action == "list" && operands.size() == 1) {
        std::vector<MacroRecord> macros;
        store.ListMacros(macros);
        if (session.Opts().json) {
            out << '[';
        }
        for (size_t at = 0; at < macros.size(); ++at) {
            const MacroRecord& macro = macros[at];
            std::vector<MacroEvent> events;
            const int count = store.ListMacroEvents(macro.macroId, events);
            if (session.Opts().json) {
                out << (at > 0 ? "," : "") << "{\"id\":" << macro.macroId
                    << ",\"name\":" << JsonString(WideToUtf8(macro.name)) << ",\"events\":" << count
                    << '}';
            } else {
                out << macro.macroId << ' ' << WideToUtf8(macro.name) << " (" << count
                    << " events)\n";
            }
        }
        if (session.Opts().json) {
            out << "]\n";
        }
        return kExitSuccess;
    }
    if (action == "show" && operands.size() == 2) {
        MacroRecord macro;
        if (!FindMacro(session, operands[1], macro)) {
            return Refuse(session, "ID must be the id of a stored macro (tavikctl macro list)");
        }
        std::vector<MacroEvent> events;
        store.ListMacroEvents(macro.macroId, events);
        out << "macro " << macro.macroId << ' ' << WideToUtf8(macro.name)
            << ": play_type=" << macro.playType << " play_times=" << macro.playTimes
            << " delay_type=" << macro.delayType << " delay_time=" << macro.delayTime << '\n';
        for (const MacroEvent& event : events) {
            out << event.recordIndex << " type=" << event.type << " value=" << event.value
                << " delay=" << event.delayTime << ' ' << WideToUtf8(event.description) << '\n';
        }
        return kExitSuccess;
    }
    if (action == "import" && operands.size() == 2) {
        return ImportMacroCommand(session, operands[1]);
    }
    if (action == "export" && operands.size() == 3) {
        return ExportMacroCommand(session, operands[1], operands[2]);
    }
    if (action == "delete" && operands.size() == 2) {
        MacroRecord macro;
        if (!FindMacro(session, operands[1], macro)) {
            return Refuse(session, "ID must be the id of a stored macro (tavikctl macro list)");
        }
        if (!DeleteMacro(session.Context(), macro.macroId)) {
            return Refuse(session, "the settings database refused to delete macro " + operands[1]);
        }
        // The mouse forgets it with the next macro image, which the delete queued.
        return ReportDone(session, session.RunQueuedJobs(), "macro " + operands[1] + " deleted");
    }
    return Refuse(session, OneLineUsage("macro"));
}

int CommandText(Session& session, const Operands& operands) {
    const std::string& action = operands[0];
    if (action == "list" && operands.size() == 1) {
        std::vector<NamedRecord> texts;
        session.Store().ListTexts(texts);
        for (const NamedRecord& text : texts) {
            session.Out() << text.id << ' ' << WideToUtf8(text.name) << ": "
                          << Printable(WideToUtf8(text.text)) << '\n';
        }
        return kExitSuccess;
    }
    if (action == "add" && operands.size() == 3) {
        if (operands[1].empty()) {
            return Refuse(session, "NAME must not be empty");
        }
        const std::wstring content = Utf8ToWide(operands[2]);
        if (SnippetLength(content) > kSnippetLengthLimit) {
            return Refuse(session, "TEXT must be at most " + std::to_string(kSnippetLengthLimit) +
                                       " characters");
        }
        const int id = AddSnippet(session.Store(), Utf8ToWide(operands[1]), content);
        if (id == 0) {
            return Refuse(session, "the settings database refused the text");
        }
        session.Out() << "text " << id << " added\n";
        return kExitSuccess;
    }
    if (action == "delete" && operands.size() == 2) {
        int id = 0;
        std::wstring name;
        if (!ParseInteger(operands[1], id) || id <= 0 || !session.Store().GetTextName(id, name)) {
            return Refuse(session, "ID must be the id of a stored text (tavikctl text list)");
        }
        if (!session.Store().DeleteText(id)) {
            return Refuse(session, "the settings database refused to delete text " + operands[1]);
        }
        session.Out() << "text " << id << " deleted\n";
        return kExitSuccess;
    }
    return Refuse(session, OneLineUsage("text"));
}

int ProfileFileCommand(Session& session, const Operands& operands) {
    // The profile dialog's import and export buttons, with the command's file as the one
    // the file dialog gives.
    const bool import = operands[0] == "import";
    const std::string& path = import ? operands[1] : operands[2];
    int profile = session.Profile();
    if (!import) {
        std::vector<NamedRecord> profiles;
        session.Store().ListProfiles(profiles);
        const int last = profiles.empty() ? 0 : profiles.back().id;
        std::wstring name;
        if (!ParseInteger(operands[1], profile) || profile < 1 || profile > last ||
            !session.Store().GetProfileName(profile, name)) {
            return Refuse(session, "N must be 1 to " + std::to_string(last));
        }
    } else if (!ReadableFile(path)) {
        return Refuse(session, "cannot import \"" + Printable(path) + "\": no such file");
    }
    CommandDialogs& answers = session.CommandAnswers();
    answers.file = Utf8ToWide(path);
    answers.messages.clear();
    session.Profiles().OnProfileRequest(import ? kProfileRequestImport : kProfileRequestExport,
                                        profile);
    if (!answers.messages.empty()) {
        return Refuse(session, import ? "cannot import \"" + Printable(path) +
                                            "\": not a readable profile file; nothing changed"
                                      : "cannot write \"" + Printable(path) + "\"");
    }
    if (!import) {
        session.Out() << "profile " << profile << " exported\n";
        return kExitSuccess;
    }
    if (session.QueuedJobs().empty()) {
        session.Out() << "profile " << profile << " imported\n";
        return kExitSuccess;
    }
    return ReportDone(session, session.RunQueuedJobs(),
                      "profile " + std::to_string(profile) + " imported");
}

}  // namespace tavik::tavikctl
