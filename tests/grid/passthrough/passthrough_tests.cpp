// The inner grid's appearance and layout members as the host reaches them on the control: the value
// arrives in the inner grid, the host hears of it once, an inner-grid error reaches the host unchanged
// and silences the notice, and the few members that do more than forward do it.
#include <limits>

#include "platform/controls/check_box.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/image_combo.h"
#include "platform/controls/mask_ed_box.h"
#include "platform/controls/text_box.h"
#include "tests/grid/frame/grid_host.h"

namespace vantrel::test {
namespace {

class PassThroughTest : public GridTest {
  protected:
    ax::Variant get(const std::string& name, std::vector<ax::Variant> args = {}) {
        return grid->Invoke(name, ax::InvokeKind::PropertyGet, args);
    }
    void let(const std::string& name, std::vector<ax::Variant> args) {
        grid->Invoke(name, ax::InvokeKind::PropertyPut, args);
    }
    void call(const std::string& name, std::vector<ax::Variant> args = {}) {
        grid->Invoke(name, ax::InvokeKind::Method, args);
    }
};

// One forwarding member: a value it accepts, and how the inner grid reports it.
struct Forwarded {
    const char* name;
    ax::Variant value;
    std::function<double(ax::FlexGrid&)> inner;
};

TEST_F(PassThroughTest, LetsReachTheInnerGridAndAreToldOnceUnderTheirOwnName) {
    fill(4, 4);
    const std::vector<Forwarded> members = {
        {"AllowBigSelection", ax::Variant(false),
         [](ax::FlexGrid& g) { return double(g.AllowBigSelection()); }},
        {"AllowUserResizing", ax::Variant(int32_t(3)),
         [](ax::FlexGrid& g) { return double(g.AllowUserResizing()); }},
        {"Appearance", ax::Variant(int32_t(0)), [](ax::FlexGrid& g) { return double(g.Appearance()); }},
        {"BackColor", ax::Variant(int32_t(0x123456)), [](ax::FlexGrid& g) { return double(g.BackColor()); }},
        {"BackColorBkg", ax::Variant(int32_t(0x010203)),
         [](ax::FlexGrid& g) { return double(g.BackColorBkg()); }},
        {"BackColorFixed", ax::Variant(int32_t(0x00FF00)),
         [](ax::FlexGrid& g) { return double(g.BackColorFixed()); }},
        {"BackColorSel", ax::Variant(int32_t(0x0000FF)),
         [](ax::FlexGrid& g) { return double(g.BackColorSel()); }},
        {"BorderStyle", ax::Variant(int32_t(0)), [](ax::FlexGrid& g) { return double(g.BorderStyle()); }},
        {"FocusRect", ax::Variant(int32_t(2)), [](ax::FlexGrid& g) { return double(g.FocusRect()); }},
        {"FontWidth", ax::Variant(3.0f), [](ax::FlexGrid& g) { return double(g.FontWidth()); }},
        {"ForeColor", ax::Variant(int32_t(0x445566)), [](ax::FlexGrid& g) { return double(g.ForeColor()); }},
        {"ForeColorFixed", ax::Variant(int32_t(0x111111)),
         [](ax::FlexGrid& g) { return double(g.ForeColorFixed()); }},
        {"ForeColorSel", ax::Variant(int32_t(0x222222)),
         [](ax::FlexGrid& g) { return double(g.ForeColorSel()); }},
        {"GridColor", ax::Variant(int32_t(0x333333)), [](ax::FlexGrid& g) { return double(g.GridColor()); }},
        {"GridColorFixed", ax::Variant(int32_t(0x444444)),
         [](ax::FlexGrid& g) { return double(g.GridColorFixed()); }},
        {"GridLines", ax::Variant(int32_t(3)), [](ax::FlexGrid& g) { return double(g.GridLines()); }},
        {"GridLinesFixed", ax::Variant(int32_t(0)),
         [](ax::FlexGrid& g) { return double(g.GridLinesFixed()); }},
        {"GridLineWidth", ax::Variant(int16_t(4)), [](ax::FlexGrid& g) { return double(g.GridLineWidth()); }},
        {"HighLight", ax::Variant(int32_t(2)), [](ax::FlexGrid& g) { return double(g.HighLight()); }},
        {"MousePointer", ax::Variant(int32_t(11)), [](ax::FlexGrid& g) { return double(g.MousePointer()); }},
        {"OLEDropMode", ax::Variant(int32_t(1)), [](ax::FlexGrid& g) { return double(g.OLEDropMode()); }},
        {"PictureType", ax::Variant(int32_t(1)), [](ax::FlexGrid& g) { return double(g.PictureType()); }},
        {"Redraw", ax::Variant(false), [](ax::FlexGrid& g) { return double(g.Redraw()); }},
        {"RowHeightMin", ax::Variant(int32_t(400)), [](ax::FlexGrid& g) { return double(g.RowHeightMin()); }},
        {"ScrollBars", ax::Variant(int32_t(1)), [](ax::FlexGrid& g) { return double(g.ScrollBars()); }},
        {"ScrollTrack", ax::Variant(true), [](ax::FlexGrid& g) { return double(g.ScrollTrack()); }},
        {"SelectionMode", ax::Variant(int32_t(2)), [](ax::FlexGrid& g) { return double(g.SelectionMode()); }},
        {"TextStyle", ax::Variant(int32_t(4)), [](ax::FlexGrid& g) { return double(g.TextStyle()); }},
        {"TextStyleFixed", ax::Variant(int32_t(1)),
         [](ax::FlexGrid& g) { return double(g.TextStyleFixed()); }},
        {"WordWrap", ax::Variant(true), [](ax::FlexGrid& g) { return double(g.WordWrap()); }},
    };
    for (const Forwarded& m : members) {
        SCOPED_TRACE(m.name);
        host->clearPropertyChanges();
        let(m.name, {m.value});
        const double expected = m.value.toDouble() == -1 ? 1.0 : m.value.toDouble();  // True reads as 1 here
        EXPECT_EQ(m.inner(inner()), expected);
        EXPECT_EQ(get(m.name).toDouble(), m.value.toDouble());
        EXPECT_EQ(changes(), std::vector<std::string>{m.name});
    }

    // Indexed members pass their index through.
    let("ColAlignment", {ax::Variant(int32_t(2)), ax::Variant(int32_t(7))});
    let("FixedAlignment", {ax::Variant(int32_t(1)), ax::Variant(int32_t(4))});
    let("ColWidth", {ax::Variant(int32_t(3)), ax::Variant(int32_t(2000))});
    let("RowHeight", {ax::Variant(int32_t(2)), ax::Variant(int32_t(600))});
    let("ColData", {ax::Variant(int32_t(3)), ax::Variant(int32_t(-9))});
    let("RowData", {ax::Variant(int32_t(3)), ax::Variant(int32_t(77))});
    EXPECT_EQ(inner().ColAlignment(2), 7);
    EXPECT_EQ(inner().FixedAlignment(1), 4);
    EXPECT_EQ(inner().ColWidth(3), 2000);
    EXPECT_EQ(inner().RowHeight(2), 600);
    EXPECT_EQ(grid->ColData(3), -9);
    EXPECT_EQ(grid->RowData(3), 77);
    EXPECT_EQ(get("ColPos", {ax::Variant(int32_t(2))}).toLong(), inner().ColPos(2));
    EXPECT_EQ(get("RowPos", {ax::Variant(int32_t(3))}).toLong(), inner().RowPos(3));
    EXPECT_EQ(get("ColIsVisible", {ax::Variant(int32_t(1))}).toBoolean(), inner().ColIsVisible(1));
}

TEST_F(PassThroughTest, InnerGridErrorsReachTheCallerUnchangedAndNothingIsTold) {
    fill(3, 3);
    const int32_t widthBefore = inner().ColWidth(1);
    EXPECT_EQ(errorOf([&] { grid->setColWidth(9, 100); }), ax::flexerr::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { grid->setColAlignment(-1, 1); }), ax::flexerr::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { grid->setGridLineWidth(0); }), ax::flexerr::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { grid->setRowHeight(1, -5); }), ax::flexerr::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { grid->RowHeight(3); }), ax::flexerr::SubscriptOutOfRange);
    // The description is the inner grid's own, not a text of the control.
    try {
        grid->setColWidth(9, 100);
    } catch (const ax::AutomationError& e) {
        EXPECT_EQ(e.description(), ax::flexerr::text(ax::flexerr::SubscriptOutOfRange));
    }
    EXPECT_EQ(inner().ColWidth(1), widthBefore);
    EXPECT_TRUE(changes().empty());
}

