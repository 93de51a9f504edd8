#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "host_fakes.h"
#include "platform/runtime/registry.h"
#include "tests/support/error_of.h"

namespace {

using hosttest::Log;
using hosttest::Placed;
using hosttest::TestControl;

using testsupport::errorOf;

TEST(HeadlessHost, PlacingRunsTheLifecycleInHostOrder) {
    auto log = std::make_shared<Log>();
    ax::HeadlessHost host(std::make_shared<hosttest::FakeFactory>(log));
    auto fresh = std::make_shared<TestControl>(log);
    host.place(fresh, 4800, 3600);
    EXPECT_EQ(*log, (Log{"SetSite", "InitProperties", "Resize 4800", "Show"}));
    EXPECT_TRUE(host.shown(*fresh));

    // Children are hidden until the control shows them, and named as asked.
    ASSERT_EQ(host.children(*fresh).size(), 3u);
    EXPECT_EQ(host.child(*fresh, "Txt"), fresh->text);
    EXPECT_FALSE(fresh->text->Visible());
    EXPECT_TRUE(fresh->grid->Visible());

    log->clear();
    host.resize(*fresh, 2000, 1000);
    host.surface(*fresh).Size(1500, 900);
    host.hide(*fresh);
    host.show(*fresh);
    EXPECT_EQ(*log, (Log{"Resize 2000", "Resize 1500", "Hide", "Show"}));

    // A saved control is loaded instead of initialised, and saved back.
    fresh->caption = "Totals";
    ax::MemoryPropertyBag bag;
    host.save(*fresh, bag);
    log->clear();
    auto loaded = std::make_shared<TestControl>(log);
    host.place(loaded, 100, 100, &bag);
    EXPECT_EQ(*log, (Log{"SetSite", "ReadProperties", "Resize 100", "Show"}));
    EXPECT_EQ(loaded->caption, "Totals");

    // Each control has its own window and device context.
    auto& a = host.surface(*fresh);
    auto& b = host.surface(*loaded);
    EXPECT_NE(a.hWnd(), b.hWnd());
    EXPECT_NE(a.hDC(), a.hWnd());
    EXPECT_NE(a.hDC(), b.hDC());

    // A host without a factory cannot make children.
    ax::HeadlessHost bare;
    EXPECT_EQ(errorOf([&] { bare.place(std::make_shared<TestControl>(log), 10, 10); }),
              ax::err::CannotCreateObject);
}

TEST(HeadlessHost, AmbientsRecordsAndMessageBoxes) {
    Placed p;
    ax::Site& site = p.control->site();
    p.host.setUserMode(false);
    EXPECT_FALSE(site.UserMode());
    p.host.setUserMode(true);
    EXPECT_TRUE(site.UserMode());

    auto font = site.AmbientFont();
    EXPECT_EQ(font->Name(), "MS Sans Serif");
    EXPECT_FLOAT_EQ(font->Size(), 8.25f);
    font->setBold(true);  // the control's own copy
    EXPECT_FALSE(site.AmbientFont()->Bold());

    EXPECT_EQ(site.AmbientLocale().name, "en-US");
    p.host.setLocale(ax::Locale::enGB());
    EXPECT_EQ(site.AmbientLocale().name, "en-GB");
    EXPECT_EQ(ax::currentLocale().name, "en-GB");
    p.host.setLocale(ax::Locale::enUS());

    site.PropertyChanged("Rows");
    site.PropertyChanged("Cols");
    site.PropertyChanged("Rows");
    site.PropertyChanged("Rows");
    site.PropertyChanged("Text");
    EXPECT_EQ(p.host.propertyChanges(*p.control),
              (std::vector<std::string>{"Rows", "Cols", "Rows", "Rows", "Text"}));
    p.host.clearPropertyChanges();
    EXPECT_TRUE(p.host.propertyChanges(*p.control).empty());

    EXPECT_EQ(site.MsgBox("1"), ax::mb::ResultOk);
    EXPECT_EQ(site.MsgBox("Save?", ax::mb::YesNo | ax::mb::Question, "Grid"), ax::mb::ResultYes);
    p.host.queueMessageBoxAnswer(ax::mb::ResultNo);
    EXPECT_EQ(site.MsgBox("Again?", ax::mb::YesNo), ax::mb::ResultNo);
    ASSERT_EQ(p.host.messageBoxes().size(), 3u);
    EXPECT_EQ(p.host.messageBoxes()[0].prompt, "1");
    EXPECT_EQ(p.host.messageBoxes()[0].buttons, ax::mb::OkOnly);
    EXPECT_EQ(p.host.messageBoxes()[0].title, "");
    EXPECT_EQ(p.host.messageBoxes()[1].buttons, ax::mb::YesNo | ax::mb::Question);
    EXPECT_EQ(p.host.messageBoxes()[1].title, "Grid");

    site.SetHelpFile("/opt/lib/Vantrel.chm");
    EXPECT_EQ(p.host.helpFile(*p.control), "/opt/lib/Vantrel.chm");
}

TEST(HeadlessHost, ScaleConversionsBetweenEveryUnit) {
    Placed p;
    ax::ControlSurface& s = p.host.surface(*p.control);
    using M = ax::ScaleMode;
    EXPECT_EQ(s.scaleMode(), M::Twips);
    EXPECT_FLOAT_EQ(s.ScaleWidth(), 4800);
    EXPECT_FLOAT_EQ(s.ScaleHeight(), 3600);
    EXPECT_FLOAT_EQ(s.ScaleX(1, M::Inches, M::Twips), 1440);
    EXPECT_FLOAT_EQ(s.ScaleX(1440, M::Twips, M::Points), 72);
    EXPECT_FLOAT_EQ(s.ScaleX(96, M::Pixels, M::Inches), 1);
    EXPECT_FLOAT_EQ(s.ScaleX(2, M::Characters, M::Twips), 240);
    EXPECT_FLOAT_EQ(s.ScaleY(2, M::Characters, M::Twips), 480);
    EXPECT_NEAR(s.ScaleX(25.4f, M::Millimeters, M::Inches), 1, 1e-4);
    EXPECT_NEAR(s.ScaleX(1, M::Centimeters, M::Millimeters), 10, 1e-4);

    s.setScaleMode(M::Pixels);
    EXPECT_FLOAT_EQ(s.ScaleWidth(), 320);
    EXPECT_FLOAT_EQ(s.ScaleX(10, M::User, M::Twips), 150);

    // What a control does on Resize with a container in points: one internal unit = one point.
    s.setScaleWidth(s.ScaleX(s.ScaleWidth(), s.scaleMode(), M::Points));
    s.setScaleHeight(s.ScaleY(s.ScaleHeight(), s.scaleMode(), M::Points));
    EXPECT_EQ(s.scaleMode(), M::User);
    EXPECT_FLOAT_EQ(s.ScaleWidth(), 240);
    EXPECT_FLOAT_EQ(s.ScaleHeight(), 180);
    EXPECT_FLOAT_EQ(s.ScaleX(1, M::User, M::Twips), 20);
    EXPECT_FLOAT_EQ(s.ScaleY(20, M::Twips, M::User), 1);

    // A user scale keeps its extent when the control is resized; its unit grows instead.
    p.host.resize(*p.control, 9600, 3600);
    EXPECT_FLOAT_EQ(s.ScaleWidth(), 240);
    EXPECT_FLOAT_EQ(s.ScaleX(1, M::User, M::Twips), 40);
    // A standard scale follows the size.
    s.setScaleMode(M::Inches);
    EXPECT_FLOAT_EQ(s.ScaleWidth(), 9600.0f / 1440);
    EXPECT_FLOAT_EQ(s.ScaleLeft(), 0);
    EXPECT_EQ(errorOf([&] { s.setScaleWidth(0); }), ax::err::InvalidPropertyValue);
}

TEST(HeadlessHost, ZOrderPutsNewChildrenInFrontAndMovesOnRequest) {
    Placed p;
    auto& c = *p.control;
    using V = std::vector<ax::Child*>;
    EXPECT_EQ(p.host.zOrder(c), (V{c.image.get(), c.text.get(), c.grid.get()}));
    c.grid->ZOrder(0);
    EXPECT_EQ(p.host.zOrder(c), (V{c.grid.get(), c.image.get(), c.text.get()}));
    c.image->ZOrder(1);
    EXPECT_EQ(p.host.zOrder(c), (V{c.grid.get(), c.text.get(), c.image.get()}));
}

// A control placed inside another one by programmatic identifier, from a library of its own.
class ComponentChildTest : public ::testing::Test {
  protected:
    void SetUp() override {
        registry_ = std::filesystem::temp_directory_path() / ("ax-host-" + std::to_string(getpid()) + ".reg");
        ax::setRegistryPath(registry_.string());
        ax::registerLibrary(AX_TEST_SPINNER);
    }
    void TearDown() override { std::filesystem::remove(registry_); }
    std::filesystem::path registry_;
};

TEST_F(ComponentChildTest, IsSitedInitialisedSizedAndSharesTheFocus) {
    Placed p;
    auto& c = *p.control;
    EXPECT_EQ(errorOf([&] { c.site().CreateComponentChild("AxTest.Nothing", "X"); }),
              ax::err::CannotCreateObject);

    ax::ComponentChild spin = c.site().CreateComponentChild("AxTest.Spinner", "Spin");
    auto log = [&] { return ax::getProperty(*spin.object, "Log").toString(); };
    EXPECT_EQ(log(), "Init");
    EXPECT_EQ(spin.extender->Name(), "Spin");
    EXPECT_FALSE(spin.extender->Visible());
    EXPECT_EQ(p.host.child(c, "Spin"), spin.extender);

    spin.extender->setWidth(1200);
    spin.extender->setHeight(300);
    spin.extender->setVisible(true);
    EXPECT_EQ(log(), "Init,Resize 1200,Resize 1200,Show");
    auto* spinner = dynamic_cast<ax::Control*>(spin.object.get());
    ASSERT_NE(spinner, nullptr);
    EXPECT_FLOAT_EQ(spinner->site().Surface().Height(), 300);
    EXPECT_NE(spinner->site().Surface().hWnd(), p.host.surface(c).hWnd());

    // Its own children belong to the same focus: focusing the component focuses its first child.
    auto field = p.host.child(*spinner, "Field");
    ASSERT_TRUE(field);
    std::vector<std::string> ext;
    spin.extender->onGotFocus = [&] { ext.push_back("Spin GotFocus"); };
    spin.extender->onLostFocus = [&] { ext.push_back("Spin LostFocus"); };
    c.grid->SetFocus();
    p.log->clear();
    spin.extender->SetFocus();
    EXPECT_EQ(p.host.focused(), field.get());
    EXPECT_EQ(*p.log, (Log{"Grid LostFocus", "Field GotFocus"}));
    EXPECT_EQ(ext, (std::vector<std::string>{"Spin GotFocus"}));
    EXPECT_EQ(log(), "Init,Resize 1200,Resize 1200,Show,EnterFocus");

    // Moving within the component does not leave it; typing reaches the focused inner child.
    p.host.child(*spinner, "Arrows")->SetFocus();
    p.host.typeText("7");
    EXPECT_EQ(std::dynamic_pointer_cast<hosttest::FakeChild>(p.host.child(*spinner, "Arrows"))->text, "7");
    EXPECT_EQ(ext.size(), 1u);

    // Hiding the focused inner child keeps the focus inside the component.
    p.host.child(*spinner, "Arrows")->setVisible(false);
    EXPECT_EQ(p.host.focused(), field.get());

    // Leaving it: the inner child first, then the component.
    p.log->clear();
    c.grid->SetFocus();
    EXPECT_EQ(*p.log, (Log{"Field LostFocus", "Grid GotFocus"}));
    EXPECT_EQ(ext, (std::vector<std::string>{"Spin GotFocus", "Spin LostFocus"}));
    EXPECT_EQ(log(), "Init,Resize 1200,Resize 1200,Show,EnterFocus,ExitFocus");

    // Hiding the component with the focus inside moves it to the parent control's next child.
    spin.extender->SetFocus();
    p.log->clear();
    spin.extender->setVisible(false);
    EXPECT_EQ(p.host.focused(), c.grid.get());
    EXPECT_EQ(log().substr(log().size() - 4), "Hide");

    // With nothing inside able to take it, the component takes the focus itself.
    spin.extender->setVisible(true);
    field->setVisible(false);
    spin.extender->SetFocus();
    EXPECT_EQ(p.host.focused(), spin.extender.get());
}

}  // namespace
