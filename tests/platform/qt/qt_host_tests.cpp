// The Qt host's children against the headless host's: the same user actions, given once as Qt events
// on the widgets and once through the headless host, leave the same texts and the same notifications.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QScrollBar>

#include "platform/controls/headless/check_box.h"
#include "platform/controls/headless/combo_box.h"
#include "platform/controls/headless/flat_scroll_bar.h"
#include "platform/controls/headless/text_box.h"
#include "platform/headless/headless_children.h"
#include "qt_test_fixture.h"

using namespace ax;
using axtest::Probe;

namespace {

// One probe placed on each kind of host, with a text box, a list combo, a check box and a scroll bar.
struct Pair {
    QtHost qt;
    std::unique_ptr<HeadlessHost> headless = makeHeadlessHost();
    std::shared_ptr<Probe> qp = std::make_shared<Probe>(), hp = std::make_shared<Probe>();

    Pair() {
        qt.setShowMessageBoxes(false);
        qt.place(qp, 6000, 3000);
        headless->place(hp, 6000, 3000);
        qt.form()->resize(600, 400);
        qt.form()->show();
        make(*qp);
        make(*hp);
        qt.syncViews();
    }
    static void make(Probe& p) {
        auto t = std::static_pointer_cast<TextBox>(p.site()->CreateChild(ChildKind::TextBox, "txt"));
        auto c =
            std::static_pointer_cast<ComboBox>(p.site()->CreateChild(ChildKind::ComboDropDownList, "cbo"));
        auto k = std::static_pointer_cast<CheckBox>(p.site()->CreateChild(ChildKind::CheckBox, "chk"));
        auto s =
            std::static_pointer_cast<FlatScrollBar>(p.site()->CreateChild(ChildKind::FlatScrollBar, "bar"));
        for (Child* ch : {(Child*)t.get(), (Child*)c.get(), (Child*)k.get(), (Child*)s.get()}) {
            ch->setWidth(1500);
            ch->setHeight(300);
            ch->setVisible(true);
        }
        t->setLeft(150);
        t->setTop(300);
        c->setTop(900);
        k->setTop(1500);
        s->setTop(2100);
        axtest::logKeys(*t, p.log, "txt");
        t->onChange = [&p, t = t.get()] { p.log.push_back("txt.Change:" + t->Text()); };
        axtest::logKeys(*c, p.log, "cbo");
        c->onClick = [&p, c = c.get()] { p.log.push_back("cbo.Click:" + c->Text()); };
        c->onDropDown = [&p] { p.log.push_back("cbo.DropDown"); };
        for (auto item : {"red", "green", "blue"}) c->AddItem(item);
        axtest::logKeys(*k, p.log, "chk");
        k->onClick = [&p, k = k.get()] { p.log.push_back("chk.Click:" + std::to_string(k->Value())); };
        s->setMax(10);
        s->onChange = [&p, s = s.get()] { p.log.push_back("bar.Change:" + std::to_string(s->Value())); };
    }
    template <class T>
    std::shared_ptr<T> qtChild(const char* name) {
        return std::dynamic_pointer_cast<T>(qt.host().child(*qp, name));
    }
    template <class T>
    std::shared_ptr<T> hlChild(const char* name) {
        return std::dynamic_pointer_cast<T>(headless->child(*hp, name));
    }
    QWidget* widget(const char* name) { return widgetOf(*qt.host().child(*qp, name)); }
};

}  // namespace

TEST(QtHost, ChildrenSitWhereTheirTwipsSayAndStartHidden) {
    Pair p;
    const float tx = p.qt.twipsPerPixelX(), ty = p.qt.twipsPerPixelY();
    ASSERT_GT(tx, 0);
    QWidget* t = p.widget("txt");
    ASSERT_NE(t, nullptr);
    EXPECT_NE(dynamic_cast<QLineEdit*>(t), nullptr);
    EXPECT_EQ(t->geometry(), QRect(qRound(150 / tx), qRound(300 / ty), qRound(1500 / tx), qRound(300 / ty)));
    EXPECT_TRUE(t->isVisible());
    EXPECT_NE(dynamic_cast<QComboBox*>(p.widget("cbo")), nullptr);
    EXPECT_NE(dynamic_cast<QCheckBox*>(p.widget("chk")), nullptr);
    EXPECT_NE(dynamic_cast<QScrollBar*>(p.widget("bar")), nullptr);

    // Moving and hiding the child moves and hides the widget; a new child starts hidden.
    p.qtChild<TextBox>("txt")->setLeft(1500);
    EXPECT_EQ(t->x(), qRound(1500 / tx));
    p.qtChild<TextBox>("txt")->setVisible(false);
    EXPECT_FALSE(t->isVisible());
    auto extra = p.qp->site()->CreateChild(ChildKind::TextBox, "later");
    p.qt.syncViews();
    ASSERT_NE(widgetOf(*extra), nullptr);
    EXPECT_FALSE(widgetOf(*extra)->isVisible());
}

TEST(QtHost, TypingIntoTheTextBoxMatchesTheHeadlessHost) {
    Pair p;
    p.qtChild<TextBox>("txt")->SetFocus();
    p.hlChild<TextBox>("txt")->SetFocus();
    QWidget* w = p.widget("txt");
    QTest::keyClicks(w, "ab1");
    QTest::keyClick(w, Qt::Key_Backspace);
    QTest::keyClick(w, Qt::Key_Left);
    QTest::keyClicks(w, "x");
    p.headless->typeText("ab1");
    p.headless->typeKey(key::Back);
    p.headless->typeKey(key::Left);
    p.headless->typeText("x");

    EXPECT_EQ(p.qtChild<TextBox>("txt")->Text(), "axb");
    ASSERT_EQ(p.qp->log.size(), 23u);  // focus; down, press, up, change for five keys; down, up for Left
    EXPECT_EQ(p.qp->log, p.hp->log);
    EXPECT_EQ(static_cast<QLineEdit*>(w)->text(), "axb");
    EXPECT_EQ(static_cast<QLineEdit*>(w)->cursorPosition(), 2);
}

