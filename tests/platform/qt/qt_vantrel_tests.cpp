// The grid control on screen against the same grid on the headless host: the same user actions
// (clicking and typing, choosing from each list editor, ticking the check box, spinning the number
// editor, scrolling with an editor open) leave the same cell texts and give the host the same events.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>

#include "grid/frame/vantrel.h"
#include "platform/automation/convert.h"
#include "platform/controls/headless/combo_box.h"
#include "platform/controls/headless/flat_scroll_bar.h"
#include "platform/controls/headless/image_combo.h"
#include "platform/controls/image_combo.h"
#include "platform/flexgrid/flexgrid.h"
#include "platform/headless/headless_children.h"
#include "platform/host/child.h"
#include "platform/host/host_site.h"
#include "platform/qt/qt_children.h"
#include "platform/qt/qt_grid_widget.h"
#include "platform/qt/qt_host.h"
#include "platform/runtime/events.h"
#include "platform/runtime/registry.h"
#include "tests/support/number_editor.h"

namespace {

using vantrel::InputStyleKind;

inline void registerNumberEditor() { testsupport::registerNumberEditor("vantrel-qt", VN_ZEL_LIBRARY); }

// Every event by name with its whole-number arguments (pointer positions are left out: the screen
// rounds them to pixels).
class Heard : public ax::EventSink {
  public:
    std::vector<std::string> log;
    void OnEvent(int32_t, std::string_view name, std::vector<ax::Variant>& args) override {
        std::string line(name);
        for (const ax::Variant& a : args)
            if (a.get<int16_t>() || a.get<int32_t>()) line += " " + ax::cStr(a);
        log.push_back(line);
    }
};

ax::PicturePtr swatch(uint32_t rgba) {
    return std::make_shared<ax::Picture>(8, 8, std::vector<uint32_t>(64, rgba));
}

// Six data columns: text, drop-down combo, drop-down list, image combo, check box, number.
void build(vantrel::Vantrel& g) {
    g.setCols(7);
    g.setRows(30);
    g.setFixedRows(1);
    g.setFixedCols(1);
    auto images = std::make_shared<ax::ImageList>();
    images->ListImages()->Add(ax::Variant(), ax::Variant("a"), ax::Variant(swatch(0xFF0000FFu)));
    images->ListImages()->Add(ax::Variant(), ax::Variant("b"), ax::Variant(swatch(0xFF00FF00u)));
    g.setImageList(images);
    const int32_t kinds[] = {InputStyleKind::TextBox,       InputStyleKind::ComboBox,
                             InputStyleKind::ComboDropDown, InputStyleKind::ImageCombo,
                             InputStyleKind::CheckBox,      InputStyleKind::ZelPicker};
    for (int32_t c = 1; c <= 6; ++c) {
        g.setRow(1);
        g.setCol(c);
        g.setColInputStyle(kinds[c - 1]);
        g.setColWidth(c, 1400);
        if (c >= 2 && c <= 4) {
            for (const char* t : {"Red", "Green", "Blue"}) {
                int32_t index = 0;
                std::string text = t, data = std::string("d") + t;
                ax::Variant image(c == 4 ? ax::Variant(std::string(t) == "Green" ? "b" : "a")
                                         : ax::Variant(""));
                ax::Variant selImage("");
                int16_t indent = 0;
                g.ComboAddItem(index, text, image, selImage, data, indent);
            }
        }
    }
    g.setColZelPickerMin(0);
    g.setColZelPickerMax(100);
    for (int32_t r = 1; r < 30; ++r) {
        g.setTextMatrix(r, 1, "t" + std::to_string(r));
        g.setTextMatrix(r, 6, std::to_string(r));
    }
    g.setRow(1);
    g.setCol(1);
}

// The number editor's arrows: the scroll bar among the children of the number editor's own site.
ax::Child* numberArrows(ax::HeadlessHost& host, vantrel::Vantrel& g) {
    auto* extender = dynamic_cast<ax::hosting::ExtenderChild*>(host.child(g, "ZelPick").get());
    if (!extender || !extender->control()) return nullptr;
    return host.child(*extender->control(), "FltScrollBar").get();
}

std::vector<std::string> texts(vantrel::Vantrel& g) {
    std::vector<std::string> out;
    for (int32_t r = 0; r < g.Rows(); ++r)
        for (int32_t c = 0; c < g.Cols(); ++c) out.push_back(g.TextMatrix(r, c));
    return out;
}

class ScreenAndHeadless : public ::testing::Test {
  protected:
    ScreenAndHeadless() {
        registerNumberEditor();
        headless->setUserMode(true);
        screen.place(onScreen, 10000, 4000);
        headless->place(offScreen, 10000, 4000);
        screen.form()->resize(720, 320);
        screen.form()->show();
        build(*onScreen);
        build(*offScreen);
        onScreen->events().Advise(screenHeard);
        offScreen->events().Advise(headlessHeard);
        screen.syncViews();
        inner = dynamic_cast<ax::QtFlexGrid*>(&onScreen->innerGrid());
    }

