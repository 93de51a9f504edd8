// A form file damaged by hand or cut short: the grid loads the keys before the damaged one, shows the
// load failure message box with the bag's error, and is still a grid the program can fill.
#include <cstdio>

#include "platform/automation/picture.h"
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

}  // namespace
}  // namespace vantrel::test
