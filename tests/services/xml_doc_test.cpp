#include "app/services/xml_doc.h"

#include <algorithm>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "app/common/text_encoding.h"
#include "app/services/xml_doc_encoding.h"
#include "fuzz/xml_doc_exercise.h"

namespace tavik {
namespace {

namespace fs = std::filesystem;

// ctest runs every case as its own process, several at once and from several build trees:
// each process gets scratch folders of its own.
const std::string& ProcessSuffix() {
    static const std::string suffix = std::to_string(std::random_device{}());
    return suffix;
}

std::wstring W(const char* utf8) {
    return Utf8ToWide(utf8);
}

fs::path DataDir() {
    return fs::path(TAVIK_SOURCE_DIR) / "tests" / "data" / "xml";
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A scratch folder per test, removed afterwards.
class XmlDocFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        // Parameterised names hold '/', which would make parents shared by parallel tests.
        std::string leaf = std::string("tavik_xml_") + info->test_suite_name() + "_" +
                           info->name() + "_" + ProcessSuffix();
        std::replace(leaf.begin(), leaf.end(), '/', '_');
        m_folder = fs::temp_directory_path() / leaf;
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
    fs::path Path(const char* name) const { return m_folder / name; }

    fs::path m_folder;
};

// The real peers (python3 with xml.etree, xmllint) exist on the Linux build machine, not
// under Wine; tests that need them skip there.
#ifdef _WIN32
std::string Python() {
    return "python3";
}
bool HavePeers() {
    return false;
}
int RunPeer(const std::string&, std::string*) {
    return -1;
}
#else
// Debian's interpreter when there is one: version-manager shims in front of "python3" cost
// half a second per start.
std::string Python() {
    static const std::string command =
        fs::exists("/usr/bin/python3") ? std::string("/usr/bin/python3") : std::string("python3");
    return command;
}

bool HavePeers() {
    static const bool available =
        std::system(
            ("command -v " + Python() + " >/dev/null 2>&1 && command -v xmllint >/dev/null 2>&1")
                .c_str()) == 0;
    return available;
}

int RunPeer(const std::string& command, std::string* output) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    char buffer[4096];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
        output->append(buffer, count);
    }
    return pclose(pipe);
}
#endif

std::string Quote(const fs::path& path) {
    return "'" + path.string() + "'";
}

// ---------------------------------------------------------------------------------------
// Expected documents, walked through the reader's own calling order.

struct ExpectedAttribute {
    const char* name;
    const char* value;
};

struct ExpectedElement {
    int depth;
    const char* tag;
    std::vector<ExpectedAttribute> attributes;
};

// What tests/data/xml/make_fixtures.py writes in every encoding.
const std::vector<ExpectedElement> kCatalogue = {
    {0, "catalogue", {{"version", "1.0.5"}}},
    {1,
     "device",
     {{"name", "Tavik Ω"},
      {"vid", "7768"},
      {"pid", "4660"},
      {"note", "a < b & \"c\" > d"},
      {"apos", "it's"},
      {"price", "5 €"}}},
    {1, "device", {{"name", "Zöë 鼠标 🐭"}, {"vid", "7768"}, {"pid", "4661"}, {"empty", ""}}},
    {1, "empty", {}},
};

void ExpectDocument(CXmlDoc& doc, const std::vector<ExpectedElement>& expected) {
    size_t index = 0;
    std::function<void(int)> walk = [&](int depth) {
        while (doc.FindElement(L"")) {
            const std::wstring tag = doc.GetTagName();
            if (index < expected.size()) {
                const ExpectedElement& element = expected[index];
                EXPECT_EQ(element.depth, depth) << "element " << index;
                EXPECT_EQ(W(element.tag), tag) << "element " << index;
                for (const auto& attribute : element.attributes) {
                    EXPECT_EQ(W(attribute.value), doc.GetAttribute(W(attribute.name)))
                        << element.tag << " @" << attribute.name;
                }
                EXPECT_EQ(L"", doc.GetAttribute(L"missing"));
            }
            ++index;
            ASSERT_TRUE(doc.EnterElement());
            walk(depth + 1);
            ASSERT_TRUE(doc.LeaveElement());
        }
    };
    doc.ResetPosition();
    walk(0);
    EXPECT_EQ(expected.size(), index);
}

// Builds the document with the writer's calling order: AddElement, EnterElement for
// children, SetAttribute, LeaveElement.
void BuildDocument(CXmlDoc& doc, const wchar_t* declaration,
                   const std::vector<ExpectedElement>& elements) {
    doc.SetDocText(declaration);
    int depth = 0;
    for (const auto& element : elements) {
        while (depth > element.depth) {
            ASSERT_TRUE(doc.LeaveElement());
            --depth;
        }
        if (element.depth > depth) {
            ASSERT_TRUE(doc.EnterElement());
            ++depth;
        }
        ASSERT_TRUE(doc.AddElement(W(element.tag)));
        for (const auto& attribute : element.attributes) {
            ASSERT_TRUE(doc.SetAttribute(W(attribute.name), W(attribute.value)));
        }
    }
}

// What dump_xml.py prints for the expected elements.
std::string PythonDump(const std::vector<ExpectedElement>& elements) {
    std::string out;
    for (const auto& element : elements) {
        out += element.tag;
        for (const auto& attribute : element.attributes) {
            out += "\x1f";
            out += attribute.name;
            out += "=";
            out += attribute.value;
        }
        out += "\x1e";
    }
    return out;
}

