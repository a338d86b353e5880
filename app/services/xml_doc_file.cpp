#include "app/services/xml_doc.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/common/text_encoding.h"
#include "app/services/xml_doc_encoding.h"
#include "app/services/xml_doc_markup.h"

// Reading and writing files: byte-order marks, declared encodings and conversions.
namespace tavik {
namespace {

using namespace xml_markup;

constexpr size_t kEncodingProbeBytes = 1024;

#ifdef _WIN32
FILE* OpenFile(const std::wstring& path, bool write) {
    return _wfopen(path.c_str(), write ? L"wb" : L"rb");
}
#else
FILE* OpenFile(const std::wstring& path, bool write) {
    return std::fopen(WideToUtf8(path).c_str(), write ? "wb" : "rb");
}
#endif

// Reads a whole file, refusing files over the size limit. Returns 0 or an errno value.
int ReadWholeFile(const std::wstring& path, std::string* bytes) {
    errno = 0;
    FILE* file = OpenFile(path, false);
    if (file == nullptr) {
        return errno != 0 ? errno : ENOENT;
    }
    int error = 0;
    char buffer[65536];
    for (;;) {
        const size_t count = std::fread(buffer, 1, sizeof(buffer), file);
        if (count > 0) {
            if (bytes->size() + count > CXmlDoc::kMaxFileBytes) {
                error = EFBIG;
                break;
            }
            bytes->append(buffer, count);
        }
        if (count < sizeof(buffer)) {
            if (std::ferror(file)) {
                error = errno != 0 ? errno : EIO;
            }
            break;
        }
    }
    std::fclose(file);
    return error;
}

}  // namespace

void CXmlDoc::LogFileError(int error) {
    std::wstring message = Utf8ToWide(std::strerror(error));
    const size_t lineEnd = message.find_first_of(L"\r\n");
    if (lineEnd != std::wstring::npos) {
        message.resize(lineEnd);
    }
    Log(L"file_error", {{L"msg", message}, {L"n", std::to_wstring(error)}});
}

bool CXmlDoc::LoadFile(const std::wstring& path) {
    m_result.clear();
    std::string bytes;
    const int error = ReadWholeFile(path, &bytes);
    if (error != 0) {
        m_text.clear();
        m_docFlags = 0;
        ResetCursor();
        ClearIndex();
        MarkNotWellFormed();
        LogFileError(error);
        return false;
    }
    return Decode(bytes);
}

bool CXmlDoc::LoadBytes(std::string_view bytes) {
    m_result.clear();
    if (bytes.size() > kMaxFileBytes) {
        m_text.clear();
        m_docFlags = 0;
        ResetCursor();
        ClearIndex();
        MarkNotWellFormed();
        LogFileError(EFBIG);
        return false;
    }
    return Decode(bytes);
}

bool CXmlDoc::Decode(std::string_view bytes) {
    m_docFlags = 0;
    ResetCursor();
    std::wstring encodingName;
    int codePage = 0;
    bool determined = false;
    bool utf16 = false;
    bool bigEndian = false;
    std::string_view data = bytes;
    if (data.substr(0, 3) == "\xEF\xBB\xBF") {
        encodingName = L"UTF-8";
        codePage = kCodePageUtf8;
        determined = true;
        m_docFlags = kDocFlagUtf8Mark;
        data.remove_prefix(3);
        Log(L"bom");
    } else if (data.substr(0, 2) == "\xFF\xFE") {
        encodingName = L"UTF-16LE";
        utf16 = true;
        m_docFlags = kDocFlagUtf16LittleEndianMark;
        data.remove_prefix(2);
        Log(L"bom");
    } else if (data.substr(0, 2) == "\xFE\xFF") {
        encodingName = L"UTF-16BE";
        utf16 = true;
        bigEndian = true;
        m_docFlags = kDocFlagUtf16BigEndianMark;
        data.remove_prefix(2);
        Log(L"bom");
    } else {
        CXmlDoc probe;
        probe.SetDocText(Utf8ToWide(data.substr(0, kEncodingProbeBytes)));
        encodingName = probe.DeclaredEncoding();
        if (!encodingName.empty()) {
            codePage = CodePageFromName(encodingName);
            determined = true;
        } else if (!data.empty() && data[0] == '<') {
            encodingName = L"UTF-8";
            codePage = kCodePageUtf8;
            determined = true;
        }
    }

    if (utf16) {
        // A trailing odd byte is half a unit and is dropped.
        std::u16string units;
        units.reserve(data.size() / 2);
        size_t nulls = 0;
        for (size_t index = 0; index + 1 < data.size(); index += 2) {
            const auto first = static_cast<unsigned char>(data[index]);
            const auto second = static_cast<unsigned char>(data[index + 1]);
            const auto unit =
                static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
            if (unit == 0) {
                ++nulls;
            } else {
                units.push_back(unit);
            }
        }
        if (nulls > 0) {
            Log(L"nulls_removed", {{L"count", std::to_wstring(nulls)}});
        }
        if (bigEndian) {
            Log(L"endian_swap");
        }
        Log(L"read", {{L"encoding", encodingName}, {L"length", std::to_wstring(units.size())}});
        m_text = WideFromUtf16(units);
    } else {
        std::string kept;
        kept.reserve(data.size());
        for (const char byte : data) {
            if (byte != '\0') {
                kept.push_back(byte);
            }
        }
        if (kept.size() != data.size()) {
            Log(L"nulls_removed", {{L"count", std::to_wstring(data.size() - kept.size())}});
        }
        Log(L"read", {{L"encoding", encodingName}, {L"length", std::to_wstring(kept.size())}});
        if (!determined) {
            Log(L"utf8_detection");
            if (IsValidUtf8(kept)) {
                codePage = kCodePageUtf8;
            }
        }
        if (codePage == 0) {
            codePage = kCodePageAnsi;
        }
        m_text = DecodeCodePage(kept, codePage);
        Log(L"converted_to",
            {{L"encoding", L"UTF-16"}, {L"length", std::to_wstring(m_text.size())}});
    }
    Index();
    return IsWellFormed();
}

std::wstring CXmlDoc::DeclaredEncoding() const {
    std::wstring name = XmlDeclarationEncoding(m_text);
    if (name.empty()) {
        name = HtmlCharset();
    }
    return name;
}

// The charset of an HTML page: the content attribute of a meta element whose http-equiv is
// "Content-Type", inside the head of a text whose first element is html.
std::wstring CXmlDoc::HtmlCharset() const {
    const Handle html = Record(0).firstChild;
    if (html == 0 || !EqualsIgnoringAsciiCase(TagName(html), L"html")) {
        return {};
    }
    Handle head = Record(html).firstChild;
    while (head != 0 && !EqualsIgnoringAsciiCase(TagName(head), L"head")) {
        head = Record(head).nextSibling;
    }
    if (head == 0) {
        return {};
    }
    for (Handle meta = Record(head).firstChild; meta != 0; meta = Record(meta).nextSibling) {
        if (!EqualsIgnoringAsciiCase(TagName(meta), L"meta") ||
            !EqualsIgnoringAsciiCase(AttributeValue(meta, L"http-equiv"), L"Content-Type")) {
            continue;
        }
        const std::wstring content = AttributeValue(meta, L"content");
        const size_t charset = FindIgnoringAsciiCase(content, L"charset");
        if (charset == kNotFound) {
            continue;
        }
        size_t index = charset + 7;
        while (index < content.size() && IsSpace(content[index])) {
            ++index;
        }
        if (index >= content.size() || content[index] != L'=') {
            continue;
        }
        ++index;
        while (index < content.size() && IsSpace(content[index])) {
            ++index;
        }
        size_t end = index;
        while (end < content.size() && !IsSpace(content[end]) && content[end] != L';' &&
               content[end] != L'"' && content[end] != L'\'') {
            ++end;
        }
        return content.substr(index, end - index);
    }
    return {};
}

bool CXmlDoc::SaveFile(const std::wstring& path) {
    m_result.clear();
    std::wstring encodingName = DeclaredEncoding();
    if (encodingName.empty()) {
        encodingName = L"UTF-8";
    }
    const int codePage = CodePageFromName(encodingName);
    std::string bytes;
    const bool utf8Mark = (m_docFlags & kDocFlagUtf8Mark) != 0;
    const bool littleEndianMark = (m_docFlags & kDocFlagUtf16LittleEndianMark) != 0;
    const bool bigEndianMark = (m_docFlags & kDocFlagUtf16BigEndianMark) != 0;
    // A file declared UTF-16 gets a byte-order mark even when it was built here, since a
    // UTF-16 file without one cannot be read back.
    const bool declaredUtf16 = codePage == kCodePageUtf16Le || codePage == kCodePageUtf16Be;
    if (littleEndianMark || bigEndianMark || (!utf8Mark && declaredUtf16)) {
        const bool bigEndian = bigEndianMark || (!littleEndianMark && codePage == kCodePageUtf16Be);
        encodingName = bigEndian ? L"UTF-16BE" : L"UTF-16LE";
        bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        const std::u16string units = Utf16FromWide(m_text);
        bytes.reserve(bytes.size() + units.size() * 2);
        for (const char16_t unit : units) {
            const auto low = static_cast<char>(unit & 0xFF);
            const auto high = static_cast<char>(unit >> 8);
            bytes.push_back(bigEndian ? high : low);
            bytes.push_back(bigEndian ? low : high);
        }
        if (bigEndian) {
            Log(L"endian_swap");
        }
    } else {
        // The mark decides how the file is read back, so a file that had the UTF-8 mark is
        // written in UTF-8 whatever its declaration says.
        int targetCodePage = utf8Mark ? kCodePageUtf8 : (codePage == 0 ? kCodePageAnsi : codePage);
        if (utf8Mark) {
            encodingName = L"UTF-8";
            bytes = "\xEF\xBB\xBF";
        }
        bool lossy = false;
        bytes += EncodeCodePage(m_text, targetCodePage, &lossy);
        Log(L"converted_from",
            {{L"encoding", L"UTF-16"}, {L"length", std::to_wstring(m_text.size())}});
        if (lossy) {
            Log(L"conversion_loss");
        }
    }

    errno = 0;
    FILE* file = OpenFile(path, true);
    if (file == nullptr) {
        LogFileError(errno != 0 ? errno : EACCES);
        return false;
    }
    const size_t written = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), file);
    const bool closed = std::fclose(file) == 0;
    if (written != bytes.size() || !closed) {
        LogFileError(errno != 0 ? errno : EIO);
        return false;
    }
    Log(L"write", {{L"encoding", encodingName}, {L"length", std::to_wstring(bytes.size())}});
    return true;
}

}  // namespace tavik