TEST_F(PassThroughTest, ItemDataLetsIgnoreAnIndexPastTheEndButNotANegativeOne) {
    fill(3, 3);
    grid->setColData(3, 5);  // Cols: one past the last column
    grid->setRowData(3, 5);
    grid->setColData(100, 5);
    EXPECT_TRUE(changes().empty());
    for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(inner().ColData(i), 0);

    EXPECT_EQ(errorOf([&] { grid->setColData(-1, 5); }), ax::flexerr::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { grid->setRowData(-1, 5); }), ax::flexerr::SubscriptOutOfRange);
    EXPECT_TRUE(changes().empty());

    grid->setColData(2, 5);
    grid->setRowData(2, 6);
    EXPECT_EQ(inner().ColData(2), 5);
    EXPECT_EQ(inner().RowData(2), 6);
    EXPECT_EQ(changes(), (std::vector<std::string>{"ColData", "RowData"}));
}

TEST_F(PassThroughTest, SizesThatDoNotFitSixteenBitsOverflow) {
    fill(3, 3);
    inner().setColWidth(1, 40000);
    inner().setRowHeight(2, 32768);
    EXPECT_EQ(errorOf([&] { grid->ColWidth(1); }), ax::err::Overflow);
    EXPECT_EQ(errorOf([&] { grid->RowHeight(2); }), ax::err::Overflow);
    inner().setColWidth(1, 32767);
    EXPECT_EQ(grid->ColWidth(1), 32767);
    // A late-bound let of a width beyond 16 bits fails before it reaches the inner grid.
    EXPECT_EQ(errorOf([&] {
                  let("ColWidth", {ax::Variant(int32_t(1)), ax::Variant(int32_t(40000))});
              }),
              ax::err::Overflow);
    EXPECT_EQ(inner().ColWidth(1), 32767);
    EXPECT_TRUE(changes().empty());
}

