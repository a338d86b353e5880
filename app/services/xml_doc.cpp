#include "app/services/xml_doc.h"

#include <algorithm>
#include <type_traits>

#include "app/services/xml_doc_markup.h"

namespace tavik {
namespace {

using namespace xml_markup;

constexpr size_t kBlockBits = 16;
constexpr size_t kBlockSize = size_t{1} << kBlockBits;
// Offsets are 32-bit signed; a text this long keeps every offset and length in range.
constexpr size_t kMaxTextLength = 0x3FFFFFFF;
constexpr size_t kMaxStartTagLength = (size_t{1} << 22) - 1;
constexpr size_t kMaxEndTagLength = (size_t{1} << 10) - 1;
// Handles are 32-bit and 0 is the document itself.
constexpr size_t kMaxRecords = 0xFFFFFFFFu;
constexpr size_t kResultLogLimit = 999;

}  // namespace

CXmlDoc::CXmlDoc() {
    ClearIndex();
    MarkNotWellFormed();
}

CXmlDoc::~CXmlDoc() = default;

CXmlDoc::ElementRecord& CXmlDoc::Record(Handle handle) {
    return m_blocks[handle >> kBlockBits][handle & (kBlockSize - 1)];
}

const CXmlDoc::ElementRecord& CXmlDoc::Record(Handle handle) const {
    return m_blocks[handle >> kBlockBits][handle & (kBlockSize - 1)];
}

void CXmlDoc::ClearIndex() {
    m_blocks.clear();
    m_recordCount = 0;
    m_recordCapacity = 0;
    ReserveRecords(8);
    m_recordCount = 1;
    Record(0) = ElementRecord{};
    Record(0).length = static_cast<int32_t>(std::min(m_text.size(), kMaxTextLength));
}

void CXmlDoc::ReserveRecords(size_t count) {
    count = std::min(count, kMaxRecords);
    if (count <= m_recordCapacity) {
        return;
    }
    // Below one block the single block is reallocated at the new size; past it, whole
    // blocks are added and the records already indexed never move.
    const size_t firstBlockSize = std::min(count, kBlockSize);
    if (m_recordCapacity < firstBlockSize) {
        auto block = std::make_unique<ElementRecord[]>(firstBlockSize);
        if (!m_blocks.empty()) {
            std::copy(m_blocks[0].get(), m_blocks[0].get() + m_recordCount, block.get());
            m_blocks[0] = std::move(block);
        } else {
            m_blocks.push_back(std::move(block));
        }
        m_recordCapacity = firstBlockSize;
    }
    while (m_recordCapacity < count) {
        m_blocks.push_back(std::make_unique<ElementRecord[]>(kBlockSize));
        m_recordCapacity += kBlockSize;
    }
}

CXmlDoc::Handle CXmlDoc::NewRecord() {
    if (m_recordCount >= kMaxRecords) {
        return 0;
    }
    if (m_recordCount == m_recordCapacity) {
        ReserveRecords(m_recordCapacity + std::max<size_t>(m_recordCapacity / 2, 8));
    }
    const auto handle = static_cast<Handle>(m_recordCount++);
    Record(handle) = ElementRecord{};
    return handle;
}

void CXmlDoc::ResetCursor() {
    m_parent = 0;
    m_current = 0;
    m_child = 0;
    m_currentKind = NodeKind::kNone;
}

void CXmlDoc::MarkNotWellFormed() {
    Record(0).flags |= kRecordNotWellFormed;
}

bool CXmlDoc::IsWellFormed() const {
    return (Record(0).flags & kRecordNotWellFormed) == 0;
}

bool CXmlDoc::LogIsFull() const {
    return m_result.size() > kResultLogLimit;
}

void CXmlDoc::Log(std::wstring_view event,
                  std::initializer_list<std::pair<std::wstring_view, std::wstring>> attributes) {
    if (LogIsFull()) {
        return;
    }
    m_result += L'<';
    m_result += event;
    for (const auto& [name, value] : attributes) {
        m_result += L' ';
        m_result += name;
        m_result += L"=\"";
        m_result += EscapeAttribute(value);
        m_result += L'"';
    }
    m_result += L"/>";
}

void CXmlDoc::LogAtOffset(std::wstring_view event, size_t offset) {
    Log(event, {{L"offset", std::to_wstring(offset)}});
    MarkNotWellFormed();
}

void CXmlDoc::LogUnterminated(std::wstring_view type, size_t offset) {
    Log(L"unterminated_tag_syntax",
        {{L"type", std::wstring(type)}, {L"offset", std::to_wstring(offset)}});
    MarkNotWellFormed();
}

std::wstring_view CXmlDoc::TagName(Handle element) const {
    if (element == 0) {
        return {};
    }
    const ElementRecord& record = Record(element);
    const size_t start = static_cast<size_t>(record.start);
    const size_t limit = std::min(start + record.startTagLength, m_text.size());
    if (start + 1 >= limit) {
        return {};
    }
    const std::wstring_view text = m_text;
    return text.substr(start + 1, ScanTagName(text, start + 1, limit) - (start + 1));
}

CXmlDoc::Handle CXmlDoc::LastChild(Handle parent) const {
    const Handle first = Record(parent).firstChild;
    return first == 0 ? 0 : Record(first).previousSibling;
}

void CXmlDoc::AppendChild(Handle parent, Handle child) {
    ElementRecord& record = Record(child);
    record.parent = parent;
    record.nextSibling = 0;
    const Handle first = Record(parent).firstChild;
    if (first == 0) {
        Record(parent).firstChild = child;
        record.previousSibling = child;
        record.flags |= kRecordFirstChild;
        return;
    }
    const Handle last = Record(first).previousSibling;
    Record(last).nextSibling = child;
    record.previousSibling = last;
    Record(first).previousSibling = child;
}

void CXmlDoc::InsertAfter(Handle previous, Handle element) {
    const Handle parent = Record(previous).parent;
    ElementRecord& record = Record(element);
    record.parent = parent;
    record.previousSibling = previous;
    record.nextSibling = Record(previous).nextSibling;
    if (record.nextSibling != 0) {
        Record(record.nextSibling).previousSibling = element;
    } else {
        Record(Record(parent).firstChild).previousSibling = element;
    }
    Record(previous).nextSibling = element;
}

void CXmlDoc::ShiftLevels(Handle root) {
    Handle handle = root;
    for (;;) {
        --Record(handle).level;
        if (Record(handle).firstChild != 0) {
            handle = Record(handle).firstChild;
            continue;
        }
        while (handle != root && Record(handle).nextSibling == 0) {
            handle = Record(handle).parent;
        }
        if (handle == root) {
            return;
        }
        handle = Record(handle).nextSibling;
    }
}

// An element whose end tag never came ends with its start tag; its children become its
// following siblings. It is the last child of its parent, because it was still open.
void CXmlDoc::Unend(Handle element, size_t detectedAt) {
    if (!LogIsFull()) {
        Log(L"unended_start_tag", {{L"tagname", std::wstring(TagName(element))},
                                   {L"offset", std::to_wstring(Record(element).start)},
                                   {L"offset2", std::to_wstring(detectedAt)}});
    }
    MarkNotWellFormed();
    ElementRecord& record = Record(element);
    record.flags |= kRecordUnended;
    record.length = static_cast<int32_t>(record.startTagLength);
    const Handle first = record.firstChild;
    if (first == 0) {
        return;
    }
    const Handle parent = record.parent;
    const Handle last = Record(first).previousSibling;
    for (Handle child = first; child != 0; child = Record(child).nextSibling) {
        Record(child).parent = parent;
        ShiftLevels(child);
    }
    Record(first).flags &= static_cast<uint16_t>(~kRecordFirstChild);
    Record(first).previousSibling = element;
    record.nextSibling = first;
    record.firstChild = 0;
    Record(Record(parent).firstChild).previousSibling = last;
}

void CXmlDoc::Index() {
    const std::wstring_view text = m_text;
    const size_t size = text.size();
    ClearIndex();
    ReserveRecords(size / 64 + 8);

    // The open elements, innermost last, with the hashes of their names so that an end tag
    // is matched without rescanning long names.
    struct OpenElement {
        Handle handle;
        uint32_t nameHash;
    };
    std::vector<OpenElement> open;
    auto innermost = [&]() -> Handle { return open.empty() ? 0 : open.back().handle; };
    auto skipPastClose = [&](size_t from) {
        const size_t close = text.find(L'>', from);
        return close == kNotFound ? size : close + 1;
    };

    size_t position = 0;
    while (position < size) {
        position = text.find(L'<', position);
        if (position == kNotFound) {
            break;
        }
        if (position + 1 >= size) {
            LogUnterminated(L"tag", position);
            break;
        }
        const wchar_t next = text[position + 1];
        if (next == L'/') {
            const size_t nameStart = position + 2;
            const size_t nameEnd = ScanTagName(text, nameStart, size);
            const size_t close = text.find(L'>', nameEnd);
            if (close == kNotFound) {
                LogUnterminated(L"end_tag", position);
                break;
            }
            const size_t tagLength = close + 1 - position;
            const std::wstring_view name = text.substr(nameStart, nameEnd - nameStart);
            if (tagLength > kMaxEndTagLength) {
                LogAtOffset(L"tag_too_long", position);
                position = close + 1;
                continue;
            }
            const uint32_t hash = NameHash(name);
            size_t match = open.size();
            while (match > 0) {
                const OpenElement& candidate = open[match - 1];
                if (candidate.nameHash == hash && TagName(candidate.handle) == name) {
                    break;
                }
                --match;
            }
            if (match == 0) {
                if (!LogIsFull()) {
                    Log(L"lone_end_tag",
                        {{L"tagname", std::wstring(name)}, {L"offset", std::to_wstring(position)}});
                }
                MarkNotWellFormed();
            } else {
                while (open.size() > match) {
                    Unend(open.back().handle, position);
                    open.pop_back();
                }
                ElementRecord& record = Record(open.back().handle);
                record.length = static_cast<int32_t>(close + 1 - static_cast<size_t>(record.start));
                record.endTagLength = static_cast<uint32_t>(tagLength);
                open.pop_back();
            }
            position = close + 1;
        } else if (next == L'?') {
            const size_t close = text.find(L"?>", position + 2);
            if (close == kNotFound) {
                LogUnterminated(L"processing_instruction", position);
                break;
            }
            position = close + 2;
        } else if (next == L'!') {
            if (position + 2 >= size) {
                LogUnterminated(L"tag", position);
                break;
            }
            const wchar_t kind = text[position + 2];
            if (kind == L'-') {
                if (position + 3 < size && text[position + 3] == L'-') {
                    const size_t close = text.find(L"-->", position + 4);
                    if (close == kNotFound) {
                        LogUnterminated(L"comment", position);
                        break;
                    }
                    position = close + 3;
                } else {
                    LogAtOffset(L"comment_tag_syntax", position);
                    position = skipPastClose(position + 3);
                }
            } else if (kind == L'[') {
                if (position + 3 < size && text[position + 3] == L'C') {
                    const size_t close = text.find(L"]]>", position + 4);
                    if (close == kNotFound) {
                        LogUnterminated(L"cdata_section", position);
                        break;
                    }
                    position = close + 3;
                } else {
                    LogAtOffset(L"cdata_section_syntax", position);
                    position = skipPastClose(position + 3);
                }
            } else if (kind == L'D') {
                position = ScanDocumentType(position);
                if (position == kNotFound) {
                    break;
                }
            } else {
                LogAtOffset(L"exclamation_tag_syntax", position);
                position = skipPastClose(position + 2);
            }
        } else if (OpensStartTag(next)) {
            const size_t nameEnd = ScanTagName(text, position + 1, size);
            size_t close = 0;
            AttributeSpan unused;
            const auto end = ScanAttributes(text, nameEnd, size, false, {}, &close, &unused);
            if (end == AttributeScanEnd::kUnterminated) {
                LogUnterminated(L"start_tag", position);
                break;
            }
            const bool empty = end == AttributeScanEnd::kEmptyTagEnd;
            if (empty) {
                ++close;
            }
            const size_t tagLength = close + 1 - position;
            if (tagLength > kMaxStartTagLength) {
                LogAtOffset(L"tag_too_long", position);
                position = close + 1;
                continue;
            }
            const Handle parent = innermost();
            const size_t level = Record(parent).level + size_t{1};
            if (level > kMaxNestingLevel) {
                LogAtOffset(L"nesting_too_deep", position);
                position = close + 1;
                continue;
            }
            const Handle element = NewRecord();
            if (element == 0) {
                LogAtOffset(L"index_overflow", position);
                break;
            }
            ElementRecord& record = Record(element);
            record.start = static_cast<int32_t>(position);
            record.length = static_cast<int32_t>(tagLength);
            record.startTagLength = static_cast<uint32_t>(tagLength);
            record.endTagLength = 0;
            record.level = static_cast<uint16_t>(level);
            AppendChild(parent, element);
            if (!empty) {
                open.push_back(
                    {element, NameHash(text.substr(position + 1, nameEnd - (position + 1)))});
            }
            position = close + 1;
        } else {
            LogAtOffset(L"first_tag_syntax", position);
            position = skipPastClose(position + 1);
        }
    }
    while (!open.empty()) {
        Unend(open.back().handle, size);
        open.pop_back();
    }
    const Handle root = Record(0).firstChild;
    if (root == 0) {
        Log(L"no_root_element");
        MarkNotWellFormed();
    } else if (Record(root).nextSibling != 0) {
        Log(L"root_has_sibling");
        MarkNotWellFormed();
    }
}

// Scans a document type declaration from its "<!D" and returns the position after its ">",
// or kNotFound if it runs to the end of the text. Its internal subset (in brackets) may hold
// only declarations beginning "<!E", "<!A" or "<!N", and comments.
size_t CXmlDoc::ScanDocumentType(size_t start) {
    const std::wstring_view text = m_text;
    const size_t size = text.size();
    bool inSubset = false;
    size_t index = start + 3;
    while (index < size) {
        const wchar_t c = text[index];
        if (!inSubset) {
            if (c == L'>') {
                return index + 1;
            }
            if (c == L'[') {
                inSubset = true;
            } else if (c == L'"' || c == L'\'') {
                const size_t close = text.find(c, index + 1);
                if (close == kNotFound) {
                    break;
                }
                index = close;
            }
            ++index;
            continue;
        }
        if (c == L']') {
            inSubset = false;
            ++index;
            continue;
        }
        if (c != L'<') {
            ++index;
            continue;
        }
        if (text.compare(index, 4, L"<!--") == 0) {
            const size_t close = text.find(L"-->", index + 4);
            if (close == kNotFound) {
                break;
            }
            index = close + 3;
            continue;
        }
        if (index + 2 < size && text[index + 1] == L'!' &&
            (text[index + 2] == L'E' || text[index + 2] == L'A' || text[index + 2] == L'N')) {
            // A declaration ends at ">" outside its quoted literals.
            size_t scan = index + 3;
            bool ended = false;
            while (scan < size) {
                const wchar_t d = text[scan];
                if (d == L'>') {
                    ended = true;
                    break;
                }
                if (d == L'"' || d == L'\'') {
                    const size_t close = text.find(d, scan + 1);
                    if (close == kNotFound) {
                        break;
                    }
                    scan = close;
                }
                ++scan;
            }
            if (!ended) {
                break;
            }
            index = scan + 1;
            continue;
        }
        LogAtOffset(L"doctype_tag_syntax", index);
        const size_t close = text.find(L'>', index + 1);
        if (close == kNotFound) {
            break;
        }
        index = close + 1;
    }
    LogUnterminated(L"document_type", start);
    return kNotFound;
}

bool CXmlDoc::SetDocText(const wchar_t* text) {
    return SetDocText(text == nullptr ? std::wstring_view() : std::wstring_view(text));
}

bool CXmlDoc::SetDocText(std::wstring_view text) {
    m_result.clear();
    ResetCursor();
    if (text.size() > kMaxTextLength) {
        m_text.clear();
        ClearIndex();
        Log(L"text_too_long", {{L"length", std::to_wstring(text.size())}});
        MarkNotWellFormed();
        return false;
    }
    m_text.assign(text.data(), text.size());
    Index();
    return IsWellFormed();
}

void CXmlDoc::ResetPosition() {
    ResetCursor();
}

bool CXmlDoc::FindElement(std::wstring_view name) {
    Handle candidate = m_current != 0 ? Record(m_current).nextSibling : Record(m_parent).firstChild;
    for (; candidate != 0; candidate = Record(candidate).nextSibling) {
        if (name.empty() || TagName(candidate) == name) {
            m_current = candidate;
            m_child = 0;
            m_currentKind = NodeKind::kElement;
            return true;
        }
    }
    return false;
}

bool CXmlDoc::EnterElement() {
    if (m_current == 0) {
        return false;
    }
    m_parent = m_current;
    m_current = m_child;
    m_child = 0;
    m_currentKind = m_current != 0 ? NodeKind::kElement : NodeKind::kNone;
    return true;
}

bool CXmlDoc::LeaveElement() {
    if (m_parent == 0) {
        return false;
    }
    m_child = m_current;
    m_current = m_parent;
    m_parent = Record(m_parent).parent;
    m_currentKind = NodeKind::kElement;
    return true;
}

std::wstring CXmlDoc::GetTagName() const {
    return std::wstring(TagName(m_current));
}

std::wstring CXmlDoc::AttributeValue(Handle element, std::wstring_view name) const {
    if (element == 0 || name.empty()) {
        return {};
    }
    const ElementRecord& record = Record(element);
    AttributeSpan span;
    size_t stoppedAt = 0;
    if (!FindAttributeInTag(m_text, static_cast<size_t>(record.start), record.startTagLength, name,
                            &span, &stoppedAt) ||
        !span.hasValue) {
        return {};
    }
    size_t start = span.valueStart;
    size_t end = span.valueEnd;
    if (span.quoted) {
        ++start;
        --end;
    }
    return DecodeAttributeValue(std::wstring_view(m_text).substr(start, end - start));
}

std::wstring CXmlDoc::GetAttribute(std::wstring_view name) const {
    return AttributeValue(m_current, name);
}

bool CXmlDoc::HasAttribute(std::wstring_view name) const {
    if (m_current == 0 || name.empty()) {
        return false;
    }
    const ElementRecord& record = Record(m_current);
    AttributeSpan span;
    size_t stoppedAt = 0;
    return FindAttributeInTag(m_text, static_cast<size_t>(record.start), record.startTagLength,
                              name, &span, &stoppedAt);
}

bool CXmlDoc::SpliceText(size_t position, size_t removed, std::wstring_view inserted) {
    const size_t size = m_text.size();
    if (position > size || removed > size - position) {
        return false;
    }
    const size_t needed = size - removed + inserted.size();
    if (needed > kMaxTextLength) {
        return false;
    }
    if (m_text.capacity() < needed) {
        m_text.reserve(needed + needed / 2 + 128);
    }
    m_text.replace(position, removed, inserted.data(), inserted.size());
    return true;
}

// Moves every element that starts at or after `position` by `delta`, and lengthens
// `enclosing` and every element around it.
void CXmlDoc::ShiftAfterEdit(size_t position, int32_t delta, Handle enclosing) {
    for (size_t handle = 1; handle < m_recordCount; ++handle) {
        ElementRecord& record = Record(static_cast<Handle>(handle));
        if (static_cast<size_t>(record.start) >= position) {
            record.start += delta;
        }
    }
    for (Handle handle = enclosing; handle != 0; handle = Record(handle).parent) {
        Record(handle).length += delta;
    }
    Record(0).length = static_cast<int32_t>(m_text.size());
}

void CXmlDoc::InitNewElement(Handle element, Handle parent, size_t start, size_t nameLength,
                             size_t length, bool empty) {
    ElementRecord& record = Record(element);
    record.start = static_cast<int32_t>(start);
    record.length = static_cast<int32_t>(length);
    record.startTagLength = static_cast<uint32_t>(nameLength + (empty ? 3 : 2));
    record.endTagLength = static_cast<uint32_t>(empty ? 0 : nameLength + 3);
    record.level = static_cast<uint16_t>(Record(parent).level + 1);
}

bool CXmlDoc::AddElement(std::wstring_view name, const wchar_t* value) {
    return AddElement(name, value == nullptr ? std::wstring_view() : std::wstring_view(value));
}

bool CXmlDoc::AddElement(std::wstring_view name, std::wstring_view value) {
    if (!IsWritableName(name) || name.size() + 3 > kMaxEndTagLength) {
        return false;
    }
    const Handle parent = m_parent;
    if (Record(parent).level + size_t{1} > kMaxNestingLevel ||
        (Record(parent).flags & kRecordUnended) != 0) {
        return false;
    }
    const bool empty = value.empty();
    std::wstring element = L"<";
    element += name;
    if (empty) {
        element += L"/>";
    } else {
        element += L'>';
        element += EscapeText(value);
        element += L"</";
        element += name;
        element += L'>';
    }
    const size_t elementLength = element.size();
    element += L"\r\n";

    if (m_current == 0 && parent != 0 && Record(parent).endTagLength == 0) {
        return AddChildToEmptyElement(parent, name, element, empty);
    }

    size_t position = 0;
    Handle previous = 0;
    if (m_current != 0) {
        const ElementRecord& current = Record(m_current);
        position = static_cast<size_t>(current.start) + static_cast<size_t>(current.length);
        while (position < m_text.size() && IsSpace(m_text[position])) {
            ++position;
        }
        previous = m_current;
    } else if (parent == 0) {
        position = m_text.size();
        previous = LastChild(0);
    } else {
        const ElementRecord& record = Record(parent);
        position = static_cast<size_t>(record.start) + static_cast<size_t>(record.length) -
                   record.endTagLength;
        previous = LastChild(parent);
    }
    if (!SpliceText(position, 0, element)) {
        return false;
    }
    ShiftAfterEdit(position, static_cast<int32_t>(element.size()), parent);
    const Handle added = NewRecord();
    if (added == 0) {
        m_text.erase(position, element.size());
        ShiftAfterEdit(position, -static_cast<int32_t>(element.size()), parent);
        return false;
    }
    InitNewElement(added, parent, position, name.size(), elementLength, empty);
    if (previous != 0) {
        InsertAfter(previous, added);
    } else {
        AppendChild(parent, added);
    }
    m_current = added;
    m_child = 0;
    m_currentKind = NodeKind::kElement;
    return true;
}

// The parent is still "<name .../>": its "/>" becomes ">" and a line end, the new element
// follows on its own line, then the parent's end tag.
bool CXmlDoc::AddChildToEmptyElement(Handle parent, std::wstring_view name,
                                     std::wstring_view element, bool empty) {
    const ElementRecord& record = Record(parent);
    const size_t tagEnd = static_cast<size_t>(record.start) + record.startTagLength;
    if (record.startTagLength < 4 || tagEnd > m_text.size() || m_text[tagEnd - 2] != L'/' ||
        m_text[tagEnd - 1] != L'>') {
        return false;
    }
    const std::wstring parentName(TagName(parent));
    if (parentName.size() + 3 > kMaxEndTagLength) {
        return false;
    }
    // A "/" left in front of the new ">" would make it "/>" again, so a space parts them.
    const bool slashBefore = m_text[tagEnd - 3] == L'/';
    std::wstring replacement = slashBefore ? L" >\r\n" : L">\r\n";
    const size_t tagClose = slashBefore ? 1 : 0;
    replacement += element;
    replacement += L"</";
    replacement += parentName;
    replacement += L'>';
    const size_t position = tagEnd - 2;
    if (!SpliceText(position, 2, replacement)) {
        return false;
    }
    const auto delta = static_cast<int32_t>(replacement.size() - 2);
    ShiftAfterEdit(position, delta, Record(parent).parent);
    ElementRecord& rewritten = Record(parent);
    rewritten.startTagLength = static_cast<uint32_t>(rewritten.startTagLength - 1 + tagClose);
    rewritten.endTagLength = static_cast<uint32_t>(parentName.size() + 3);
    rewritten.length += delta;
    const Handle added = NewRecord();
    if (added == 0) {
        return false;
    }
    const size_t elementLength = element.size() - 2;
    InitNewElement(added, parent, tagEnd + 1 + tagClose, name.size(), elementLength, empty);
    AppendChild(parent, added);
    m_current = added;
    m_child = 0;
    m_currentKind = NodeKind::kElement;
    return true;
}

bool CXmlDoc::SetAttribute(std::wstring_view name, const wchar_t* value) {
    return SetAttribute(name, value == nullptr ? std::wstring_view() : std::wstring_view(value));
}

bool CXmlDoc::SetAttribute(std::wstring_view name, std::wstring_view value) {
    if (m_current == 0 || !IsWritableName(name)) {
        return false;
    }
    AttributeSpan span;
    size_t stoppedAt = 0;
    std::wstring quoted = L"\"";
    quoted += EscapeAttribute(value);
    quoted += L'"';
    size_t position = 0;
    size_t removed = 0;
    std::wstring inserted;
    const ElementRecord& currentRecord = Record(m_current);
    if (FindAttributeInTag(m_text, static_cast<size_t>(currentRecord.start),
                           currentRecord.startTagLength, name, &span, &stoppedAt)) {
        if (span.hasValue) {
            position = span.valueStart;
            removed = span.valueEnd - span.valueStart;
            inserted = std::move(quoted);
        } else {
            position = span.nameEnd;
            inserted = L"=" + quoted;
        }
    } else {
        // In front of "/>" or ">", never past the tag's own ">".
        const ElementRecord& record = Record(m_current);
        const size_t tagClose = static_cast<size_t>(record.start) + record.startTagLength - 1;
        position = std::min(stoppedAt, tagClose);
        if (span.HasDanglingEquals() && span.valueStart == position) {
            inserted = L"\"\"";
        }
        inserted += L" ";
        inserted += name;
        inserted += L'=';
        inserted += quoted;
    }
    const ElementRecord& record = Record(m_current);
    const size_t newTagLength = record.startTagLength - removed + inserted.size();
    if (newTagLength > kMaxStartTagLength) {
        return false;
    }
    if (!SpliceText(position, removed, inserted)) {
        return false;
    }
    const auto delta = static_cast<int32_t>(inserted.size()) - static_cast<int32_t>(removed);
    ShiftAfterEdit(position, delta, m_current);
    Record(m_current).startTagLength = static_cast<uint32_t>(newTagLength);
    return true;
}

}  // namespace tavik
