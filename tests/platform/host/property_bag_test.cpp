#include <gtest/gtest.h>

#include "platform/automation/convert.h"
#include "platform/automation/font.h"
#include "platform/automation/picture.h"
#include "platform/host/property_bag.h"

namespace {

using ax::Variant;

TEST(MemoryPropertyBag, AValueEqualToItsDefaultIsNotStored) {
    ax::MemoryPropertyBag bag;
    bag.WriteProperty("Rows", Variant(int32_t(2)), Variant(int16_t(2)));  // Long 2 equals Integer 2
    bag.WriteProperty("Cols", Variant(int32_t(5)), Variant(int32_t(2)));
    bag.WriteProperty("Locked", Variant(true), Variant(int16_t(-1)));  // True is -1
    bag.WriteProperty("Width", Variant(2.5), Variant(2.5f));
    bag.WriteProperty("Mask", Variant(""), Variant(""));
    bag.WriteProperty("Prompt", Variant("#"), Variant("_"));
    bag.WriteProperty("Number", Variant("12"), Variant(int16_t(12)));
    bag.WriteProperty("Word", Variant("twelve"), Variant(int16_t(12)));
    bag.WriteProperty("MaxDate", Variant(ax::cDate(Variant("12/31/9999"))), Variant("12/31/9999"));
    bag.WriteProperty("MinDate", Variant(ax::cDate(Variant("1/2/1601"))), Variant("1/1/1601"));
    bag.WriteProperty("aa", Variant(int16_t(0)), Variant(int16_t(0)));
    bag.WriteProperty("Nothing", Variant(), Variant(int16_t(0)));

    std::vector<std::string> kept;
    for (const auto& [k, v] : bag.values()) kept.push_back(k);
    EXPECT_EQ(kept, (std::vector<std::string>{"Cols", "MinDate", "Nothing", "Prompt", "Word"}));
    EXPECT_EQ(bag.writeOrder().size(), 12u);
    EXPECT_EQ(bag.writeOrder().front(), "Rows");

    // Writing the default later removes the stored value.
    bag.WriteProperty("Cols", Variant(int16_t(2)), Variant(int32_t(2)));
    EXPECT_FALSE(bag.contains("Cols"));

    // Reading gives the stored value or the default, and records the order.
    EXPECT_EQ(bag.ReadProperty("Prompt", Variant("_")).toString(), "#");
    EXPECT_EQ(bag.ReadProperty("Cols", Variant(int32_t(2))).toLong(), 2);
    EXPECT_EQ(bag.readOrder(), (std::vector<std::string>{"Prompt", "Cols"}));
}

TEST(MemoryPropertyBag, FontsCompareByAttributesAndPicturesByHandle) {
    ax::MemoryPropertyBag bag;
    auto ambient = std::make_shared<ax::Font>("MS Sans Serif", 8.25f);
    auto same = std::make_shared<ax::Font>("MS Sans Serif", 8.25f);
    bag.WriteProperty("Font", Variant(same), Variant(ambient));
    EXPECT_FALSE(bag.contains("Font"));

    auto bold = same->clone();
    bold->setBold(true);
    bag.WriteProperty("Font", Variant(bold), Variant(ambient));
    ASSERT_TRUE(bag.contains("Font"));
    // The saved font is a snapshot: changing the control's font later does not change it.
    bold->setItalic(true);
    auto loaded = std::dynamic_pointer_cast<ax::Font>(bag.ReadProperty("Font", Variant(ambient)).object());
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->Bold());
    EXPECT_FALSE(loaded->Italic());

    // "No picture" in any of its forms is the default "none".
    bag.WriteProperty("MouseIcon", Variant(ax::emptyPicture()), Variant());
    bag.WriteProperty("Icon2", Variant(std::shared_ptr<ax::Object>()), Variant(ax::emptyPicture()));
    EXPECT_FALSE(bag.contains("MouseIcon"));
    EXPECT_FALSE(bag.contains("Icon2"));
    auto pic = std::make_shared<ax::Picture>(1, 1, std::vector<uint32_t>{0xFF0000FFu});
    bag.WriteProperty("MouseIcon", Variant(pic), Variant());
    EXPECT_TRUE(bag.contains("MouseIcon"));
    EXPECT_TRUE(ax::sameStoredValue(Variant(pic), Variant(pic)));
    auto other = std::make_shared<ax::Picture>(1, 1, std::vector<uint32_t>{0xFF0000FFu});
    EXPECT_FALSE(ax::sameStoredValue(Variant(pic), Variant(other)));  // same pixels, other handle
}

}  // namespace
