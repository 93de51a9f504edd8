// The control object: its children, the defaults of a new instance, the lifecycle and the event relay.
#include <filesystem>

#include "platform/controls/image.h"
#include "tests/grid/frame/grid_host.h"

namespace vantrel::test {
namespace {

// Records the events a C++ host receives, and lets a test answer them.
struct RecordingSink : VantrelEvents {
    std::vector<std::string> names;
    std::function<void(int16_t&)> onKeyPress;
    std::function<void(int32_t&, int32_t&, int16_t&)> onCompare;
    std::function<void()> onResize, onScroll;

    void Click() override { names.push_back("Click"); }
    void DblClick() override { names.push_back("DblClick"); }
    void KeyDown(int16_t&, int16_t&) override { names.push_back("KeyDown"); }
    void KeyPress(int16_t& k) override {
        names.push_back("KeyPress");
        if (onKeyPress) onKeyPress(k);
    }
    void KeyUp(int16_t&, int16_t&) override { names.push_back("KeyUp"); }
    void MouseDown(int16_t&, int16_t&, float&, float&) override { names.push_back("MouseDown"); }
    void MouseUp(int16_t&, int16_t&, float&, float&) override { names.push_back("MouseUp"); }
    void Resize() override {
        names.push_back("Resize");
        if (onResize) onResize();
    }
    void Show() override { names.push_back("Show"); }
    void Hide() override { names.push_back("Hide"); }
    void OLEStartDrag(std::shared_ptr<ax::Object>&, int32_t& allowed) override {
        names.push_back("OLEStartDrag");
        allowed = 0;  // the host refuses the drag
    }
    void LeaveCell() override { names.push_back("LeaveCell"); }
    void EnterCell() override { names.push_back("EnterCell"); }
    void SelChange() override { names.push_back("SelChange"); }
    void RowColChange() override { names.push_back("RowColChange"); }
    void Scroll() override {
        names.push_back("Scroll");
        if (onScroll) onScroll();
    }
    void Compare(int32_t& r1, int32_t& r2, int16_t& cmp) override {
        names.push_back("Compare");
        if (onCompare) onCompare(r1, r2, cmp);
    }
};

// A late-bound host: hears events by name and may write into their arguments.
struct NamedSink : ax::EventSink {
    std::vector<std::pair<int32_t, std::string>> heard;
    std::function<void(std::string_view, std::vector<ax::Variant>&)> answer;
    void OnEvent(int32_t dispid, std::string_view name, std::vector<ax::Variant>& args) override {
        heard.emplace_back(dispid, std::string(name));
        if (answer) answer(name, args);
    }
};

using FrameTest = GridTest;

TEST_F(FrameTest, ChildrenAreCreatedInOrderWithTheirKindsAndTheCheckPicture) {
    std::vector<std::string> names;
    for (auto& c : host->children(*grid)) names.push_back(c->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"FlexGrid", "TxtBox", "MaskEdit", "ComboBx", "ComboBxDropDown",
                                               "ImgCombo", "ChckBox", "DTPick", "ZelPick", "ImgChecked",
                                               "ImgShadow"}));
    EXPECT_EQ(host->child(*grid, "FlexGrid").get(), static_cast<ax::Child*>(&inner()));

    // The number editor is the control the runtime made for "ZelCtrl.Zel".
    ASSERT_TRUE(grid->numberEditor());
    EXPECT_TRUE(grid->numberEditor()->HasMember("SmallChange", ax::InvokeKind::PropertyGet));

    auto checked = std::dynamic_pointer_cast<ax::Image>(host->child(*grid, "ImgChecked"));
    ASSERT_TRUE(checked);
    ASSERT_TRUE(ax::hasPicture(checked->Picture()));
    EXPECT_EQ(checked->Picture()->Width(), 13);
    EXPECT_EQ(checked->Picture()->Height(), 13);
    const auto& px = checked->Picture()->pixels();
    EXPECT_TRUE(std::any_of(px.begin(), px.end(), [](uint32_t p) { return p != 0; }));
    EXPECT_TRUE(std::any_of(px.begin(), px.end(), [](uint32_t p) { return p == 0; }));
}

