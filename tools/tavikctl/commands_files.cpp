#include "app/common/text_encoding.h"
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
    return Refuse(session, OneLineUsage("text"));
}

}  // namespace tavik::tavikctl