    // The user clicks a cell: on screen at its centre pixel, on the headless host at the same point.
    void clickCell(int32_t row, int32_t col) {
        const ax::FlexGrid& g = onScreen->innerGrid();
        const QPoint at(int((g.ColPos(col) + g.ColWidth(col) / 2) / screen.twipsPerPixelX()),
                        int((g.RowPos(row) + g.RowHeight(row) / 2) / screen.twipsPerPixelY()));
        QTest::mouseClick(inner->canvas(), Qt::LeftButton, {}, at);
        screen.syncViews();
        ax::FlexGrid& h = offScreen->innerGrid();
        headless->click(h, at.x() * screen.twipsPerPixelX(), at.y() * screen.twipsPerPixelY());
    }
    QWidget* keyTarget() {
        ax::Child* f = screen.host().focused();
        QWidget* w = f ? ax::widgetOf(*f) : nullptr;
        return w ? w : inner->canvas();
    }
    void type(const char* text) {
        QTest::keyClicks(keyTarget(), text);
        screen.syncViews();
        headless->typeText(text);
    }
    void press(Qt::Key qtKey, int16_t keyCode) {
        QTest::keyClick(keyTarget(), qtKey);
        screen.syncViews();
        headless->typeKey(keyCode);
    }
    // Drops the open list editor's list with F4 and clicks its entry `index` (from 0).
    void chooseFromList(const std::string& child, int index) {
        press(Qt::Key_F4, ax::key::F4);
        auto* combo = qobject_cast<QComboBox*>(ax::widgetOf(*screen.host().child(*onScreen, child)));
        ASSERT_NE(combo, nullptr);
        ASSERT_TRUE(combo->view()->isVisible()) << child << ": the list did not drop down";
        QAbstractItemView* list = combo->view();
        const QPoint entry = list->visualRect(list->model()->index(index, 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry);
        screen.syncViews();
        const ax::ChildPtr same = headless->child(*offScreen, child);
        if (auto* c = dynamic_cast<ax::HeadlessComboBox*>(same.get())) c->chooseByMouse(index);
        if (auto* c = dynamic_cast<ax::HeadlessImageCombo*>(same.get())) c->chooseByMouse(index + 1);
    }
    void expectSame(const char* after) {
        EXPECT_EQ(texts(*onScreen), texts(*offScreen)) << after;
        EXPECT_EQ(screenHeard->log, headlessHeard->log) << after << "\n" << differences();
    }
    // The two logs from their first difference on.
    std::string differences() const {
        const auto& a = screenHeard->log;
        const auto& b = headlessHeard->log;
        size_t i = 0;
        while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
        std::string out = "from event " + std::to_string(i) + ", on screen:";
        for (size_t k = i; k < a.size() && k < i + 12; ++k) out += " [" + a[k] + "]";
        out += "\nheadless:";
        for (size_t k = i; k < b.size() && k < i + 12; ++k) out += " [" + b[k] + "]";
        return out;
    }

    ax::QtHost screen;
    std::unique_ptr<ax::HeadlessHost> headless = ax::makeHeadlessHost();
    std::shared_ptr<vantrel::Vantrel> onScreen = std::make_shared<vantrel::Vantrel>();
    std::shared_ptr<vantrel::Vantrel> offScreen = std::make_shared<vantrel::Vantrel>();
    std::shared_ptr<Heard> screenHeard = std::make_shared<Heard>(), headlessHeard = std::make_shared<Heard>();
    ax::QtFlexGrid* inner = nullptr;
};

TEST_F(ScreenAndHeadless, EveryEditorGivesTheSameCellsAndEvents) {
    ASSERT_NE(inner, nullptr);
    ASSERT_NE(inner->canvas(), nullptr);

    clickCell(2, 1);
    type("xy");
    press(Qt::Key_Return, ax::key::Return);
    EXPECT_EQ(onScreen->TextMatrix(2, 1), "xy");  // the editor opens with its text selected
    expectSame("typing into a text cell");

    // Each list editor: its list dropped with F4, an entry clicked, Enter.
    struct ListStep {
        int32_t col;
        const char* editor;
        int entry;
        const char* text;
    };
    for (const ListStep& step :
         {ListStep{2, "ComboBx", 1, "Green"}, ListStep{3, "ComboBxDropDown", 2, "Blue"},
          ListStep{4, "ImgCombo", 1, "Green"}}) {
        clickCell(3, step.col);
        chooseFromList(step.editor, step.entry);
        press(Qt::Key_Return, ax::key::Return);
        EXPECT_EQ(onScreen->TextMatrix(3, step.col), step.text);
        expectSame(step.editor);
    }

    clickCell(4, 5);
    QWidget* box = ax::widgetOf(*screen.host().child(*onScreen, "ChckBox"));
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() / 2, box->height() / 2));
    screen.syncViews();
    const ax::ChildPtr headlessBox = headless->child(*offScreen, "ChckBox");
    headless->click(*headlessBox, headlessBox->Width() / 2, headlessBox->Height() / 2);
    press(Qt::Key_Return, ax::key::Return);
    EXPECT_EQ(onScreen->TextMatrix(4, 5), "1");
    expectSame("the check box");