TEST_F(FrameTest, NewInstanceDefaultsGoThroughTheSettersThatNotify) {
    auto fresh = std::make_shared<Vantrel>();
    auto font = std::make_shared<ax::Font>("Arial", 12.0f);
    host->setAmbientFont(font);
    host->place(fresh, 3000, 2000);

    // Values set through properties notify; stored values and a mask equal to the empty default do not.
    auto all = host->propertyChanges(*fresh);
    const std::vector<std::string> expected{"Font",       "Rows",          "Cols",
                                            "InputStyle", "TextMaxLength", "MaskEditPromptChar",
                                            "Locked",     "LockedCombo",   "MousePointerEditMode"};
    EXPECT_EQ(all, expected);

    EXPECT_EQ(fresh->Rows(), 2);
    EXPECT_EQ(fresh->Cols(), 2);
    EXPECT_TRUE(fresh->innerGrid().Font()->sameAs(*font));
    EXPECT_EQ(fresh->InputStyle(), TextBox);
    EXPECT_EQ(fresh->TextMaxLength(), 64);
    EXPECT_EQ(fresh->EditWidthMin(), 2);
    EXPECT_FALSE(fresh->MaintainData());
    EXPECT_EQ(fresh->MaskEditPromptChar(), "_");
    EXPECT_TRUE(fresh->DTPickCheckBox());
    EXPECT_EQ(fresh->DTPickMaxDate().value, defaultMaxDate());
    EXPECT_EQ(fresh->DTPickMinDate().value, defaultMinDate());
    EXPECT_EQ(fresh->DTPickCalendarBackColor(), 0x80000005u);
    EXPECT_EQ(fresh->DTPickCalendarTrailingForeColor(), 0x80000011u);
    EXPECT_EQ(fresh->ZelPickerMax(), 32767);
    EXPECT_EQ(fresh->ZelPickerMin(), -32768);
    ASSERT_TRUE(fresh->MouseIconEditMode());
    EXPECT_EQ(fresh->MouseIconEditMode()->Handle(), 0);

    // The columns took the settings applied through setters, but not the stored EditWidthMin.
    host->setUserMode(true);
    for (int32_t c = 0; c < 2; ++c) {
        fresh->innerGrid().setCol(c);
        EXPECT_EQ(fresh->ColInputStyle(), TextBox);
        EXPECT_EQ(fresh->ColTextMaxLength(), 64);
        EXPECT_EQ(fresh->ColEditWidthMin(), 0);
        EXPECT_FALSE(fresh->ColMaintainData());
        EXPECT_EQ(fresh->ColMaskEditPromptChar(), "_");
        EXPECT_FALSE(fresh->ColDTPickCheckBox());  // made before the grid-wide True was stored
    }
    fresh->setCols(3);
    fresh->innerGrid().setCol(2);
    EXPECT_TRUE(fresh->ColDTPickCheckBox());

    // The help file sits beside the loaded library.
    const std::filesystem::path help = fresh->HelpFilePath();
    EXPECT_EQ(help.filename(), "Vantrel.chm");
    EXPECT_TRUE(std::filesystem::exists(help.parent_path() / "libvantrel.so"));
    EXPECT_EQ(host->helpFile(*fresh), fresh->HelpFilePath());
}

