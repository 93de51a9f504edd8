#include <gtest/gtest.h>

#include <functional>

#include "platform/automation/errors.h"
#include "platform/xml/dom.h"
#include "tests/platform/xml/temp_dir.h"
#include "tests/support/error_of.h"

namespace {

using ax::Variant;
using namespace ax::xml;

std::shared_ptr<ax::Object> obj(const Variant& v) { return v.object(); }

using testsupport::errorOf;

// Builds <root><rows><row id="7" name="a&amp;b"><city>Oslo</city></row><row id="8"/></rows></root>
// the way a late-bound caller does: every step by member name.
DocumentPtr buildByName(const std::string& encoding) {
    auto doc = Document::create();
    auto pi = obj(ax::callMethod(*doc, "createProcessingInstruction",
                                 {Variant("xml"), Variant("version='1.0' encoding='" + encoding + "'")}));
    ax::callMethod(*doc, "appendChild", {Variant(pi)});
    auto root = obj(ax::callMethod(*doc, "createElement", {Variant("root")}));
    ax::setProperty(*doc, "documentElement", Variant(root));
    auto rows = obj(ax::callMethod(*doc, "createNode", {Variant(int32_t(1)), Variant("rows"), Variant("")}));
    ax::callMethod(*root, "appendChild", {Variant(rows)});
    for (const char* id : {"7", "8"}) {
        auto row = obj(ax::callMethod(*doc, "createElement", {Variant("row")}));
        ax::letProperty(*row, "text", Variant(""));
        ax::callMethod(*rows, "appendChild", {Variant(row)});
        auto attr = obj(ax::callMethod(*doc, "createAttribute", {Variant("id")}));
        ax::letProperty(*attr, "value", Variant(id));
        ax::callMethod(*row, "setAttributeNode", {Variant(attr)});
        if (std::string(id) == "7") {
            auto name = obj(ax::callMethod(*doc, "createAttribute", {Variant("name")}));
            ax::letProperty(*name, "value", Variant("a&b"));
            ax::callMethod(*row, "setAttributeNode", {Variant(name)});
            auto city = obj(ax::callMethod(*doc, "createElement", {Variant("city")}));
            ax::letProperty(*city, "text", Variant("Oslo"));
            ax::callMethod(*row, "appendChild", {Variant(city)});
        }
    }
    return doc;
}

TEST(XmlDom, DocumentBuiltByNameReadsBackByName) {
    vntest::TempDir dir;
    const std::string path = dir.file("out.xml");
    auto built = buildByName("UTF-8");
    ax::callMethod(*built, "save", {Variant(path)});

    auto doc = Document::create();
    ASSERT_TRUE(ax::callMethod(*doc, "load", {Variant(path)}).toBoolean());
    auto root = obj(ax::getProperty(*doc, "documentElement"));
    EXPECT_EQ(ax::getProperty(*root, "tagName").toString(), "root");
    ASSERT_TRUE(ax::callMethod(*root, "hasChildNodes").toBoolean());
    auto rows = obj(ax::callMethod(*root, "selectSingleNode", {Variant("rows")}));
    ASSERT_TRUE(rows);
    EXPECT_EQ(ax::getProperty(*rows, "nodeName").toString(), "rows");

    auto first = obj(ax::getProperty(*rows, "firstChild"));
    auto attrs = obj(ax::getProperty(*first, "attributes"));
    ASSERT_EQ(ax::getProperty(*attrs, "length").toLong(), 2);
    auto a0 = obj(ax::getProperty(*attrs, "item", {Variant(int32_t(0))}));
    auto a1 = obj(ax::getProperty(*attrs, "item", {Variant(int32_t(1))}));
    EXPECT_EQ(ax::getProperty(*a0, "name").toString(), "id");
    EXPECT_EQ(ax::getProperty(*a0, "value").toString(), "7");
    EXPECT_EQ(ax::getProperty(*a1, "nodeName").toString(), "name");
    EXPECT_EQ(ax::getProperty(*a1, "text").toString(), "a&b");
    EXPECT_TRUE(ax::getProperty(*attrs, "item", {Variant(int32_t(2))}).object() == nullptr);

    auto kids = obj(ax::getProperty(*first, "childNodes"));
    EXPECT_EQ(ax::getProperty(*kids, "length").toLong(), 1);
    auto city = obj(ax::callMethod(*kids, "nextNode"));
    EXPECT_EQ(ax::getProperty(*city, "nodeName").toString(), "city");
    EXPECT_EQ(ax::getProperty(*city, "text").toString(), "Oslo");
    EXPECT_TRUE(ax::callMethod(*kids, "nextNode").object() == nullptr);
    auto cityText = obj(ax::getProperty(*city, "firstChild"));
    EXPECT_EQ(ax::getProperty(*cityText, "nodeName").toString(), "#text");

    auto second = obj(ax::getProperty(*first, "nextSibling"));
    EXPECT_FALSE(ax::callMethod(*second, "hasChildNodes").toBoolean());
    EXPECT_TRUE(ax::getProperty(*second, "nextSibling").object() == nullptr);
    EXPECT_TRUE(std::static_pointer_cast<Node>(obj(ax::getProperty(*rows, "lastChild")))
                    ->isSameNode(std::static_pointer_cast<Node>(second)));
    EXPECT_EQ(ax::getProperty(*doc, "text").toString(), "Oslo");

    // The declaration survives as the first node, and the document's markup escapes what it must.
    const std::string xml = ax::getProperty(*doc, "xml").toString();
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << xml;
    EXPECT_NE(xml.find("name=\"a&amp;b\""), std::string::npos);

    // Emptying a container the way a late-bound caller does: remove the last child until none is left.
    while (ax::callMethod(*rows, "hasChildNodes").toBoolean()) {
        auto last = obj(ax::getProperty(*rows, "lastChild"));
        auto removed = obj(ax::callMethod(*rows, "removeChild", {Variant(last)}));
        EXPECT_EQ(ax::getProperty(*removed, "nodeName").toString(), "row");
    }
    EXPECT_EQ(ax::getProperty(*obj(ax::getProperty(*rows, "childNodes")), "length").toLong(), 0);
    EXPECT_EQ(ax::getProperty(*doc, "xml").toString().find("<row "), std::string::npos);
}

TEST(XmlDom, TreeChangesMoveNodesAndRemovedNodesStayUsable) {
    auto doc = Document::create();
    ASSERT_TRUE(doc->loadXML("<r><a>1</a><b>2<i>x</i></b><c>3</c></r>"));
    auto root = doc->documentElement();
    auto a = root->selectSingleNode("a");
    auto c = root->selectSingleNode("c");
    // Moving: appending an attached node moves it.
    root->appendChild(a);
    EXPECT_EQ(root->text(), "2x31");
    root->insertBefore(a, Variant(std::static_pointer_cast<ax::Object>(c)));
    EXPECT_EQ(root->text(), "2x13");

    auto removed = root->removeChild(root->selectSingleNode("b"));
    EXPECT_EQ(root->text(), "13");
    EXPECT_TRUE(removed->parentNode() == nullptr);
    EXPECT_EQ(removed->text(), "2x");
    // Many more removals and creations (which free nodes nobody holds) leave the held one intact.
    for (int i = 0; i < 500; ++i) {
        auto e = doc->createElement("tmp");
        root->appendChild(e);
        root->removeChild(root->lastChild());
    }
    root->appendChild(removed);
    EXPECT_EQ(root->text(), "132x");
    EXPECT_EQ(root->childNodes()->length(), 3);

    // setText replaces the children; a child object taken before still reads its own text.
    auto i = removed->selectSingleNode("i");
    removed->setText("new");
    EXPECT_EQ(removed->text(), "new");
    EXPECT_EQ(i->text(), "x");
    EXPECT_TRUE(i->parentNode() == nullptr);

    // Replacing the document element.
    auto other = doc->createElement("other");
    doc->setDocumentElement(other);
    EXPECT_EQ(doc->documentElement()->tagName(), "other");
    EXPECT_EQ(root->parentNode(), nullptr);

    // Refusals.
    EXPECT_EQ(errorOf([&] { doc->appendChild(doc->createElement("second")); }),
              ax::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { other->appendChild(other); }), ax::err::InvalidProcedureCall);
    auto inner = doc->createElement("inner");
    other->appendChild(inner);
    EXPECT_EQ(errorOf([&] { inner->appendChild(other); }), ax::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { other->removeChild(root); }), ax::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { doc->createElement("1bad"); }), ax::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { doc->createElement("a b"); }), ax::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { doc->createTextNode("t")->appendChild(inner); }), ax::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { ax::callMethod(*doc, "noSuchMember"); }), ax::err::MemberNotFound);
}

