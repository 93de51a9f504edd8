// A late-bound host that calls the grid's members in random order with odd arguments, with the user
// typing and clicking in between: every call either works or raises a numbered automation error, and
// the grid keeps working afterwards. Seeds are fixed, so a failure repeats.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "grid/frame/vantrel.h"
#include "platform/automation/errors.h"
#include "platform/controls/image_combo.h"
#include "platform/flexgrid/flexgrid.h"
#include "platform/headless/headless_children.h"
#include "spin/zel.h"
#include "tests/support/number_editor.h"

namespace {

// Values a careless host passes: small and edge numbers, texts of every kind, empties and objects.
// Numbers stay small enough that no shape they give can exhaust memory (Rows and Cols each stop
// below 32768, so both at their largest would be a billion cells).
std::vector<ax::Variant> argumentPool() {
    auto images = std::make_shared<ax::ImageList>();
    images->ListImages()->Add(
        ax::Variant(), ax::Variant("a"),
        ax::Variant(std::make_shared<ax::Picture>(2, 2, std::vector<uint32_t>(4, 0xFF00FF00u))));
    return {ax::Variant(),
            ax::Variant(ax::Null{}),
            ax::Variant(int16_t(-1)),
            ax::Variant(int16_t(0)),
            ax::Variant(int16_t(1)),
            ax::Variant(int32_t(2)),
            ax::Variant(int32_t(3)),
            ax::Variant(int32_t(7)),
            ax::Variant(int32_t(40)),
            ax::Variant(int32_t(-40000)),
            ax::Variant(int32_t(70000)),
            ax::Variant(1.5),
            ax::Variant(-0.5),
            ax::Variant(1e300),
            ax::Variant(true),
            ax::Variant(false),
            ax::Variant(""),
            ax::Variant("x"),
            ax::Variant("1"),
            ax::Variant("12.0"),
            ax::Variant("12/31/2020"),
            ax::Variant("##/##"),
            ax::Variant("a|b|c;1|2"),
            ax::Variant("r\tow"),
            ax::Variant(std::string(300, 'w')),
            ax::Variant(std::string("\xC3\xA9t\xC3\xA9")),
            ax::Variant(std::string("\xFF\xFE")),
            ax::Variant(ax::Date{44000.25}),
            ax::Variant(images),
            ax::Variant(std::shared_ptr<ax::Object>())};
}

class RandomCalls : public ::testing::TestWithParam<unsigned> {
  protected:
    void SetUp() override {
        testsupport::registerNumberEditor("vantrel-random", VN_ZEL_LIBRARY);
        // Members that save files write where the test can throw them away.
        folder_ =
            std::filesystem::temp_directory_path() / ("vantrel-random-files-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        host->setUserMode(true);
        host->place(grid, 6000, 3000);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::unique_ptr<ax::HeadlessHost> host = ax::makeHeadlessHost();
    std::shared_ptr<vantrel::Vantrel> grid = std::make_shared<vantrel::Vantrel>();
    std::filesystem::path folder_, previous_;
};

// Calls the control's members at random with arguments from the pool, the user clicking, typing and
// moving the focus to `userTarget` now and then. Answers how many calls worked; a call that escapes
// as anything but a numbered automation error is listed in `failures`.
template <class Control>
int callAtRandom(Control& control, ax::HeadlessHost& host, ax::Child& userTarget, unsigned seed,
                 std::vector<std::string>& failures) {
    std::mt19937 random(seed);
    const auto pool = argumentPool();
    const auto& members = Control::dispatchTable().members();
    auto pick = [&](size_t n) { return size_t(std::uniform_int_distribution<size_t>(0, n - 1)(random)); };
    int worked = 0;
    std::vector<size_t> arity(members.size(), 0);
    for (int step = 0; step < 3000; ++step) {
        if (pick(6) == 0) {
            try {
                switch (pick(4)) {
                    case 0: {
                        // A click on whatever child of the control is showing: the grid or an open editor.
                        std::vector<ax::ChildPtr> showing;
                        for (const auto& c : host.children(control))
                            if (c->Visible()) showing.push_back(c);
                        ax::Child& target = showing.empty() ? userTarget : *showing[pick(showing.size())];
                        host.click(target, float(pick(6000)), float(pick(3000)));
                        break;
                    }
                    case 1:
                        host.typeText(pick(3) == 0 ? " " : pick(2) ? "5" : "a");
                        break;
                    case 2: {
                        const int16_t keys[] = {ax::key::Return, ax::key::Escape, ax::key::Down,  ax::key::Up,
                                                ax::key::F4,     ax::key::Back,   ax::key::Delete};
                        host.typeKey(keys[pick(std::size(keys))]);
                        break;
                    }
                    default:
                        host.setFocus(&userTarget);
                        break;
                }
            } catch (const ax::AutomationError&) {
                // Input to a hidden or disabled child may be refused.
            }
            continue;
        }
        const size_t which = pick(members.size());
        const auto& member = members[which];
        std::vector<ax::Variant> args;
        for (size_t n = arity[which]; n > 0; --n) args.push_back(pool[pick(pool.size())]);
        try {
            control.Invoke(member.name, member.kind, args);
            ++worked;
        } catch (const ax::AutomationError& e) {
            // The host learns how many arguments a member takes, as a programmer would.
            if (e.number() == ax::err::WrongArgumentCount) arity[which] = (arity[which] + 1) % 4;
            if (e.number() <= 0) failures.push_back(member.name + ": error without a number");
        } catch (const std::exception& e) {
            failures.push_back(member.name + ": " + e.what());
        }
    }
    return worked;
}

TEST_P(RandomCalls, EveryCallWorksOrRaisesANumberedErrorAndTheGridStillWorks) {
    std::vector<std::string> failures;
    const int worked = callAtRandom(*grid, *host, grid->innerGrid(), GetParam(), failures);
    EXPECT_GT(worked, 1000);  // most calls did something, once the host knew the argument counts
    EXPECT_TRUE(failures.empty()) << failures.size()
                                  << " calls escaped as other errors, first: " << failures[0];

    // Whatever state the calls left, the host can still give the grid a plain shape and fill it.
    try {
        grid->RollBack();
        grid->setRedraw(true);
        grid->setMaintainData(false);
        grid->setCols(3);
        grid->setRows(4);
        grid->setInputStyle(vantrel::TextBox);
        grid->setTextMaxLength(0);
        grid->setTextMatrix(grid->Rows() - 1, grid->Cols() - 1, "still here");
    } catch (const ax::AutomationError& e) {
        FAIL() << "the grid refused a plain shape: " << e.number() << " " << e.description();
    }
    EXPECT_EQ(grid->Rows(), 4);
    EXPECT_EQ(grid->Cols(), 3);
    EXPECT_EQ(grid->TextMatrix(3, 2), "still here");
}

TEST_P(RandomCalls, TheSpinControlAloneTakesRandomCallsTheSameWay) {
    auto zel = std::make_shared<zel::Zel>();
    host->place(zel, 1500, 300);
    ASSERT_NE(zel->textField(), nullptr);
    std::vector<std::string> failures;
    const int worked = callAtRandom(*zel, *host, *zel->textField(), GetParam(), failures);
    EXPECT_GT(worked, 1000);
    EXPECT_TRUE(failures.empty()) << failures.size()
                                  << " calls escaped as other errors, first: " << failures[0];
    zel->setMin(0);
    zel->setMax(10);
    zel->setValue(5);
    EXPECT_EQ(zel->Value(), 5);
    EXPECT_EQ(zel->textField()->Text(), "5");
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomCalls, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u));

}  // namespace