TEST(QtHost, ChoosingFromTheListAndTickingTheBoxMatchTheHeadlessHost) {
    Pair p;
    auto* combo = static_cast<QComboBox*>(p.widget("cbo"));
    // A click on a list combo drops its list down on screen as in the control.
    QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(10, 5));
    p.headless->click(p.hlChild<ComboBox>("cbo"), 150, 150);
    EXPECT_TRUE(p.qtChild<HeadlessComboBox>("cbo")->DroppedDown());
    EXPECT_TRUE(combo->view()->isVisible());
    // The user picks the third entry in the open list.
    Q_EMIT combo->activated(2);
    p.hlChild<HeadlessComboBox>("cbo")->chooseByMouse(2);
    EXPECT_EQ(p.qtChild<ComboBox>("cbo")->Text(), "blue");
    EXPECT_EQ(combo->currentText(), "blue");
    EXPECT_FALSE(combo->view()->isVisible());
    // Keys walk the list.
    QTest::keyClick(combo, Qt::Key_Up);
    p.headless->typeKey(key::Up);
    EXPECT_EQ(p.qtChild<ComboBox>("cbo")->Text(), "green");

    // The check box: a click ticks it, Space clears it.
    QWidget* chk = p.widget("chk");
    QTest::mouseClick(chk, Qt::LeftButton, {}, QPoint(5, 5));
    p.headless->click(p.hlChild<CheckBox>("chk"), 75, 75);
    EXPECT_EQ(p.qtChild<CheckBox>("chk")->Value(), CheckBox::Checked);
    EXPECT_EQ(static_cast<QCheckBox*>(chk)->checkState(), Qt::Checked);
    QTest::keyClick(chk, Qt::Key_Space);
    p.headless->typeKey(key::Space);
    EXPECT_EQ(p.qtChild<CheckBox>("chk")->Value(), CheckBox::Unchecked);
    EXPECT_EQ(static_cast<QCheckBox*>(chk)->checkState(), Qt::Unchecked);

    // The scroll bar steps with the arrow keys.
    QWidget* bar = p.widget("bar");
    QTest::keyClick(bar, Qt::Key_Right);
    QTest::keyClick(bar, Qt::Key_Right);
    p.headless->setFocus(p.hlChild<FlatScrollBar>("bar").get());
    p.headless->typeKey(key::Right);
    p.headless->typeKey(key::Right);
    EXPECT_EQ(static_cast<QScrollBar*>(bar)->value(), 2);

    EXPECT_EQ(p.qp->log, p.hp->log);
}

TEST(QtHost, FocusFollowsQtAndTheHostAndBoxesAreRecorded) {
    Pair p;
    auto t = p.qtChild<TextBox>("txt");
    auto c = p.qtChild<ComboBox>("cbo");
    t->SetFocus();
    p.qp->log.clear();
    // The user clicks the other child: focus moves in the host, lost before got.
    QTest::mouseClick(p.widget("cbo"), Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(p.qt.host().focused(), c.get());
    ASSERT_GE(p.qp->log.size(), 2u);
    EXPECT_EQ(p.qp->log[0], "txt.LostFocus");
    EXPECT_EQ(p.qp->log[1], "cbo.GotFocus");
    // Hiding the focused child moves the focus off it.
    c->setVisible(false);
    EXPECT_NE(p.qt.host().focused(), c.get());

    // With boxes kept off screen, a box is recorded and answers its first button.
    EXPECT_EQ(p.qp->site()->MsgBox("Save?", mb::YesNo | mb::Question, "Form"), mb::ResultYes);
    ASSERT_EQ(p.qt.host().messageBoxes().size(), 1u);
    EXPECT_EQ(p.qt.host().messageBoxes()[0].prompt, "Save?");
    // A queued answer still comes first.
    p.qt.host().queueMessageBoxAnswer(mb::ResultNo);
    EXPECT_EQ(p.qp->site()->MsgBox("Save?", mb::YesNo), mb::ResultNo);
}

TEST(QtHost, AProgramsChangesReachTheWidgetsWhenTheEventLoopComesRoundWithNoTimer) {
    Pair p;
    auto* line = static_cast<QLineEdit*>(p.widget("txt"));
    auto* combo = static_cast<QComboBox*>(p.widget("cbo"));
    auto* check = static_cast<QCheckBox*>(p.widget("chk"));
    auto* bar = static_cast<QScrollBar*>(p.widget("bar"));
    // A burst of writes between inputs: each control asks once, and one turn of the loop shows them all.
    p.qtChild<TextBox>("txt")->setText("first");
    p.qtChild<TextBox>("txt")->setText("written");
    p.qtChild<ComboBox>("cbo")->AddItem("violet");
    p.qtChild<ComboBox>("cbo")->setListIndex(3);
    p.qtChild<CheckBox>("chk")->setValue(1);
    p.qtChild<FlatScrollBar>("bar")->setValue(7);
    QCoreApplication::processEvents();
    EXPECT_EQ(line->text(), "written");
    EXPECT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->currentText(), "violet");
    EXPECT_EQ(check->checkState(), Qt::Checked);
    EXPECT_EQ(bar->value(), 7);
    // A change after the view caught up is heard again.
    p.qtChild<TextBox>("txt")->setText("again");
    QCoreApplication::processEvents();
    EXPECT_EQ(line->text(), "again");
}