void ExpectPeersRead(const fs::path& file, const std::vector<ExpectedElement>& expected) {
    std::string lint;
    EXPECT_EQ(0, RunPeer("xmllint --noout " + Quote(file), &lint)) << lint;
    std::string dump;
    ASSERT_EQ(0,
              RunPeer(Python() + " " + Quote(DataDir() / "dump_xml.py") + " " + Quote(file), &dump))
        << dump;
    EXPECT_EQ(PythonDump(expected), dump);
}

// ---------------------------------------------------------------------------------------
// Writing

struct MacroCase {
    const char* label;
    int steps;
    const char* expected;
};

class MacroExportTest : public XmlDocFileTest, public ::testing::WithParamInterface<MacroCase> {};

TEST_P(MacroExportTest, WritesOneUnindentedLinePerElement) {
    const MacroCase& param = GetParam();
    CXmlDoc doc;
    EXPECT_FALSE(doc.SetDocText(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"));
    ASSERT_TRUE(doc.AddElement(L"macro"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement(L"macroinfo"));
    ASSERT_TRUE(doc.SetAttribute(L"name", L"Combo \"A\" & B"));
    ASSERT_TRUE(doc.SetAttribute(L"count", std::to_wstring(param.steps)));
    ASSERT_TRUE(doc.AddElement(L"macroitems"));
    ASSERT_TRUE(doc.EnterElement());
    for (int step = 0; step < param.steps; ++step) {
        ASSERT_TRUE(doc.AddElement(L"item"));
        ASSERT_TRUE(doc.SetAttribute(L"key", std::to_wstring(65 + step)));
        ASSERT_TRUE(doc.SetAttribute(L"down", L"1"));
        ASSERT_TRUE(doc.SetAttribute(L"delay", L"20"));
    }
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(W(param.expected), doc.GetDocText());

    const fs::path file = Path("macro.xml");
    ASSERT_TRUE(doc.SaveFile(file.wstring())) << WideToUtf8(doc.GetResult());
    EXPECT_EQ(param.expected, ReadBytes(file));

    CXmlDoc reader;
    ASSERT_TRUE(reader.LoadFile(file.wstring())) << WideToUtf8(reader.GetResult());
    EXPECT_EQ(0u, reader.GetDocFlags());
    ASSERT_TRUE(reader.FindElement(L"macro"));
    ASSERT_TRUE(reader.EnterElement());
    ASSERT_TRUE(reader.FindElement(L"macroinfo"));
    EXPECT_EQ(L"Combo \"A\" & B", reader.GetAttribute(L"name"));

    if (HavePeers()) {
        std::vector<ExpectedElement> expected = {
            {0, "macro", {}},
            {1, "macroinfo", {{"name", "Combo \"A\" & B"}, {"count", param.steps ? "2" : "0"}}},
            {1, "macroitems", {}},
        };
        for (int step = 0; step < param.steps; ++step) {
            expected.push_back(
                {2, "item", {{"key", step ? "66" : "65"}, {"down", "1"}, {"delay", "20"}}});
        }
        ExpectPeersRead(file, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, MacroExportTest,
    ::testing::Values(MacroCase{"two_steps", 2,
                                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                "<macro>\r\n"
                                "<macroinfo name=\"Combo &quot;A&quot; &amp; B\" count=\"2\"/>\r\n"
                                "<macroitems>\r\n"
                                "<item key=\"65\" down=\"1\" delay=\"20\"/>\r\n"
                                "<item key=\"66\" down=\"1\" delay=\"20\"/>\r\n"
                                "</macroitems>\r\n"
                                "</macro>\r\n"},
                      MacroCase{"no_steps", 0,
                                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                "<macro>\r\n"
                                "<macroinfo name=\"Combo &quot;A&quot; &amp; B\" count=\"0\"/>\r\n"
                                "<macroitems/>\r\n"
                                "</macro>\r\n"}),
    [](const auto& info) { return std::string(info.param.label); });

struct EditCase {
    const char* label;
    const char* text;
    std::function<bool(CXmlDoc&)> edit;
    const char* expected;
};

class EditTest : public ::testing::TestWithParam<EditCase> {};

TEST_P(EditTest, SplicesTextAndKeepsIndexInStep) {
    const EditCase& param = GetParam();
    CXmlDoc doc;
    doc.SetDocText(W(param.text));
    ASSERT_TRUE(param.edit(doc));
    EXPECT_EQ(W(param.expected), doc.GetDocText());
    // The edited index must describe the new text exactly as a fresh parse does.
    CXmlDoc reparsed;
    reparsed.SetDocText(doc.GetDocText());
    EXPECT_EQ(fuzz::WalkAll(reparsed), fuzz::WalkAll(doc));
}

bool Enter(CXmlDoc& doc, const wchar_t* name) {
    return doc.FindElement(name) && doc.EnterElement();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditTest,
    ::testing::Values(
        EditCase{"replace_single_quoted", "<a b='x'/>",
                 [](CXmlDoc& d) { return d.FindElement(L"a") && d.SetAttribute(L"b", L"1"); },
                 "<a b=\"1\"/>"},
        EditCase{"replace_unquoted_before_empty_end", "<a b=x/>",
                 [](CXmlDoc& d) { return d.FindElement(L"a") && d.SetAttribute(L"b", L"1"); },
                 "<a b=\"1\"/>"},
        EditCase{"new_attribute_after_dangling_equals", "<a b=\r\n/>",
                 [](CXmlDoc& d) { return d.FindElement(L"a") && d.SetAttribute(L"c", L"1"); },
                 "<a b=\r\n\"\" c=\"1\"/>"},
        EditCase{"value_for_bare_attribute", "<a b></a>",
                 [](CXmlDoc& d) { return d.FindElement(L"a") && d.SetAttribute(L"b", L"1"); },
                 "<a b=\"1\"></a>"},
        EditCase{"new_attributes_in_order_of_first_set", "<a>t</a>",
                 [](CXmlDoc& d) {
                     return d.FindElement(L"a") && d.SetAttribute(L"x", L"1") &&
                            d.SetAttribute(L"y", L"2") && d.SetAttribute(L"x", L"'3'");
                 },
                 "<a x=\"&apos;3&apos;\" y=\"2\">t</a>"},
        EditCase{"attribute_shifts_following_elements", "<r><a/><b c=\"1\"/></r>",
                 [](CXmlDoc& d) {
                     return Enter(d, L"r") && d.FindElement(L"a") &&
                            d.SetAttribute(L"long", L"value") && d.FindElement(L"b") &&
                            d.SetAttribute(L"c", L"22");
                 },
                 "<r><a long=\"value\"/><b c=\"22\"/></r>"},
        EditCase{"last_child_of_parent_with_children", "<r>\r\n<a/>\r\n</r>",
                 [](CXmlDoc& d) { return Enter(d, L"r") && d.AddElement(L"b"); },
                 "<r>\r\n<a/>\r\n<b/>\r\n</r>"},
        EditCase{
            "after_current_past_white_space", "<r><a/>  <c/></r>",
            [](CXmlDoc& d) { return Enter(d, L"r") && d.FindElement(L"a") && d.AddElement(L"b"); },
            "<r><a/>  <b/>\r\n<c/></r>"},
        EditCase{"into_empty_parent_with_attributes", "<r a=\"1\"/>",
                 [](CXmlDoc& d) {
                     return Enter(d, L"r") && d.AddElement(L"c") && d.SetAttribute(L"k", L"v");
                 },
                 "<r a=\"1\">\r\n<c k=\"v\"/>\r\n</r>"},
        EditCase{"empty_parent_with_stray_slash", "<r x=y//>",
                 [](CXmlDoc& d) { return Enter(d, L"r") && d.AddElement(L"c"); },
                 "<r x=y/ >\r\n<c/>\r\n</r>"},
        EditCase{"text_value_escapes_three", "<r></r>",
                 [](CXmlDoc& d) { return Enter(d, L"r") && d.AddElement(L"t", L"1<2 & \"q\">"); },
                 "<r><t>1&lt;2 &amp; \"q\"&gt;</t>\r\n</r>"},
        EditCase{"grandchild_lengthens_every_ancestor", "<r><a/></r><!--x-->",
                 [](CXmlDoc& d) {
                     return Enter(d, L"r") && Enter(d, L"a") && d.AddElement(L"b") &&
                            d.LeaveElement() && d.AddElement(L"z");
                 },
                 "<r><a>\r\n<b/>\r\n</a><z/>\r\n</r><!--x-->"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(XmlDocWrite, RefusesWhatWouldNotReadBack) {
    CXmlDoc doc;
    doc.SetDocText(L"<r><a/></r>");
    EXPECT_FALSE(doc.SetAttribute(L"x", L"1")) << "no current element";
    ASSERT_TRUE(doc.FindElement(L"r"));
    for (const wchar_t* name : {L"", L"two words", L"a>b", L"q\"", L"1st", L"-x", L"a/b", L"a=b"}) {
        EXPECT_FALSE(doc.AddElement(name)) << WideToUtf8(name);
        EXPECT_FALSE(doc.SetAttribute(name, L"v")) << WideToUtf8(name);
    }
    EXPECT_EQ(L"<r><a/></r>", doc.GetDocText());
    EXPECT_TRUE(doc.SetAttribute(L"ns:x-y.z_1", L"ok"));
}

TEST(XmlDocWrite, AnUnendedParentTakesNoChildren) {
    CXmlDoc doc;
    EXPECT_FALSE(doc.SetDocText(L"<r><open></r>"));
    ASSERT_TRUE(Enter(doc, L"r"));
    ASSERT_TRUE(Enter(doc, L"open"));
    EXPECT_FALSE(doc.AddElement(L"child"));
    EXPECT_EQ(L"<r><open></r>", doc.GetDocText());
}

TEST(XmlDocWrite, NestingStopsAtTheLimit) {
    CXmlDoc doc;
    doc.SetDocText(L"");
    int depth = 0;
    while (doc.AddElement(L"n") && doc.EnterElement()) {
        ++depth;
    }
    EXPECT_EQ(CXmlDoc::kMaxNestingLevel, depth);
    EXPECT_TRUE(CXmlDoc().SetDocText(doc.GetDocText()));
}

// ---------------------------------------------------------------------------------------
// Navigation

TEST(XmlDocNavigation, FindMatchesWholeNamesAndSteps) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDocText(
        L"<macro><macroinfo n=\"i\"/><item n=\"1\"/><other/><item n=\"2\"/></macro>"));
    EXPECT_FALSE(doc.FindElement(L"macroinfo")) << "not at the top level";
    EXPECT_FALSE(doc.FindElement(L"mac"));
    ASSERT_TRUE(doc.FindElement(L"macro"));
    EXPECT_EQ(L"macro", doc.GetTagName());
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_FALSE(doc.FindElement(L"macro")) << "does not match macroinfo";
    ASSERT_TRUE(doc.FindElement(L"macroinfo"));
    EXPECT_EQ(L"i", doc.GetAttribute(L"n"));
    ASSERT_TRUE(doc.FindElement(L"item"));
    EXPECT_EQ(L"1", doc.GetAttribute(L"n"));
    ASSERT_TRUE(doc.FindElement(L"item"));
    EXPECT_EQ(L"2", doc.GetAttribute(L"n"));
    EXPECT_FALSE(doc.FindElement(L"item"));
    EXPECT_EQ(L"2", doc.GetAttribute(L"n")) << "a failed find leaves the cursor";
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(L"macro", doc.GetTagName());
    EXPECT_FALSE(doc.LeaveElement()) << "already at the top level";
    // Entering again goes back to where the walk left the children.
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_EQ(L"2", doc.GetAttribute(L"n"));
}

TEST(XmlDocNavigation, EnteringAChildlessElement) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDocText(L"<r><leaf a=\"1\"/></r>"));
    ASSERT_TRUE(Enter(doc, L"r"));
    ASSERT_TRUE(Enter(doc, L"leaf"));
    EXPECT_FALSE(doc.FindElement(L""));
    EXPECT_FALSE(doc.FindElement(L"leaf"));
    EXPECT_EQ(L"", doc.GetTagName());
    EXPECT_EQ(L"", doc.GetAttribute(L"a"));
    EXPECT_FALSE(doc.EnterElement());
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(L"leaf", doc.GetTagName());
    EXPECT_EQ(L"1", doc.GetAttribute(L"a"));
}

// ---------------------------------------------------------------------------------------
// Attribute values

struct DecodeCase {
    const char* written;  // between double quotes in a start tag
    const char* expected;
};

class AttributeDecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(AttributeDecodeTest, DecodesReferences) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDocText(L"<a v=\"" + W(GetParam().written) + L"\"/>"));
    ASSERT_TRUE(doc.FindElement(L"a"));
    EXPECT_EQ(W(GetParam().expected), doc.GetAttribute(L"v"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AttributeDecodeTest,
    ::testing::Values(
        DecodeCase{"&#x41;&#65;", "AA"}, DecodeCase{"&amp;&lt;&gt;&quot;&apos;", "&<>\"'"},
        DecodeCase{"&AMP;&Lt;", "&<"}, DecodeCase{"&eacute;&copy;&nbsp;&thetasym;", "é©\u00a0ϑ"},
        DecodeCase{"&Alpha;&alpha;&ALPHA;", "Αα\u03b1"}, DecodeCase{"&#x1F42D;&#128045;", "🐭🐭"},
        DecodeCase{"&foo; &amp", "&foo; &amp"},
        DecodeCase{"&#0;&#x;&#;&#x110000;&#xD800;&#65", "&#0;&#x;&#;&#x110000;&#xD800;&#65"},
        DecodeCase{"&#99999999999999999999;", "&#99999999999999999999;"},
        DecodeCase{"&averylongname;&eacuté;&;", "&averylongname;&eacuté;&;"},
        DecodeCase{"&&amp;&#38;#65;", "&&&#65;"}, DecodeCase{"a>b 'c'", "a>b 'c'"}));

TEST(XmlDocAttributes, QuotingAndScanning) {
    CXmlDoc doc;
    ASSERT_TRUE(
        doc.SetDocText(L"<a one='1' two = \"2\" three=3 bare four='x\"y' five=\"a>b\" six=v/>"));
    ASSERT_TRUE(doc.FindElement(L"a"));
    EXPECT_EQ(L"1", doc.GetAttribute(L"one"));
    EXPECT_EQ(L"2", doc.GetAttribute(L"two"));
    EXPECT_EQ(L"3", doc.GetAttribute(L"three"));
    EXPECT_EQ(L"", doc.GetAttribute(L"bare"));
    EXPECT_EQ(L"x\"y", doc.GetAttribute(L"four"));
    EXPECT_EQ(L"a>b", doc.GetAttribute(L"five"));
    EXPECT_EQ(L"v", doc.GetAttribute(L"six"));
    EXPECT_EQ(L"", doc.GetAttribute(L"On"));
    // An empty value is there; a name that differs in case, or is only a prefix, is not.
    EXPECT_TRUE(doc.HasAttribute(L"bare"));
    EXPECT_TRUE(doc.HasAttribute(L"six"));
    EXPECT_FALSE(doc.HasAttribute(L"On"));
    EXPECT_FALSE(doc.HasAttribute(L"fiv"));
}

TEST(XmlDocAttributes, SetValuesReadBackUnchanged) {
    const std::wstring values[] = {L"a \"quoted\" & 'apostrophe'", L"<tag>", L"&amp; stays text",
                                   W("鼠标 🐭"), L""};
    CXmlDoc doc;
    doc.SetDocText(L"<r/>");
    ASSERT_TRUE(doc.FindElement(L"r"));
    for (const auto& value : values) {
        ASSERT_TRUE(doc.SetAttribute(L"v", value));
        EXPECT_EQ(value, doc.GetAttribute(L"v"));
        CXmlDoc reparsed;
        ASSERT_TRUE(reparsed.SetDocText(doc.GetDocText()));
        ASSERT_TRUE(reparsed.FindElement(L"r"));
        EXPECT_EQ(value, reparsed.GetAttribute(L"v"));
    }
    EXPECT_EQ(L"<r v=\"\"/>", doc.GetDocText());
}

// ---------------------------------------------------------------------------------------
// Parsing

struct ParseCase {
    const char* label;
    const char* text;
    bool wellFormed;
    const char* logged;  // a piece of the result log, "" for an empty log
};

class ParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, JudgesAndLogs) {
    const ParseCase& param = GetParam();
    CXmlDoc doc;
    EXPECT_EQ(param.wellFormed, doc.SetDocText(W(param.text)));
    EXPECT_EQ(param.wellFormed, doc.IsWellFormed());
    const std::string log = WideToUtf8(doc.GetResult());
    if (*param.logged == '\0') {
        EXPECT_EQ("", log);
    } else {
        EXPECT_NE(std::string::npos, log.find(param.logged)) << log;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseTest,
    ::testing::Values(
        ParseCase{"declaration_comment_cdata",
                  "<?xml version=\"1.0\"?><!-- <x> --><r><![CDATA[<y>]]></r>", true, ""},
        ParseCase{"doctype_subset",
                  "<!DOCTYPE r [<!ENTITY e \"a>b\"><!-- > --><!ATTLIST r a CDATA #IMPLIED>]><r/>",
                  true, ""},
        ParseCase{"doctype_bad_declaration", "<!DOCTYPE r [<!BAD>]><r/>", false,
                  "<doctype_tag_syntax offset=\"13\"/>"},
        ParseCase{"two_roots", "<a/><b/>", false, "<root_has_sibling/>"},
        ParseCase{"empty", "", false, "<no_root_element/>"},
        ParseCase{"only_text", "hello", false, "<no_root_element/>"},
        ParseCase{"unclosed", "<r><a></r>", false,
                  "<unended_start_tag tagname=\"a\" offset=\"3\" offset2=\"6\"/>"},
        ParseCase{"unclosed_root", "<r>", false, "<unended_start_tag tagname=\"r\""},
        ParseCase{"lone_end", "<r></x></r>", false, "<lone_end_tag tagname=\"x\" offset=\"3\"/>"},
        ParseCase{"first_tag", "<r>< r</r>", false, "<first_tag_syntax offset=\"3\"/>"},
        ParseCase{"exclamation", "<r><!x></r>", false, "<exclamation_tag_syntax offset=\"3\"/>"},
        ParseCase{"comment_syntax", "<r><!-x></r>", false, "<comment_tag_syntax offset=\"3\"/>"},
        ParseCase{"cdata_syntax", "<r><![x]></r>", false, "<cdata_section_syntax offset=\"3\"/>"},
        ParseCase{"unterminated_start", "<r><a b=\"1></r>", false,
                  "<unterminated_tag_syntax type=\"start_tag\" offset=\"3\"/>"},
        ParseCase{"unterminated_end", "<r></r", false, "type=\"end_tag\""},
        ParseCase{"unterminated_comment", "<r/><!-- x", false, "type=\"comment\""},
        ParseCase{"unterminated_cdata", "<r><![CDATA[x", false, "type=\"cdata_section\""},
        ParseCase{"unterminated_pi", "<r/><?pi", false, "type=\"processing_instruction\""},
        ParseCase{"unterminated_doctype", "<!DOCTYPE r [", false, "type=\"document_type\""},
        ParseCase{"unterminated_tag", "<r/><", false, "type=\"tag\""},
        ParseCase{"quoted_gt_in_tag", "<r a=\"x>y\" b='>'></r>", true, ""},
        ParseCase{"wide_names", "<设备 名=\"x\"><{odd}/></设备>", true, ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(XmlDocParse, UnendedElementsHandTheirChildrenToTheirParent) {
    CXmlDoc doc;
    EXPECT_FALSE(doc.SetDocText(L"<r><a><b/><c></c></r>"));
    // a is unended at </r>: b and c become its following siblings.
    EXPECT_EQ(L"<r|||||<a|||||><b|||||><c|||||>>", fuzz::WalkAll(doc));
}

TEST(XmlDocParse, IndexSpansSeveralBlocks) {
    // Records live in blocks of 65,536; a handle's high bits pick the block.
    constexpr int kElements = 70000;
    std::wstring text = L"<r>";
    for (int index = 0; index < kElements; ++index) {
        text += L"<e n=\"" + std::to_wstring(index) + L"\"/>";
    }
    text += L"</r>";
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDocText(text));
    ASSERT_TRUE(Enter(doc, L"r"));
    int count = 0;
    while (doc.FindElement(L"e")) {
        ASSERT_EQ(std::to_wstring(count), doc.GetAttribute(L"n"));
        ++count;
    }
    EXPECT_EQ(kElements, count);
    ASSERT_TRUE(doc.AddElement(L"last"));
    ASSERT_TRUE(doc.SetAttribute(L"n", L"end"));
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_EQ(L"end", doc.GetAttribute(L"n"));
    EXPECT_TRUE(CXmlDoc().SetDocText(doc.GetDocText()));
}

TEST(XmlDocParse, RunawayNestingIsNotWellFormed) {
    std::wstring text;
    for (int level = 0; level < 300; ++level) {
        text += L"<n>";
    }
    for (int level = 0; level < 300; ++level) {
        text += L"</n>";
    }
    CXmlDoc doc;
    EXPECT_FALSE(doc.SetDocText(text));
    EXPECT_NE(std::wstring::npos, doc.GetResult().find(L"<nesting_too_deep"));
    fuzz::WalkAll(doc);

    std::wstring deepest;
    for (int level = 0; level < CXmlDoc::kMaxNestingLevel; ++level) {
        deepest += L"<n>";
    }
    for (int level = 0; level < CXmlDoc::kMaxNestingLevel; ++level) {
        deepest += L"</n>";
    }
    EXPECT_TRUE(doc.SetDocText(deepest)) << WideToUtf8(doc.GetResult());
}

TEST(XmlDocParse, TagsTooLongForTheIndexAreNotWellFormed) {
    const std::wstring longName(1100, L'n');
    CXmlDoc doc;
    EXPECT_FALSE(doc.SetDocText(L"<" + longName + L"></" + longName + L">"));
    EXPECT_NE(std::wstring::npos, doc.GetResult().find(L"<tag_too_long"));

    const std::wstring longAttribute = L"<r a=\"" + std::wstring(size_t{1} << 22, L'v') + L"\"/>";
    EXPECT_FALSE(doc.SetDocText(longAttribute));
    EXPECT_NE(std::wstring::npos, doc.GetResult().find(L"<tag_too_long"));

    ASSERT_TRUE(doc.SetDocText(L"<r/>"));
    ASSERT_TRUE(doc.FindElement(L"r"));
    EXPECT_FALSE(doc.SetAttribute(L"a", std::wstring(size_t{1} << 22, L'v')));
    EXPECT_EQ(L"<r/>", doc.GetDocText());
}

TEST(XmlDocParse, ResultLogStopsGrowingPastItsLimit) {
    std::wstring text = L"<r>";
    for (int index = 0; index < 500; ++index) {
        text += L"<!x>";
    }
    text += L"</r>";
    CXmlDoc doc;
    EXPECT_FALSE(doc.SetDocText(text));
    EXPECT_GT(doc.GetResult().size(), 999u);
    EXPECT_LT(doc.GetResult().size(), 1100u);
}

// ---------------------------------------------------------------------------------------
// Files and encodings

struct FixtureCase {
    const char* file;
    uint32_t flags;
};

class PythonFixtureTest : public XmlDocFileTest, public ::testing::WithParamInterface<FixtureCase> {
protected:
    // The fixtures as Python writes them today, made once for all cases.
    static void SetUpTestSuite() {
        s_generated = fs::temp_directory_path() / ("tavik_xml_python_fixtures_" + ProcessSuffix());
        if (!HavePeers()) {
            return;
        }
        fs::remove_all(s_generated);
        s_generatorOutput.clear();
        s_generatorStatus = RunPeer(
            Python() + " " + Quote(DataDir() / "make_fixtures.py") + " " + Quote(s_generated),
            &s_generatorOutput);
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        fs::remove_all(s_generated, ignored);
    }

    static fs::path s_generated;
    static int s_generatorStatus;
    static std::string s_generatorOutput;
};

fs::path PythonFixtureTest::s_generated;
int PythonFixtureTest::s_generatorStatus = -1;
std::string PythonFixtureTest::s_generatorOutput;

void ExpectFixture(const fs::path& file, uint32_t flags) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.LoadFile(file.wstring())) << WideToUtf8(doc.GetResult());
    EXPECT_EQ(flags, doc.GetDocFlags());
    ExpectDocument(doc, kCatalogue);
}

TEST_P(PythonFixtureTest, ReadsCommittedFixture) {
    ExpectFixture(DataDir() / GetParam().file, GetParam().flags);
}

TEST_P(PythonFixtureTest, SavesTheSameBytesAgain) {
    const fs::path original = DataDir() / GetParam().file;
    CXmlDoc doc;
    ASSERT_TRUE(doc.LoadFile(original.wstring()));
    const fs::path copy = Path("copy.xml");
    ASSERT_TRUE(doc.SaveFile(copy.wstring())) << WideToUtf8(doc.GetResult());
    EXPECT_EQ(ReadBytes(original), ReadBytes(copy)) << WideToUtf8(doc.GetResult());
}

TEST_P(PythonFixtureTest, ReadsWhatPythonWritesNow) {
    if (!HavePeers()) {
        GTEST_SKIP() << "python3 and xmllint are not available";
    }
    ASSERT_EQ(0, s_generatorStatus) << s_generatorOutput;
    const fs::path file = s_generated / GetParam().file;
    std::string output;
    EXPECT_EQ(0, RunPeer("xmllint --noout " + Quote(file), &output)) << output;
    ExpectFixture(file, GetParam().flags);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, PythonFixtureTest,
    ::testing::Values(FixtureCase{"utf8.xml", 0},
                      FixtureCase{"utf8-bom.xml", CXmlDoc::kDocFlagUtf8Mark},
                      FixtureCase{"utf16le-bom.xml", CXmlDoc::kDocFlagUtf16LittleEndianMark},
                      FixtureCase{"utf16be-bom.xml", CXmlDoc::kDocFlagUtf16BigEndianMark},
                      FixtureCase{"latin1.xml", 0}, FixtureCase{"cp1252.xml", 0},
                      FixtureCase{"ascii.xml", 0}),
    [](const auto& info) {
        std::string name = info.param.file;
        for (char& c : name) {
            if (c == '.' || c == '-') {
                c = '_';
            }
        }
        return name;
    });

TEST_F(XmlDocFileTest, NamedAndNumericReferencesFromADocumentType) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.LoadFile((DataDir() / "entities.xml").wstring()))
        << WideToUtf8(doc.GetResult());
    const std::vector<ExpectedElement> expected = {
        {0,
         "profile",
         {{"name", "Café © …"}, {"greek", "Αα"}, {"refs", "AB🐭©"}, {"mixed", "<&>\"'"}}},
        {1, "item", {{"text", "one\ttwo"}}},
    };
    ExpectDocument(doc, expected);
    if (HavePeers()) {
        ExpectPeersRead(DataDir() / "entities.xml", expected);
    }
}

TEST_F(XmlDocFileTest, MarkAndNoMarkGiveTheSameText) {
    CXmlDoc withMark;
    CXmlDoc withoutMark;
    ASSERT_TRUE(withMark.LoadFile((DataDir() / "utf8-bom.xml").wstring()));
    ASSERT_TRUE(withoutMark.LoadFile((DataDir() / "utf8.xml").wstring()));
    EXPECT_EQ(withoutMark.GetDocText(), withMark.GetDocText());
    EXPECT_NE(std::wstring::npos, withMark.GetResult().find(L"<bom/>"));
    EXPECT_EQ(std::wstring::npos, withoutMark.GetResult().find(L"<bom/>"));
}

TEST_F(XmlDocFileTest, SurrogatePairsSurviveUtf16) {
    // "🐭" in UTF-16 little-endian is 3D D8 2D DC.
    const std::string file = std::string("\xFF\xFE", 2) +
                             std::string("<\0r\0 \0a\0=\0\"\0\x3D\xD8\x2D\xDC\"\0/\0>\0", 22);
    WriteBytes(Path("pair.xml"), file);
    CXmlDoc doc;
    ASSERT_TRUE(doc.LoadFile(Path("pair.xml").wstring())) << WideToUtf8(doc.GetResult());
    ASSERT_TRUE(doc.FindElement(L"r"));
    EXPECT_EQ(W("🐭"), doc.GetAttribute(L"a"));
    ASSERT_TRUE(doc.SaveFile(Path("again.xml").wstring()));
    EXPECT_EQ(file, ReadBytes(Path("again.xml")));
}

struct DecodingCase {
    const char* label;
    std::string bytes;
    bool wellFormed;
    const char* value;   // of attribute a of the root
    const char* logged;  // a piece of the result log
};

class DecodingTest : public XmlDocFileTest, public ::testing::WithParamInterface<DecodingCase> {};

TEST_P(DecodingTest, ReadsDeclaredAndDetectedEncodings) {
    WriteBytes(Path("in.xml"), GetParam().bytes);
    CXmlDoc doc;
    EXPECT_EQ(GetParam().wellFormed, doc.LoadFile(Path("in.xml").wstring()))
        << WideToUtf8(doc.GetResult());
    doc.FindElement(L"");
    if (doc.GetTagName() == L"html") {
        doc.EnterElement();
        doc.FindElement(L"body");
    }
    EXPECT_EQ(W(GetParam().value), doc.GetAttribute(L"a"));
    const std::string log = WideToUtf8(doc.GetResult());
    EXPECT_NE(std::string::npos, log.find(GetParam().logged)) << log;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodingTest,
    ::testing::Values(
        DecodingCase{"windows_1252",
                     "<?xml version=\"1.0\" encoding=\"Windows-1252\"?><r a=\"\x80\xE9\x9F\"/>",
                     true, "€éŸ", "<converted_to encoding=\"UTF-16\""},
        DecodingCase{"latin9", "<?xml version='1.0' encoding='iso-8859-15'?><r a='\xA4\xBD'/>",
                     true, "€œ", "encoding=\"iso-8859-15\""},
        DecodingCase{"unknown_name_is_ansi",
                     "<?xml version=\"1.0\" encoding=\"x-nonsense\"?><r a=\"\xE9\"/>", true, "é",
                     "<read encoding=\"x-nonsense\""},
        DecodingCase{"html_charset",
                     "<html><head><title>t</title><meta http-equiv=\"content-type\" "
                     "content=\"text/html; Charset = windows-1252\"><link></head>"
                     "<body a=\"\xE9\"></body></html>",
                     false, "é", "<read encoding=\"windows-1252\""},
        DecodingCase{"no_mark_no_declaration", "<r a=\"\xC3\xA9\"/>", true, "é",
                     "<read encoding=\"UTF-8\""},
        DecodingCase{"undetermined_valid_utf8", " <r a=\"\xC3\xA9\"/>", true, "é",
                     "<utf8_detection/>"},
        DecodingCase{"undetermined_falls_back_to_ansi", " <r a=\"\xE9\"/>", true, "é",
                     "<utf8_detection/>"},
        DecodingCase{"nulls_removed", std::string("<r a=\"x\0y\"/>\0", 13), true, "xy",
                     "<nulls_removed count=\"2\"/>"},
        DecodingCase{"utf16_odd_trailing_byte",
                     std::string("\xFE\xFF\0<\0r\0 \0a\0=\0'\0z\0'\0/\0>\0", 23), true, "z",
                     "<endian_swap/>"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(XmlDocFileTest, SavingInADeclaredCodePage) {
    CXmlDoc doc;
    BuildDocument(doc, L"<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n",
                  {{0, "r", {{"a", "Café 5 € «x»"}}}});
    ASSERT_TRUE(doc.SaveFile(Path("cp.xml").wstring()));
    EXPECT_EQ(std::string("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n"
                          "<r a=\"Caf\xE9 5 \x80 \xABx\xBB\"/>\r\n"),
              ReadBytes(Path("cp.xml")));
    EXPECT_EQ(std::wstring::npos, doc.GetResult().find(L"conversion_loss"));
    if (HavePeers()) {
        ExpectPeersRead(Path("cp.xml"), {{0, "r", {{"a", "Café 5 € «x»"}}}});
    }

    ASSERT_TRUE(doc.SetAttribute(L"b", W("鼠")));
    ASSERT_TRUE(doc.SaveFile(Path("lossy.xml").wstring()));
    EXPECT_NE(std::wstring::npos, doc.GetResult().find(L"<conversion_loss/>"));
    EXPECT_NE(std::string::npos, ReadBytes(Path("lossy.xml")).find("b=\"?\""));
}

TEST_F(XmlDocFileTest, PeersReadOurCatalogueInEveryEncoding) {
    if (!HavePeers()) {
        GTEST_SKIP() << "python3 and xmllint are not available";
    }
    const wchar_t* declarations[] = {
        L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n",
        L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n",
        L"",
    };
    int index = 0;
    for (const wchar_t* declaration : declarations) {
        CXmlDoc doc;
        BuildDocument(doc, declaration, kCatalogue);
        const fs::path file = m_folder / ("ours" + std::to_string(index++) + ".xml");
        ASSERT_TRUE(doc.SaveFile(file.wstring()));
        ExpectPeersRead(file, kCatalogue);
        CXmlDoc reader;
        ASSERT_TRUE(reader.LoadFile(file.wstring())) << WideToUtf8(reader.GetResult());
        ExpectDocument(reader, kCatalogue);
    }
}

TEST_F(XmlDocFileTest, FailuresAreReportedAndLeaveAnEmptyDocument) {
    CXmlDoc doc;
    EXPECT_FALSE(doc.LoadFile(Path("missing.xml").wstring()));
    EXPECT_EQ(0u, doc.GetResult().find(L"<file_error msg=\""));
    EXPECT_NE(std::wstring::npos, doc.GetResult().find(L"\" n=\""));
    EXPECT_EQ(L"", doc.GetDocText());
    EXPECT_FALSE(doc.FindElement(L""));

    for (const char* text : {"<a/><b/>", "<r><unclosed></r>"}) {
        WriteBytes(Path("bad.xml"), text);
        EXPECT_FALSE(doc.LoadFile(Path("bad.xml").wstring())) << text;
        EXPECT_TRUE(doc.FindElement(L"")) << "still indexed and walkable";
    }

    EXPECT_FALSE(doc.LoadBytes(std::string(CXmlDoc::kMaxFileBytes + 1, ' ')));
    EXPECT_EQ(0u, doc.GetResult().find(L"<file_error"));

    doc.SetDocText(L"<r/>");
    EXPECT_FALSE(doc.SaveFile((m_folder / "no" / "such" / "folder.xml").wstring()));
    EXPECT_NE(std::wstring::npos, doc.GetResult().find(L"<file_error"));

    CXmlDoc empty;
    ASSERT_TRUE(empty.SaveFile(Path("empty.xml").wstring()));
    EXPECT_EQ("", ReadBytes(Path("empty.xml")));
}

TEST(XmlDocEncoding, CodePageFromName) {
    const struct {
        const wchar_t* name;
        int codePage;
    } cases[] = {
        {L"utf-8", 65001},
        {L"UTF-8", 65001},
        {L"Utf8", 65001},
        {L"utf-16", 1200},
        {L"UTF-16LE", 1200},
        {L"unicode", 1200},
        {L"utf-16be", 1201},
        {L"us-ascii", 20127},
        {L"ASCII", 20127},
        {L"iso-8859-1", 28591},
        {L"windows-1252", 1252},
        {L"GB2312", 936},
        {L"gbk", 936},
        {L"Shift_JIS", 932},
        {L"big5", 950},
        {L"UTF-32", 12000},
        {L"utf-32be", 12001},
        {L"klingon", 0},
        {L"", 0},
        {L"utf-8 ", 0},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(entry.codePage, CodePageFromName(entry.name)) << WideToUtf8(entry.name);
    }
    EXPECT_EQ(0, CodePageFromName(std::wstring(100, L'a')));
}

// ---------------------------------------------------------------------------------------
// Inputs the fuzzer once crashed on, and its seeds, replayed exactly as the fuzzer ran them.

TEST_F(XmlDocFileTest, ReplaysFuzzCrashesAndSeeds) {
    const fs::path folders[] = {DataDir() / "crashes",
                                fs::path(TAVIK_SOURCE_DIR) / "fuzz" / "corpus" / "xml_doc"};
    const std::wstring scratch = Path("scratch.xml").wstring();
    int replayed = 0;
    for (const auto& folder : folders) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (!entry.is_regular_file() || entry.path().filename() == "README.md") {
                continue;
            }
            const std::string bytes = ReadBytes(entry.path());
            EXPECT_TRUE(fuzz::ExerciseXmlDoc(reinterpret_cast<const uint8_t*>(bytes.data()),
                                             bytes.size(), scratch))
                << entry.path().string();
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace tavik