TEST_F(FrameTest, KeysReachTheHostAfterTheEngineAndTheHostsValueReachesTheInnerGrid) {
    RecordingSink sink;
    grid->setEventSink(&sink);
    sink.onKeyPress = [](int16_t& k) { k = 'B'; };
    host->setFocus(&inner());
    EXPECT_EQ(host->keyPress('a'), 'B');
    host->typeKey('X');
    EXPECT_EQ(sink.names, (std::vector<std::string>{"KeyPress", "KeyDown", "KeyPress", "KeyUp"}));

    // The late-bound host hears the same key by name, with its dispatch id, and can change it too.
    auto named = std::make_shared<NamedSink>();
    named->answer = [](std::string_view name, std::vector<ax::Variant>& args) {
        if (name == "KeyPress") args[0] = ax::Variant(int16_t(0));
    };
    grid->events().Advise(named);
    EXPECT_EQ(host->keyPress('c'), 0);
    ASSERT_FALSE(named->heard.empty());
    EXPECT_EQ(named->heard.back(), (std::pair<int32_t, std::string>{4, "KeyPress"}));
    grid->setEventSink(nullptr);
}

TEST_F(FrameTest, MouseAndCellMovesAreRelayedInTheOrderTheInnerGridRaisesThem) {
    RecordingSink sink;
    grid->setEventSink(&sink);
    fill(5, 3);
    inner().setRow(1);
    inner().setCol(1);
    sink.names.clear();
    // A click on a cell of row 2, column 2 (beyond the fixed row and column).
    const float x = float(inner().ColPos(2) + 30), y = float(inner().RowPos(2) + 30);
    host->click(inner(), x, y);
    ASSERT_FALSE(sink.names.empty());
    EXPECT_EQ(sink.names.front(), "LeaveCell");
    EXPECT_NE(std::find(sink.names.begin(), sink.names.end(), "MouseDown"), sink.names.end());
    EXPECT_EQ(sink.names.back(), "Click");
    const auto down = std::find(sink.names.begin(), sink.names.end(), "MouseDown");
    const auto up = std::find(sink.names.begin(), sink.names.end(), "MouseUp");
    EXPECT_LT(down, up);
    EXPECT_EQ(inner().Row(), 2);
    EXPECT_EQ(inner().Col(), 2);
    grid->setEventSink(nullptr);
}

TEST_F(FrameTest, CompareAnswerSortsTheInnerGridWhileRowNumbersAreCopies) {
    RecordingSink sink;
    grid->setEventSink(&sink);
    grid->setCols(2);
    grid->setRows(5);
    const std::vector<std::string> words{"pear", "apple", "fig", "kiwi"};
    for (int32_t r = 1; r <= 4; ++r) grid->setTextMatrix(r, 1, words[size_t(r - 1)]);
    // Descending by the host's own rule; the handler also scribbles on the row numbers.
    sink.onCompare = [&](int32_t& r1, int32_t& r2, int16_t& cmp) {
        const std::string a = grid->TextMatrix(r1, 1), b = grid->TextMatrix(r2, 1);
        cmp = int16_t(a > b ? -1 : (a < b ? 1 : 0));
        r1 = 0;
        r2 = 0;
    };
    grid->setSort(9);
    EXPECT_EQ(column(1), (std::vector<std::string>{"", "pear", "kiwi", "fig", "apple"}));
    EXPECT_EQ(changesNamed("Sort"), 1u);
    grid->setEventSink(nullptr);
}

TEST_F(FrameTest, ScrollLeavesTheFocusOnTheInnerGridBeforeTheHostHearsIt) {
    RecordingSink sink;
    grid->setEventSink(&sink);
    grid->setRows(60);
    ax::Child* focusWhenHeard = nullptr;
    sink.onScroll = [&] { focusWhenHeard = host->focused(); };
    auto other = host->child(*grid, "TxtBox");
    other->setVisible(true);
    host->setFocus(other.get());
    grid->setTopRow(20);
    ASSERT_NE(std::find(sink.names.begin(), sink.names.end(), "Scroll"), sink.names.end());
    EXPECT_EQ(focusWhenHeard, static_cast<ax::Child*>(&inner()));
    grid->setEventSink(nullptr);
}

TEST_F(FrameTest, DragStartIsRaisedAndTheHostsAnswerReachesTheInnerGrid) {
    RecordingSink sink;
    grid->setEventSink(&sink);
    inner().OLEDrag();
    EXPECT_EQ(sink.names, (std::vector<std::string>{"OLEStartDrag"}));
    // The sink set AllowedEffects to none: the inner grid did not start the drag.
    EXPECT_FALSE(inner().dragInProgress());
    grid->setEventSink(nullptr);
}

