// A form designer saves the grid's design-time settings and loads them into a new grid, in memory and
// through a form file: every key comes back, in a fixed order, with fixed defaults, and a bag that is
// damaged or holds wrong values leaves a working grid and a message box instead of an error.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/controls/image_combo.h"
#include "platform/xml/xml_property_bag.h"
#include "tests/grid/frame/grid_host.h"

namespace vantrel::test {
namespace {

// clang-format off
const std::vector<std::string> kSavedKeys = {
    "Rows", "Cols", "BackColor", "ForeColor", "Enabled", "Font", "BorderStyle", "AllowBigSelection",
    "AllowUserResizing", "Appearance", "BackColorBkg", "BackColorFixed", "BackColorSel", "FixedCols", "FixedRows",
    "FocusRect", "FontBold", "FontItalic", "FontName", "FontSize", "FontStrikethru", "FontTransparent",
    "FontUnderline", "OLEDropMode", "FontWidth", "ForeColorFixed", "ForeColorSel", "FormatString", "GridColor",
    "GridColorFixed", "GridLines", "GridLinesFixed", "GridLineWidth", "HighLight", "MouseIcon", "MousePointer",
    "Index", "PictureType", "RightToLeft", "RowHeightMin", "ScaleHeight", "ScaleLeft", "ScaleMode", "ScaleTop",
    "ScaleWidth", "ScrollBars", "ScrollTrack", "SelectionMode", "TextStyle", "TextStyleFixed", "WordWrap", "Version",
    "aa", "InputStyle", "ImageList", "TextMaxLength", "MaskeditMask", "MaskEditPromptChar", "Locked", "LockedCombo",
    "MouseIconEditMode", "MousePointerEditMode", "DTPickCheckBox", "DTPickCalendarBackColor",
    "DTPickCalendarForeColor", "DTPickCalendarTitleBackColor", "DTPickCalendarTitleForeColor",
    "DTPickCalendarTrailingForeColor", "DTPickFormat", "DTPickMaxDate", "DTPickMinDate", "DTPickUpDown",
    "ZelPickerStyle", "ZelPickerLargeChange", "ZelPickerSmallChange", "ZelPickerMax", "ZelPickerMin",
    "ZelPickerInitValue", "Redraw", "FontWidth", "EditWidthMin", "MaintainData", "HelpPath",
};
// clang-format on

// clang-format off
const std::vector<std::string> kLoadedKeys = {
    "aa", "Index", "Enabled", "ScaleHeight", "ScaleLeft", "ScaleMode", "ScaleTop", "ScaleWidth", "OLEDropMode",
    "Font", "Rows", "Cols", "AllowBigSelection", "AllowUserResizing", "Appearance", "BackColor", "BackColorBkg",
    "BackColorFixed", "BackColorSel", "BorderStyle", "FixedCols", "FixedRows", "FocusRect", "FontWidth", "ForeColor",
    "ForeColorFixed", "ForeColorSel", "FormatString", "GridColor", "GridColorFixed", "GridLines", "GridLinesFixed",
    "GridLineWidth", "HighLight", "MousePointer", "MouseIcon", "PictureType", "RightToLeft", "RowHeightMin",
    "ScrollBars", "ScrollTrack", "SelectionMode", "TextStyle", "TextStyleFixed", "WordWrap", "Sort", "Version",
    "InputStyle", "ImageList", "TextMaxLength", "Locked", "LockedCombo", "MouseIconEditMode", "MousePointerEditMode",
    "MaskeditMask", "MaskEditPromptChar", "DTPickCheckBox", "DTPickCalendarBackColor", "DTPickCalendarForeColor",
    "DTPickCalendarTitleBackColor", "DTPickCalendarTitleForeColor", "DTPickCalendarTrailingForeColor", "DTPickFormat",
    "DTPickMaxDate", "DTPickMinDate", "DTPickUpDown", "ZelPickerStyle", "ZelPickerLargeChange",
    "ZelPickerSmallChange", "ZelPickerMax", "ZelPickerMin", "ZelPickerInitValue", "Redraw", "FontWidth",
    "EditWidthMin", "MaintainData", "HelpPath",
};
// clang-format on

// An inner grid that remembers the sorts it was asked for.
class SortRecordingGrid : public ax::HeadlessFlexGrid {
  public:
    std::vector<int16_t> sorts;
    void setSort(int16_t code) override {
        sorts.push_back(code);
        HeadlessFlexGrid::setSort(code);
    }
};

class SortRecordingChildren : public ax::ChildFactory {
  public:
    std::shared_ptr<SortRecordingGrid> grid = std::make_shared<SortRecordingGrid>();
    ax::ChildPtr create(ax::ChildKind kind) override {
        if (kind == ax::ChildKind::FlexGrid) return grid;
        return rest_.create(kind);
    }

