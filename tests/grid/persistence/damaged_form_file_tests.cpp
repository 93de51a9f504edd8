// A form file damaged by hand or cut short: the grid loads the keys before the damaged one, shows the
// load failure message box with the bag's error, and is still a grid the program can fill.
#include <cstdio>

#include "platform/automation/font.h"
#include "platform/automation/picture.h"
#include "platform/runtime/registry.h"
#include "platform/xml/xml_property_bag.h"
#include "tests/grid/frame/grid_host.h"
#include "tests/platform/xml/temp_dir.h"

namespace vantrel::test {
namespace {

class DamagedFormFileTest : public GridTest {
  protected:
    // A grid with settings on both sides of GridColor in the loading order, saved to a form file.
    std::string savedForm() {
        grid->setRows(6);
        grid->setCols(5);
        grid->setBackColor(0x00112233);
        grid->setFixedCols(2);
        grid->setFormatString("<A|^B|>C|D|E");
        grid->setGridColor(0x00040404);
        grid->setGridLines(3);
        grid->setTextMaxLength(20);
        ax::XmlPropertyBag bag;
        host->save(*grid, bag);
        bag.save(path());
        return vntest::readBytes(path());
    }

    // The text with the value of one key replaced.
    static std::string withValue(std::string text, const std::string& key, const std::string& value) {
        const size_t at = text.find("name=\"" + key + "\"");
        EXPECT_NE(at, std::string::npos) << key;
        const size_t start = text.find("value=\"", at) + 7;
        text.replace(start, text.find('"', start) - start, value);
        return text;
    }

    std::shared_ptr<Vantrel> placedFrom(const std::string& text) {
        vntest::writeBytes(path(), text);
        bag = std::make_unique<ax::XmlPropertyBag>();
        bag->load(path());
        host->clearMessageBoxes();
        auto other = std::make_shared<Vantrel>();
        host->place(other, 4800, 2400, bag.get());
        return other;
    }

    static void expectWorking(Vantrel& g) {
        g.setRows(9);
        g.setCols(4);
        g.setTextMatrix(8, 3, "still works");
        EXPECT_EQ(g.TextMatrix(8, 3), "still works");
        g.setCol(3);
        g.setRow(8);
        EXPECT_EQ(g.Text(), "still works");
    }

    std::string path() const { return dir.file("form.xml"); }

