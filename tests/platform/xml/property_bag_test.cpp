#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/automation/font.h"
#include "platform/automation/picture.h"
#include "platform/xml/xml_property_bag.h"
#include "tests/platform/xml/temp_dir.h"
#include "tests/support/error_of.h"

namespace {

using ax::Variant;

ax::PicturePtr checkerPicture() {
    std::vector<uint32_t> px;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            px.push_back((x + y) % 2 ? 0xFF0000FFu : 0x8000FF00u);  // red / half-clear green
    return std::make_shared<ax::Picture>(4, 3, px);
}

ax::FontPtr sampleFont() {
    auto f = std::make_shared<ax::Font>("Courier New", 9.75f);
    f->setWeight(600);
    f->setItalic(true);
    f->setUnderline(true);
    f->setStrikethrough(true);
    f->setCharset(204);
    return f;
}

// One value of every kind the bag stores, under keys in a deliberate (not sorted) order.
std::vector<std::pair<std::string, Variant>> sampleValues() {
    return {
        {"Rows", Variant(int32_t(120000))},
        {"Index", Variant(int16_t(-3))},
        {"ScaleHeight", Variant(3600.25f)},
        {"Ratio", Variant(0.1)},
        {"Huge", Variant(-1.5e300)},
        {"Enabled", Variant(false)},
        {"WordWrap", Variant(true)},
        {"MaxDate", Variant(ax::Date{2958465.0})},    // 9999-12-31
        {"Stamp", Variant(ax::Date{46363.5})},        // a date and a time
        {"Odd", Variant(ax::Date{46363.123456789})},  // not a whole second
        {"BackColor", Variant(int32_t(0x8000000F))},  // a system colour, top bit set
        {"FormatString", Variant("<Name|>Amount|^\"Due\" & 'Paid'")},
        {"Multiline", Variant("one\ntwo\r\nthree\ttab  ")},
        {"Unicode", Variant("Zoë 東京 \xF0\x9F\x98\x80")},
        {"Control", Variant(std::string("a\x01z\0end", 7))},
        {"Blank", Variant("")},
        {"aa", Variant()},
        {"Missing", Variant(ax::Null{})},
        {"ImageList", Variant(std::shared_ptr<ax::Object>())},
        {"Font", Variant(sampleFont())},
        {"MouseIcon", Variant(checkerPicture())},
        {"NoIcon", Variant(ax::emptyPicture())},
        {"MaskeditMask", Variant("##-##")},
        {"MaskEditMask", Variant("different key")},
    };
}

void expectSame(const Variant& expected, const Variant& actual, const std::string& key) {
    SCOPED_TRACE(key);
    ASSERT_EQ(expected.type(), actual.type());
    if (!expected.isObject()) {
        EXPECT_TRUE(expected == actual) << expected.toString() << " vs " << actual.toString();
        return;
    }
    const auto& e = *expected.get<std::shared_ptr<ax::Object>>();
    const auto& a = *actual.get<std::shared_ptr<ax::Object>>();
    if (!e) {
        EXPECT_FALSE(a);
    } else if (auto ef = std::dynamic_pointer_cast<ax::Font>(e)) {
        auto af = std::dynamic_pointer_cast<ax::Font>(a);
        ASSERT_TRUE(af);
        EXPECT_TRUE(ef->sameAs(*af));
    } else if (auto ep = std::dynamic_pointer_cast<ax::Picture>(e)) {
        auto ap = std::dynamic_pointer_cast<ax::Picture>(a);
        ASSERT_TRUE(ap);
        EXPECT_EQ(ap->Handle() == 0, ep->Handle() == 0);
        EXPECT_EQ(ap->Width(), ep->Width());
        EXPECT_EQ(ap->Height(), ep->Height());
        EXPECT_EQ(ap->pixels(), ep->pixels());
    }
}

const Variant kAbsent("<absent>");

// The error number reading a key raises, or 0 when it reads.
int32_t readError(ax::XmlPropertyBag& bag, const std::string& key, std::string* description = nullptr) {
    try {
        bag.ReadProperty(key, kAbsent);
    } catch (const ax::AutomationError& e) {
        if (description) *description = e.description();
        return e.number();
    }
    return 0;
}

TEST(XmlPropertyBag, EveryKindOfValueComesBackWithItsTypeAndOrder) {
    vntest::TempDir dir;
    ax::XmlPropertyBag bag;
    const auto values = sampleValues();
    for (const auto& [k, v] : values) bag.WriteProperty(k, v, kAbsent);
    bag.save(dir.file("form.xml"));

    ax::XmlPropertyBag back;
    ASSERT_TRUE(back.load(dir.file("form.xml")));
    EXPECT_TRUE(back.problems().empty());
    std::vector<std::string> keys;
    for (const auto& kv : values) keys.push_back(kv.first);
    EXPECT_EQ(back.keys(), keys);
    for (const auto& [k, v] : values) expectSame(v, back.ReadProperty(k, kAbsent), k);
    // Keys match exactly as written.
    EXPECT_TRUE(back.ReadProperty("rows", kAbsent) == kAbsent);

    // The file is readable text: one entry per line.
    const std::string text = vntest::readBytes(dir.file("form.xml"));
    EXPECT_NE(text.find("<property name=\"Rows\" type=\"Long\" value=\"120000\" />"), std::string::npos)
        << text;
    EXPECT_NE(text.find("type=\"Date\" value=\"9999-12-31\""), std::string::npos);
    EXPECT_NE(text.find("value=\"2026-12-07T12:00:00\""), std::string::npos);
}

TEST(XmlPropertyBag, DefaultsAreNotStoredAndWrongTypesComeBackAsStored) {
    ax::XmlPropertyBag bag;
    bag.WriteProperty("Rows", Variant(int32_t(2)), Variant(int32_t(2)));
    EXPECT_FALSE(bag.contains("Rows"));
    bag.WriteProperty("Rows", Variant(int32_t(5)), Variant(int32_t(2)));
    EXPECT_TRUE(bag.contains("Rows"));
    // Writing the default again removes the older value.
    bag.WriteProperty("Rows", Variant(int16_t(2)), Variant(int32_t(2)));
    EXPECT_FALSE(bag.contains("Rows"));
    // A date equal to a default given as text is a default too; a different one is stored.
    bag.WriteProperty("DTPickMaxDate", Variant(ax::cDate(Variant("12/31/9999"))), Variant("12/31/9999"));
    EXPECT_FALSE(bag.contains("DTPickMaxDate"));
    bag.WriteProperty("DTPickMaxDate", Variant(ax::cDate(Variant("12/30/9999"))), Variant("12/31/9999"));
    EXPECT_TRUE(bag.contains("DTPickMaxDate"));
    // Fonts compare by their attributes, pictures by whether they show something.
    bag.WriteProperty("Font", Variant(sampleFont()), Variant(sampleFont()));
    EXPECT_FALSE(bag.contains("Font"));
    bag.WriteProperty("MouseIcon", Variant(ax::emptyPicture()), Variant(std::shared_ptr<ax::Object>()));
    EXPECT_FALSE(bag.contains("MouseIcon"));
    bag.WriteProperty("MouseIcon", Variant(checkerPicture()), Variant(std::shared_ptr<ax::Object>()));
    EXPECT_TRUE(bag.contains("MouseIcon"));

    // The bag hands back what was stored; converting is the reader's business.
    bag.WriteProperty("TextMaxLength", Variant("not a number"), Variant(int16_t(64)));
    EXPECT_EQ(bag.ReadProperty("TextMaxLength", Variant(int16_t(64))), Variant("not a number"));
    // A stored font is a copy: changing the caller's font or the one read back leaves it alone.
    auto font = sampleFont();
    bag.WriteProperty("Font", Variant(font), Variant());
    font->setName("Changed");
    auto read = std::dynamic_pointer_cast<ax::Font>(bag.ReadProperty("Font", Variant()).object());
    EXPECT_EQ(read->Name(), "Courier New");
    read->setName("Changed too");
    EXPECT_EQ(std::dynamic_pointer_cast<ax::Font>(bag.ReadProperty("Font", Variant()).object())->Name(),
              "Courier New");

    auto array =
        std::make_shared<ax::SafeArray>(ax::VarType::String, std::vector<ax::SafeArray::Bound>{{0, 2}});
    EXPECT_THROW(bag.WriteProperty("Array", Variant(array), Variant()), ax::AutomationError);
}

// A 2 x 2 24-bit BMP file: blue, green / red, white (rows stored bottom-up).
std::string tinyBmp() {
    std::string b = "BM";
    auto u32 = [&](uint32_t v) {
        for (int k = 0; k < 4; ++k) b += char((v >> (8 * k)) & 0xFF);
    };
    auto u16 = [&](uint16_t v) {
        b += char(v & 0xFF);
        b += char(v >> 8);
    };
    u32(54 + 16), u32(0), u32(54);
    u32(40), u32(2), u32(2), u16(1), u16(24), u32(0), u32(16), u32(2835), u32(2835), u32(0), u32(0);
    b += std::string("\x00\x00\xFF\xFF\xFF\xFF\0\0", 8);  // bottom row: red, white (BGR)
    b += std::string("\xFF\x00\x00\x00\xFF\x00\0\0", 8);  // top row: blue, green
    return b;
}

TEST(XmlPropertyBag, PicturesFromFilesAreEmbeddedOrReferencedByPath) {
    vntest::TempDir dir;
    const std::string iconPath = dir.file("icon.bmp");
    vntest::writeBytes(iconPath, tinyBmp());
    auto icon = ax::loadPicture(iconPath);
    ASSERT_EQ(icon->Width(), 2);

    ax::XmlPropertyBag embedded;
    embedded.WriteProperty("MouseIcon", Variant(icon), Variant());
    embedded.save(dir.file("embedded.xml"));
    ax::XmlPropertyBag byPath;
    byPath.setPictureStorage(ax::XmlPropertyBag::PictureStorage::ByPath);
    byPath.WriteProperty("MouseIcon", Variant(icon), Variant());
    byPath.WriteProperty("Rows", Variant(int32_t(3)), Variant());
    byPath.save(dir.file("bypath.xml"));
    EXPECT_NE(vntest::readBytes(dir.file("bypath.xml")).find("file=\"" + iconPath + "\""), std::string::npos);

    ax::XmlPropertyBag back;
    ASSERT_TRUE(back.load(dir.file("bypath.xml")));
    expectSame(Variant(icon), back.ReadProperty("MouseIcon", Variant()), "by path");

    // Without the file, the embedded copy still loads; the reference reports the missing picture
    // and the other keys load.
    std::filesystem::remove(iconPath);
    ASSERT_TRUE(back.load(dir.file("embedded.xml")));
    expectSame(Variant(icon), back.ReadProperty("MouseIcon", Variant()), "embedded");
    EXPECT_FALSE(back.load(dir.file("bypath.xml")));
    ASSERT_EQ(back.problems().size(), 1u);
    EXPECT_NE(back.problems()[0].find("MouseIcon"), std::string::npos);
    EXPECT_EQ(back.ReadProperty("Rows", Variant()), Variant(int32_t(3)));
    // The lost picture is not quietly replaced by "no picture": reading it raises the file's error.
    EXPECT_EQ(back.damaged(), std::vector<std::string>{"MouseIcon"});
    EXPECT_EQ(readError(back, "MouseIcon"), ax::err::FileNotFound);
}

TEST(XmlPropertyBag, TruncatedFileLoadsOnlyWholeEntriesAndSaysSo) {
    vntest::TempDir dir;
    ax::XmlPropertyBag bag;
    const auto values = sampleValues();
    for (const auto& [k, v] : values) bag.WriteProperty(k, v, kAbsent);
    bag.save(dir.file("full.xml"));
    const std::string full = vntest::readBytes(dir.file("full.xml"));

    // Cut the file at every length: whatever loads is exactly what was saved, and a cut file
    // always reports a problem.
    size_t best = 0;
    // (Only the final line feed can go without loss.)
    ASSERT_EQ(full.back(), '\n');
    // Where each entry's line starts and ends, and where its name is complete.
    struct Line {
        std::string key;
        size_t nameEnd, end;
    };
    std::vector<Line> lines;
    for (const auto& [k, v] : values) {
        const size_t at = full.find("name=\"" + k + "\"");
        ASSERT_NE(at, std::string::npos) << k;
        lines.push_back({k, at + k.size() + 7, full.find('\n', at)});
    }
    for (size_t cut = 0; cut + 1 < full.size(); cut += (cut < 300 || cut + 300 > full.size()) ? 1 : 13) {
        vntest::writeBytes(dir.file("cut.xml"), full.substr(0, cut));
        ax::XmlPropertyBag back;
        EXPECT_FALSE(back.load(dir.file("cut.xml"))) << cut;
        EXPECT_FALSE(back.problems().empty());
        // The entry cut through after its name is damaged, and reading it says so; nothing else is.
        std::vector<std::string> cutThrough;
        for (const Line& line : lines)
            if (cut >= line.nameEnd && cut < line.end) cutThrough.push_back(line.key);
        EXPECT_EQ(back.damaged(), cutThrough) << cut;
        for (const auto& key : back.damaged()) {
            EXPECT_FALSE(back.contains(key));
            EXPECT_EQ(readError(back, key), ax::err::InvalidPropertyValue) << key;
        }
        for (const auto& key : back.keys()) {
            auto it =
                std::find_if(values.begin(), values.end(), [&](const auto& kv) { return kv.first == key; });
            ASSERT_NE(it, values.end()) << key;
            expectSame(it->second, back.ReadProperty(key, kAbsent), key + " cut at " + std::to_string(cut));
        }
        best = std::max(best, back.keys().size());
    }
    // Cut just before the closing tag, every entry is there.
    EXPECT_EQ(best, values.size());
}

TEST(XmlPropertyBag, HandDamagedEntriesAreReportedAndTheRestLoads) {
    vntest::TempDir dir;
    const std::string path = dir.file("form.xml");
    vntest::writeBytes(path,
                       "<?xml version=\"1.0\"?>\n<properties version=\"1\">\n"
                       "\t<property name=\"Rows\" type=\"Long\" value=\"12\" />\n"
                       "\t<property name=\"Cols\" type=\"Long\" value=\"twelve\" />\n"
                       "\t<property name=\"Index\" type=\"Integer\" value=\"40000\" />\n"
                       "\t<property name=\"Shape\" type=\"Hexagon\" value=\"1\" />\n"
                       "\t<property type=\"Long\" value=\"1\" />\n"
                       "\t<property name=\"Font\" type=\"Font\" fontName=\"Arial\" size=\"-4\" />\n"
                       "\t<property name=\"Day\" type=\"Date\" value=\"2026-02-30\" />\n"
                       "\t<property name=\"Icon\" type=\"Picture\" data=\"!!notbase64\" />\n"
                       "\t<property name=\"Text\" type=\"String\" base64=\"QUJD\" />\n"
                       "\t<property name=\"Flag\" type=\"Boolean\" value=\"-1\" />\n"
                       "</properties>\n");
    ax::XmlPropertyBag bag;
    EXPECT_FALSE(bag.load(path));
    EXPECT_EQ(bag.keys(), (std::vector<std::string>{"Rows", "Text", "Flag"}));
    // A damaged key raises "Invalid property value" instead of giving its default; an intact key
    // reads, an absent key gives its default.
    EXPECT_EQ(bag.damaged(), (std::vector<std::string>{"Cols", "Index", "Shape", "Font", "Day", "Icon"}));
    for (const char* key : {"Cols", "Index", "Shape", "Font", "Day", "Icon"}) {
        std::string description;
        EXPECT_EQ(readError(bag, key, &description), ax::err::InvalidPropertyValue) << key;
        EXPECT_EQ(description, "Invalid property value");
    }
    EXPECT_EQ(bag.ReadProperty("Rows", Variant()), Variant(int32_t(12)));
    EXPECT_EQ(bag.ReadProperty("Absent", Variant(int16_t(4))), Variant(int16_t(4)));
    // Writing or removing a damaged key replaces the damage.
    bag.WriteProperty("Cols", Variant(int32_t(3)), Variant(int32_t(2)));
    EXPECT_EQ(bag.ReadProperty("Cols", Variant()), Variant(int32_t(3)));
    bag.WriteProperty("Day", Variant(int16_t(1)), Variant(int16_t(1)));  // the default: nothing stored
    EXPECT_TRUE(bag.ReadProperty("Day", kAbsent) == kAbsent);
    bag.remove("Font");
    EXPECT_TRUE(bag.ReadProperty("Font", kAbsent) == kAbsent);
    EXPECT_EQ(bag.damaged(), (std::vector<std::string>{"Index", "Shape", "Icon"}));
    EXPECT_EQ(bag.ReadProperty("Text", Variant()), Variant("ABC"));
    EXPECT_EQ(bag.ReadProperty("Flag", Variant()), Variant(true));
    EXPECT_EQ(bag.problems().size(), 7u);
    for (const char* key : {"Cols", "Index", "Shape", "Font", "Day", "Icon"}) {
        bool named = false;
        for (const auto& p : bag.problems()) named = named || p.find(key) != std::string::npos;
        EXPECT_TRUE(named) << key;
    }
    bag.clear();
    EXPECT_TRUE(bag.damaged().empty());

    // A line broken in the middle of the file: the entries on either side still load.
    vntest::writeBytes(path,
                       "<properties>\n"
                       "\t<property name=\"A\" type=\"Long\" value=\"1\" />\n"
                       "\t<property name=\"B\" type=\"Long\" value=\"2 />\n"
                       "\t<property name=\"C\" type=\"Long\" value=\"3\" />\n"
                       "</properties>\n");
    EXPECT_FALSE(bag.load(path));
    EXPECT_EQ(bag.keys(), (std::vector<std::string>{"A", "C"}));
    ASSERT_EQ(bag.problems().size(), 2u);  // the file as a whole, and the line
    EXPECT_NE(bag.problems()[1].find("Line 3"), std::string::npos);
    EXPECT_EQ(bag.damaged(), std::vector<std::string>{"B"});
    EXPECT_EQ(readError(bag, "B"), ax::err::InvalidPropertyValue);
    EXPECT_EQ(readError(bag, "C"), 0);

    // In a broken file, a line whose name cannot be read is only reported; a name with escapes or
    // single quotes is read as the parser would; a name inside another attribute's value is not a name.
    vntest::writeBytes(path,
                       "<properties>\n"
                       "\t<property nam\n"
                       "\t<property type=\"Long\" value=\"name=&quot;X&quot;\" name='A&amp;B' value=\"1\n"
                       "\t<property value=\"a name='Y'\" \n"
                       "\t<property name=\"Z\" type=\"Long\" value=\"2\" />\n");
    EXPECT_FALSE(bag.load(path));
    EXPECT_EQ(bag.keys(), std::vector<std::string>{"Z"});
    EXPECT_EQ(bag.damaged(), std::vector<std::string>{"A&B"});

    // A later entry of the same name replaces an earlier one, damaged or not.
    vntest::writeBytes(path,
                       "<properties>\n"
                       "\t<property name=\"P\" type=\"Long\" value=\"x\" />\n"
                       "\t<property name=\"P\" type=\"Long\" value=\"5\" />\n"
                       "\t<property name=\"Q\" type=\"Long\" value=\"6\" />\n"
                       "\t<property name=\"Q\" type=\"Long\" value=\"y\" />\n"
                       "</properties>\n");
    EXPECT_FALSE(bag.load(path));
    EXPECT_EQ(bag.ReadProperty("P", Variant()), Variant(int32_t(5)));
    EXPECT_EQ(readError(bag, "Q"), ax::err::InvalidPropertyValue);

    // Not a property file, random bytes, a missing file: problems, never a crash.
    std::mt19937 rng(7);
    std::string noise(3000, '\0');
    for (auto& c : noise) c = static_cast<char>(rng() & 0xFF);
    for (const std::string& content : {std::string("<html/>"), noise, std::string()}) {
        vntest::writeBytes(path, content);
        EXPECT_FALSE(bag.load(path));
        EXPECT_FALSE(bag.problems().empty());
        EXPECT_TRUE(bag.keys().empty());
    }
    EXPECT_FALSE(bag.load(dir.file("absent.xml")));
    EXPECT_EQ(bag.problems().size(), 1u);
}

TEST(XmlPropertyBag, SavingToAnUnwritablePlaceRaisesAndKeepsTheOldFile) {
    vntest::TempDir dir;
    ax::XmlPropertyBag bag;
    bag.WriteProperty("Rows", Variant(int32_t(9)), Variant());
    try {
        bag.save(dir.file("missing/folder/form.xml"));
        ADD_FAILURE() << "no error";
    } catch (const ax::AutomationError& e) {
        EXPECT_EQ(e.number(), ax::err::PathFileAccessError);
    }
    const std::string path = dir.file("form.xml");
    bag.save(path);
    const std::string before = vntest::readBytes(path);
    bag.WriteProperty("Cols", Variant(int32_t(4)), Variant());
    std::filesystem::create_directory(dir.file("form.xml.d"));
    EXPECT_THROW(bag.save(dir.file("form.xml.d")), ax::AutomationError);
    EXPECT_EQ(vntest::readBytes(path), before);
}

}  // namespace