TEST_F(PassThroughTest, WindowEnabledStateAndSizeAreTheControlsOwn) {
    ax::ControlSurface& surface = host->surface(*grid);
    EXPECT_EQ(grid->hWnd(), surface.hWnd());
    EXPECT_NE(grid->hWnd(), inner().hWnd());
    EXPECT_EQ(get("hDC").toLong(), surface.hDC());

    grid->setEnabled(false);
    EXPECT_FALSE(surface.Enabled());
    EXPECT_FALSE(grid->Enabled());
    EXPECT_TRUE(inner().Enabled());
    EXPECT_EQ(changes(), std::vector<std::string>{"Enabled"});

    struct ResizeSink : VantrelEvents {
        int resizes = 0;
        void Resize() override { ++resizes; }
    } sink;
    grid->setEventSink(&sink);
    call("Size", {ax::Variant(6000.0f), ax::Variant(3000.0f)});
    grid->setEventSink(nullptr);
    EXPECT_EQ(sink.resizes, 1);
    EXPECT_EQ(surface.Width(), 6000.0f);
    EXPECT_EQ(surface.Height(), 3000.0f);
    EXPECT_EQ(inner().Width(), 6000.0f);  // twips container: one unit is one twip
    EXPECT_EQ(inner().Height(), 3000.0f);

    // A size that is not a number is refused and changes nothing: typed as invalid, late-bound already
    // by the conversion to Single.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(errorOf([&] { grid->Size(nan, 100); }), ax::err::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { grid->Size(100, -std::numeric_limits<float>::infinity()); }),
              ax::err::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { call("Size", {ax::Variant(double(nan)), ax::Variant(100.0)}); }), ax::err::Overflow);
    EXPECT_EQ(errorOf([&] { call("Size", {ax::Variant(100.0f), ax::Variant(nan)}); }), ax::err::Overflow);
    EXPECT_EQ(surface.Width(), 6000.0f);
    EXPECT_EQ(inner().Height(), 3000.0f);
}

TEST_F(PassThroughTest, FontGoesToTheControlThenTheInnerGridAsOneObject) {
    auto font = std::make_shared<ax::Font>("Arial", 12.0f);
    std::vector<ax::Variant> args{ax::Variant(font)};
    grid->Invoke("Font", ax::InvokeKind::PropertyPutRef, args);
    EXPECT_EQ(grid->Font(), font);
    EXPECT_EQ(inner().Font(), font);
    EXPECT_EQ(changes(), std::vector<std::string>{"Font"});
    font->setSize(14.0f);  // one shared object: the inner grid sees the change too
    EXPECT_EQ(inner().Font()->Size(), 14.0f);

    // Nothing is refused before anything changes, so the font survives to be saved and loaded.
    std::vector<ax::Variant> nothing{ax::Variant(std::shared_ptr<ax::Font>())};
    EXPECT_EQ(errorOf([&] { grid->Invoke("Font", ax::InvokeKind::PropertyPutRef, nothing); }),
              ax::err::InvalidPropertyValue);
    EXPECT_EQ(grid->Font(), font);
    EXPECT_EQ(inner().Font(), font);
    EXPECT_EQ(changes(), std::vector<std::string>{"Font"});
}