TEST_F(FrameTest, ResizeRaisesFirstThenLaysTheInnerGridOverTheControlInFront) {
    RecordingSink sink;
    grid->setEventSink(&sink);
    float widthSeenByHost = -1;
    sink.onResize = [&] { widthSeenByHost = inner().Width(); };
    host->resize(*grid, 6000, 3000);
    EXPECT_EQ(widthSeenByHost, 4800.0f);
    EXPECT_EQ(inner().Width(), 6000.0f);
    EXPECT_EQ(inner().Height(), 3000.0f);
    EXPECT_EQ(inner().Left(), 0.0f);
    EXPECT_EQ(inner().Top(), 0.0f);
    EXPECT_EQ(host->zOrder(*grid).front(), static_cast<ax::Child*>(&inner()));

    host->hide(*grid);
    host->show(*grid);
    EXPECT_EQ(sink.names, (std::vector<std::string>{"Resize", "Hide", "Show"}));
    grid->setEventSink(nullptr);
}

TEST(FrameScale, AfterResizeOneInternalUnitIsOneUnitOfTheContainer) {
    registerNumberEditor();
    auto host = ax::makeHeadlessHost();
    host->setContainerScaleMode(ax::ScaleMode::Pixels);
    auto grid = std::make_shared<Vantrel>();
    host->place(grid, 3000, 1500);  // twips: 200 x 100 pixels
    ax::ControlSurface& s = host->surface(*grid);
    EXPECT_EQ(s.scaleMode(), ax::ScaleMode::User);
    EXPECT_FLOAT_EQ(s.ScaleWidth(), 3000.0f / ax::twipsPerUnitX(ax::ScaleMode::Pixels));
    EXPECT_FLOAT_EQ(s.ScaleHeight(), 1500.0f / ax::twipsPerUnitY(ax::ScaleMode::Pixels));
    EXPECT_FLOAT_EQ(grid->innerGrid().Width(), s.ScaleWidth());
    EXPECT_FLOAT_EQ(grid->innerGrid().Height(), s.ScaleHeight());

    host->resize(*grid, 4500, 1500);
    EXPECT_FLOAT_EQ(grid->innerGrid().Width(), 4500.0f / ax::twipsPerUnitX(ax::ScaleMode::Pixels));
}