TEST(XmlDom, AttributesAttachReplaceAndDetach) {
    auto doc = Document::create();
    ASSERT_TRUE(doc->loadXML("<r a='1' b='2'/>"));
    auto r = doc->documentElement();
    auto b = r->getAttributeNode("b");
    auto fresh = doc->createAttribute("b");
    fresh->setValue("22");
    auto old = r->setAttributeNode(fresh);
    ASSERT_TRUE(old);
    EXPECT_EQ(old->value(), "2");
    EXPECT_EQ(b->value(), "2");  // the replaced attribute object keeps its value
    EXPECT_FALSE(b->attached());
    EXPECT_EQ(r->getAttribute("b").toString(), "22");
    fresh->setValue("23");  // attached: writes through to the element
    EXPECT_EQ(r->getAttribute("b").toString(), "23");
    EXPECT_EQ(errorOf([&] { doc->createElement("x")->setAttributeNode(fresh); }),
              ax::err::InvalidProcedureCall);
    r->removeAttribute("b");
    EXPECT_TRUE(r->getAttribute("b").isNull());
    EXPECT_EQ(fresh->value(), "23");
    EXPECT_EQ(r->attributes()->length(), 1);
    auto map = r->attributes();
    EXPECT_EQ(map->nextNode()->name(), "a");
    EXPECT_TRUE(map->nextNode() == nullptr);
    // A non-element has no attribute map.
    EXPECT_TRUE(doc->createTextNode("t")->attributes() == nullptr);
}

