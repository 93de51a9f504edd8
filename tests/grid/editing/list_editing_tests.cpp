// The column item lists and the three list editors.
#include "platform/automation/errors.h"
#include "platform/controls/image_combo.h"
#include "tests/grid/editing/editing_host.h"
#include "tests/support/error_of.h"

namespace edittest {
namespace {

using Strings = std::vector<std::string>;

using testsupport::errorOf;

class ListEditing : public EditingTest {
  protected:
    // Adds an item to the current column; answers the position it took.
    int32_t add(const std::string& text, const std::string& data = "", int32_t index = 0,
                ax::Variant image = ax::Variant("")) {
        std::string t = text, d = data;
        ax::Variant sel("");
        int16_t indent = 0;
        grid->ComboAddItem(index, t, image, sel, d, indent);
        return index;
    }
    Strings items() const {
        Strings out;
        for (int32_t i = 1; i <= grid->ComboListCount(); ++i) out.push_back(grid->ComboItemText(i));
        return out;
    }
    // A maintained-data column of the given kind with the items Red, Green, Blue (data R, G, B).
    void colours(int32_t col, int32_t kind) {
        useColumn(col, kind);
        grid->setColMaintainData(true);
        add("Red", "R");
        add("Green", "G");
        add("Blue", "B");
    }
};

TEST_F(ListEditing, ItemListMembersInsertAppendRemoveAndIgnoreBadIndexes) {
    grid->setCol(1);
    host->clearPropertyChanges();
    EXPECT_EQ(grid->ComboListCount(), 0);
    EXPECT_EQ(add("b"), 1);
    EXPECT_EQ(add("c", "", 7), 2);  // beyond the new count: appended, the position comes back
    EXPECT_EQ(add("a", "", 1), 1);  // 1 inserts before every item
    EXPECT_EQ(add("x", "", 3), 3);
    EXPECT_EQ(items(), (Strings{"a", "b", "x", "c"}));
    int32_t bad = 0;
    grid->ComboRemoveItem(bad);
    bad = 5;
    grid->ComboRemoveItem(bad);
    EXPECT_EQ(grid->ComboListCount(), 4);
    int32_t three = 3;
    grid->ComboRemoveItem(three);
    EXPECT_EQ(items(), (Strings{"a", "b", "c"}));

    grid->setComboItemData(2, "B-data");
    grid->setComboItemData(9, "ignored");
    grid->setImageComboItemIndentation(2, 3);
    EXPECT_EQ(grid->ComboItemData(2), "B-data");
    EXPECT_EQ(grid->ComboItemData(9), "");
    EXPECT_EQ(grid->ImageComboItemIndentation(2), 3);
    EXPECT_TRUE(grid->ImageComboItemImage(0).isEmpty());
    EXPECT_TRUE(host->propertyChanges(*grid).empty());  // none of these notifies

    // Each column has its own list.
    grid->setCol(2);
    EXPECT_EQ(grid->ComboListCount(), 0);
    grid->setCol(1);
    grid->ComboClear();
    EXPECT_EQ(grid->ComboListCount(), 0);

    // By name: the optional arguments default, a given Index is written back.
    std::vector<ax::Variant> args{ax::Variant(int32_t(0)), ax::Variant("named")};
    grid->Invoke("comboadditem", ax::InvokeKind::Method, args);
    EXPECT_EQ(args[0].toLong(), 1);
    EXPECT_EQ(ax::getProperty(*grid, "ComboItemText", {ax::Variant(int32_t(1))}).toString(), "named");
    EXPECT_EQ(ax::getProperty(*grid, "ComboListCount").toLong(), 1);

    // At design time the item properties refuse, the methods work.
    host->setUserMode(false);
    EXPECT_EQ(errorOf([&] { grid->ComboItemText(1); }), ax::err::RunTimeOnly);
    EXPECT_EQ(errorOf([&] { grid->ComboListCount(); }), ax::err::RunTimeOnly);
    EXPECT_EQ(add("design"), 2);
}

TEST_F(ListEditing, EditableComboOpensOnTheCellTextAndStoresTheChosenItemsData) {
    colours(1, vantrel::ComboBox);
    grid->setTextMatrix(1, 1, "Violet");
    grid->setDataMatrix(1, 1, "V");
    typeOnGrid('a');
    auto box = childAs<ax::HeadlessComboBox>("ComboBx");
    EXPECT_EQ(visibleEditors(), Strings{"ComboBx"});
    ASSERT_EQ(box->ListCount(), 4);  // the cell's own text joins the editor's list as the last entry
    EXPECT_EQ(box->ListIndex(), 3);
    EXPECT_EQ(grid->ComboListCount(), 3);

    events.clear();
    box->chooseByMouse(1);
    EXPECT_EQ(events.heard, Strings{"Click"});
    EXPECT_EQ(grid->TextMatrix(1, 1), "Green");
    EXPECT_EQ(grid->DataMatrix(1, 1), "G");
    EXPECT_EQ(visibleEditors(), Strings{"ComboBx"});  // the editable combo stays open
    box->chooseByMouse(3);
    EXPECT_EQ(grid->TextMatrix(1, 1), "Violet");
    EXPECT_EQ(grid->DataMatrix(1, 1), "V");  // the extra entry carries the start data

    box->setSelStart(0);
    box->setSelLength(6);
    host->typeText("Cyan");
    EXPECT_EQ(grid->TextMatrix(1, 1), "Cyan");
    EXPECT_EQ(grid->DataMatrix(1, 1), "");
    EXPECT_EQ(events.count("KeyPress(67)"), 1);
    EXPECT_EQ(events.count("KeyDown(67,1)"), 1);

    pressEscape();
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(grid->TextMatrix(1, 1), "Violet");
    EXPECT_EQ(grid->DataMatrix(1, 1), "V");

    // Enter keeps a typed text that is an item, with its data.
    typeOnGrid('a');
    host->typeText("Blue\n");
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(grid->TextMatrix(1, 1), "Blue");
    EXPECT_EQ(grid->DataMatrix(1, 1), "B");
}

TEST_F(ListEditing, EditableComboRefusesKeysBeyondTheLengthLimit) {
    useColumn(1, vantrel::ComboBox);
    grid->setColTextMaxLength(3);
    typeOnGrid('a');
    host->typeText("abcd");
    EXPECT_EQ(grid->TextMatrix(1, 1), "abc");
    host->typeKey(ax::key::Back);
    EXPECT_EQ(grid->TextMatrix(1, 1), "ab");
    host->typeText("z");
    EXPECT_EQ(grid->TextMatrix(1, 1), "abz");
}

TEST_F(ListEditing, DropDownListClosesOnAChoiceAndOpensWithNothingSelectedOnAnUnlistedText) {
    colours(2, vantrel::ComboDropDown);
    inner().setTextMatrix(1, 2, "Purple");  // past the cell-text rule, as old data may be
    clickCurrentCell();
    auto list = childAs<ax::HeadlessComboBox>("ComboBxDropDown");
    EXPECT_EQ(visibleEditors(), Strings{"ComboBxDropDown"});
    EXPECT_EQ(list->ListCount(), 3);
    EXPECT_EQ(list->ListIndex(), -1);
    EXPECT_EQ(grid->TextMatrix(1, 2), "Purple");

    events.clear();
    list->chooseByMouse(2);
    EXPECT_EQ(events.heard, Strings{"Click"});
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(grid->TextMatrix(1, 2), "Blue");
    EXPECT_EQ(grid->DataMatrix(1, 2), "B");

    // The list opens on the cell's item; Esc puts text and data back.
    typeOnGrid('a');
    EXPECT_EQ(list->ListIndex(), 2);
    events.clear();
    host->typeKey(ax::key::Up);  // the list style chooses with the arrows: a choice, so it closes
    EXPECT_EQ(grid->TextMatrix(1, 2), "Green");
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(events.count("Click"), 1);
    EXPECT_EQ(events.count("KeyDown(38,0)"), 0);  // the drop-down list reports no keys
    typeOnGrid('a');
    pressEscape();
    EXPECT_EQ(grid->TextMatrix(1, 2), "Green");
    EXPECT_EQ(grid->DataMatrix(1, 2), "G");
}

TEST_F(ListEditing, ImageComboWritesTheChosenItemsPictureAndDataIntoTheCell) {
    auto images = std::make_shared<ax::ImageList>();
    auto red = std::make_shared<ax::Picture>(2, 2, std::vector<uint32_t>(4, 0xFF0000FFu));
    auto blue = std::make_shared<ax::Picture>(2, 2, std::vector<uint32_t>(4, 0xFFFF0000u));
    images->ListImages()->Add(ax::Variant(), ax::Variant("red"), ax::Variant(red));
    images->ListImages()->Add(ax::Variant(), ax::Variant("blue"), ax::Variant(blue));
    ax::setProperty(*grid, "ImageList", ax::Variant(images));
    EXPECT_EQ(host->propertyChanges(*grid), Strings{"ImageList"});
    EXPECT_EQ(grid->ImageList(), images);
    EXPECT_EQ(ax::getProperty(*grid, "imagelist").object(), images);

    useColumn(3, vantrel::ImageCombo);
    grid->setColMaintainData(true);
    add("Stop", "S", 0, ax::Variant(int32_t(1)));
    add("Go", "G", 0, ax::Variant("blue"));
    add("Wait", "W", 0, ax::Variant(""));
    grid->setTextMatrix(1, 3, "Go");
    grid->setDataMatrix(1, 3, "old");
    typeOnGrid('a');
    auto combo = childAs<ax::HeadlessImageCombo>("ImgCombo");
    EXPECT_EQ(visibleEditors(), Strings{"ImgCombo"});
    ASSERT_EQ(combo->ComboItems()->Count(), 3);
    EXPECT_TRUE(combo->ComboItems()->Item(ax::Variant(int32_t(2)))->Selected());

    events.clear();
    combo->chooseByMouse(1);
    EXPECT_EQ(grid->TextMatrix(1, 3), "Stop");
    EXPECT_EQ(inner().CellPicture(), red);
    EXPECT_EQ(grid->DataMatrix(1, 3), "S");
    EXPECT_EQ(events.count("Click"), 1);

    combo->chooseByMouse(2);  // an image named by key
    EXPECT_EQ(inner().CellPicture(), blue);
    combo->chooseByMouse(3);  // no image: the picture goes
    EXPECT_FALSE(ax::hasPicture(inner().CellPicture()));
    EXPECT_EQ(grid->DataMatrix(1, 3), "W");

    // A typed text of no item: the text stays, no picture, the maintained string untouched.
    combo->chooseByMouse(1);
    combo->setSelStart(0);
    combo->setSelLength(4);
    host->typeText("Nope");
    EXPECT_EQ(grid->TextMatrix(1, 3), "Nope");
    EXPECT_FALSE(ax::hasPicture(inner().CellPicture()));
    EXPECT_EQ(grid->DataMatrix(1, 3), "S");

    // Esc: text, data and picture as the edit found them; the focus is the grid's.
    pressEscape();
    EXPECT_TRUE(visibleEditors().empty());
    EXPECT_EQ(grid->TextMatrix(1, 3), "Go");
    EXPECT_EQ(grid->DataMatrix(1, 3), "old");
    EXPECT_FALSE(ax::hasPicture(inner().CellPicture()));
    EXPECT_EQ(host->focused(), &inner());
}

}  // namespace
}  // namespace edittest