TEST_F(FrameTest, EveryMemberOfTheseSubsystemsIsReachableByName) {
    std::vector<ax::Variant> none;
    EXPECT_EQ(grid->Invoke("rows", ax::InvokeKind::PropertyGet, none).toLong(), 2);
    std::vector<ax::Variant> put{ax::Variant(int32_t(4))};
    grid->Invoke("Rows", ax::InvokeKind::PropertyPut, put);
    EXPECT_EQ(grid->Rows(), 4);

    std::vector<ax::Variant> cell{ax::Variant(int32_t(1)), ax::Variant(int32_t(1)), ax::Variant("hello")};
    grid->Invoke("TextMatrix", ax::InvokeKind::PropertyPut, cell);
    std::vector<ax::Variant> at{ax::Variant(int32_t(1)), ax::Variant(int32_t(1))};
    EXPECT_EQ(grid->Invoke("TextMatrix", ax::InvokeKind::PropertyGet, at).toString(), "hello");
    // A number given for a text parameter arrives as its whole text, by name and by id.
    std::vector<ax::Variant> number{ax::Variant(int32_t(1)), ax::Variant(int32_t(1)),
                                    ax::Variant(1234567890.125)};
    grid->Invoke("TextMatrix", ax::InvokeKind::PropertyPut, number);
    EXPECT_EQ(grid->TextMatrix(1, 1), "1234567890.125");
    number[2] = int32_t(42);
    grid->InvokeById(grid->GetIdOfName("TextMatrix"), ax::InvokeKind::PropertyPut, number);
    EXPECT_EQ(grid->TextMatrix(1, 1), "42");

    // AddItem without its index appends.
    std::vector<ax::Variant> item{ax::Variant("x\ty")};
    grid->Invoke("AddItem", ax::InvokeKind::Method, item);
    EXPECT_EQ(grid->Rows(), 5);
    EXPECT_EQ(grid->TextMatrix(4, 1), "y");

    // Sort narrows to 16 bits: a value beyond fails with overflow.
    std::vector<ax::Variant> sort{ax::Variant(int32_t(40000))};
    EXPECT_EQ(errorOf([&] { grid->Invoke("Sort", ax::InvokeKind::PropertyPut, sort); }), ax::err::Overflow);

    for (const char* name : {"Cols",
                             "FixedRows",
                             "FixedCols",
                             "Row",
                             "Col",
                             "RowSel",
                             "ColSel",
                             "TopRow",
                             "LeftCol",
                             "Text",
                             "TextArray",
                             "MaintainData",
                             "ColMaintainData",
                             "CellData",
                             "DataMatrix",
                             "InputStyle",
                             "ColInputStyle",
                             "Locked",
                             "ColLocked",
                             "LockedCombo",
                             "ColLockedCombo",
                             "MouseIconEditMode",
                             "ColMouseIconEditMode",
                             "MousePointerEditMode",
                             "ColMousePointerEditMode",
                             "EditWidthMin",
                             "ColEditWidthMin",
                             "TextMaxLength",
                             "ColTextMaxLength",
                             "MaskEditMask",
                             "ColMaskEditMask",
                             "MaskEditPromptChar",
                             "ColMaskEditPromptChar",
                             "DTPickCheckBox",
                             "ColDTPickCheckBox",
                             "DTPickCalendarBackColor",
                             "ColDTPickCalendarBackColor",
                             "DTPickCalendarForeColor",
                             "ColDTPickCalendarForeColor",
                             "DTPickCalendarTitleBackColor",
                             "ColDTPickCalendarTitleBackColor",
                             "DTPickCalendarTitleForeColor",
                             "ColDTPickCalendarTitleForeColor",
                             "DTPickCalendarTrailingForeColor",
                             "ColDTPickCalendarTrailingForeColor",
                             "DTPickFormat",
                             "ColDTPickFormat",
                             "DTPickMaxDate",
                             "ColDTPickMaxDate",
                             "DTPickMinDate",
                             "ColDTPickMinDate",
                             "DTPickUpDown",
                             "ColDTPickUpDown",
                             "ZelPickerMax",
                             "ColZelPickerMax",
                             "ZelPickerMin",
                             "ColZelPickerMin",
                             "ZelPickerInitValue",
                             "ColZelPickerInitValue",
                             "ZelPickerSmallChange",
                             "ColZelPickerSmallChange",
                             "ZelPickerLargeChange",
                             "ColZelPickerLargeChange",
                             "ZelPickerStyle",
                             "ColZelPickerStyle"}) {
        EXPECT_TRUE(grid->HasMember(name, ax::InvokeKind::PropertyGet)) << name;
        EXPECT_TRUE(grid->HasMember(name, ax::InvokeKind::PropertyPut)) << name;
    }
    for (const char* name : {"AddItem", "RemoveItem", "Clear", "SetMouseIconEditMode"})
        EXPECT_TRUE(grid->HasMember(name, ax::InvokeKind::Method)) << name;
    for (const char* name : {"ColPosition", "RowPosition", "Sort"})
        EXPECT_TRUE(grid->HasMember(name, ax::InvokeKind::PropertyPut)) << name;
    for (const char* name : {"MaskEditAllowPrompt", "MaskEditPromptInclude"}) {
        EXPECT_TRUE(grid->HasMember(name, ax::InvokeKind::PropertyGet)) << name;
        EXPECT_FALSE(grid->HasMember(name, ax::InvokeKind::PropertyPut)) << name;
    }
}

}  // namespace
}  // namespace vantrel::test