TEST(XmlDom, SelectSingleNodePathsAndNodeListWalks) {
    auto doc = Document::create();
    ASSERT_TRUE(doc->loadXML("<r><x/><a id='1'><b>one</b></a><a id='2'><b>two</b></a></r>"));
    auto r = doc->documentElement();
    EXPECT_EQ(r->selectSingleNode("a")->selectSingleNode("@id")->text(), "1");
    EXPECT_EQ(r->selectSingleNode("a/b")->text(), "one");
    EXPECT_EQ(r->selectSingleNode("*")->nodeName(), "x");
    EXPECT_EQ(r->selectSingleNode("a/..")->nodeName(), "r");
    EXPECT_EQ(r->selectSingleNode("/r/a/b")->text(), "one");
    EXPECT_EQ(r->selectSingleNode("a[@id='2']/b")->text(), "two");  // beyond plain paths: XPath
    EXPECT_TRUE(r->selectSingleNode("missing") == nullptr);
    EXPECT_TRUE(r->selectSingleNode("b") == nullptr);  // only children, not deeper descendants
    EXPECT_EQ(errorOf([&] { r->selectSingleNode("a[["); }), ax::err::InvalidProcedureCall);
    // Nodes removed from the tree are not found by a search from the document.
    r->removeChild(r->selectSingleNode("x"));
    EXPECT_TRUE(doc->selectSingleNode("//x") == nullptr);
    r->selectSingleNode("a")->appendChild(doc->createElement("x"));
    ASSERT_TRUE(doc->selectSingleNode("//x"));
    EXPECT_EQ(doc->selectSingleNode("//x")->parentNode()->nodeName(), "a");
    EXPECT_EQ(doc->selectSingleNode("//a[@id='2']/@id")->text(), "2");

    // Whitespace-only text is dropped on load unless the document is asked to keep it.
    auto spaced = Document::create();
    ASSERT_TRUE(spaced->loadXML("<r>\n  <a/>\n</r>"));
    EXPECT_EQ(spaced->documentElement()->childNodes()->length(), 1);
    ax::letProperty(*spaced, "preserveWhiteSpace", Variant(true));
    ASSERT_TRUE(spaced->loadXML("<r>\n  <a/>\n</r>"));
    EXPECT_EQ(spaced->documentElement()->childNodes()->length(), 3);

    // item() over a long list walks forwards from the last position, and follows tree changes.
    auto big = doc->createElement("big");
    for (int i = 0; i < 2000; ++i) {
        auto e = doc->createElement("e");
        e->setText(std::to_string(i));
        big->appendChild(e);
    }
    auto list = big->childNodes();
    ASSERT_EQ(list->length(), 2000);
    long sum = 0;
    for (int i = 0; i < list->length(); ++i) sum += std::stol(list->item(i)->text());
    EXPECT_EQ(sum, 1999L * 2000 / 2);
    EXPECT_EQ(list->item(1999)->text(), "1999");
    EXPECT_EQ(list->item(3)->text(), "3");
    big->removeChild(big->firstChild());
    EXPECT_EQ(list->length(), 1999);
    EXPECT_EQ(list->item(0)->text(), "1");
    EXPECT_TRUE(list->item(1999) == nullptr);
    EXPECT_TRUE(list->item(-1) == nullptr);
    // Default member and reset.
    std::vector<Variant> args{Variant(int32_t(1))};
    EXPECT_EQ(
        std::static_pointer_cast<Node>(list->Invoke("", ax::InvokeKind::PropertyGet, args).object())->text(),
        "2");
    list->nextNode();
    list->reset();
    EXPECT_EQ(list->nextNode()->text(), "1");
}

