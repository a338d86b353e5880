#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavik {

// The XML document of the device catalogue and of the profile and macro files. The document
// is one wide text plus a flat index of element positions into it; reading walks the index
// with a cursor (parent, current, child), writing splices text in and shifts the positions
// that follow. Everything the program keeps in XML is carried in attributes.
//
// Files come from users, so nothing in them is trusted: bad markup, runaway nesting and
// oversized tags make a document "not well-formed", never a crash. A document that is not
// well-formed is still indexed as far as it goes and can be walked.
//
// Not thread-safe: one thread uses a document at a time.
class CXmlDoc {
public:
    // The byte-order mark of the loaded file; SaveFile writes the same mark again.
    enum DocFlags : uint32_t {
        kDocFlagUtf8Mark = 1,
        kDocFlagUtf16LittleEndianMark = 2,
        kDocFlagUtf16BigEndianMark = 4,
    };

    // Files larger than this are refused: the program's own XML files are a few kilobytes.
    static constexpr size_t kMaxFileBytes = 16u << 20;
    // Elements nested deeper than this make the document not well-formed.
    static constexpr uint16_t kMaxNestingLevel = 256;

    CXmlDoc();
    ~CXmlDoc();
    CXmlDoc(const CXmlDoc&) = delete;
    CXmlDoc& operator=(const CXmlDoc&) = delete;

    // Replaces the whole text (null clears it), clears the result log and indexes the text.
    // The cursor goes to the top level. Returns whether the text is well-formed.
    bool SetDocText(const wchar_t* text);
    bool SetDocText(std::wstring_view text);

    // Reads a file (byte-order marks, declared encodings), then indexes it. True only if the
    // file was read and its text is well-formed. The cursor goes to the top level.
    bool LoadFile(const std::wstring& path);
    // Decodes and indexes a file's content that is already in memory, as LoadFile does.
    bool LoadBytes(std::string_view bytes);
    // Writes the text in its declared encoding (UTF-8 if none), after the loaded file's
    // byte-order mark if it had one. False if the file cannot be opened or written.
    bool SaveFile(const std::wstring& path);

    // Moves the cursor back to the top level, before the first element.
    void ResetPosition();
    // Makes the next element named `name` current: the siblings after the current element,
    // or the parent's children from the first if there is none. An empty name matches any.
    bool FindElement(std::wstring_view name);
    // Descends into the current element: it becomes the parent. False without one.
    bool EnterElement();
    // Returns to the parent, which becomes current again. False at the top level.
    bool LeaveElement();
    // Inserts an element after the current one (or as the parent's last child) on a line of
    // its own and makes it current. An empty or null value writes "<name/>".
    bool AddElement(std::wstring_view name, const wchar_t* value = nullptr);
    bool AddElement(std::wstring_view name, std::wstring_view value);
    // Adds or replaces an attribute of the current element. False without one.
    bool SetAttribute(std::wstring_view name, const wchar_t* value);
    bool SetAttribute(std::wstring_view name, std::wstring_view value);
    // The decoded value of an attribute of the current element, "" if there is none.
    std::wstring GetAttribute(std::wstring_view name) const;
    // Whether the current element's start tag has the attribute, with or without a value.
    bool HasAttribute(std::wstring_view name) const;
    // One empty element per event of the last load, parse or save.
    std::wstring GetResult() const { return m_result; }

    // The tag name of the current element, "" if there is none.
    std::wstring GetTagName() const;
    const std::wstring& GetDocText() const { return m_text; }
    uint32_t GetDocFlags() const { return m_docFlags; }
    bool IsWellFormed() const;

private:
    using Handle = uint32_t;

    enum class NodeKind { kNone, kElement };

    struct ElementRecord {
        int32_t start;                 // offset of the element's "<"
        int32_t length;                // "<" of the start tag to the end of the end tag
        uint32_t startTagLength : 22;  // "<" to ">" inclusive
        uint32_t endTagLength : 10;    // "</name>", 0 for an empty-element tag
        uint16_t flags;
        uint16_t level;  // a child's level is its parent's plus one
        Handle parent;   // 0 at the top level
        Handle firstChild;
        Handle nextSibling;      // 0 for the last child
        Handle previousSibling;  // for the first child: the last child
    };

    enum RecordFlags : uint16_t {
        kRecordUnended = 1,
        kRecordFirstChild = 2,
        kRecordNotWellFormed = 4,  // record 0 only
    };

    ElementRecord& Record(Handle handle);
    const ElementRecord& Record(Handle handle) const;
    void ClearIndex();
    void ReserveRecords(size_t count);
    Handle NewRecord();
    void Index();
    size_t ScanDocumentType(size_t start);
    void AppendChild(Handle parent, Handle child);
    void InsertAfter(Handle previous, Handle element);
    void Unend(Handle element, size_t detectedAt);
    void ShiftLevels(Handle root);
    std::wstring_view TagName(Handle element) const;
    bool SpliceText(size_t position, size_t removed, std::wstring_view inserted);
    void ShiftAfterEdit(size_t position, int32_t delta, Handle enclosing);
    void InitNewElement(Handle element, Handle parent, size_t start, size_t nameLength,
                        size_t length, bool empty);
    bool AddChildToEmptyElement(Handle parent, std::wstring_view name, std::wstring_view element,
                                bool empty);
    Handle LastChild(Handle parent) const;
    std::wstring AttributeValue(Handle element, std::wstring_view name) const;
    std::wstring DeclaredEncoding() const;
    std::wstring HtmlCharset() const;
    bool Decode(std::string_view bytes);
    void ResetCursor();
    bool LogIsFull() const;
    void LogFileError(int error);
    void LogUnterminated(std::wstring_view type, size_t offset);
    void LogAtOffset(std::wstring_view event, size_t offset);

    void Log(std::wstring_view event,
             std::initializer_list<std::pair<std::wstring_view, std::wstring>> attributes = {});
    void MarkNotWellFormed();

    std::wstring m_text;
    // The element index in blocks of 65,536 records; the high 16 bits of a handle select the
    // block and the low 16 bits the record in it. Record 0 stands for the document.
    std::vector<std::unique_ptr<ElementRecord[]>> m_blocks;
    size_t m_recordCount = 0;
    size_t m_recordCapacity = 0;
    Handle m_parent = 0;
    Handle m_current = 0;
    Handle m_child = 0;  // what EnterElement makes current; 0 after any other move
    NodeKind m_currentKind = NodeKind::kNone;
    uint32_t m_docFlags = 0;
    std::wstring m_result;
};

}  // namespace tavik
