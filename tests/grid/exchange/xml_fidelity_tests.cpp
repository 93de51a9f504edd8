// What the grid's XML binding does with documents a host hands it: files that are not XML are
// refused with the parser's reason and position, every encoding's text comes back whole after a
// write-back, save and reload, and a save never puts a file a user had at risk.
#include "platform/xml/dom.h"
#include "tests/grid/exchange/exchange_host.h"
#include "tests/support/error_of.h"

namespace vantrel::test {
namespace {

using XmlFidelityTest = GridTest;

// UTF-8 text as UTF-16 or UTF-32 code units, in the given order, with or without a byte-order mark.
std::string wide(const std::string& utf8, int unit, bool big, bool bom) {
    std::u32string chars;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = n == 1 ? b : b & (0xFF >> (n + 1));
        for (int k = 1; k < n; ++k) c = (c << 6) | (utf8[i + k] & 0x3F);
        chars += c;
        i += n;
    }
    if (bom) chars.insert(chars.begin(), 0xFEFF);
    std::string out;
    auto put = [&](uint32_t v, int bytes) {
        for (int k = 0; k < bytes; ++k) out += char((v >> (8 * (big ? bytes - 1 - k : k))) & 0xFF);
    };
    for (char32_t c : chars) {
        if (unit == 4) {
            put(c, 4);
        } else if (c < 0x10000) {
            put(c, 2);
        } else {
            put(0xD800 + ((c - 0x10000) >> 10), 2);
            put(0xDC00 + ((c - 0x10000) & 0x3FF), 2);
        }
    }
    return out;
}

std::string rootDocument(const std::string& encoding, const std::string& attribute, const std::string& text) {
    return "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\n<rows><row a=\"" + attribute + "\"><e>" +
           text + "</e></row></rows>";
}

std::vector<std::string> cells(Vantrel& g) {
    std::vector<std::string> out;
    for (int32_t r = 0; r < g.Rows(); ++r)
        for (int32_t c = 0; c < g.Cols(); ++c) out.push_back(g.TextMatrix(r, c));
    return out;
}

TEST_F(XmlFidelityTest, DocumentsThatAreNotXmlAreRefusedWithTheReasonAndPlace) {
    TempDir dir;
    std::string iso = TempDir::read(VN_XML_TEST_DATA "/iso_3166-2_excerpt.xml");
    struct Case {
        std::string label, bytes;
        int32_t line, linepos;
    };
    const std::vector<Case> cases = {
        // Debian's iso-codes file: a raw "&" in an attribute, line 103.
        {"raw ampersand", iso, 103, 33},
        {"duplicate attribute", "<r>\n<row a=\"1\" a=\"2\"/></r>", 2, 12},
        {"undefined entity", "<r><row a=\"x&foo;y\"/></r>", 1, 4},
        {"declaration after a line feed", "\n<?xml version=\"1.0\"?><r><row a=\"1\"/></r>", 2, 1},
        {"reference to a surrogate", "<r><row a=\"&#xD800;\"/></r>", 1, 12},
        {"control character", "<r><row a=\"x\">\x01</row></r>", 1, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fill(3, 3);
        grid->setXMLFilePath(dir.write("bad.xml", c.bytes));
        grid->LoadXMLDoc();  // silent
        EXPECT_EQ(errorOf([&] { grid->LoadXMLRoot(true); }), ax::err::ObjectNotSet);
        EXPECT_EQ(grid->Rows(), 2);
        EXPECT_EQ(grid->Cols(), 1);
        // The parse error, as a late-bound host reads it.
        auto error = ax::getProperty(*grid->XMLDocument(), "parseError").object();
        EXPECT_EQ(ax::getProperty(*error, "errorCode").toLong(), ax::xml::parse_code::Malformed);
        EXPECT_FALSE(ax::getProperty(*error, "reason").toString().empty());
        EXPECT_EQ(ax::getProperty(*error, "line").toLong(), c.line);
        EXPECT_EQ(ax::getProperty(*error, "linepos").toLong(), c.linepos);
    }
    // The same file with the ampersand escaped is XML: its two countries load.
    for (size_t at; (at = iso.find(" & ")) != std::string::npos;) iso.replace(at, 3, " &amp; ");
    grid->setXMLFilePath(dir.write("good.xml", iso));
    grid->LoadXMLDoc();
    grid->LoadXMLRoot(true);
    EXPECT_EQ(grid->RowElementTagName(), "iso_3166_country");
    EXPECT_EQ(grid->Rows(), 3);
    EXPECT_EQ(grid->TextMatrix(0, 0), "code");
    EXPECT_EQ(grid->TextMatrix(grid->Rows() - 1, 0), "MH");
}

TEST_F(XmlFidelityTest, RowsAfterACommentOrInstructionLoadFromTheFirst) {
    TempDir dir;
    grid->setXMLFilePath(dir.write("c.xml",
                                   "<data><!-- rows follow --><?app v=1?><row a=\"1\"/><!--x--><row a=\"2\"/>"
                                   "<set><?app x?><!-- c --><item b=\"3\"/></set></data>"));
    grid->LoadXMLDoc();
    grid->LoadXMLRoot(true);
    EXPECT_EQ(grid->RowElementTagName(), "row");
    EXPECT_EQ(cells(*grid), (std::vector<std::string>{"a", "item", "1", "", "2", "", "", ""}));
    grid->setRootChildTagName("set");
    ASSERT_TRUE(grid->LoadXMLRootChild(true));
    EXPECT_EQ(grid->RowElementTagName(), "item");
    EXPECT_EQ(cells(*grid), (std::vector<std::string>{"b", "3"}));
}

TEST_F(XmlFidelityTest, EveryEncodingsTextComesBackWholeAfterWriteBackSaveAndReload) {
    TempDir dir;
    struct Case {
        std::string label, bytes, attribute, text, start;  // start: the saved file's first bytes
    };
    const std::string text = "Zo\xC3\xAB &#13;\t&lt;&amp;&gt; \xE6\x9D\xB1\xF0\x9F\x98\x80";
    const std::string cells8 = "Zo\xC3\xAB \r\t<&> \xE6\x9D\xB1\xF0\x9F\x98\x80";
    auto latin1 = [](const std::string& name) {
        return Case{name, rootDocument(name, "caf\xE9", "\xFC\xDF"), "caf\xC3\xA9", "\xC3\xBC\xC3\x9F",
                    "<?xml"};
    };
    const std::vector<Case> cases = {
        {"UTF-8", rootDocument("UTF-8", "a&#13;b", text), "a\rb", cells8, "<?xml"},
        {"UTF-16 LE", wide(rootDocument("UTF-16", "x", text), 2, false, true), "x", cells8, "\xFF\xFE<"},
        {"UTF-16 BE", wide(rootDocument("UTF-16", "x", text), 2, true, true), "x", cells8, "\xFF\xFE<"},
        {"UTF-16LE without mark", wide(rootDocument("UTF-16LE", "x", text), 2, false, false), "x", cells8,
         "\xFF\xFE<"},
        {"UTF-16BE without mark", wide(rootDocument("UTF-16BE", "x", text), 2, true, false), "x", cells8,
         std::string("\xFE\xFF\0<", 4)},
        {"UTF-32 without mark", wide(rootDocument("UCS-4", "x", text), 4, true, false), "x", cells8,
         std::string("\0\0\0<", 4)},
        latin1("ISO-8859-1"),
        latin1("latin-1"),
        latin1("ISO_8859-1"),
        latin1("l1"),
        latin1("csISOLatin1"),
        {"windows-1252", rootDocument("windows-1252", "\x80", "\x93x\x94"), "\xE2\x82\xAC",
         "\xE2\x80\x9Cx\xE2\x80\x9D", "<?xml"},
        {"US-ASCII", rootDocument("US-ASCII", "&#233;", "plain"), "\xC3\xA9", "plain", "<?xml"},
        {"KOI8-R", rootDocument("KOI8-R", "\xC1", "\xC2"), "\xD0\xB0", "\xD0\xB1", "<?xml"},
        {"Latin-9", rootDocument("Latin-9", "\xA4", "x"), "\xE2\x82\xAC", "x", "<?xml"},
        {"Shift_JIS", rootDocument("Shift_JIS", "\x82\xA0", "x"), "\xE3\x81\x82", "x", "<?xml"},
        {"GBK", rootDocument("GBK", "\xC4\xE3", "x"), "\xE4\xBD\xA0", "x", "<?xml"},
        {"Big5", rootDocument("Big5", "\xA4\x40", "x"), "\xE4\xB8\x80", "x", "<?xml"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        grid->setXMLFilePath(dir.write("doc.xml", c.bytes));
        grid->LoadXMLDoc();
        grid->LoadXMLRoot(true);
        ASSERT_EQ(grid->Rows(), 2) << grid->XMLDocument()->parseError()->reason();
        EXPECT_EQ(grid->TextMatrix(1, 0), c.attribute);
        EXPECT_EQ(grid->TextMatrix(1, 1), c.text);
        // A host's texts hold characters few encodings have: references carry them.
        grid->AddItem("\xCE\xA9\r\n\t\xE2\x82\xAC \xE2\x9C\x93 \xF0\x9F\x98\x80");
        const auto before = cells(*grid);
        ASSERT_TRUE(grid->UpdateXMLRoot());
        ASSERT_TRUE(grid->SaveXMLDoc());
        EXPECT_EQ(TempDir::read(grid->XMLFilePath()).substr(0, c.start.size()), c.start);
        grid->LoadXMLDoc();
        grid->LoadXMLRoot(true);
        EXPECT_EQ(cells(*grid), before);
    }
}

TEST_F(XmlFidelityTest, BytesThatContradictTheEncodingAreRefusedNeverReplaced) {
    TempDir dir;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"8-bit bytes declared UTF-16", rootDocument("UTF-16", "caf\xE9", "x")},
        {"a byte beyond US-ASCII", rootDocument("US-ASCII", "caf\xE9", "x")},
        {"a byte windows-1252 leaves undefined", rootDocument("windows-1252", "\x81", "x")},
        {"a Latin-1 byte in UTF-8", "<rows><row a=\"caf\xE9\"/></rows>"},
        {"a lone surrogate in UTF-16",
         wide("<rows><row a=\"x\"/></rows>", 2, false, true).insert(14, "\x00\xD8", 2)},
        {"a UTF-8 mark with a UTF-16 declaration", "\xEF\xBB\xBF" + rootDocument("UTF-16", "x", "x")},
    };
    for (const auto& [label, bytes] : cases) {
        SCOPED_TRACE(label);
        grid->setXMLFilePath(dir.write("bad.xml", bytes));
        grid->LoadXMLDoc();
        EXPECT_EQ(grid->XMLDocument()->parseError()->errorCode(), ax::xml::parse_code::Malformed);
        EXPECT_EQ(grid->XMLDocument()->documentElement(), nullptr);
        EXPECT_EQ(errorOf([&] { grid->LoadXMLRoot(true); }), ax::err::ObjectNotSet);
    }
    grid->setXMLFilePath(dir.write("odd.xml", rootDocument("x-no-such-set", "x", "x")));
    grid->LoadXMLDoc();
    EXPECT_EQ(grid->XMLDocument()->parseError()->errorCode(), ax::xml::parse_code::UnsupportedEncoding);
}

TEST_F(XmlFidelityTest, ASaveNeverPutsTheUsersFileAtRisk) {
    TempDir dir;
    // A file that fails to load, then a save to the same path: refused, the file as it was.
    const std::string truncated = "<?xml version=\"1.0\"?>\n<rows><row a=\"1\"/><row a=";
    for (const std::string& bytes : {truncated, std::string("not xml at all"), std::string()}) {
        const std::string path = dir.write("user.xml", bytes);
        grid->setXMLFilePath(path);
        grid->LoadXMLDoc();
        EXPECT_EQ(errorOf([&] { grid->SaveXMLDoc(); }), ax::err::InvalidProcedureCall);
        EXPECT_EQ(TempDir::read(path), bytes);
    }
    grid->setXMLFilePath(dir.file("missing.xml"));
    grid->LoadXMLDoc();
    EXPECT_EQ(errorOf([&] { grid->SaveXMLDoc(); }), ax::err::InvalidProcedureCall);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.xml")));

    // A cell holding a character XML does not allow, or bytes that are no character at all: the
    // save fails before the file is touched, and succeeds once the cell is put right.
    const std::string path = dir.write("good.xml", "<rows><row a=\"1\"><e>x</e></row></rows>");
    grid->setXMLFilePath(path);
    grid->LoadXMLDoc();
    grid->LoadXMLRoot(true);
    for (const std::string& bad :
         {std::string("a\x01z"), std::string("\xED\xA0\x80"), std::string("\xEF\xBF\xBF")}) {
        grid->setTextMatrix(1, 1, bad);
        ASSERT_TRUE(grid->UpdateXMLRoot());
        EXPECT_EQ(errorOf([&] { grid->SaveXMLDoc(); }), ax::err::InvalidProcedureCall);
        EXPECT_EQ(TempDir::read(path), "<rows><row a=\"1\"><e>x</e></row></rows>");
    }
    grid->setTextMatrix(1, 1, "fine");
    ASSERT_TRUE(grid->UpdateXMLRoot());
    ASSERT_TRUE(grid->SaveXMLDoc());
    EXPECT_NE(TempDir::read(path).find("<e>fine</e>"), std::string::npos);
}

}  // namespace
}  // namespace vantrel::test