TEST(XmlDom, SavesInTheDeclaredEncodingAndLoadsItBack) {
    vntest::TempDir dir;
    // The file's first bytes: a byte-order mark for UTF-16, then "<" in the encoding's layout.
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"UTF-8", "<?"},
        {"UNICODE-1-1-UTF-8", "<?"},
        {"UNICODE-2-0-UTF-8", "<?"},
        {"UTF-16", std::string("\xFF\xFE<\0", 4)},
        {"UCS-2", std::string("\xFF\xFE<\0", 4)},
        {"ISO-10646-UCS-2", std::string("\xFF\xFE<\0", 4)},
        {"UNICODE-2-0-UTF-16", std::string("\xFF\xFE<\0", 4)},
        {"UTF-16BE", std::string("\xFE\xFF\0<", 4)},
        {"UCS-4", std::string("\0\0\0<", 4)},
        {"UTF-32LE", std::string("<\0\0\0", 4)},
    };
    const std::string text = "Zoë 東京 \xF0\x9F\x98\x80 <&>";
    for (const auto& [name, first] : cases) {
        SCOPED_TRACE(name);
        auto doc = buildByName(name);
        doc->documentElement()->selectSingleNode("rows/row/city")->setText(text);
        const std::string path = dir.file(std::string(name) + ".xml");
        doc->save(path);
        const std::string bytes = vntest::readBytes(path);
        EXPECT_EQ(bytes.substr(0, first.size()), first);

        auto back = Document::create();
        ASSERT_TRUE(back->load(path)) << back->parseError()->reason();
        EXPECT_EQ(back->documentElement()->selectSingleNode("rows/row/city")->text(), text);
        EXPECT_EQ(back->documentElement()->selectSingleNode("rows/row/@name")->text(), "a&b");
        // Saved again, it keeps its encoding.
        back->save(path);
        EXPECT_EQ(vntest::readBytes(path), bytes);
    }

    // No encoding in the declaration, or no declaration: UTF-8.
    auto none = Document::create();
    none->appendChild(none->createProcessingInstruction("xml", "version='1.0'"));
    none->setDocumentElement(none->createElement("root"));
    none->documentElement()->setText("é");
    none->save(dir.file("none.xml"));
    EXPECT_EQ(vntest::readBytes(dir.file("none.xml")), "<?xml version=\"1.0\"?>\n<root>é</root>\n");

    // An encoding the DOM cannot write is refused before the file is touched.
    auto odd = buildByName("EBCDIC-XYZ");
    EXPECT_EQ(errorOf([&] { odd->save(dir.file("odd.xml")); }), ax::err::InvalidProcedureCall);
    EXPECT_FALSE(std::filesystem::exists(dir.file("odd.xml")));
    // A declaration whose data is not pseudo-attributes is refused when it is made.
    EXPECT_EQ(errorOf([&] { none->createProcessingInstruction("xml", "version=1.0"); }),
              ax::err::InvalidProcedureCall);
}

