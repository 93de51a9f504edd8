#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <random>

#include "platform/automation/errors.h"
#include "platform/xml/dom.h"
#include "tests/platform/xml/temp_dir.h"

namespace {

using namespace ax::xml;

TEST(XmlHostileInput, EntityDeclarationsAreRefusedNeverExpanded) {
    vntest::TempDir dir;
    const std::string laughs =
        "<?xml version='1.0'?><!DOCTYPE lolz [<!ENTITY lol 'lol'>"
        "<!ENTITY lol2 '&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;'>"
        "<!ENTITY lol3 '&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;'>"
        "<!ENTITY lol9 '&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;'>]><lolz>&lol9;</lolz>";
    const std::string external =
        "<?xml version='1.0'?><!DOCTYPE r [<!ENTITY xxe SYSTEM 'file:///etc/passwd'>]><r>&xxe;</r>";
    const std::string parameter =
        "<!DOCTYPE r [<!ENTITY % p SYSTEM 'http://example.invalid/evil.dtd'> %p;]><r/>";
    // Declarations that would change what a conforming parser reads: refused rather than ignored.
    const std::string defaults = "<!DOCTYPE r [<!ATTLIST row a CDATA 'given'>]><r><row/></r>";
    const std::string tokens = "<!DOCTYPE r [<!ATTLIST row a NMTOKENS #IMPLIED>]><r><row a=' x  y '/></r>";
    const std::string outside = "<!DOCTYPE r SYSTEM 'rows.dtd'><r>&declaredThere;</r>";
    for (const std::string& markup : {laughs, external, parameter, defaults, tokens, outside}) {
        auto doc = Document::create();
        EXPECT_FALSE(doc->loadXML(markup));
        EXPECT_EQ(doc->parseError()->errorCode(), parse_code::DeclarationsRefused);
        EXPECT_FALSE(doc->parseError()->reason().empty());
        EXPECT_TRUE(doc->documentElement() == nullptr);  // a failed load leaves the document empty
    }
    // From a file, by name, the same.
    vntest::writeBytes(dir.file("laughs.xml"), laughs);
    auto doc = Document::create();
    std::vector<ax::Variant> args{ax::Variant(dir.file("laughs.xml"))};
    EXPECT_FALSE(doc->Invoke("load", ax::InvokeKind::Method, args).toBoolean());
    auto error = ax::getProperty(*doc, "parseError").object();
    EXPECT_NE(ax::getProperty(*error, "errorCode").toLong(), 0);

    // A DOCTYPE that only names an external DTD, or declares what changes nothing, is accepted, and
    // the DTD is never read.
    auto plain = Document::create();
    ASSERT_TRUE(plain->loadXML("<!DOCTYPE r [<!ELEMENT r ANY><!ATTLIST r a CDATA #IMPLIED>]><r a='1'/>"));
    ASSERT_TRUE(plain->loadXML("<!DOCTYPE r SYSTEM 'missing-file.dtd'><r>ok</r>"));
    EXPECT_EQ(plain->documentElement()->text(), "ok");
    EXPECT_EQ(plain->firstChild()->nodeType(), NodeType::DocumentType);
}

TEST(XmlHostileInput, BrokenOrMissingDocumentsReportWhy) {
    vntest::TempDir dir;
    auto doc = Document::create();
    EXPECT_FALSE(doc->load(dir.file("absent.xml")));
    EXPECT_EQ(doc->parseError()->errorCode(), parse_code::FileNotFound);
    EXPECT_FALSE(doc->load(dir.path().string()));
    EXPECT_EQ(doc->parseError()->errorCode(), parse_code::FileUnreadable);

    const std::string truncated = "<root>\n  <row id='1'>one</row>\n  <row id='2'>tw";
    vntest::writeBytes(dir.file("cut.xml"), truncated);
    EXPECT_FALSE(doc->load(dir.file("cut.xml")));
    EXPECT_EQ(doc->parseError()->errorCode(), parse_code::Malformed);
    EXPECT_FALSE(doc->parseError()->reason().empty());
    EXPECT_EQ(doc->parseError()->line(), 3);
    EXPECT_TRUE(doc->documentElement() == nullptr);

    for (const std::string& bad : {std::string(), std::string("   "), std::string("<!-- only -->"),
                                   std::string("<a><b></a>"), std::string("text"), std::string("<a/><b/>")}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(doc->loadXML(bad));
        EXPECT_NE(doc->parseError()->errorCode(), 0);
    }
    // After a failure, a good load works and clears the error.
    EXPECT_TRUE(doc->loadXML("<ok/>"));
    EXPECT_EQ(doc->parseError()->errorCode(), 0);
}

TEST(XmlHostileInput, RandomBytesNeverCrash) {
    std::mt19937 rng(20261207);
    auto doc = Document::create();
    int loaded = 0;
    for (int i = 0; i < 300; ++i) {
        std::string bytes(rng() % 400, '\0');
        for (auto& b : bytes) b = static_cast<char>(rng() & 0xFF);
        if (i % 3 == 0) bytes = "<a b='" + bytes + "'>" + bytes + "</a>";  // near-valid shapes too
        if (doc->loadXML(bytes)) {
            ++loaded;
            (void)doc->documentElement()->text();
            (void)doc->xml();
        } else {
            EXPECT_NE(doc->parseError()->errorCode(), 0);
        }
    }
    EXPECT_LT(loaded, 300);
}

TEST(XmlHostileInput, DeepNestingLoadsWalksSavesAndFreesWithoutRecursion) {
    vntest::TempDir dir;
    const int depth = 100000;
    std::string markup;
    markup.reserve(depth * 8 + 16);
    for (int i = 0; i < depth; ++i) markup += "<d>";
    markup += "x";
    for (int i = 0; i < depth; ++i) markup += "</d>";
    auto doc = Document::create();
    ASSERT_TRUE(doc->loadXML(markup));
    EXPECT_EQ(doc->documentElement()->text(), "x");
    EXPECT_EQ(doc->text(), "x");
    doc->save(dir.file("deep.xml"));
    auto back = Document::create();
    ASSERT_TRUE(back->load(dir.file("deep.xml")));
    EXPECT_EQ(back->documentElement()->text(), "x");
    // Removing the deep subtree and letting it be freed costs no stack either.
    auto root = back->documentElement();
    root->removeChild(root->firstChild());
    for (int i = 0; i < 200; ++i) root->appendChild(back->createElement("e"));
    for (int i = 0; i < 200; ++i) root->removeChild(root->lastChild());
    EXPECT_FALSE(root->hasChildNodes());
    // So does emptying an element at once.
    ASSERT_TRUE(back->load(dir.file("deep.xml")));
    back->documentElement()->removeChildNodes();
    EXPECT_EQ(back->documentElement()->xml(), "<d/>");
}

TEST(XmlHostileInput, WriteFailingHalfWayLeavesTheOldFileWhole) {
    vntest::TempDir dir;
    const std::string path = dir.file("data.xml");
    const std::string old = "<old>" + std::string(100, 'o') + "</old>";
    vntest::writeBytes(path, old);

    auto doc = Document::create();
    doc->setDocumentElement(doc->createElement("new"));
    doc->documentElement()->setText(std::string(200000, 'n'));

    // A file-size limit makes the write fail part way, as a full disk would.
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    int number = 0;
    try {
        doc->save(path);
    } catch (const ax::AutomationError& e) {
        number = e.number();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(number, ax::err::PathFileAccessError);
    EXPECT_EQ(vntest::readBytes(path), old);
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1u);  // the temporary file was removed
    // Without the limit the same save replaces the file.
    doc->save(path);
    EXPECT_NE(vntest::readBytes(path).find("<new>nnn"), std::string::npos);
}

}  // namespace
