// A saved document reads back as the same tree, and a document that would not is not saved.
#include <gtest/gtest.h>

#include "platform/automation/errors.h"
#include "platform/xml/dom.h"
#include "tests/platform/xml/temp_dir.h"
#include "tests/support/error_of.h"

namespace {

using namespace ax::xml;
using testsupport::errorOf;

TEST(XmlRoundTrip, ASavedDocumentReadsBackAsTheSameTree) {
    vntest::TempDir dir;
    auto doc = Document::create();
    ASSERT_TRUE(doc->loadXML(
        "<?xml version='1.0'?>\n<!-- kept -->\n<r a='x&#13;&#10;y&#9;z'>\n"
        "  <cr>one&#13;two&#13;&#10;three</cr>\n  <ws>&#32;&#32;</ws>\n  <tab>&#9;</tab>\n"
        "  <p>one <b>two</b> three</p>\n  <c><![CDATA[a]]]]><![CDATA[>b]]></c>\n  <?app data?>\n</r>"));
    const ElementPtr r = doc->documentElement();
    auto cdata = doc->createCDATASection("line\rend");
    r->appendChild(cdata);
    const std::string before = doc->xml();

    const std::string path = dir.file("out.xml");
    doc->save(path);
    auto back = Document::create();
    ASSERT_TRUE(back->load(path)) << back->parseError()->reason();
    const ElementPtr b = back->documentElement();
    EXPECT_EQ(b->getAttribute("a").toString(), "x\r\ny\tz");
    EXPECT_EQ(b->selectSingleNode("cr")->text(), "one\rtwo\r\nthree");
    EXPECT_EQ(b->selectSingleNode("ws")->text(), "  ");  // text of spaces only is not dropped
    EXPECT_EQ(b->selectSingleNode("tab")->text(), "\t");
    EXPECT_EQ(b->selectSingleNode("p")->text(), "one two three");  // no indentation inside mixed content
    EXPECT_EQ(b->selectSingleNode("p")->childNodes()->length(), 3);
    EXPECT_EQ(b->selectSingleNode("c")->text(), "a]]>b");
    EXPECT_EQ(b->text().substr(b->text().size() - 8), "line\rend");
    EXPECT_EQ(back->xml(), before);
    // Saved again, the file does not change.
    const std::string bytes = vntest::readBytes(path);
    back->save(path);
    EXPECT_EQ(vntest::readBytes(path), bytes);
}

TEST(XmlRoundTrip, ADocumentThatWouldNotLoadAgainIsNotSaved) {
    vntest::TempDir dir;
    const std::string path = dir.file("keep.xml");
    const std::string old = "<old>content</old>";
    auto fresh = [] {
        auto doc = Document::create();
        doc->loadXML("<r><e>x</e></r>");
        return doc;
    };
    const std::vector<std::pair<std::string, std::function<void(Document&)>>> cases = {
        {"no document element", [](Document& d) { d.removeChild(d.documentElement()); }},
        {"control character in text", [](Document& d) { d.documentElement()->setText("a\x01"); }},
        {"control character in an attribute",
         [](Document& d) { d.documentElement()->setAttribute("a", ax::Variant("\x1F")); }},
        {"lone surrogate", [](Document& d) { d.documentElement()->setText("\xED\xB0\x80"); }},
        {"not a character", [](Document& d) { d.documentElement()->setText("\xEF\xBF\xBE"); }},
        {"comment with two hyphens",
         [](Document& d) { d.documentElement()->appendChild(d.createComment("a--b")); }},
        {"instruction that ends early",
         [](Document& d) { d.documentElement()->appendChild(d.createProcessingInstruction("p", "a?>b")); }},
        {"undeclared prefix", [](Document& d) { d.documentElement()->appendChild(d.createElement("p:x")); }},
    };
    for (const auto& [label, spoil] : cases) {
        SCOPED_TRACE(label);
        vntest::writeBytes(path, old);
        auto doc = fresh();
        spoil(*doc);
        EXPECT_EQ(errorOf([&] { doc->save(path); }), ax::err::InvalidProcedureCall);
        EXPECT_EQ(vntest::readBytes(path), old);
    }
    // A prefix with its namespace declared is saved.
    auto doc = fresh();
    doc->documentElement()->appendChild(doc->createNode(ax::Variant(int32_t(1)), "p:x", "urn:p"));
    doc->save(path);
    EXPECT_NE(vntest::readBytes(path).find("<p:x xmlns:p=\"urn:p\""), std::string::npos);
}

}  // namespace