// Files in 8-bit encodings read as the characters their bytes stand for, and keep every character
// when written again: what the encoding cannot hold goes out as a character reference.
TEST(XmlDom, EightBitFilesReadTheirCharactersAndWriteBackWhatTheyCannotHoldAsReferences) {
    vntest::TempDir dir;
    const std::string latin1 = dir.file("latin1.xml");
    vntest::writeBytes(latin1, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r a=\"caf\xE9\">\xFC</r>");
    auto doc = Document::create();
    ASSERT_TRUE(doc->load(latin1)) << doc->parseError()->reason();
    EXPECT_EQ(doc->documentElement()->getAttribute("a").toString(), "café");
    doc->documentElement()->setText("€ ü");
    doc->documentElement()->setAttribute("b", ax::Variant("Ω"));
    doc->save(latin1);
    const std::string written = vntest::readBytes(latin1);
    EXPECT_NE(written.find("&#8364; \xFC"), std::string::npos) << written;
    EXPECT_NE(written.find("b=\"&#937;\""), std::string::npos) << written;
    auto back = Document::create();
    ASSERT_TRUE(back->load(latin1));
    EXPECT_EQ(back->documentElement()->text(), "€ ü");
    EXPECT_EQ(back->documentElement()->getAttribute("b").toString(), "Ω");

    // Windows-1252 has the euro sign and the typographic quotes in 0x80..0x9F.
    const std::string cp1252 = dir.file("cp1252.xml");
    vntest::writeBytes(cp1252, "<?xml version='1.0' encoding='windows-1252'?>\n<r>\x80\x93x\x94 \xE9</r>");
    ASSERT_TRUE(doc->load(cp1252)) << doc->parseError()->reason();
    EXPECT_EQ(doc->documentElement()->text(), "€“x” é");
    doc->save(cp1252);
    EXPECT_NE(vntest::readBytes(cp1252).find("<r>\x80\x93x\x94 \xE9</r>"), std::string::npos);

    // US-ASCII writes everything beyond it as references.
    auto ascii = buildByName("US-ASCII");
    ascii->documentElement()->setText("né");
    ascii->save(dir.file("ascii.xml"));
    EXPECT_NE(vntest::readBytes(dir.file("ascii.xml")).find("n&#233;"), std::string::npos);

    // A character no reference can stand for (in a name) makes the save fail and keeps the old file.
    const std::string before = vntest::readBytes(latin1);
    back->documentElement()->appendChild(back->createElement("Ωmega"));
    EXPECT_EQ(errorOf([&] { back->save(latin1); }), ax::err::InvalidProcedureCall);
    EXPECT_EQ(vntest::readBytes(latin1), before);

    // Multi-byte encodings read as well; an encoding nothing here can read is refused when loading,
    // not read as something else.
    const std::string sjis = dir.file("sjis.xml");
    vntest::writeBytes(sjis, "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><r>\x82\xA0</r>");
    ASSERT_TRUE(doc->load(sjis)) << doc->parseError()->reason();
    EXPECT_EQ(doc->documentElement()->text(), "\xE3\x81\x82");
    vntest::writeBytes(sjis, "<?xml version=\"1.0\" encoding=\"x-nothing-8\"?><r>\x82\xA0</r>");
    EXPECT_FALSE(doc->load(sjis));
    EXPECT_EQ(doc->parseError()->errorCode(), ax::xml::parse_code::UnsupportedEncoding);
    EXPECT_EQ(doc->documentElement(), nullptr);
}

TEST(XmlDom, UnwritablePathRaisesAndAFailedSaveKeepsTheOldFile) {
    vntest::TempDir dir;
    auto doc = buildByName("UTF-8");
    EXPECT_EQ(errorOf([&] { doc->save(dir.file("no/such/folder/x.xml")); }), ax::err::PathFileAccessError);
    EXPECT_EQ(errorOf([&] { doc->save(dir.path().string()); }), ax::err::PathFileAccessError);
    EXPECT_EQ(errorOf([&] { doc->save(""); }), ax::err::PathFileAccessError);
    // By name, the error reaches the caller the same way.
    EXPECT_EQ(errorOf([&] { ax::callMethod(*doc, "save", {Variant(dir.file("no/x.xml"))}); }),
              ax::err::PathFileAccessError);

    const std::string path = dir.file("keep.xml");
    vntest::writeBytes(path, "<old>content</old>");
    // A document that cannot be written in its declared encoding fails before anything changes.
    EXPECT_NE(errorOf([&] { buildByName("X-UNKNOWN")->save(path); }), 0);
    EXPECT_EQ(vntest::readBytes(path), "<old>content</old>");
    // Saving over a folder that holds the file cannot replace a folder.
    std::filesystem::create_directory(dir.file("sub.xml"));
    EXPECT_EQ(errorOf([&] { doc->save(dir.file("sub.xml")); }), ax::err::PathFileAccessError);
    // No temporary file is left behind by a failed save.
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos);
}

}  // namespace