namespace {

// A form file is never replaced by one that cannot be read, nor written over a file that the bag
// could not read at all.
TEST(XmlPropertyBag, ASaveNeverDestroysAFile) {
    vntest::TempDir dir;
    const std::string path = dir.file("form.xml");
    ax::XmlPropertyBag bag;
    bag.WriteProperty("Rows", Variant(int32_t(9)), Variant());
    bag.save(path);
    const std::string good = vntest::readBytes(path);

    // A key or font name XML cannot hold (a text value can: it goes as base64).
    bag.WriteProperty("Caption", Variant(std::string("a\x01z")), Variant());
    bag.WriteProperty("Odd\x01Key", Variant(int32_t(1)), Variant());
    EXPECT_EQ(testsupport::errorOf([&] { bag.save(path); }), ax::err::InvalidProcedureCall);
    bag.remove("Odd\x01Key");
    auto font = std::make_shared<ax::Font>("Bad\x02Name", 8.0f);
    bag.WriteProperty("Font", Variant(std::static_pointer_cast<ax::Object>(font)), Variant());
    EXPECT_EQ(testsupport::errorOf([&] { bag.save(path); }), ax::err::InvalidProcedureCall);
    EXPECT_EQ(vntest::readBytes(path), good);
    bag.remove("Font");
    bag.save(path);
    ax::XmlPropertyBag back;
    ASSERT_TRUE(back.load(path));
    EXPECT_EQ(back.ReadProperty("Caption", Variant()).toString(), "a\x01z");

    // Another kind of file, which the bag could read nothing of, is not overwritten by it; a damaged
    // form file that gave some entries is, as the repair of a form needs.
    const std::string page = "<html><body>a page</body></html>";
    vntest::writeBytes(path, page);
    ax::XmlPropertyBag other;
    EXPECT_FALSE(other.load(path));
    other.WriteProperty("Rows", Variant(int32_t(3)), Variant());
    EXPECT_EQ(testsupport::errorOf([&] { other.save(path); }), ax::err::PathFileAccessError);
    EXPECT_EQ(vntest::readBytes(path), page);
    other.save(dir.file("elsewhere.xml"));
    vntest::writeBytes(path, good.substr(0, good.size() - 10));
    EXPECT_FALSE(other.load(path));
    other.save(path);
    EXPECT_TRUE(other.load(path));
}

}  // namespace
