// The XML binding as a host uses it: real files in both forms and both encodings, the grid written
// back and saved, the name rules, damaged and hostile documents, and what a transaction refuses.
#include "platform/xml/dom.h"
#include "tests/grid/exchange/exchange_host.h"
#include "tests/support/error_of.h"

namespace vantrel::test {
namespace {

using XmlTest = GridTest;

// UTF-16 little-endian with a byte-order mark, from UTF-8 text of the basic plane.
std::string utf16(const std::string& utf8) {
    std::string out = "\xFF\xFE";
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char b = static_cast<unsigned char>(utf8[i]);
        uint32_t cp;
        if (b < 0x80)
            cp = b, i += 1;
        else if (b < 0xE0)
            cp = ((b & 0x1Fu) << 6) | (utf8[i + 1] & 0x3Fu), i += 2;
        else
            cp = ((b & 0x0Fu) << 12) | ((utf8[i + 1] & 0x3Fu) << 6) | (utf8[i + 2] & 0x3Fu), i += 3;
        out.push_back(char(cp & 0xFF));
        out.push_back(char(cp >> 8));
    }
    return out;
}

std::vector<std::string> row(Vantrel& g, int32_t r) {
    std::vector<std::string> out;
    for (int32_t c = 0; c < g.Cols(); ++c) out.push_back(g.TextMatrix(r, c));
    return out;
}

constexpr const char* kRootChild =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<data version=\"2\">\n"
    "  <meta><owner>me</owner></meta>\n"
    "  <items>\n"
    "    <item a=\"1\" b=\"two &amp; &lt;three&gt;\"><c>caf\xC3\xA9</c></item>\n"
    "    <item/>\n"
    "    <!-- a note between rows -->\n"
    "    <item b=\"x\"><c/><d>new</d></item>\n"
    "  </items>\n"
    "</data>\n";

TEST_F(XmlTest, RootChildFormLoadsEditsWritesBackAndSaves) {
    TempDir dir;
    grid->setXMLFilePath(dir.write("in.xml", kRootChild));
    grid->LoadXMLDoc();
    EXPECT_EQ(grid->RootElementTagName(), "data");
    grid->setRootChildTagName("items");
    grid->setFixedRows(0);

    ASSERT_TRUE(grid->LoadXMLRootChild(true));
    EXPECT_EQ(grid->FixedRows(), 1);
    EXPECT_EQ(grid->FixedCols(), 0);
    EXPECT_EQ(grid->Rows(), 3);  // the empty <item/> adds no row
    EXPECT_EQ(grid->Cols(), 4);
    EXPECT_EQ(row(*grid, 0), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(row(*grid, 1), (std::vector<std::string>{"1", "two & <three>", "caf\xC3\xA9", ""}));
    EXPECT_EQ(row(*grid, 2), (std::vector<std::string>{"", "x", "", "new"}));
    EXPECT_EQ(grid->RowElementTagName(), "item");
    EXPECT_FALSE(grid->SuppressBindingReset());
    atColumn(1);
    EXPECT_EQ(grid->ColAttributeName(), "b");
    atColumn(2);
    EXPECT_EQ(grid->ColElementName(), "c");
    EXPECT_EQ(grid->ColAttributeName(), "");

    // Edit as the user would, add a row, write back, save elsewhere and read the file again.
    grid->setTextMatrix(2, 0, "9");
    grid->AddItem("\t\"q\"\t\t]]>");
    ASSERT_TRUE(grid->UpdateXMLRootChild());
    const std::string out = dir.file("out.xml");
    grid->setXMLFilePath(out);
    ASSERT_TRUE(grid->SaveXMLDoc());

    auto doc = ax::xml::Document::create();
    ASSERT_TRUE(doc->load(out));
    EXPECT_EQ(doc->documentElement()->getAttribute("version").toString(), "2");
    EXPECT_EQ(doc->documentElement()->selectSingleNode("meta/owner")->text(), "me");
    const auto items = doc->documentElement()->selectSingleNode("items");
    ASSERT_NE(items, nullptr);
    ASSERT_EQ(items->childNodes()->length(), 3);  // data rows only: no heading row written
    const auto first = std::dynamic_pointer_cast<ax::xml::Element>(items->firstChild());
    EXPECT_EQ(first->tagName(), "item");
    EXPECT_EQ(first->getAttribute("a").toString(), "1");
    EXPECT_EQ(first->getAttribute("b").toString(), "two & <three>");
    EXPECT_EQ(first->attributes()->length(), 2);
    EXPECT_EQ(first->selectSingleNode("c")->text(), "caf\xC3\xA9");
    EXPECT_EQ(first->childNodes()->length(), 2);
    const auto second = std::dynamic_pointer_cast<ax::xml::Element>(first->nextSibling());
    EXPECT_EQ(second->getAttribute("a").toString(), "9");

    // Round trip: the saved file loads back to the same cells.
    const std::vector<std::vector<std::string>> before{row(*grid, 1), row(*grid, 2), row(*grid, 3)};
    grid->LoadXMLDoc();
    grid->setRootChildTagName("items");
    ASSERT_TRUE(grid->LoadXMLRootChild(true));
    EXPECT_EQ(grid->Rows(), 4);
    EXPECT_EQ((std::vector<std::vector<std::string>>{row(*grid, 1), row(*grid, 2), row(*grid, 3)}), before);
    EXPECT_EQ(grid->TextMatrix(3, 1), "\"q\"");
    EXPECT_EQ(grid->TextMatrix(3, 3), "]]>");

    // Removing the container, then writing it again at the end of the document element.
    ASSERT_TRUE(grid->DeleteXMLRootChild());
    EXPECT_EQ(grid->XMLDocument()->documentElement()->selectSingleNode("items"), nullptr);
    EXPECT_FALSE(grid->DeleteXMLRootChild());
    ASSERT_TRUE(grid->UpdateXMLRootChild());
    EXPECT_EQ(grid->XMLDocument()->documentElement()->lastChild()->nodeName(), "items");
}

TEST_F(XmlTest, RootFormFromUtf16WithElementColumnsFirst) {
    TempDir dir;
    const std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-16\"?>"
        "<people><person><name>\xC3\x85sa</name><age>31</age></person>"
        "<person id=\"p2\"><age>40</age><name>Bo</name></person>"
        "<person id=\"p3\" kind=\"x\"/></people>";
    grid->setXMLFilePath(dir.write("people.xml", utf16(xml)));
    grid->LoadXMLDoc();
    ASSERT_EQ(grid->RootElementTagName(), "people");
    std::vector<ax::Variant> args;  // the heading argument is optional
    grid->Invoke("LoadXMLRoot", ax::InvokeKind::Method, args);
    // Without tag names as headings the rows start at the grid's fixed rows (one here).
    EXPECT_EQ(grid->FixedRows(), 1);
    EXPECT_EQ(grid->Rows(), 4);
    EXPECT_EQ(row(*grid, 0), (std::vector<std::string>{"", "", "", ""}));
    // The first element name took the starting column; the first attribute name came after.
    EXPECT_EQ(row(*grid, 1), (std::vector<std::string>{"\xC3\x85sa", "31", "", ""}));
    EXPECT_EQ(row(*grid, 2), (std::vector<std::string>{"Bo", "40", "p2", ""}));
    EXPECT_EQ(row(*grid, 3), (std::vector<std::string>{"", "", "p3", "x"}));
    EXPECT_EQ(grid->RowElementTagName(), "person");

    // Written back in the root form and saved in the document's own encoding.
    ASSERT_TRUE(grid->UpdateXMLRoot());
    ASSERT_TRUE(grid->SaveXMLDoc());
    const std::string bytes = TempDir::read(grid->XMLFilePath());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    auto doc = ax::xml::Document::create();
    ASSERT_TRUE(doc->load(grid->XMLFilePath()));
    const auto people = doc->documentElement();
    EXPECT_EQ(people->childNodes()->length(), 3);
    const auto p2 = std::dynamic_pointer_cast<ax::xml::Element>(people->childNodes()->item(1));
    EXPECT_EQ(p2->getAttribute("id").toString(), "p2");
    EXPECT_EQ(p2->firstChild()->nodeName(), "name");  // columns are written in column order
    EXPECT_EQ(p2->selectSingleNode("age")->text(), "40");
}

TEST_F(XmlTest, DocumentsWithoutRowsAndDamagedDocuments) {
    TempDir dir;
    fill(4, 4);
    // The container named as the document element: False, and an empty two-row grid.
    grid->setXMLFilePath(dir.write("a.xml", "<items><items><i a='1'/></items></items>"));
    grid->LoadXMLDoc();
    grid->setRootChildTagName("items");
    EXPECT_FALSE(grid->LoadXMLRootChild(true));
    EXPECT_EQ(grid->Rows(), 2);
    EXPECT_EQ(grid->Cols(), 1);
    EXPECT_FALSE(grid->SuppressBindingReset());
    grid->setRootChildTagName("missing");
    EXPECT_FALSE(grid->LoadXMLRootChild(false));
    EXPECT_EQ(grid->Rows(), 2);
    // A document element without children: the root form leaves two rows as well.
    grid->setXMLFilePath(dir.write("b.xml", "<empty/>"));
    grid->LoadXMLDoc();
    grid->LoadXMLRoot(true);
    EXPECT_EQ(grid->Rows(), 2);
    EXPECT_EQ(grid->RootElementTagName(), "empty");

    // Files that cannot be read leave an empty document: the loaders reset the grid and raise.
    const std::string bomb =
        "<?xml version='1.0'?><!DOCTYPE r [<!ENTITY a 'aaaaaaaaaa'><!ENTITY b "
        "'&a;&a;&a;&a;&a;&a;'>]><r>&b;</r>";
    for (const std::string& path :
         {dir.write("c.xml", "<r><row a='1'><b>x</r>"), dir.file("none.xml"), dir.write("d.xml", bomb),
          dir.write("e.xml", ""), dir.write("f.xml", std::string(100000, '<'))}) {
        grid->setRows(4);
        grid->setTextMatrix(1, 0, "x");
        ASSERT_TRUE(grid->CreateXMLDoc("before", XMLEncodingUTF8));
        grid->setXMLFilePath(path);
        grid->LoadXMLDoc();                                       // silent
        EXPECT_EQ(grid->RootElementTagName(), "before") << path;  // keeps its former value
        EXPECT_NE(grid->XMLDocument(), nullptr);
        EXPECT_EQ(errorOf([&] { grid->LoadXMLRoot(true); }), 91) << path;
        EXPECT_EQ(grid->Rows(), 2);
        EXPECT_EQ(grid->Cols(), 1);
        EXPECT_EQ(grid->TextMatrix(1, 0), "");
        EXPECT_TRUE(inner().Redraw());
        EXPECT_FALSE(grid->SuppressBindingReset());
    }
    // A first child that is not an element is a type mismatch.
    grid->setXMLFilePath(dir.write("g.xml", "<r>loose text<row a='1'/></r>"));
    grid->LoadXMLDoc();
    EXPECT_EQ(errorOf([&] { grid->LoadXMLRoot(false); }), ax::err::TypeMismatch);
    // Without any document bound.
    grid->setCols(2);
    EXPECT_EQ(grid->XMLDocument(), nullptr);
    EXPECT_EQ(errorOf([&] { grid->LoadXMLRootChild(true); }), 91);
}

TEST_F(XmlTest, NameRulesAndDesignTime) {
    for (const char* good : {"_a1", "Row", "x", "A_b_9"}) EXPECT_TRUE(IsValidXMLName(good)) << good;
    for (const char* bad : {"", "1abc", "a-b", "a.b", "a:b", "\xC3\xA9t\xC3\xA9", "a b"})
        EXPECT_FALSE(IsValidXMLName(bad)) << bad;

    host->clearPropertyChanges();
    grid->setRowElementTagName("1abc");
    grid->setRowElementTagName("a-b");
    EXPECT_EQ(grid->RowElementTagName(), "");
    grid->setRowElementTagName("_row1");
    EXPECT_EQ(grid->RowElementTagName(), "_row1");
    grid->setRootChildTagName("bad name");
    EXPECT_EQ(grid->RootChildTagName(), "");
    EXPECT_EQ(changes(), (std::vector<std::string>{"RowElementTagName"}));

    fill(3, 3);
    atColumn(1);
    grid->setColElementName("name");
    grid->setColAttributeName("id");
    EXPECT_EQ(grid->ColAttributeName(), "id");
    EXPECT_EQ(grid->ColElementName(), "");
    std::vector<ax::Variant> args{ax::Variant("title")};
    grid->Invoke("ColElementName", ax::InvokeKind::PropertyPut, args);
    EXPECT_EQ(grid->ColElementName(), "title");
    EXPECT_EQ(grid->ColAttributeName(), "");
    grid->setColElementName("not-valid");
    EXPECT_EQ(grid->ColElementName(), "title");
    grid->BeginTrans();
    grid->setColAttributeName("other");
    EXPECT_EQ(grid->ColElementName(), "title");
    EXPECT_EQ(grid->ColAttributeName(), "");
    grid->Commit();

    place(false);
    EXPECT_EQ(errorOf([&] { grid->RootElementTagName(); }), 387);
    EXPECT_EQ(errorOf([&] { grid->setXMLFilePath("x"); }), 387);
    EXPECT_EQ(errorOf([&] { grid->RowElementTagName(); }), 387);
    EXPECT_EQ(errorOf([&] { grid->setRootChildTagName("x"); }), 387);
    EXPECT_EQ(errorOf([&] { grid->ColAttributeName(); }), 382);
    EXPECT_EQ(errorOf([&] { grid->setColElementName("x"); }), 382);
}

TEST_F(XmlTest, CreatingAndSavingDocuments) {
    TempDir dir;
    fill(3, 2);
    grid->setFixedCols(0);
    atColumn(0);
    grid->setColAttributeName("k");
    atColumn(1);
    grid->setColElementName("v");
    grid->setRowElementTagName("pair");
    grid->setRootChildTagName("pairs");
    EXPECT_FALSE(grid->CreateXMLDoc("bad-name", XMLEncodingUTF8));
    EXPECT_EQ(grid->XMLDocument(), nullptr);
    EXPECT_FALSE(grid->SaveXMLDoc());  // no document

    // Every encoding value writes a file that reads back with the same root and rows.
    for (int32_t encoding = 0; encoding <= 8; ++encoding) {
        std::vector<ax::Variant> args{ax::Variant("root"), ax::Variant(encoding)};
        ASSERT_EQ(grid->Invoke("CreateXMLDoc", ax::InvokeKind::Method, args), ax::Variant(true));
        EXPECT_EQ(grid->RootElementTagName(), "root");
        EXPECT_EQ(grid->RowElementTagName(), "pair");  // the names are kept
        EXPECT_FALSE(grid->SaveXMLDoc());              // no path yet
        ASSERT_TRUE(grid->UpdateXMLRootChild());
        grid->setXMLFilePath(dir.file("e" + std::to_string(encoding) + ".xml"));
        ASSERT_TRUE(grid->SaveXMLDoc()) << encoding;
        const std::string bytes = TempDir::read(grid->XMLFilePath());
        if (encoding == XMLEncodingNone) {
            EXPECT_EQ(bytes.find("encoding"), std::string::npos);
            EXPECT_NE(bytes.find("<?xml version"), std::string::npos);
        }
        if (encoding == XMLEncodingUTF16) {
            EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
        }
        auto doc = ax::xml::Document::create();
        ASSERT_TRUE(doc->load(grid->XMLFilePath())) << encoding;
        EXPECT_EQ(doc->documentElement()->tagName(), "root");
        const auto pair = std::dynamic_pointer_cast<ax::xml::Element>(
            doc->documentElement()->selectSingleNode("pairs/pair"));
        ASSERT_NE(pair, nullptr) << encoding;
        EXPECT_EQ(pair->getAttribute("k").toString(), "r1c0");
        EXPECT_EQ(pair->selectSingleNode("v")->text(), "r1c1");
        grid->setXMLFilePath("");
    }
    // An empty new document: declaration and root element only.
    ASSERT_TRUE(grid->CreateXMLDoc("solo", XMLEncodingNone));
    EXPECT_EQ(grid->XMLDocument()->documentElement()->tagName(), "solo");
    EXPECT_FALSE(grid->XMLDocument()->documentElement()->hasChildNodes());
    EXPECT_EQ(grid->XMLDocument()->firstChild()->nodeName(), "xml");
    // A value outside the table names an empty encoding, which the document saves as UTF-8.
    ASSERT_TRUE(grid->CreateXMLDoc("odd", 99));
    grid->setXMLFilePath(dir.file("odd.xml"));
    ASSERT_TRUE(grid->SaveXMLDoc());
    auto odd = ax::xml::Document::create();
    ASSERT_TRUE(odd->load(grid->XMLFilePath()));
    EXPECT_EQ(odd->documentElement()->tagName(), "odd");

    // A save that cannot be written raises an automation error to the caller.
    ASSERT_TRUE(grid->CreateXMLDoc("root", XMLEncodingUTF8));
    grid->setXMLFilePath(dir.file("no/such/folder/x.xml"));
    EXPECT_EQ(errorOf([&] { grid->SaveXMLDoc(); }), ax::err::PathFileAccessError);
    EXPECT_FALSE(std::filesystem::exists(dir.file("no")));

    // Update and delete release a document whose root name is not known, and refuse without names.
    grid->setRowElementTagName("pair");
    ASSERT_TRUE(grid->CreateXMLDoc("root", XMLEncodingUTF8));
    grid->setCols(2);  // forgets the document and every name
    EXPECT_EQ(grid->XMLDocument(), nullptr);
    EXPECT_EQ(grid->RowElementTagName(), "");
    EXPECT_EQ(grid->XMLFilePath(), "");
    EXPECT_FALSE(grid->UpdateXMLRoot());
    ASSERT_TRUE(grid->CreateXMLDoc("root", XMLEncodingUTF8));
    EXPECT_FALSE(grid->UpdateXMLRootChild());  // no container or row name: the document stays
    EXPECT_NE(grid->XMLDocument(), nullptr);
    EXPECT_FALSE(grid->UpdateXMLRoot());  // no row name: the document is released
    EXPECT_EQ(grid->XMLDocument(), nullptr);
}

TEST_F(XmlTest, TransactionsRefuseTheLoadersAndMovingAColumnDropsTheBinding) {
    TempDir dir;
    grid->setXMLFilePath(dir.write("a.xml", "<r><row a='1' b='2'/></r>"));
    grid->LoadXMLDoc();
    grid->LoadXMLRoot(true);
    ASSERT_EQ(grid->Cols(), 2);
    grid->setTextMatrix(1, 0, "edited");
    grid->BeginTrans();
    grid->LoadXMLRoot(true);
    grid->setRootChildTagName("x");
    EXPECT_FALSE(grid->LoadXMLRootChild(true));
    EXPECT_EQ(grid->TextMatrix(1, 0), "edited");
    grid->Commit();

    grid->setRowElementTagName("row");
    inner().setCol(0);
    grid->setColPosition(0, 1);
    EXPECT_EQ(grid->XMLDocument(), nullptr);
    EXPECT_EQ(grid->RootChildTagName(), "");
    EXPECT_EQ(grid->RowElementTagName(), "");
}

// Reading a check-box cell moves the current cell, so the host hears events in the middle of a write
// and may reshape the grid or drop the binding there.
TEST_F(XmlTest, CheckBoxColumnsWriteOneOrZeroAndAHostReshapingTheGridMeanwhileBreaksNothing) {
    TempDir dir;
    grid->setXMLFilePath(dir.write("c.xml",
                                   "<r><row a='x' done='1'><e>p</e></row><row a='y' done='0'><e>q</e></row>"
                                   "<row a='z' done='1'><e>s</e></row></r>"));
    grid->LoadXMLDoc();
    grid->LoadXMLRoot(true);
    ASSERT_EQ(grid->Cols(), 3);
    atColumn(1);
    grid->setColInputStyle(CheckBox);
    grid->setTextMatrix(1, 1, "1");
    grid->setTextMatrix(2, 1, "0");
    grid->setTextMatrix(3, 1, "1");
    ASSERT_TRUE(grid->UpdateXMLRoot());
    auto written = [&] {
        std::vector<std::string> out;
        for (auto n = grid->XMLDocument()->documentElement()->firstChild(); n; n = n->nextSibling())
            out.push_back(n->xml());
        return out;
    };
    EXPECT_EQ(written(), (std::vector<std::string>{"<row a=\"x\" done=\"1\"><e>p</e></row>",
                                                   "<row a=\"y\" done=\"0\"><e>q</e></row>",
                                                   "<row a=\"z\" done=\"1\"><e>s</e></row>"}));

    struct Reshaper : VantrelEvents {
        Vantrel* grid = nullptr;
        int calls = 0;
        void RowColChange() override {
            if (++calls != 1) return;
            grid->setRows(2);  // rows 2 and 3 go away
            grid->setCols(1);  // and so do the check-box and element columns, and the binding
        }
    } reshaper;
    reshaper.grid = grid.get();
    grid->setEventSink(&reshaper);
    // The move onto the check-box cell lands in a column that is gone: the inner grid's error
    // reaches the caller, and nothing is left dangling (the document itself was let go meanwhile).
    EXPECT_EQ(testsupport::errorOf([&] { grid->UpdateXMLRoot(); }), 30010);
    grid->setEventSink(nullptr);
    EXPECT_GE(reshaper.calls, 1);
    EXPECT_EQ(grid->XMLDocument(), nullptr);
    EXPECT_EQ(grid->Rows(), 2);
    EXPECT_EQ(grid->Cols(), 1);
    grid->setXMLFilePath(dir.file("c.xml"));
    grid->LoadXMLDoc();
    grid->LoadXMLRoot(true);
    EXPECT_EQ(grid->Rows(), 4);
    EXPECT_EQ(grid->TextMatrix(2, 1), "0");
}

}  // namespace
}  // namespace vantrel::test
