// The two controls as widgets in an application's layout: the grid follows the window's size, the
// focus reaches it, and its events arrive as signals, for real Qt clicks and keys, with what a slot
// writes into a reference reaching the control.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QTest>
#include <QVBoxLayout>
#include <cmath>

#include "platform/flexgrid/flexgrid.h"
#include "platform/qt/qt_grid_widget.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/vantrel_widget.h"
#include "platform/qt/zel_widget.h"
#include "tests/support/number_editor.h"

namespace {

struct Window {
    QWidget window;
    QVBoxLayout* layout = new QVBoxLayout(&window);
    vantrel::VantrelWidget* grid;
    zel::ZelWidget* spin;

    Window() {
        testsupport::registerNumberEditor("vantrel-qt-widget", VN_ZEL_LIBRARY);
        grid = new vantrel::VantrelWidget;
        spin = new zel::ZelWidget;
        layout->addWidget(grid, 1);
        layout->addWidget(spin);
        window.resize(600, 400);
        window.show();
        QApplication::processEvents();
    }
    // The grid control's own size, in pixels.
    QSize controlSize() const {
        const ax::ControlSurface& s = grid->host().host().surface(grid->grid());
        return {int(std::lround(s.Width() / grid->host().twipsPerPixelX())),
                int(std::lround(s.Height() / grid->host().twipsPerPixelY()))};
    }
    QWidget* canvas() const { return dynamic_cast<ax::QtFlexGrid&>(grid->grid().innerGrid()).canvas(); }
};

TEST(QtWidgets, TheGridFollowsItsLayoutAndHearsResizeBeforeTheInnerGridMoves) {
    Window w;
    int resizes = 0;
    float innerWidthSeen = -1;
    QObject::connect(w.grid, &vantrel::VantrelWidget::Resize, [&] {
        ++resizes;
        innerWidthSeen = w.grid->grid().innerGrid().Width();
    });
    EXPECT_EQ(w.controlSize(), w.grid->size());

    const float before = w.grid->grid().innerGrid().Width();
    w.window.resize(900, 700);
    QApplication::processEvents();
    EXPECT_GT(w.grid->width(), 800);
    EXPECT_EQ(w.controlSize(), w.grid->size());
    EXPECT_GE(resizes, 1);
    EXPECT_EQ(innerWidthSeen, before);  // the handler saw the old layout, as the control promises
    // The inner grid fills the control, and its widget the widget.
    const ax::ControlSurface& s = w.grid->host().host().surface(w.grid->grid());
    EXPECT_FLOAT_EQ(w.grid->grid().innerGrid().Width(), s.ScaleWidth());
    EXPECT_NEAR(w.canvas()->parentWidget()->width(), w.grid->width(), 2);

    w.window.resize(300, 200);
    QApplication::processEvents();
    EXPECT_EQ(w.controlSize(), w.grid->size());
    EXPECT_LT(w.grid->width(), 300);

    // The spin control keeps its own height and asks the layout for it.
    const ax::ControlSurface& spin = w.spin->host().host().surface(w.spin->spin());
    EXPECT_EQ(w.spin->height(), int(std::lround(spin.Height() / w.spin->host().twipsPerPixelY())));
    EXPECT_EQ(w.spin->sizeHint().height(), w.spin->height());
}

TEST(QtWidgets, ClicksKeysAndEditsArriveAsSignalsAndReferencesWriteBack) {
    Window w;
    vantrel::Vantrel& g = w.grid->grid();
    g.setCols(4);
    g.setRows(6);
    g.setTextMatrix(2, 2, "old");
    std::vector<std::string> heard;
    QObject::connect(w.grid, &vantrel::VantrelWidget::Click, [&] { heard.push_back("Click"); });
    QObject::connect(w.grid, &vantrel::VantrelWidget::MouseDown,
                     [&](int16_t& button, int16_t&, float&, float&) {
                         heard.push_back("MouseDown " + std::to_string(button));
                     });
    QObject::connect(w.grid, &vantrel::VantrelWidget::RowColChange, [&] {
        heard.push_back("RowColChange " + std::to_string(g.Row()) + "," + std::to_string(g.Col()));
    });
    // Letters become capitals, "q" is swallowed: the slot's write reaches the grid.
    QObject::connect(w.grid, &vantrel::VantrelWidget::KeyPress, [&](int16_t& key) {
        heard.push_back("KeyPress " + std::string(1, char(key)));
        if (key == 'q') key = 0;
        if (key >= 'a' && key <= 'z') key = int16_t(key - 32);
    });

    const ax::FlexGrid& inner = g.innerGrid();
    const float tx = w.grid->host().twipsPerPixelX(), ty = w.grid->host().twipsPerPixelY();
    const QPoint cell(int((inner.ColPos(2) + inner.ColWidth(2) / 2) / tx),
                      int((inner.RowPos(2) + inner.RowHeight(2) / 2) / ty));
    QTest::mouseClick(w.canvas(), Qt::LeftButton, {}, cell);
    w.grid->host().syncViews();
    EXPECT_NE(std::find(heard.begin(), heard.end(), "MouseDown 1"), heard.end());
    EXPECT_NE(std::find(heard.begin(), heard.end(), "RowColChange 2,2"), heard.end());
    EXPECT_NE(std::find(heard.begin(), heard.end(), "Click"), heard.end());

    QTest::keyClicks(QApplication::focusWidget(), "aqb");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    w.grid->host().syncViews();
    EXPECT_EQ(g.TextMatrix(2, 2), "AB");
    for (const char* key : {"KeyPress a", "KeyPress q", "KeyPress b"})
        EXPECT_NE(std::find(heard.begin(), heard.end(), key), heard.end()) << key;

    // The spin control: typed digits change its value; a letter is discarded, yet heard.
    int changes = 0;
    std::vector<int> keys;
    QObject::connect(w.spin, &zel::ZelWidget::Change, [&] { ++changes; });
    QObject::connect(w.spin, &zel::ZelWidget::KeyPress, [&](int16_t& key) { keys.push_back(key); });
    w.spin->spin().setMax(100);
    w.spin->spin().setMin(0);
    changes = 0;
    w.spin->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(QApplication::focusWidget(), "4x2");
    w.spin->host().syncViews();
    EXPECT_EQ(w.spin->spin().Value(), 42);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(keys, (std::vector<int>{'4', 'x', '2'}));
}

TEST(QtWidgets, FocusGoesToTheInnerGridAndMembersAnswerByName) {
    Window w;
    w.grid->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(w.grid->host().host().focused(), &w.grid->grid().innerGrid());
    EXPECT_EQ(QApplication::focusWidget(), w.canvas());

    std::vector<ax::Variant> args{ax::Variant(int32_t(7))};
    w.grid->invoke("rows", ax::InvokeKind::PropertyPut, args);
    EXPECT_EQ(w.grid->grid().Rows(), 7);
    EXPECT_EQ(w.grid->invoke("Rows").toLong(), 7);
    EXPECT_EQ(w.spin->invoke("Max").toLong(), 32767);
    try {
        w.grid->invoke("NoSuchMember");
        ADD_FAILURE() << "an unknown member answered";
    } catch (const ax::AutomationError& e) {
        EXPECT_EQ(e.number(), ax::err::MemberNotFound);
    }
}

}  // namespace
