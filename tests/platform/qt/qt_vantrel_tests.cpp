// The grid control on screen against the same grid on the headless host: the same user actions
// (clicking and typing, choosing from each list editor, ticking the check box, spinning the number
// editor, scrolling with an editor open) leave the same cell texts and give the host the same events.
#include <gtest/gtest.h>
#include <unistd.h>

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <QAbstractItemView>
#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <filesystem>

#include "grid/frame/vantrel.h"
#include "platform/automation/convert.h"
#include "platform/controls/headless/combo_box.h"
#include "platform/controls/headless/flat_scroll_bar.h"
#include "platform/controls/headless/image_combo.h"
#include "platform/controls/image_combo.h"
#include "platform/controls/text_editing.h"
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

// Seven data columns: text, drop-down combo, drop-down list, image combo, check box, number, mask.
void build(vantrel::Vantrel& g) {
    g.setCols(8);
    g.setRows(30);
    g.setFixedRows(1);
    g.setFixedCols(1);
    auto images = std::make_shared<ax::ImageList>();
    images->ListImages()->Add(ax::Variant(), ax::Variant("a"), ax::Variant(swatch(0xFF0000FFu)));
    images->ListImages()->Add(ax::Variant(), ax::Variant("b"), ax::Variant(swatch(0xFF00FF00u)));
    g.setImageList(images);
    const int32_t kinds[] = {InputStyleKind::TextBox,       InputStyleKind::ComboBox,
                             InputStyleKind::ComboDropDown, InputStyleKind::ImageCombo,
                             InputStyleKind::CheckBox,      InputStyleKind::ZelPicker,
                             InputStyleKind::MaskEDBox};
    for (int32_t c = 1; c <= 7; ++c) {
        g.setRow(1);
        g.setCol(c);
        g.setColInputStyle(kinds[c - 1]);
        g.setColWidth(c, 1200);
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
    g.setCol(6);
    g.setColZelPickerMin(0);
    g.setColZelPickerMax(100);
    g.setCol(7);
    g.setColMaskEditMask("###-####");
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
        headless->setAmbientFont(screen.host().ambientFont());  // the same rows on both
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
    // A key with modifiers: QTest presses the modifier keys around it, as a keyboard does; so does
    // the headless side.
    void press(Qt::Key qtKey, int16_t keyCode, Qt::KeyboardModifiers mods = {}, int16_t shift = 0) {
        QTest::keyClick(keyTarget(), qtKey, mods);
        screen.syncViews();
        const int16_t modifier = shift & ax::shiftmask::Ctrl ? ax::key::Control : ax::key::Shift;
        if (shift) headless->keyDown(modifier, shift);
        headless->typeKey(keyCode, shift);
        if (shift) headless->keyUp(modifier, 0);
    }
    // Ctrl and a letter, on both.
    void ctrl(char letter) {
        press(Qt::Key(Qt::Key_A + (letter - 'A')), int16_t(letter), Qt::ControlModifier, 2);
    }
    // Both clipboards hold the same text.
    void clip(const std::string& text) {
        QGuiApplication::clipboard()->setText(QString::fromStdString(text));
        headless->clipboard().setText(text);
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
        const auto a = texts(*onScreen), b = texts(*offScreen);
        for (size_t i = 0; i < a.size() && i < b.size(); ++i)
            if (a[i] != b[i]) {
                ADD_FAILURE() << after << ": cell " << i / size_t(onScreen->Cols()) << ","
                              << i % size_t(onScreen->Cols()) << " reads \"" << a[i] << "\" on screen, \""
                              << b[i] << "\" headless";
                break;
            }
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

// A control with one text box: the next control on the headless form, where the screen has a line edit.
class NextField : public ax::Control {
  public:
    void InitProperties() override {
        field = site().CreateChild(ax::ChildKind::TextBox, "Field");
        field->setVisible(true);
    }
    ax::ChildPtr field;
};

TEST_F(ScreenAndHeadless, TabLeavesTheGridForTheNextControlAndShiftTabComesBack) {
    auto* after = new QLineEdit(screen.form());
    after->setGeometry(10, 290, 200, 24);
    after->show();
    auto next = std::make_shared<NextField>();
    headless->place(next, 3000, 400);
    QApplication::setActiveWindow(screen.form());
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen.form()));

    clickCell(2, 1);
    type("ab");
    press(Qt::Key_Tab, ax::key::Tab);
    EXPECT_TRUE(after->hasFocus());
    EXPECT_EQ(headless->focused(), next->field.get());
    EXPECT_EQ(screen.host().focused(), nullptr);
    EXPECT_FALSE(screen.host().child(*onScreen, "TxtBox")->Visible());  // closed as on any focus loss
    EXPECT_EQ(onScreen->TextMatrix(2, 1), "ab");
    expectSame("tabbing out of an open editor");

    QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
    headless->typeKey(ax::key::Tab, ax::shiftmask::Shift);
    EXPECT_EQ(screen.host().focused(), &onScreen->innerGrid());
    EXPECT_EQ(headless->focused(), &offScreen->innerGrid());
    EXPECT_TRUE(inner->canvas()->hasFocus());
    // The grid alone is one stop with its editor: Tab from the grid goes on to the line edit.
    press(Qt::Key_Tab, ax::key::Tab);
    EXPECT_TRUE(after->hasFocus());
    expectSame("tabbing back and on");
}

TEST_F(ScreenAndHeadless, EveryTextEditorCutsCopiesPastesAndUndoesUnderTheColumnsRule) {
    struct Paste {
        int32_t row, col;
        const char* text;
        const char* cell;
    };
    // Text, editable list, image list, masked (through its mask), number (within its bounds).
    for (const Paste& p :
         {Paste{7, 1, "pasted", "pasted"}, Paste{8, 2, "Blue", "Blue"}, Paste{8, 4, "Green", "Green"},
          Paste{8, 7, "555 1234", "555-1234"}, Paste{8, 6, "42", "42"}}) {
        clickCell(p.row, p.col);
        clip(p.text);
        // The spin field discards Ctrl characters: it pastes with Shift+Insert.
        press(Qt::Key_Insert, ax::key::Insert, Qt::ShiftModifier, ax::shiftmask::Shift);
        EXPECT_EQ(onScreen->TextMatrix(p.row, p.col), p.cell) << p.text;
        expectSame(p.text);
        press(Qt::Key_Return, ax::key::Return);
    }
    // Copy, cut and undo in the text editor, as keys; the clipboard on screen is the system's.
    clickCell(9, 1);
    ctrl('C');
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "t9");
    EXPECT_EQ(headless->clipboard().text(), "t9");
    ctrl('X');
    EXPECT_EQ(onScreen->TextMatrix(9, 1), "");
    ctrl('Z');
    EXPECT_EQ(onScreen->TextMatrix(9, 1), "t9");
    expectSame("copy, cut and undo");

    // An input method's commit enters the cell.
    press(Qt::Key_End, ax::key::End);
    QInputMethodEvent compose("日", {});
    QApplication::sendEvent(keyTarget(), &compose);  // still composing: nothing typed yet
    EXPECT_EQ(onScreen->TextMatrix(9, 1), "t9");
    QInputMethodEvent commit;
    commit.setCommitString("日本");
    QApplication::sendEvent(keyTarget(), &commit);
    screen.syncViews();
    headless->commitText("日本");
    EXPECT_EQ(onScreen->TextMatrix(9, 1), "t9日本");
    expectSame("an input method's commit");

    // The context menu runs the same commands: Select All, then Paste.
    clip("from the menu");
    auto pick = [&](const char* entry) {
        QTimer::singleShot(0, [entry] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* a : menu->actions())
                if (a->text().remove('&') == entry) a->trigger();
            menu->close();
        });
        QWidget* w = keyTarget();
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(w, &menuEvent);
    };
    pick("Select All");
    pick("Paste");
    auto* text = dynamic_cast<ax::TextEditing*>(headless->child(*offScreen, "TxtBox").get());
    ASSERT_NE(text, nullptr);
    text->selectAll();
    text->paste();
    EXPECT_EQ(onScreen->TextMatrix(9, 1), "from the menu");
    press(Qt::Key_Return, ax::key::Return);
    expectSame("the context menu");
}