    // The number editor spun with its arrows, then closed with Enter (keeping the number) and, spun
    // again, with Esc (putting the start text back): the arrows never take the keyboard focus.
    ax::Child* arrows = numberArrows(screen.host(), *onScreen);
    auto* bar = arrows ? qobject_cast<QScrollBar*>(ax::widgetOf(*arrows)) : nullptr;
    ax::Child* headlessArrows = numberArrows(*headless, *offScreen);
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(headlessArrows, nullptr);
    EXPECT_EQ(bar->focusPolicy(), Qt::NoFocus);  // a click on screen gives Qt's focus to the field too
    auto spin = [&](bool up, int times) {
        const QPoint at(up ? bar->width() - 3 : 3, bar->height() / 2);
        for (int i = 0; i < times; ++i) QTest::mouseClick(bar, Qt::LeftButton, {}, at);
        screen.syncViews();
        const float x = up ? headlessArrows->Width() - 30 : 30;
        for (int i = 0; i < times; ++i) headless->click(*headlessArrows, x, headlessArrows->Height() / 2);
    };
    clickCell(5, 6);
    spin(true, 2);
    EXPECT_EQ(onScreen->TextMatrix(5, 6), "7");
    EXPECT_NE(screen.host().focused(), arrows);
    EXPECT_FALSE(bar->hasFocus());
    expectSame("the number editor's arrows");
    press(Qt::Key_Return, ax::key::Return);
    EXPECT_FALSE(screen.host().child(*onScreen, "ZelPick")->Visible());
    EXPECT_EQ(screen.host().focused(), &onScreen->innerGrid());
    EXPECT_EQ(onScreen->TextMatrix(5, 6), "7");
    expectSame("Enter after the number editor's arrows");
    clickCell(5, 6);
    spin(false, 3);
    EXPECT_EQ(onScreen->TextMatrix(5, 6), "4");
    press(Qt::Key_Escape, ax::key::Escape);
    EXPECT_FALSE(screen.host().child(*onScreen, "ZelPick")->Visible());
    EXPECT_EQ(screen.host().focused(), &onScreen->innerGrid());
    EXPECT_EQ(onScreen->TextMatrix(5, 6), "7");
    expectSame("Esc after the number editor's arrows");

    // Scrolling hides the open editor; what it had written stays.
    clickCell(6, 1);
    type("z");
    QWheelEvent down(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(inner->canvas(), &down);
    screen.syncViews();
    ax::FlexGrid& h = offScreen->innerGrid();
    h.setTopRow(onScreen->innerGrid().TopRow());
    EXPECT_GT(onScreen->innerGrid().TopRow(), 1);
    EXPECT_EQ(onScreen->TextMatrix(6, 1), "z");
    EXPECT_FALSE(screen.host().child(*onScreen, "TxtBox")->Visible());
    expectSame("scrolling with the text editor open");
}

}  // namespace