    vntest::TempDir dir;
    std::unique_ptr<ax::XmlPropertyBag> bag;
};

TEST_F(DamagedFormFileTest, AHandDamagedValueShowsInvalidPropertyValueAndStopsTheLoadThere) {
    const std::string text = savedForm();
    auto g = placedFrom(withValue(text, "GridColor", "12x"));
    EXPECT_EQ(bag->damaged(), std::vector<std::string>{"GridColor"});
    ASSERT_EQ(host->messageBoxes().size(), 1u);
    EXPECT_EQ(host->messageBoxes()[0].prompt, "380Invalid property value");
    EXPECT_EQ(host->messageBoxes()[0].buttons, ax::mb::OkOnly);
    // Keys read before GridColor were applied; GridLines, read after it, was not.
    EXPECT_EQ(g->Rows(), 6);
    EXPECT_EQ(g->Cols(), 5);
    EXPECT_EQ(g->BackColor(), 0x00112233u);
    EXPECT_EQ(g->FixedCols(), 2);
    EXPECT_EQ(g->TextMatrix(0, 2), "C");
    EXPECT_NE(g->GridColor(), 0x00040404u);
    EXPECT_NE(g->GridLines(), 3);
    EXPECT_NE(g->TextMaxLength(), 20);
    expectWorking(*g);

    // A broken type is damage too; a damaged key the grid never reads shows nothing.
    std::string brokenType = text;
    const size_t type = brokenType.find("type=\"", brokenType.find("name=\"Cols\"")) + 6;
    brokenType.replace(type, brokenType.find('"', type) - type, "Hexagon");
    auto h = placedFrom(brokenType);
    ASSERT_EQ(host->messageBoxes().size(), 1u);
    EXPECT_EQ(host->messageBoxes()[0].prompt, "380Invalid property value");
    EXPECT_EQ(h->Rows(), 6);
    EXPECT_NE(h->Cols(), 5);
    expectWorking(*h);

    std::string unknown = text;
    unknown.replace(unknown.find("</properties>"), 0,
                    "\t<property name=\"NoSuchKey\" type=\"Long\" value=\"?\" />\n");
    auto k = placedFrom(unknown);
    EXPECT_EQ(bag->damaged(), std::vector<std::string>{"NoSuchKey"});
    EXPECT_TRUE(host->messageBoxes().empty());
    EXPECT_EQ(k->GridLines(), 3);
    EXPECT_EQ(k->TextMaxLength(), 20);
}

TEST_F(DamagedFormFileTest, AFileCutInsideAnEntryShowsTheBoxWhileAFileCutBetweenEntriesDoesNot) {
    const std::string text = savedForm();
    const size_t entry = text.find("name=\"FormatString\"");
    ASSERT_NE(entry, std::string::npos);

    // Cut inside the value: FormatString's name survives, so its loss is reported.
    auto g = placedFrom(text.substr(0, text.find("value=\"", entry) + 10));
    EXPECT_EQ(bag->damaged(), std::vector<std::string>{"FormatString"});
    ASSERT_EQ(host->messageBoxes().size(), 1u);
    EXPECT_EQ(host->messageBoxes()[0].prompt, "380Invalid property value");
    EXPECT_EQ(g->Rows(), 6);
    EXPECT_EQ(g->FixedCols(), 2);
    expectWorking(*g);

    // Cut at the start of the entry's line: nothing of it remains, the keys from there on are
    // absent and take their defaults, without a box.
    auto h = placedFrom(text.substr(0, text.rfind('\n', entry) + 1));
    EXPECT_TRUE(bag->damaged().empty());
    EXPECT_TRUE(host->messageBoxes().empty());
    EXPECT_EQ(h->Rows(), 6);
    EXPECT_EQ(h->TextMatrix(0, 2), "");
    expectWorking(*h);
}

TEST_F(DamagedFormFileTest, AMissingMouseIconFileShowsThePicturesError) {
    // A real picture file, referenced by path from the form and gone when the form is loaded.
    const std::string iconPath = dir.file("icon.bmp");
    std::string bmp = "BM";
    auto u32 = [&](uint32_t v) {
        for (int k = 0; k < 4; ++k) bmp += char((v >> (8 * k)) & 0xFF);
    };
    auto u16 = [&](uint16_t v) {
        bmp += char(v & 0xFF);
        bmp += char(v >> 8);
    };
    u32(54 + 16), u32(0), u32(54);
    u32(40), u32(2), u32(2), u16(1), u16(24), u32(0), u32(16), u32(2835), u32(2835), u32(0), u32(0);
    bmp += std::string("\x00\x00\xFF\xFF\xFF\xFF\0\0\xFF\x00\x00\x00\xFF\x00\0\0", 16);
    vntest::writeBytes(iconPath, bmp);
    grid->setRows(6);
    grid->setGridLines(3);
    grid->setMouseIcon(ax::loadPicture(iconPath));
    grid->setTextMaxLength(20);
    ax::XmlPropertyBag form;
    form.setPictureStorage(ax::XmlPropertyBag::PictureStorage::ByPath);
    host->save(*grid, form);
    form.save(path());
    std::remove(iconPath.c_str());

    auto g = placedFrom(vntest::readBytes(path()));
    ASSERT_EQ(host->messageBoxes().size(), 1u);
    EXPECT_EQ(host->messageBoxes()[0].prompt, "53File not found");
    EXPECT_EQ(g->Rows(), 6);
    EXPECT_EQ(g->GridLines(), 3);  // read before MouseIcon
    EXPECT_FALSE(g->MouseIcon());
    EXPECT_NE(g->TextMaxLength(), 20);
    expectWorking(*g);
}

// The spin control placed from its own form file, reached by name as a form loads it: a damaged
// entry costs that key alone, which loads as if it were absent, and the form still opens.
TEST_F(DamagedFormFileTest, TheSpinControlLoadsEveryOtherKeyAroundADamagedOne) {
    auto spin = std::dynamic_pointer_cast<ax::Control>(ax::CreateObject("ZelCtrl.Zel"));
    ASSERT_TRUE(spin);
    host->place(spin, 1000, 300);
    const std::vector<std::pair<const char*, ax::Variant>> settings = {
        {"BackColor", ax::Variant(int32_t(0x00112233))},
        {"ForeColor", ax::Variant(int32_t(0x00445566))},
        {"Enabled", ax::Variant(false)},
        {"Arrows", ax::Variant(int32_t(1))},
        {"Max", ax::Variant(int16_t(100))},
        {"Min", ax::Variant(int16_t(-5))},
        {"LargeChange", ax::Variant(int16_t(10))},
        {"SmallChange", ax::Variant(int16_t(3))},
        {"Value", ax::Variant(int16_t(42))},
        {"Style", ax::Variant(int32_t(2))},
        {"MousePointer", ax::Variant(int16_t(2))},
        {"RightToLeft", ax::Variant(true)}};
    for (const auto& [name, value] : settings) ax::letProperty(*spin, name, value);
    ax::setProperty(*spin, "Font", ax::Variant(std::make_shared<ax::Font>("Arial", 12.0f)));
    ax::setProperty(*spin, "MouseIcon",
                    ax::Variant(std::make_shared<ax::Picture>(1, 1, std::vector<uint32_t>{0xFF0000FFu})));
    ax::XmlPropertyBag saved;
    host->save(*spin, saved);
    saved.save(path());
    const std::string text = vntest::readBytes(path());
    const std::vector<std::string> keys = saved.keys();
    ASSERT_EQ(keys.size(), 14u);  // every key differs from its default

    // What a control reads back, by name: fonts by name and size, icons by whether there is one.
    auto state = [&](ax::Object& c) {
        std::vector<std::string> out;
        for (const auto& [name, value] : settings) out.push_back(ax::getProperty(c, name).toString());
        const ax::Variant font = ax::getProperty(c, "Font");
        const auto f = font.isObject() ? std::dynamic_pointer_cast<ax::Font>(font.object()) : nullptr;
        out.push_back(f ? f->Name() + " " + std::to_string(f->Size()) : "no font");
        const ax::Variant icon = ax::getProperty(c, "MouseIcon");
        out.push_back(icon.isObject() && ax::hasPicture(std::dynamic_pointer_cast<ax::Picture>(icon.object()))
                          ? "icon"
                          : "no icon");
        return out;
    };
    for (const std::string& key : keys) {
        // The key's first value-bearing attribute broken: a value, a font's size, a picture's data.
        std::string damaged = text;
        const size_t entry = damaged.find("name=\"" + key + "\"");
        ASSERT_NE(entry, std::string::npos) << key;
        size_t at = std::string::npos;
        for (const char* attribute : {" value=\"", " size=\"", " data=\""})
            at = std::min(at, damaged.find(attribute, entry));
        ASSERT_LT(at, damaged.find('\n', entry)) << key;
        at = damaged.find('"', at) + 1;
        damaged.replace(at, damaged.find('"', at) - at, "12x");
        vntest::writeBytes(path(), damaged);
        ax::XmlPropertyBag form;
        EXPECT_FALSE(form.load(path())) << key;
        ASSERT_EQ(form.damaged(), std::vector<std::string>{key});

        ax::XmlPropertyBag withoutKey;
        vntest::writeBytes(path(), text);
        ASSERT_TRUE(withoutKey.load(path()));
        withoutKey.remove(key);
        auto expected = std::dynamic_pointer_cast<ax::Control>(ax::CreateObject("ZelCtrl.Zel"));
        host->place(expected, 1000, 300, &withoutKey);

        host->clearMessageBoxes();
        auto loaded = std::dynamic_pointer_cast<ax::Control>(ax::CreateObject("ZelCtrl.Zel"));
        ASSERT_NO_THROW(host->place(loaded, 1000, 300, &form)) << key;
        EXPECT_EQ(state(*loaded), state(*expected)) << key;
        EXPECT_NE(state(*loaded), state(*spin)) << key;  // the damaged key did not load
        EXPECT_TRUE(host->messageBoxes().empty());
    }
}

}  // namespace
}  // namespace vantrel::test
