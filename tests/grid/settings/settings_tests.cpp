// Column editor settings: grid-wide values that reach every column, per-column values of the current
// column, their acceptance rules, design-time refusals and change notifications.
#include "platform/controls/image_combo.h"
#include "platform/controls/mask_ed_box.h"
#include "tests/grid/frame/grid_host.h"

namespace vantrel::test {
namespace {

using SettingsTest = GridTest;

TEST_F(SettingsTest, PerColumnMembersActOnTheCurrentColumnAndAreRunTimeOnly) {
    fill(3, 4);
    atColumn(2);
    grid->setColTextMaxLength(7);
    grid->setColLocked(true);
    grid->setColDTPickCalendarBackColor(ax::rgb(1, 2, 3));
    atColumn(3);
    EXPECT_EQ(grid->ColTextMaxLength(), 0);  // a column added later has no limit of its own
    EXPECT_FALSE(grid->ColLocked());
    atColumn(2);
    EXPECT_EQ(grid->ColTextMaxLength(), 7);
    EXPECT_TRUE(grid->ColLocked());
    EXPECT_EQ(grid->ColDTPickCalendarBackColor(), ax::rgb(1, 2, 3));
    EXPECT_EQ((std::vector<std::string>{"Col", "ColTextMaxLength", "ColLocked", "ColDTPickCalendarBackColor",
                                        "Col", "Col"}),
              changes());

    host->setUserMode(false);
    EXPECT_EQ(errorOf([&] { grid->ColInputStyle(); }), ax::err::RunTimeOnly);
    EXPECT_EQ(errorOf([&] { grid->setColInputStyle(CheckBox); }), ax::err::RunTimeOnly);
    EXPECT_EQ(errorOf([&] { grid->ColZelPickerMax(); }), ax::err::RunTimeOnly);
    EXPECT_EQ(errorOf([&] { grid->setColMaskEditMask("#"); }), ax::err::RunTimeOnly);
    // Grid-wide members work in the designer and reach every column.
    grid->setInputStyle(ZelPicker);
    grid->setTextMaxLength(12);
    EXPECT_EQ(grid->InputStyle(), ZelPicker);
    host->setUserMode(true);
    for (int32_t c = 0; c < 4; ++c) {
        inner().setCol(c);
        EXPECT_EQ(grid->ColInputStyle(), ZelPicker);
        EXPECT_EQ(grid->ColTextMaxLength(), 12);
    }
}

TEST_F(SettingsTest, ChangingTheKindNotifiesOnlyOnARealChangeAndTakesTheKindsGridWideValues) {
    fill(3, 3);
    atColumn(1);
    host->clearPropertyChanges();
    grid->setColInputStyle(TextBox);
    EXPECT_TRUE(changes().empty());

    // Per-column date values set while the column is plain text give way to the grid-wide ones.
    const ax::Date early = ax::toAutomationDate({2000, 1, 1});
    grid->setColDTPickMaxDate(early);
    EXPECT_EQ(grid->ColDTPickMaxDate(), early);
    grid->setColInputStyle(DTPicker);
    EXPECT_EQ(grid->ColDTPickMaxDate().value, defaultMaxDate());
    EXPECT_TRUE(grid->ColDTPickCheckBox());
    EXPECT_EQ(grid->ColDTPickCalendarTitleBackColor(), 0x8000000Fu);
    EXPECT_EQ(changesNamed("ColInputStyle"), 1u);

    // Number settings arrive only with the number kind.
    grid->setZelPickerSmallChange(5);
    atColumn(2);
    grid->setColZelPickerSmallChange(3);
    grid->setColInputStyle(ZelPicker);
    EXPECT_EQ(grid->ColZelPickerSmallChange(), 5);
    EXPECT_EQ(grid->ColZelPickerMax(), 32767);
    // The mask arrives with the masked kind.
    grid->setMaskEditMask("##");
    grid->setColMaskEditMask("???");
    grid->setColInputStyle(MaskEDBox);
    EXPECT_EQ(grid->ColMaskEditMask(), "##");

    // Any value is stored, even one no editor knows.
    grid->setColInputStyle(-5);
    EXPECT_EQ(grid->ColInputStyle(), -5);
}

TEST_F(SettingsTest, NumberLimitsKeepMinBelowMaxAndPullTheInitialNumberAlong) {
    fill(3, 3);
    grid->setZelPickerMin(10);
    grid->setZelPickerMax(5);  // below the grid-wide minimum: ignored entirely
    EXPECT_EQ(grid->ZelPickerMax(), 32767);
    EXPECT_EQ(changesNamed("ZelPickerMax"), 0u);
    grid->setZelPickerInitValue(3);  // outside 10..32767
    EXPECT_EQ(grid->ZelPickerInitValue(), 0);
    grid->setZelPickerInitValue(20);
    grid->setZelPickerMax(15);
    atColumn(1);
    EXPECT_EQ(grid->ColZelPickerMax(), 15);
    EXPECT_EQ(grid->ColZelPickerMin(), 10);
    EXPECT_EQ(grid->ColZelPickerInitValue(), 15);

    host->clearPropertyChanges();
    grid->setColZelPickerMax(9);  // below the column's minimum
    EXPECT_EQ(grid->ColZelPickerMax(), 15);
    grid->setColZelPickerMin(12);
    grid->setColZelPickerMax(13);
    EXPECT_EQ(grid->ColZelPickerInitValue(), 13);
    // The initial number was lowered through its own member, which notifies too.
    EXPECT_EQ((std::vector<std::string>{"ColZelPickerMin", "ColZelPickerInitValue", "ColZelPickerMax"}),
              changes());
    grid->setColZelPickerInitValue(14);
    EXPECT_EQ(grid->ColZelPickerInitValue(), 13);

    grid->setZelPickerSmallChange(0);
    grid->setColZelPickerLargeChange(0);
    EXPECT_EQ(grid->ZelPickerSmallChange(), 1);
    EXPECT_EQ(grid->ColZelPickerLargeChange(), 0);  // the column never had the number kind's values

    // A style that a column's 16 bits cannot hold overflows and changes nothing.
    EXPECT_EQ(errorOf([&] { grid->setZelPickerStyle(70000); }), ax::err::Overflow);
    EXPECT_EQ(grid->ZelPickerStyle(), 0);
}

TEST_F(SettingsTest, DateRangesRefuseCrossingBoundsAndSkipColumnsThatWouldCross) {
    fill(3, 3);
    const ax::Date y2000 = ax::toAutomationDate({2000, 1, 1});
    const ax::Date y2010 = ax::toAutomationDate({2010, 1, 1});
    const ax::Date y2020 = ax::toAutomationDate({2020, 1, 1});

    grid->setDTPickMaxDate(ax::toAutomationDate({1500, 1, 1}));  // before the grid-wide minimum
    EXPECT_EQ(grid->DTPickMaxDate().value, defaultMaxDate());
    grid->setDTPickMaxDate(grid->DTPickMaxDate());  // unchanged: ignored, not notified
    EXPECT_TRUE(changes().empty());

    // Columns take the grid-wide range with the date kind; one whose own minimum lies after the new
    // grid-wide maximum keeps its maximum.
    atColumn(1);
    grid->setColInputStyle(DTPicker);
    atColumn(2);
    grid->setColInputStyle(DTPicker);
    grid->setColDTPickMinDate(y2020);
    EXPECT_EQ(grid->ColDTPickMinDate(), y2020);
    grid->setDTPickMaxDate(y2010);
    EXPECT_EQ(grid->ColDTPickMaxDate().value, defaultMaxDate());
    atColumn(1);
    EXPECT_EQ(grid->ColDTPickMaxDate(), y2010);

    grid->setColDTPickMinDate(y2020);  // after the column's maximum
    EXPECT_EQ(grid->ColDTPickMinDate().value, defaultMinDate());
    grid->setColDTPickMaxDate(ax::toAutomationDate({1500, 1, 1}));  // before the grid-wide minimum
    EXPECT_EQ(grid->ColDTPickMaxDate(), y2010);
    grid->setColDTPickMaxDate(y2000);
    EXPECT_EQ(grid->ColDTPickMaxDate(), y2000);

    grid->setDTPickMinDate(y2020);  // after the grid-wide maximum
    EXPECT_EQ(grid->DTPickMinDate().value, defaultMinDate());
}

TEST_F(SettingsTest, EditWidthsLimitsMasksAndPromptCharacters) {
    fill(3, 3);
    grid->setEditWidthMin(5000);  // wider than the control (4800)
    EXPECT_EQ(grid->EditWidthMin(), 2);
    grid->setEditWidthMin(-1);
    grid->setEditWidthMin(4800);
    EXPECT_EQ(grid->EditWidthMin(), 4800);
    atColumn(1);
    EXPECT_EQ(grid->ColEditWidthMin(), 4800);
    grid->setColEditWidthMin(4801);
    EXPECT_EQ(grid->ColEditWidthMin(), 4800);

    grid->setTextMaxLength(-1);
    EXPECT_EQ(grid->TextMaxLength(), 64);
    grid->setMaskEditPromptChar("ab");  // not checked here
    EXPECT_EQ(grid->ColMaskEditPromptChar(), "ab");

    host->clearPropertyChanges();
    grid->setMaskEditMask("");  // equal to the grid-wide mask: ignored
    grid->setColMaskEditMask("");
    EXPECT_TRUE(changes().empty());
    grid->setColMaskEditMask("##");
    EXPECT_EQ(changes(), std::vector<std::string>{"ColMaskeditMask"});

    // The masked editor's prompt switches, as the child has them.
    auto mask = std::dynamic_pointer_cast<ax::MaskEdBox>(host->child(*grid, "MaskEdit"));
    mask->setAllowPrompt(true);
    mask->setPromptInclude(false);
    EXPECT_TRUE(grid->MaskEditAllowPrompt());
    EXPECT_FALSE(grid->MaskEditPromptInclude());
}

TEST_F(SettingsTest, MouseIconsFromTheImageList) {
    fill(3, 3);
    auto combo = std::dynamic_pointer_cast<ax::ImageCombo>(host->child(*grid, "ImgCombo"));
    const ax::PicturePtr before = grid->MouseIconEditMode();
    atColumn(1);
    const ax::PicturePtr column1Before = grid->ColMouseIconEditMode();
    grid->SetMouseIconEditMode(ax::Variant(int16_t(1)));  // no image list yet
    EXPECT_EQ(grid->MouseIconEditMode(), before);

    auto list = std::make_shared<ax::ImageList>();
    auto icon = std::make_shared<ax::Picture>(2, 2, std::vector<uint32_t>(4, 0xFF0000FFu));
    list->ListImages()->Add(ax::Variant(), ax::Variant("hand"), ax::Variant(icon));
    combo->setImageList(list);

    grid->SetMouseIconEditMode(ax::Variant(""));
    grid->SetMouseIconEditMode(ax::Variant(ax::Null{}));  // as empty as "", not an error
    grid->SetMouseIconEditMode(ax::Variant("missing"));
    grid->SetMouseIconEditMode(ax::Variant(int16_t(7)));
    EXPECT_EQ(grid->MouseIconEditMode(), before);
    EXPECT_EQ(changesNamed("MouseIconEditMode"), 0u);

    // One column only, without notification.
    grid->SetMouseIconEditMode(ax::Variant("hand"), 2);
    atColumn(2);
    EXPECT_EQ(grid->ColMouseIconEditMode(), icon);
    atColumn(1);
    EXPECT_EQ(grid->ColMouseIconEditMode(), column1Before);
    EXPECT_EQ(changesNamed("MouseIconEditMode"), 0u);
    grid->SetMouseIconEditMode(ax::Variant("hand"), 3);   // no such column
    grid->SetMouseIconEditMode(ax::Variant(int16_t(1)));  // every column
    EXPECT_EQ(grid->MouseIconEditMode(), icon);
    EXPECT_EQ(grid->ColMouseIconEditMode(), icon);
    EXPECT_EQ(changesNamed("MouseIconEditMode"), 1u);
}

TEST_F(SettingsTest, GrowingColumnsSetsUpOnlyTheNewOnesUnlessTheArrayHadOneEntry) {
    grid->setCols(1);
    inner().setFixedCols(0);
    inner().setCol(0);
    grid->setColInputStyle(CheckBox);
    grid->setColTextMaxLength(3);
    grid->setCols(3);
    for (int32_t c = 0; c < 3; ++c) {
        inner().setCol(c);
        EXPECT_EQ(grid->ColInputStyle(), TextBox) << c;
        EXPECT_EQ(grid->ColTextMaxLength(), 0) << c;  // fresh records take no text limit
    }
    inner().setCol(1);
    grid->setColInputStyle(ZelPicker);
    grid->setCols(4);
    inner().setCol(1);
    EXPECT_EQ(grid->ColInputStyle(), ZelPicker);
    // ReDimArray made the first scrollable cell current.
    grid->setFixedCols(1);
    grid->setCols(5);
    EXPECT_EQ(inner().Row(), inner().FixedRows());
    EXPECT_EQ(inner().Col(), 1);
}

TEST_F(SettingsTest, FailuresWhileResizingTheArrayAreShownInTheirOwnMessageBox) {
    auto children = std::make_shared<FaultyChildren>();
    ax::HeadlessHost faulty(children);
    faulty.setUserMode(true);
    auto g = std::make_shared<Vantrel>();
    faulty.place(g, 3000, 2000);
    ASSERT_TRUE(faulty.messageBoxes().empty());

    g->setRows(4);
    children->grid->failing = {"Row"};
    g->setCols(4);  // the inner grid takes the columns; moving the current cell fails
    ASSERT_EQ(faulty.messageBoxes().size(), 1u);
    const auto& box = faulty.messageBoxes()[0];
    EXPECT_EQ(box.prompt, "380: Invalid property value");
    EXPECT_EQ(box.title, "Vantrel.ReDimArray ");
    EXPECT_EQ(box.buttons, ax::mb::OkOnly | ax::mb::Critical);
    // The array kept its old size; the Cols let itself carried on.
    auto all = faulty.propertyChanges(*g);
    EXPECT_EQ(all.back(), "Cols");
    children->grid->failing.clear();
    g->setCol(3);
    EXPECT_EQ(errorOf([&] { g->ColInputStyle(); }), ax::err::SubscriptOutOfRange);
}

TEST(SettingsDefaults, AFailingStepOfTheNewInstanceDefaultsShowsOne) {
    registerNumberEditor();
    auto children = std::make_shared<FaultyChildren>();
    children->grid->failing = {"Cols"};
    ax::HeadlessHost host(children);
    auto g = std::make_shared<Vantrel>();
    host.place(g, 3000, 2000);
    ASSERT_EQ(host.messageBoxes().size(), 1u);
    EXPECT_EQ(host.messageBoxes()[0].prompt, "1");
    EXPECT_EQ(host.messageBoxes()[0].buttons, ax::mb::OkOnly);
    EXPECT_EQ(host.messageBoxes()[0].title, "");
    // The steps before the failure stayed done; the later ones did not run.
    EXPECT_EQ(host.propertyChanges(*g), (std::vector<std::string>{"Font", "Rows"}));
    EXPECT_EQ(g->TextMaxLength(), 64);  // the field's own start value, not the setter's work
    EXPECT_EQ(g->EditWidthMin(), 2);
    EXPECT_EQ(host.helpFile(*g), "");
}

}  // namespace
}  // namespace vantrel::test