  private:
    ax::HeadlessChildFactory rest_;
};

ax::PicturePtr picture(uint32_t rgba) {
    return std::make_shared<ax::Picture>(2, 2, std::vector<uint32_t>(4, rgba));
}

// Two saved values agree: pictures by their pixels (a file gives back a new picture object), the
// rest by the rules a bag uses to tell a value from its default.
bool sameSaved(const ax::Variant& a, const ax::Variant& b) {
    if (a.isObject() && b.isObject()) {
        auto pa = std::dynamic_pointer_cast<ax::Picture>(a.object());
        auto pb = std::dynamic_pointer_cast<ax::Picture>(b.object());
        if (pa && pb)
            return pa->Width() == pb->Width() && pa->Height() == pb->Height() && pa->pixels() == pb->pixels();
    }
    return ax::sameStoredValue(a, b);
}

// Compares two saved bags key for key; `except` names keys that may differ.
void expectSameKeys(const ax::MemoryPropertyBag& a, const ax::MemoryPropertyBag& b,
                    const std::vector<std::string>& except = {}) {
    for (const std::string& key : kSavedKeys) {
        if (std::find(except.begin(), except.end(), key) != except.end()) continue;
        SCOPED_TRACE(key);
        EXPECT_EQ(a.contains(key), b.contains(key));
        if (a.contains(key) && b.contains(key)) {
            EXPECT_TRUE(sameSaved(a.values().at(key), b.values().at(key)));
        }
    }
}

class PersistenceTest : public GridTest {
  protected:
    // Gives every saved setting a value other than its default, as a designer would in a property sheet.
    void designEverything() {
        auto font = std::make_shared<ax::Font>("Arial", 11.0f);
        font->setBold(true);
        grid->setFont(font);
        grid->setIndex(3);
        grid->setEnabled(false);
        grid->setRows(6);
        grid->setCols(5);
        grid->setAllowBigSelection(false);
        grid->setAllowUserResizing(3);
        grid->setAppearance(0);
        grid->setBackColor(0x00112233);
        grid->setBackColorBkg(0x00445566);
        grid->setBackColorFixed(0x00778899);
        grid->setBackColorSel(0x00AABBCC);
        grid->setBorderStyle(0);
        grid->setFixedCols(2);
        grid->setFixedRows(2);
        grid->setFocusRect(2);
        grid->setFontWidth(4);
        grid->setForeColor(0x00010101);
        grid->setForeColorFixed(0x00020202);
        grid->setForeColorSel(0x00030303);
        grid->setFormatString("<A|^B|>C|D|E");
        grid->setGridColor(0x00040404);
        grid->setGridColorFixed(0x00050505);
        grid->setGridLines(3);
        grid->setGridLinesFixed(1);
        grid->setGridLineWidth(3);
        grid->setHighLight(2);
        grid->setMousePointer(99);
        grid->setMouseIcon(picture(0xFF0000FFu));
        grid->setPictureType(1);
        grid->setRightToLeft(true);
        grid->setRowHeightMin(300);
        grid->setScrollBars(1);
        grid->setScrollTrack(true);
        grid->setSelectionMode(1);
        grid->setTextStyle(2);
        grid->setTextStyleFixed(3);
        grid->setWordWrap(true);
        grid->setRedraw(false);
        grid->setInputStyle(ComboBox);
        grid->setTextMaxLength(20);
        grid->setMaskEditMask("##-##");
        grid->setMaskEditPromptChar("*");
        grid->setLocked(true);
        grid->setLockedCombo(true);
        grid->setMouseIconEditMode(picture(0xFF00FF00u));
        grid->setMousePointerEditMode(3);
        grid->setDTPickCheckBox(false);
        grid->setDTPickCalendarBackColor(0x00060606);
        grid->setDTPickCalendarForeColor(0x00070707);
        grid->setDTPickCalendarTitleBackColor(0x00080808);
        grid->setDTPickCalendarTitleForeColor(0x00090909);
        grid->setDTPickCalendarTrailingForeColor(0x000A0A0A);
        grid->setDTPickFormat(4);
        grid->setDTPickMaxDate(ax::Date{50000});
        grid->setDTPickMinDate(ax::Date{20000});
        grid->setDTPickUpDown(true);
        grid->setZelPickerStyle(2);
        grid->setZelPickerLargeChange(10);
        grid->setZelPickerSmallChange(2);
        grid->setZelPickerMax(500);
        grid->setZelPickerMin(-5);
        grid->setZelPickerInitValue(7);
        grid->setEditWidthMin(300);
        grid->setMaintainData(true);
    }

