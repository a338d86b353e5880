#pragma once

// One fuzz input run through CXmlDoc: shared by the libFuzzer target and by the test that
// replays every input the fuzzer ever crashed on, so both do exactly the same thing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/common/text_encoding.h"
#include "app/services/xml_doc.h"

namespace tavik::fuzz {

// The attributes a walk reads: the names the edits set, and common ones of real files.
constexpr const wchar_t* kWalkedAttributes[] = {L"a", L"id", L"name", L"x", L"encoding"};

// Everything a reader sees: tags, nesting and the walked attributes' values.
inline void WalkLevel(CXmlDoc& doc, std::wstring& out, int depth) {
    while (doc.FindElement(L"")) {
        out += L'<';
        out += doc.GetTagName();
        for (const wchar_t* name : kWalkedAttributes) {
            out += L'|';
            out += doc.GetAttribute(name);
        }
        // The walk is bounded by the document's own nesting limit; the guard only keeps a
        // broken index from recursing without end.
        if (depth <= CXmlDoc::kMaxNestingLevel && doc.EnterElement()) {
            WalkLevel(doc, out, depth + 1);
            doc.LeaveElement();
        }
        out += L'>';
    }
}

inline std::wstring WalkAll(CXmlDoc& doc) {
    doc.ResetPosition();
    std::wstring out;
    WalkLevel(doc, out, 0);
    return out;
}

// A small deterministic generator so that one input always makes the same edits.
class EditChooser {
public:
    EditChooser(const uint8_t* data, size_t size) {
        for (size_t index = 0; index < size; ++index) {
            m_state = (m_state ^ data[index]) * 0x100000001B3ull;
        }
    }
    uint32_t Next(uint32_t bound) {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return bound == 0 ? 0 : static_cast<uint32_t>(m_state % bound);
    }

private:
    uint64_t m_state = 0xCBF29CE484222325ull;
};

inline std::wstring WideFromUnits(const uint8_t* data, size_t size, size_t unitBytes) {
    std::wstring text;
    for (size_t index = 0; index + unitBytes <= size; index += unitBytes) {
        uint32_t unit = 0;
        for (size_t byte = 0; byte < unitBytes; ++byte) {
            unit |= static_cast<uint32_t>(data[index + byte]) << (8 * byte);
        }
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}

// Runs one input. Returns false when the document contradicts itself (an edited well-formed
// document reads differently after parsing its text again, or a saved file with a byte-order
// mark does not load back to the same text); a crash is caught by the sanitizers.
inline bool ExerciseXmlDoc(const uint8_t* data, size_t size, const std::wstring& scratchPath) {
    if (size == 0) {
        return true;
    }
    const uint8_t mode = data[0];
    const uint8_t* payload = data + 1;
    const size_t payloadSize = size - 1;
    const std::string_view bytes(reinterpret_cast<const char*>(payload), payloadSize);

    CXmlDoc doc;
    switch (mode & 3) {
        case 0:
            doc.LoadBytes(bytes);
            break;
        case 1:
            doc.SetDocText(Utf8ToWide(bytes));
            break;
        case 2:
            doc.SetDocText(WideFromUnits(payload, payloadSize, 2));
            break;
        default:
            doc.SetDocText(WideFromUnits(payload, payloadSize, sizeof(wchar_t)));
            break;
    }
    const bool wellFormed = doc.IsWellFormed();
    WalkAll(doc);
    doc.GetResult();

    if (mode & 4) {
        static const wchar_t* const kNames[] = {L"a", L"x", L"item", L"name", L"bad name", L""};
        std::wstring inputValue = Utf8ToWide(bytes.substr(0, 24));
        // A NUL in a value would be dropped by a reload; the walk compares against a reparse
        // of the same text, which keeps it, but the save check below would not.
        for (wchar_t& c : inputValue) {
            if (c == L'\0') {
                c = L'0';
            }
        }
        const std::wstring values[] = {L"", L"1", L"<&>\"'", L"a\r\nb", inputValue};
        EditChooser chooser(payload, payloadSize);
        doc.ResetPosition();
        for (int step = 0; step < 12; ++step) {
            const wchar_t* name = kNames[chooser.Next(std::size(kNames))];
            const std::wstring& value = values[chooser.Next(std::size(values))];
            switch (chooser.Next(6)) {
                case 0:
                    doc.FindElement(L"");
                    break;
                case 1:
                    doc.EnterElement();
                    break;
                case 2:
                    doc.LeaveElement();
                    break;
                case 3:
                    doc.AddElement(name, value);
                    break;
                case 4:
                    doc.SetAttribute(name, value);
                    break;
                default:
                    doc.FindElement(name);
                    break;
            }
        }
        if (wellFormed) {
            CXmlDoc reparsed;
            reparsed.SetDocText(doc.GetDocText());
            if (WalkAll(reparsed) != WalkAll(doc)) {
                return false;
            }
        }
    }

    if (mode & 8) {
        if (doc.SaveFile(scratchPath)) {
            CXmlDoc reloaded;
            reloaded.LoadFile(scratchPath);
            const bool marked = doc.GetDocFlags() != 0;
            bool hasNul = doc.GetDocText().find(L'\0') != std::wstring::npos;
            if (marked && !hasNul && (mode & 3) == 0 && reloaded.GetDocText() != doc.GetDocText()) {
                return false;
            }
            WalkAll(reloaded);
        }
    }
    return true;
}

}  // namespace tavik::fuzz