TEST_F(ScreenAndHeadless, DraggingAColumnBorderResizesOnlyWhenAllowed) {
    const ax::FlexGrid& g = onScreen->innerGrid();
    // A point on column 1's right border in the heading row, and 40 pixels to the right of it.
    const QPoint border(int((g.ColPos(1) + g.ColWidth(1)) / screen.twipsPerPixelX()), 5);
    const QPoint dropped = border + QPoint(40, 0);
    auto drag = [&] {
        QTest::mousePress(inner->canvas(), Qt::LeftButton, {}, border);
        QTest::mouseMove(inner->canvas(), dropped);
        QTest::mouseRelease(inner->canvas(), Qt::LeftButton, {}, dropped);
        screen.syncViews();
        ax::FlexGrid& h = offScreen->innerGrid();
        const float tx = screen.twipsPerPixelX(), ty = screen.twipsPerPixelY();
        headless->mouseDown(h, 1, 0, border.x() * tx, border.y() * ty);
        headless->mouseMove(h, 1, 0, dropped.x() * tx, dropped.y() * ty);
        headless->mouseUp(h, 1, 0, dropped.x() * tx, dropped.y() * ty);
        h.click();  // a press and release on the same window is a click, moved or not
    };
    drag();
    EXPECT_EQ(g.ColWidth(1), 1200);
    EXPECT_EQ(offScreen->innerGrid().ColWidth(1), 1200);
    expectSame("a drag that resizing does not allow");
    press(Qt::Key_Escape, ax::key::Escape);

    onScreen->setAllowUserResizing(ax::flex::ResizeColumns);
    offScreen->setAllowUserResizing(ax::flex::ResizeColumns);
    QTest::mouseMove(inner->canvas(), border);
    headless->mouseMove(offScreen->innerGrid(), 0, 0, border.x() * screen.twipsPerPixelX(),
                        border.y() * screen.twipsPerPixelY());
    EXPECT_EQ(inner->canvas()->cursor().shape(), Qt::SizeHorCursor);
    drag();
    const int32_t wider = int32_t(1200 + 40 * screen.twipsPerPixelX());
    EXPECT_NEAR(g.ColWidth(1), wider, 1);
    EXPECT_EQ(offScreen->innerGrid().ColWidth(1), g.ColWidth(1));
    expectSame("a drag of a column border");
}