    // A new grid placed from a bag, on the same host.
    std::shared_ptr<Vantrel> loaded(ax::PropertyBag& bag) {
        auto other = std::make_shared<Vantrel>();
        host->place(other, 4800, 2400, &bag);
        return other;
    }

    ax::MemoryPropertyBag saved(Vantrel& g) {
        ax::MemoryPropertyBag bag;
        host->save(g, bag);
        return bag;
    }

    std::string tempFile(const std::string& name) {
        return (std::filesystem::temp_directory_path() /
                ("vantrel-persist-" + std::to_string(::getpid()) + name))
            .string();
    }
};

TEST_F(PersistenceTest, KeysAreWrittenAndReadInTheirFixedOrder) {
    ax::MemoryPropertyBag bag = saved(*grid);
    EXPECT_EQ(bag.writeOrder(), kSavedKeys);
    EXPECT_EQ(kSavedKeys.size(), 83u);

    ax::MemoryPropertyBag empty;
    loaded(empty);
    EXPECT_EQ(empty.readOrder(), kLoadedKeys);
    EXPECT_EQ(kLoadedKeys.size(), 77u);
}

TEST_F(PersistenceTest, LoadAndSaveDefaultsAgreeSoAnEmptyFormStaysAlmostEmpty) {
    ax::MemoryPropertyBag empty;
    auto fresh = loaded(empty);
    ax::MemoryPropertyBag bag = saved(*fresh);
    std::vector<std::string> stored;
    for (const auto& [key, value] : bag.values()) stored.push_back(key);
    // The font attributes have defaults no font has; the help path is always computed; a resized
    // control has a user scale of its own size.
    EXPECT_EQ(stored,
              (std::vector<std::string>{"FontName", "FontSize", "HelpPath", "ScaleHeight", "ScaleMode"}));
    EXPECT_EQ(fresh->DTPickFormat(), 1);  // a new grid has 0, a loaded one without the key 1
    EXPECT_EQ(grid->DTPickFormat(), 0);
    EXPECT_TRUE(host->messageBoxes().empty());
}

TEST_F(PersistenceTest, EveryDesignTimeSettingComesBackFromAMemoryBag) {
    designEverything();
    auto list = std::make_shared<ax::ImageList>();
    grid->setImageList(list);
    ax::MemoryPropertyBag first = saved(*grid);
    for (const std::string& key : kSavedKeys) {
        if (key == "FontTransparent" || key == "FontStrikethru" || key == "FontUnderline" ||
            key == "FontItalic" || key == "OLEDropMode" || key == "aa" || key == "Version" ||
            key == "HelpPath" || key == "ScaleLeft" || key == "ScaleTop" || key == "ScaleWidth")
            continue;  // attributes with no setter, values a designer cannot change, or a scale at its
                       // default
        EXPECT_TRUE(first.contains(key)) << key << " was left at its default";
    }

    host->setUserMode(false);  // a form designer opens the saved form
    auto copy = loaded(first);
    EXPECT_TRUE(host->messageBoxes().empty());
    ax::MemoryPropertyBag second = saved(*copy);
    expectSameKeys(first, second);

    EXPECT_EQ(copy->ImageList(), list);
    EXPECT_TRUE(copy->Font()->sameAs(*grid->Font()));
    EXPECT_EQ(copy->innerGrid().Font(), copy->Font());
    EXPECT_TRUE(copy->MaintainData());
    EXPECT_EQ(copy->ZelPickerSmallChange(), 2);  // applied after LargeChange, so 2 <= 10 holds
    EXPECT_EQ(copy->ZelPickerMin(), -5);

    // Codes beyond 16 bits, which the setters take, come back too (and the keys after them).
    grid->setMousePointerEditMode(40000);
    grid->setDTPickFormat(70000);
    ax::MemoryPropertyBag wideBag = saved(*grid);
    auto wide = loaded(wideBag);
    EXPECT_TRUE(host->messageBoxes().empty());
    EXPECT_EQ(wide->MousePointerEditMode(), 40000);
    EXPECT_EQ(wide->DTPickFormat(), 70000);
    EXPECT_EQ(wide->ZelPickerMin(), -5);
}

TEST_F(PersistenceTest, PerColumnSettingsAndCellsAreNotSaved) {
    fill(4, 3);
    grid->setInputStyle(TextBox);
    atColumn(2);
    grid->setColInputStyle(ZelPicker);
    grid->setColTextMaxLength(5);
    grid->setTextMatrix(1, 1, "kept only in this grid");
    ax::MemoryPropertyBag bag = saved(*grid);
    auto copy = loaded(bag);
    EXPECT_EQ(copy->Cols(), 3);
    for (int32_t c = 1; c < 3; ++c) {
        copy->setCol(c);
        EXPECT_EQ(copy->ColInputStyle(), TextBox);
        EXPECT_EQ(copy->ColTextMaxLength(), 64);
    }
    EXPECT_EQ(copy->TextMatrix(1, 1), "");
    EXPECT_FALSE(copy->ColMaintainData());
}

TEST_F(PersistenceTest, FixedColsDefaultFollowsTheLoadedColumnCount) {
    ax::MemoryPropertyBag one;
    one.put("Cols", ax::Variant(int32_t(1)));
    EXPECT_EQ(loaded(one)->FixedCols(), 0);
    ax::MemoryPropertyBag five;
    five.put("Cols", ax::Variant(int32_t(5)));
    auto g = loaded(five);
    EXPECT_EQ(g->FixedCols(), 1);
    EXPECT_EQ(g->Cols(), 5);
    g->setCol(4);
    EXPECT_EQ(g->ColInputStyle(), TextBox);  // one settings record per loaded column
}

TEST_F(PersistenceTest, AnOldFormsSortRunsOnTheInnerGridWhateverMaintainDataSays) {
    auto children = std::make_shared<SortRecordingChildren>();
    host->setChildFactory(children);
    ax::MemoryPropertyBag bag;
    bag.put("Sort", ax::Variant(int16_t(1)));
    bag.put("MaintainData", ax::Variant(true));
    auto g = loaded(bag);
    EXPECT_EQ(children->grid->sorts, std::vector<int16_t>{1});
    EXPECT_TRUE(g->MaintainData());
    ax::MemoryPropertyBag again = saved(*g);
    EXPECT_EQ(std::count(again.writeOrder().begin(), again.writeOrder().end(), "Sort"), 0);
}

TEST_F(PersistenceTest, TheControlsOwnDropModeIsSavedNotTheInnerGrids) {
    grid->setOLEDropMode(1);
    EXPECT_EQ(inner().OLEDropMode(), 1);
    ax::MemoryPropertyBag bag = saved(*grid);
    EXPECT_FALSE(bag.contains("OLEDropMode"));  // the control's own mode is still 0, the default
    auto copy = loaded(bag);
    EXPECT_EQ(copy->OLEDropMode(), 0);

    ax::MemoryPropertyBag own;
    own.put("OLEDropMode", ax::Variant(int16_t(1)));
    auto withOwn = loaded(own);
    EXPECT_EQ(withOwn->OLEDropMode(), 0);  // the inner grid keeps its own initial value
    EXPECT_EQ(saved(*withOwn).values().at("OLEDropMode").toLong(), 1);
}

TEST_F(PersistenceTest, PrivateValueHelpPathAndKeySpellingsAreKeptAsSaved) {
    ax::MemoryPropertyBag bag;
    bag.put("aa", ax::Variant("left by an older version"));
    bag.put("HelpPath", ax::Variant("/somewhere/else/Vantrel.chm"));
    bag.put("MaskEditMask", ax::Variant("###"));  // not the key loading reads
    bag.put("Version", ax::Variant("1.5"));
    auto g = loaded(bag);
    EXPECT_EQ(g->MaskEditMask(), "");
    EXPECT_EQ(std::filesystem::path(g->HelpFilePath()).filename(), "Vantrel.chm");
    EXPECT_NE(g->HelpFilePath(), "/somewhere/else/Vantrel.chm");
    EXPECT_EQ(host->helpFile(*g), g->HelpFilePath());
    EXPECT_EQ(g->HelpFilePath(), grid->HelpFilePath());
    EXPECT_EQ(g->Version(), "1.5");

    ax::MemoryPropertyBag out = saved(*g);
    EXPECT_EQ(out.values().at("aa").toString(), "left by an older version");
    EXPECT_EQ(out.values().at("HelpPath").toString(), g->HelpFilePath());

    ax::MemoryPropertyBag lower;
    lower.put("MaskeditMask", ax::Variant("###"));
    EXPECT_EQ(loaded(lower)->MaskEditMask(), "###");
}

TEST_F(PersistenceTest, AFailingKeyEndsTheLoadWithAMessageBoxAndLeavesAWorkingGrid) {
    ax::MemoryPropertyBag wrongType;
    wrongType.put("Cols", ax::Variant("five"));
    wrongType.put("GridColor", ax::Variant(int32_t(0x123456)));
    wrongType.put("Version", ax::Variant("9.9"));
    host->clearMessageBoxes();
    auto g = loaded(wrongType);
    ASSERT_EQ(host->messageBoxes().size(), 1u);
    const ax::AutomationError mismatch(ax::err::TypeMismatch);
    EXPECT_EQ(host->messageBoxes()[0].prompt, "13" + mismatch.description());
    EXPECT_EQ(host->messageBoxes()[0].buttons, ax::mb::OkOnly);
    EXPECT_EQ(host->messageBoxes()[0].title, "");
    // Nothing after the failing key was applied; the grid still takes rows and text.
    EXPECT_NE(g->GridColor(), 0x123456u);
    EXPECT_EQ(g->Version(), "2.0");
    g->setRows(3);
    g->setTextMatrix(2, 1, "still works");
    EXPECT_EQ(g->TextMatrix(2, 1), "still works");

    // A value the inner grid refuses reports the inner grid's number and text.
    ax::MemoryPropertyBag refused;
    refused.put("GridLineWidth", ax::Variant(int16_t(0)));
    refused.put("TextMaxLength", ax::Variant(int16_t(9)));
    host->clearMessageBoxes();
    auto h = loaded(refused);
    ASSERT_EQ(host->messageBoxes().size(), 1u);
    EXPECT_EQ(host->messageBoxes()[0].prompt, std::to_string(ax::flexerr::InvalidPropertyValue) +
                                                  ax::flexerr::text(ax::flexerr::InvalidPropertyValue));
    EXPECT_NE(h->TextMaxLength(), 9);

    // Unknown keys are never read; an out-of-range 16-bit value overflows.
    ax::MemoryPropertyBag odd;
    odd.put("NoSuchKey", ax::Variant(int32_t(1)));
    odd.put("Index", ax::Variant(int32_t(40000)));
    host->clearMessageBoxes();
    auto k = loaded(odd);
    ASSERT_EQ(host->messageBoxes().size(), 1u);
    EXPECT_EQ(host->messageBoxes()[0].prompt.substr(0, 1), "6");
    // Stopped before the font and the help file: both are still there for the grid to use.
    ASSERT_TRUE(k->Font());
    EXPECT_EQ(k->innerGrid().Font(), k->Font());
    EXPECT_EQ(k->HelpFilePath(), grid->HelpFilePath());
    k->setTextMatrix(1, 1, "ok");
    EXPECT_EQ(k->TextMatrix(1, 1), "ok");
}

TEST_F(PersistenceTest, LoadingClosesATransactionFlag) {
    fill(3, 3);
    grid->BeginTrans();
    ax::MemoryPropertyBag bag;
    bag.put("Cols", ax::Variant(int32_t(4)));
    grid->ReadProperties(bag);
    EXPECT_FALSE(grid->IsInTransaction());
    EXPECT_EQ(grid->Cols(), 4);
    grid->setCols(2);  // the Cols let works again
    EXPECT_EQ(grid->Cols(), 2);
}

TEST_F(PersistenceTest, EveryDesignTimeSettingComesBackFromAFormFile) {
    designEverything();
    ax::MemoryPropertyBag expected = saved(*grid);

    ax::XmlPropertyBag file;
    host->save(*grid, file);
    const std::string path = tempFile("form.xml");
    file.save(path);

    ax::XmlPropertyBag reopened;
    ASSERT_TRUE(reopened.load(path)) << (reopened.problems().empty() ? "" : reopened.problems().front());
    auto copy = loaded(reopened);
    EXPECT_TRUE(host->messageBoxes().empty());
    expectSameKeys(expected, saved(*copy));
    std::remove(path.c_str());
}

TEST_F(PersistenceTest, ADamagedFormFileLoadsWhatItCanAndNeverCrashes) {
    designEverything();
    ax::XmlPropertyBag file;
    host->save(*grid, file);
    const std::string path = tempFile("damaged.xml");
    file.save(path);
    std::string text;
    {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        text = s.str();
    }

    // Cut in the middle of the entries: what lies before the cut comes back, the rest takes defaults.
    for (size_t cut : {text.size() / 3, text.size() / 2, text.size() - 20}) {
        SCOPED_TRACE(cut);
        std::ofstream(path, std::ios::trunc) << text.substr(0, cut);
        ax::XmlPropertyBag truncated;
        EXPECT_FALSE(truncated.load(path));
        EXPECT_FALSE(truncated.problems().empty());
        host->clearMessageBoxes();
        auto g = loaded(truncated);
        // An entry cut through after its name ends the load at that key with the message box, which
        // may come before Rows; otherwise the first key survives every cut.
        if (truncated.damaged().empty()) {
            EXPECT_EQ(g->Rows(), 6);
            EXPECT_TRUE(host->messageBoxes().empty());
        } else {
            EXPECT_LE(host->messageBoxes().size(), 1u);
        }
        g->setRows(8);
        g->setCols(5);
        g->setTextMatrix(7, 2, "x");
        EXPECT_EQ(g->TextMatrix(7, 2), "x");
    }

    // A hand-edited value of the wrong kind ends the load at its key with the message box.
    std::string edited = text;
    const size_t at = edited.find("name=\"Cols\"");
    ASSERT_NE(at, std::string::npos);
    const size_t lineEnd = edited.find('\n', at);
    const size_t lineStart = edited.rfind('\n', at) + 1;
    edited.replace(lineStart, lineEnd - lineStart,
                   "\t<property name=\"Cols\" type=\"String\" value=\"many\" />");
    std::ofstream(path, std::ios::trunc) << edited;
    ax::XmlPropertyBag handEdited;
    EXPECT_TRUE(handEdited.load(path));
    host->clearMessageBoxes();
    auto g = loaded(handEdited);
    ASSERT_EQ(host->messageBoxes().size(), 1u);
    EXPECT_EQ(host->messageBoxes()[0].prompt.substr(0, 2), "13");
    EXPECT_EQ(g->Rows(), 6);       // before the damaged key
    EXPECT_NE(g->GridLines(), 3);  // after it
    std::remove(path.c_str());
}

}  // namespace
}  // namespace vantrel::test