TEST_F(PassThroughTest, FormatStringResizesTheColumnSettingsThroughCols) {
    grid->setFormatString("A|B|C|D");
    EXPECT_EQ(grid->Cols(), 4);
    EXPECT_EQ(grid->FormatString(), inner().FormatString());
    auto told = changes();
    EXPECT_EQ(told.back(), "FormatString");
    EXPECT_EQ(std::count(told.begin(), told.end(), "Cols"), 1);
    atColumn(3);
    EXPECT_EQ(grid->ColInputStyle(), TextBox);  // the fourth column has its own settings record

    // While a transaction is open the Cols let is ignored: the inner grid grows, the settings do not.
    grid->setCols(2);
    grid->BeginTrans();
    grid->setFormatString("A|B|C|D");
    EXPECT_EQ(inner().Cols(), 4);
    atColumn(3);
    EXPECT_EQ(errorOf([&] { grid->ColInputStyle(); }), ax::err::SubscriptOutOfRange);
    grid->Commit();
}

TEST_F(PassThroughTest, RightToLeftReachesTheTextAndListEditorsOnly) {
    grid->setRightToLeft(true);
    EXPECT_TRUE(inner().RightToLeft());
    EXPECT_TRUE(grid->RightToLeft());
    EXPECT_TRUE(std::dynamic_pointer_cast<ax::TextBox>(host->child(*grid, "TxtBox"))->RightToLeft());
    EXPECT_TRUE(std::dynamic_pointer_cast<ax::ComboBox>(host->child(*grid, "ComboBx"))->RightToLeft());
    EXPECT_TRUE(
        std::dynamic_pointer_cast<ax::ComboBox>(host->child(*grid, "ComboBxDropDown"))->RightToLeft());
    EXPECT_TRUE(std::dynamic_pointer_cast<ax::CheckBox>(host->child(*grid, "ChckBox"))->RightToLeft());
    EXPECT_EQ(changes(), std::vector<std::string>{"RightToLeft"});
}

TEST_F(PassThroughTest, SetMouseIconTakesAnImageOfTheImageListAndNeverRaises) {
    auto before = inner().MouseIcon();
    grid->SetMouseIcon(ax::Variant(int32_t(1)));  // no image list attached
    EXPECT_EQ(inner().MouseIcon(), before);

    auto list = std::make_shared<ax::ImageList>();
    auto picture = std::make_shared<ax::Picture>(2, 2, std::vector<uint32_t>(4, 0xFF0000FFu));
    list->ListImages()->Add(ax::Variant(), ax::Variant("arrow"), ax::Variant(picture));
    grid->setImageList(list);
    host->clearPropertyChanges();

    grid->SetMouseIcon(ax::Variant(""));  // empty index
    EXPECT_EQ(inner().MouseIcon(), before);
    EXPECT_EQ(errorOf([&] { grid->SetMouseIcon(ax::Variant("no such key")); }), 0);
    EXPECT_EQ(errorOf([&] { call("SetMouseIcon", {ax::Variant(int32_t(7))}); }), 0);
    EXPECT_EQ(inner().MouseIcon(), before);

    call("SetMouseIcon", {ax::Variant("arrow")});
    EXPECT_EQ(inner().MouseIcon(), picture);
    EXPECT_EQ(grid->MouseIcon(), picture);
    EXPECT_TRUE(changes().empty());

    auto other = std::make_shared<ax::Picture>(1, 1, std::vector<uint32_t>(1, 0xFF00FF00u));
    std::vector<ax::Variant> args{ax::Variant(other)};
    grid->Invoke("MouseIcon", ax::InvokeKind::PropertyPutRef, args);
    EXPECT_EQ(inner().MouseIcon(), other);
    EXPECT_EQ(changes(), std::vector<std::string>{"MouseIcon"});
}

TEST_F(PassThroughTest, IndexAndVersionLiveOnTheControl) {
    EXPECT_EQ(grid->Index(), 1);
    let("Index", {ax::Variant(int16_t(4))});
    EXPECT_EQ(get("Index").toLong(), 4);
    EXPECT_EQ(changes(), std::vector<std::string>{"Index"});
    EXPECT_EQ(errorOf([&] { let("Index", {ax::Variant(int32_t(70000))}); }), ax::err::Overflow);
    EXPECT_EQ(grid->Index(), 4);

    EXPECT_EQ(get("Version").toString(), "2.0");
    host->setUserMode(false);
    EXPECT_EQ(errorOf([&] { grid->Version(); }), ax::err::RunTimeOnly);
    // The appearance members work in the form designer.
    grid->setGridColor(0x0A0B0C);
    EXPECT_EQ(grid->GridColor(), 0x0A0B0Cu);
}

TEST_F(PassThroughTest, OLEDragStartsADragFromTheInnerGrid) {
    struct DragSink : VantrelEvents {
        int starts = 0;
        void OLEStartDrag(std::shared_ptr<ax::Object>&, int32_t&) override { ++starts; }
    } sink;
    grid->setEventSink(&sink);
    call("OLEDrag");
    grid->setEventSink(nullptr);
    EXPECT_EQ(sink.starts, 1);
}

}  // namespace
}  // namespace vantrel::test