// Screen-reader events, heard through Qt's accessibility hooks.
std::vector<std::pair<QAccessible::Event, int>>& heardByReader() {
    static std::vector<std::pair<QAccessible::Event, int>> events;
    return events;
}
void readerHears(QAccessibleEvent* e) { heardByReader().emplace_back(e->type(), e->child()); }
void noRoot(QObject*) {}
bool readerHeard(QAccessible::Event type, int child = -2) {
    for (const auto& [t, c] : heardByReader())
        if (t == type && (child == -2 || c == child)) return true;
    return false;
}

TEST_F(ScreenAndHeadless, ScreenReadersHearCellMovesValueChangesAndTheOpenEditor) {
    QAccessible::installUpdateHandler(readerHears);
    QAccessible::installRootObjectHandler(noRoot);
    QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
    ASSERT_NE(platform, nullptr);
    platform->setActive(true);
    const int cols = onScreen->Cols();

    // The current cell moving is a selection change and, with the focus on the grid, the focused cell.
    clickCell(3, 1);
    press(Qt::Key_Escape, ax::key::Escape);
    heardByReader().clear();
    QTest::keyClick(inner->canvas(), Qt::Key_Down);
    EXPECT_TRUE(readerHeard(QAccessible::SelectionWithin));
    EXPECT_TRUE(readerHeard(QAccessible::Focus, 4 * cols + 1));

    // A program's write reaches the reader when the event loop comes round, with no sync asked for.
    heardByReader().clear();
    onScreen->setTextMatrix(4, 1, "new");
    EXPECT_FALSE(readerHeard(QAccessible::TableModelChanged));
    QCoreApplication::processEvents();
    EXPECT_TRUE(readerHeard(QAccessible::TableModelChanged));
    EXPECT_TRUE(readerHeard(QAccessible::ValueChanged));

    // An editor that opens is announced as the focused object.
    heardByReader().clear();
    QTest::keyClicks(inner->canvas(), "a");
    screen.syncViews();
    QWidget* editor = ax::widgetOf(*screen.host().child(*onScreen, "TxtBox"));
    ASSERT_NE(editor, nullptr);
    bool announced = false;
    for (const auto& [type, child] : heardByReader()) announced |= type == QAccessible::Focus && child == -1;
    EXPECT_TRUE(announced);
    press(Qt::Key_Escape, ax::key::Escape);

    // Cells: a value set from outside takes the host's road (the length limit cuts it); a locked
    // column and the headings are read only; a check cell toggles and says whether it is checked.
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(inner->canvas())->tableInterface();
    ASSERT_NE(table, nullptr);
    onScreen->setCol(1);
    onScreen->setColTextMaxLength(4);
    table->cellAt(5, 1)->setText(QAccessible::Value, "through the reader");
    EXPECT_EQ(onScreen->TextMatrix(5, 1), "thro");
    EXPECT_TRUE(table->cellAt(5, 1)->state().editable);
    onScreen->setColLocked(true);
    EXPECT_TRUE(table->cellAt(5, 1)->state().readOnly);
    table->cellAt(5, 1)->setText(QAccessible::Value, "no");
    EXPECT_EQ(onScreen->TextMatrix(5, 1), "thro");
    EXPECT_TRUE(table->cellAt(0, 1)->state().readOnly);
    EXPECT_EQ(table->cellAt(0, 1)->role(), QAccessible::ColumnHeader);
    QAccessibleInterface* check = table->cellAt(5, 5);
    ASSERT_NE(check->actionInterface(), nullptr);
    EXPECT_TRUE(check->state().checkable);
    EXPECT_FALSE(check->state().checked);
    check->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(onScreen->TextMatrix(5, 5), "1");
    EXPECT_TRUE(check->state().checked);

    platform->setActive(false);
    QAccessible::installUpdateHandler(nullptr);
}

}  // namespace
