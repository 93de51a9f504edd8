#include <gtest/gtest.h>

#include "platform/automation/colour.h"
#include "platform/automation/errors.h"
#include "platform/automation/font.h"
#include "platform/automation/variant.h"
#include "tests/support/error_of.h"

using namespace ax;

namespace {

using testsupport::errorOf;

}  // namespace

TEST(FontObject, MembersByNameInAnyCase) {
    Font f;
    EXPECT_EQ(getProperty(f, "Name"), Variant("MS Sans Serif"));
    EXPECT_EQ(getProperty(f, "size"), Variant(8.25f));
    letProperty(f, "NAME", "Arial");
    letProperty(f, "Size", "12");  // text converts as a host's assignment would
    letProperty(f, "bold", true);
    letProperty(f, "Italic", int16_t(1));
    letProperty(f, "UnderLine", true);
    letProperty(f, "strikethrough", "True");
    letProperty(f, "Charset", int32_t(2));
    EXPECT_EQ(f.Name(), "Arial");
    EXPECT_EQ(f.Size(), 12.0f);
    EXPECT_TRUE(f.Bold() && f.Italic() && f.Underline() && f.Strikethrough());
    EXPECT_EQ(getProperty(f, "Weight"), Variant(int16_t(700)));
    EXPECT_EQ(getProperty(f, "Charset"), Variant(int16_t(2)));
    // Weight and Bold are one attribute seen two ways.
    letProperty(f, "Weight", int16_t(400));
    EXPECT_EQ(getProperty(f, "Bold"), Variant(false));
    letProperty(f, "Weight", int16_t(800));
    EXPECT_TRUE(f.Bold());
    // A late-bound call of a property name without arguments reads it.
    EXPECT_EQ(callMethod(f, "Name"), Variant("Arial"));

    EXPECT_TRUE(f.HasMember("ITALIC", InvokeKind::PropertyPut));
    EXPECT_FALSE(f.HasMember("Colour", InvokeKind::PropertyGet));
    EXPECT_EQ(errorOf([&] { getProperty(f, "Colour"); }), err::MemberNotFound);
    EXPECT_EQ(errorOf([&] { getProperty(f, "Name", {int16_t(1)}); }), err::WrongArgumentCount);
    EXPECT_EQ(errorOf([&] { letProperty(f, "Weight", "heavy"); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { letProperty(f, "Size", -1.0); }), err::InvalidPropertyValue);
    EXPECT_EQ(f.Size(), 12.0f);
}

TEST(FontObject, SizesKeepFourDecimalsAndCopiesAreIndependent) {
    Font f("Arial", 10);
    f.setSize(9.123456f);
    EXPECT_FLOAT_EQ(f.Size(), 9.1235f);
    f.setSize(8.25f);
    EXPECT_EQ(f.Size(), 8.25f);

    auto copy = f.clone();
    EXPECT_TRUE(copy->sameAs(f));
    copy->setItalic(true);
    EXPECT_FALSE(copy->sameAs(f));
    EXPECT_FALSE(f.Italic());
    copy->setItalic(false);
    copy->setCharset(1);
    EXPECT_FALSE(copy->sameAs(f));
    Font other("arial", 8.25f);  // names compare as written
    EXPECT_FALSE(other.sameAs(f));
}

TEST(Colours, SystemColoursResolveAndPlainOnesStay) {
    EXPECT_EQ(rgb(1, 2, 3), 0x030201u);
    EXPECT_TRUE(isSystemColor(syscolor::ButtonFace));
    EXPECT_FALSE(isSystemColor(rgb(255, 255, 255)));
    EXPECT_EQ(resolveColor(syscolor::WindowBackground), rgb(255, 255, 255));
    EXPECT_EQ(resolveColor(syscolor::WindowText), rgb(0, 0, 0));
    EXPECT_EQ(resolveColor(syscolor::ButtonText), rgb(0, 0, 0));
    EXPECT_EQ(resolveColor(syscolor::GrayText), rgb(128, 128, 128));
    EXPECT_NE(resolveColor(syscolor::ButtonFace), resolveColor(syscolor::WindowBackground));
    EXPECT_NE(resolveColor(syscolor::Highlight), resolveColor(syscolor::HighlightText));
    for (uint8_t i = 0; i <= 24; ++i) EXPECT_FALSE(isSystemColor(resolveColor(systemColor(i)))) << int(i);
    EXPECT_EQ(resolveColor(rgb(10, 20, 30)), rgb(10, 20, 30));
    EXPECT_EQ(resolveColor(systemColor(99)), 0u);
}

TEST(Variants, KindsAndEquality) {
    // Kinds carry the automation numbers; an array reports Array joined with its element kind.
    EXPECT_EQ(uint16_t(Variant(Date{1}).type()), 7);
    EXPECT_EQ(uint16_t(Variant(true).type()), 11);
    EXPECT_EQ(uint16_t(Variant(std::make_shared<Font>()).type()), 9);
    EXPECT_EQ(uint16_t(Variant(SafeArray(VarType::String, {{0, 1}})).type()), 0x2008);
    EXPECT_TRUE(Variant(true).isNumeric());
    EXPECT_FALSE(Variant("12").isNumeric());

    // Same kind and same value; no conversion between kinds.
    EXPECT_EQ(Variant(), Variant());
    EXPECT_EQ(Variant(Null{}), Variant(Null{}));
    EXPECT_NE(Variant(), Variant(Null{}));
    EXPECT_NE(Variant(int16_t(1)), Variant(int32_t(1)));
    EXPECT_NE(Variant("1"), Variant(int16_t(1)));
    EXPECT_EQ(Variant("a"), Variant(std::string("a")));
    auto font = std::make_shared<Font>();
    EXPECT_EQ(Variant(font), Variant(font));
    EXPECT_NE(Variant(font), Variant(std::make_shared<Font>()));  // objects compare by reference

    SafeArray a(VarType::Long, {{1, 2}});
    a.at({2}) = int32_t(5);
    SafeArray b = a;
    EXPECT_EQ(Variant(a), Variant(b));
    b.at({1}) = int32_t(9);
    EXPECT_NE(Variant(a), Variant(b));
    EXPECT_NE(Variant(a), Variant(SafeArray(VarType::Long, {{0, 2}})));  // same contents, other bounds

    EXPECT_EQ(errorOf([] { Variant("x").object(); }), err::ObjectRequired);
    EXPECT_EQ(errorOf([] { Variant(int16_t(1)).array(); }), err::TypeMismatch);
    EXPECT_EQ(Variant(std::shared_ptr<Object>()).object(), nullptr);  // Nothing is an object
}

TEST(SafeArrays, BoundsAndUndimensionedVersusEmpty) {
    SafeArray never(VarType::String);
    EXPECT_FALSE(never.dimensioned());
    EXPECT_EQ(never.dims(), 0);
    EXPECT_EQ(errorOf([&] { never.lbound(1); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { never.at({0}); }), err::SubscriptOutOfRange);

    SafeArray empty(VarType::String, {{0, 0}});
    EXPECT_TRUE(empty.dimensioned());
    EXPECT_EQ(empty.size(), 0u);
    EXPECT_EQ(empty.lbound(1), 0);
    EXPECT_EQ(empty.ubound(1), -1);
    EXPECT_EQ(errorOf([&] { empty.at({0}); }), err::SubscriptOutOfRange);

    SafeArray grid(VarType::String, {{1, 3}, {0, 2}});
    EXPECT_EQ(grid.dims(), 2);
    EXPECT_EQ(grid.lbound(1), 1);
    EXPECT_EQ(grid.ubound(1), 3);
    EXPECT_EQ(grid.ubound(2), 1);
    EXPECT_EQ(errorOf([&] { grid.ubound(3); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { grid.ubound(0); }), err::SubscriptOutOfRange);
    EXPECT_EQ(grid.at({3, 1}), Variant(""));  // string elements start as empty text
    grid.at({2, 0}) = "b";
    grid.at({1, 1}) = "d";
    EXPECT_EQ(grid.data()[1], Variant("b"));  // the first dimension varies fastest
    EXPECT_EQ(grid.data()[3], Variant("d"));
    EXPECT_EQ(grid.at(std::vector<int32_t>{2, 0}), Variant("b"));
    EXPECT_EQ(errorOf([&] { grid.at({0, 0}); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { grid.at({4, 0}); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { grid.at({1, 2}); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { grid.at({1}); }), err::SubscriptOutOfRange);

    // Redimensioning discards the contents; erasing makes it undimensioned again.
    grid.redim({{-2, 2}});
    EXPECT_EQ(grid.lbound(1), -2);
    EXPECT_EQ(grid.at({-1}), Variant(""));
    EXPECT_EQ(errorOf([&] { grid.redim({{0, -1}}); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { grid.redim({{INT32_MAX, 2}}); }), err::SubscriptOutOfRange);
    grid.erase();
    EXPECT_FALSE(grid.dimensioned());

    // The upper bound may be the largest Long; an empty dimension may not put it below the smallest.
    SafeArray top(VarType::Variant, {{INT32_MAX - 1, 2}});
    EXPECT_EQ(top.ubound(1), INT32_MAX);
    top.at({INT32_MAX}) = "last";
    EXPECT_EQ(top.data()[1], Variant("last"));
    EXPECT_EQ(Variant(top), Variant(top));  // equality compares the bounds too
    SafeArray one(VarType::Variant, {{INT32_MAX, 1}});
    EXPECT_EQ(one.lbound(1), INT32_MAX);
    EXPECT_EQ(one.ubound(1), INT32_MAX);
    EXPECT_EQ(SafeArray(VarType::Variant, {{INT32_MIN, 1}}).ubound(1), INT32_MIN);
    EXPECT_EQ(errorOf([] { SafeArray(VarType::Variant, {{INT32_MIN, 0}}); }), err::SubscriptOutOfRange);

    // Typed elements start at their kind's zero value.
    EXPECT_EQ(SafeArray(VarType::Integer, {{0, 1}}).at({0}), Variant(int16_t(0)));
    EXPECT_EQ(SafeArray(VarType::Boolean, {{0, 1}}).at({0}), Variant(false));
    EXPECT_EQ(SafeArray(VarType::Variant, {{0, 1}}).at({0}), Variant());
}