namespace {

// The bulk readers and writer give what the node objects give, in the same order.
TEST(XmlDom, BulkReadersAndWriterAgreeWithTheNodeObjects) {
    auto doc = Document::create();
    ASSERT_TRUE(doc->loadXML("<r><row a='1' b='x&amp;y'><e>t<i>u</i></e><!--c--><f/>tail</row></r>"));
    const ElementPtr row = std::dynamic_pointer_cast<Element>(doc->documentElement()->firstChild());
    ASSERT_TRUE(row);

    std::vector<std::string> seen;
    row->forEachAttribute(
        [&](const char* n, const std::string& v) { seen.push_back(std::string(n) + "=" + v); });
    EXPECT_EQ(seen, (std::vector<std::string>{"a=1", "b=x&y"}));

    std::vector<std::string> expected;
    for (NodePtr c = row->firstChild(); c; c = c->nextSibling())
        expected.push_back(std::to_string(c->nodeTypeValue()) + " " + c->nodeName() + " " + c->text());
    seen.clear();
    row->forEachChild([&](NodeType t, const char* n, const std::string& text) {
        seen.push_back(std::to_string(static_cast<int32_t>(t)) + " " + std::string(n) + " " + text);
    });
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(seen.size(), 4u);
    seen.clear();
    row->forEachChildElement([&](Element& e) { seen.push_back(e.tagName() + ":" + e.text()); });
    EXPECT_EQ(seen, (std::vector<std::string>{"e:tu", "f:"}));  // the comment and the text are no elements
    EXPECT_TRUE(row->hasAttributes());
    EXPECT_FALSE(std::dynamic_pointer_cast<Element>(row->lastChild()->previousSibling())->hasAttributes());

    row->appendTextChild("g", "new");
    row->appendTextChild("h", "");
    EXPECT_EQ(row->lastChild()->xml(), "<h/>");
    EXPECT_EQ(row->lastChild()->previousSibling()->xml(), "<g>new</g>");
    EXPECT_EQ(errorOf([&] { row->appendTextChild("1bad", "x"); }), ax::err::InvalidProcedureCall);
    EXPECT_EQ(row->lastChild()->nodeName(), "h");  // nothing added by the refused call
}

// Emptying an element at once must leave the same tree and the same usable objects as removing its
// children one by one.
TEST(XmlDom, RemovingAllChildrenKeepsHeldNodesUsable) {
    auto doc = Document::create();
    ASSERT_TRUE(doc->loadXML("<r><a x='1'><b>deep</b></a>text<!--c--><d/></r>"));
    const ElementPtr root = doc->documentElement();
    const NodePtr a = root->firstChild();
    const NodePtr b = a->firstChild();  // held below a removed child
    const auto nodes = root->childNodes();
    EXPECT_EQ(nodes->length(), 4);

    root->removeChildNodes();
    EXPECT_FALSE(root->hasChildNodes());
    EXPECT_EQ(root->xml(), "<r/>");
    EXPECT_EQ(nodes->length(), 0);  // live lists see the change
    EXPECT_EQ(root->text(), "");
    EXPECT_TRUE(a->parentNode() == nullptr);
    EXPECT_EQ(b->text(), "deep");
    EXPECT_EQ(a->xml(), "<a x=\"1\"><b>deep</b></a>");
    root->appendChild(a);  // a removed node goes back in whole
    EXPECT_EQ(root->xml(), "<r><a x=\"1\"><b>deep</b></a></r>");

    // Many children nobody holds, one of them with children of its own: nothing is left of them.
    for (int i = 0; i < 500; ++i) root->appendTextChild("row", std::to_string(i));
    NodePtr chain = root->appendChild(doc->createElement("chain"));
    for (int i = 0; i < 50; ++i) chain = chain->appendChild(doc->createElement("d"));
    chain.reset();
    root->removeChildNodes();
    EXPECT_EQ(root->xml(), "<r/>");
    EXPECT_EQ(a->xml(), "<a x=\"1\"><b>deep</b></a>");
    EXPECT_EQ(doc->xml().find("row"), std::string::npos);

    // A document keeps working after losing its declaration and element this way.
    ASSERT_TRUE(doc->loadXML("<?xml version='1.0'?><!--c--><r><x/></r>"));
    doc->removeChildNodes();
    EXPECT_FALSE(doc->hasChildNodes());
    EXPECT_TRUE(doc->documentElement() == nullptr);
    doc->appendChild(doc->createElement("fresh"));
    EXPECT_EQ(doc->documentElement()->tagName(), "fresh");
}

}  // namespace
