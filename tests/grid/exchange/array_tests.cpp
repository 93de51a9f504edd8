// Loading and saving the grid's cells and headings through string arrays, as a host passes them:
// typed and by name, with odd bounds, wrong shapes, check-box columns and an open transaction.
#include "platform/controls/image.h"
#include "tests/grid/exchange/exchange_host.h"

namespace vantrel::test {
namespace {

using ArrayTest = GridTest;

TEST_F(ArrayTest, LoadArrayPlacesAnyBoundsBelowTheFixedRowsWithPaintingSuspended) {
    fill(6, 4);  // one fixed row and one fixed column
    inner().setCol(2);
    const uint64_t paintsBefore = paintsOf(inner());

    ASSERT_TRUE(grid->LoadArray(ax::Variant(labelledArray(1, 3, 1, 2))));
    EXPECT_EQ(grid->Rows(), 4);
    EXPECT_EQ(grid->Cols(), 2);
    EXPECT_EQ(grid->TextMatrix(1, 0), "1,1");  // the fixed column takes the first array column
    EXPECT_EQ(grid->TextMatrix(3, 1), "3,2");
    EXPECT_EQ(grid->TextMatrix(0, 1), "r0c1");  // headings stay
    EXPECT_TRUE(inner().Redraw());
    EXPECT_EQ(paintsOf(inner()) - paintsBefore, 1u);  // one paint for the whole load
    EXPECT_FALSE(grid->SuppressBindingReset());

    // Negative lower bounds are as good as any, as long as the upper bounds are not negative.
    ASSERT_TRUE(grid->LoadArray(ax::Variant(labelledArray(-2, 0, 5, 7))));
    EXPECT_EQ(grid->Rows(), 4);
    EXPECT_EQ(grid->Cols(), 3);
    EXPECT_EQ(grid->TextMatrix(1, 0), "-2,5");
    EXPECT_EQ(grid->TextMatrix(3, 2), "0,7");

    // Through dispatch, as a late-bound host calls it.
    std::vector<ax::Variant> args{ax::Variant(labelledArray(0, 0, 0, 0))};
    EXPECT_EQ(grid->Invoke("loadarray", ax::InvokeKind::Method, args), ax::Variant(true));
    EXPECT_EQ(grid->Rows(), 2);
    EXPECT_EQ(grid->TextMatrix(1, 0), "0,0");

    // Fewer array columns than fixed ones: the grid keeps its columns and still takes every cell.
    grid->setCols(4);
    grid->setFixedCols(2);
    ASSERT_TRUE(grid->LoadArray(ax::Variant(labelledArray(0, 2, 0, 0))));
    EXPECT_EQ(grid->Cols(), 4);
    EXPECT_EQ(grid->Rows(), 4);
    EXPECT_EQ(grid->TextMatrix(3, 0), "2,0");
}

TEST_F(ArrayTest, ArraysThatAreNotATableChangeNothing) {
    fill(3, 3);
    auto unchanged = [&] {
        EXPECT_EQ(grid->Rows(), 3);
        EXPECT_EQ(grid->Cols(), 3);
        EXPECT_EQ(grid->TextMatrix(2, 2), "r2c2");
    };
    auto never = std::make_shared<ax::SafeArray>(ax::VarType::String);
    auto objects = std::make_shared<ax::SafeArray>(ax::VarType::Object,
                                                   std::vector<ax::SafeArray::Bound>{{0, 1}, {0, 1}});
    for (const ax::Variant& bad :
         {ax::Variant(stringList(0, {"a", "b"})), ax::Variant(never),
          ax::Variant(labelledArray(-3, -1, 0, 1)), ax::Variant(labelledArray(0, 1, -2, -1)),
          ax::Variant("text"), ax::Variant(), ax::Variant(objects)}) {
        EXPECT_FALSE(grid->LoadArray(bad));
        unchanged();
    }
    // An array with more rows than the grid can hold stops with False; painting comes back.
    EXPECT_FALSE(grid->LoadArray(ax::Variant(labelledArray(0, 40000, 0, 1))));
    EXPECT_TRUE(inner().Redraw());
    EXPECT_FALSE(grid->SuppressBindingReset());
    // Rows up to the largest upper bound a Long allows, in columns of none: no element to hold, but a
    // row count the grid cannot reach.
    const auto endless = std::make_shared<ax::SafeArray>(
        ax::VarType::String, std::vector<ax::SafeArray::Bound>{{1, INT32_MAX}, {5, 0}});
    EXPECT_EQ(endless->ubound(1), INT32_MAX);
    EXPECT_FALSE(grid->LoadArray(ax::Variant(endless)));

    fill(3, 3);
    grid->BeginTrans();
    EXPECT_FALSE(grid->LoadArray(ax::Variant(labelledArray(0, 1, 0, 1))));
    EXPECT_FALSE(grid->LoadHeadingFromArray(ax::Variant(stringList(0, {"x"}))));
    unchanged();
    EXPECT_EQ(grid->TextMatrix(0, 0), "r0c0");
    // Saving stays allowed inside a transaction.
    ax::Variant saved;
    EXPECT_TRUE(grid->SaveToArray(saved));
    grid->Commit();
}

TEST_F(ArrayTest, LoadedTextsFollowTheColumnRules) {
    fill(2, 3);
    atColumn(1);
    grid->setColInputStyle(ZelPicker);
    grid->setColZelPickerMin(0);
    grid->setColZelPickerMax(10);
    atColumn(2);
    grid->setColTextMaxLength(3);
    // A variant array of mixed kinds: numbers become their text, Null and Empty the empty text.
    auto a = std::make_shared<ax::SafeArray>(ax::VarType::Variant,
                                             std::vector<ax::SafeArray::Bound>{{0, 2}, {0, 3}});
    a->at({0, 0}) = ax::Variant(int32_t(42));
    a->at({0, 1}) = ax::Variant("7");
    a->at({0, 2}) = ax::Variant("abcdef");
    a->at({1, 0}) = ax::Variant(ax::Null{});
    a->at({1, 1}) = ax::Variant("70");  // beyond the column's maximum: refused
    a->at({1, 2}) = ax::Variant(2.5);
    ASSERT_TRUE(grid->LoadArray(ax::Variant(a)));
    EXPECT_EQ(column(0), (std::vector<std::string>{"r0c0", "42", ""}));
    EXPECT_EQ(column(1), (std::vector<std::string>{"r0c1", "7", "0"}));  // refused: the new cell's "0" stays
    EXPECT_EQ(column(2), (std::vector<std::string>{"r0c2", "abc", "2.5"}));
}

TEST_F(ArrayTest, SaveToArrayRedimensionsTheCallersArray) {
    fill(5, 3);
    inner().setRow(2);
    inner().setCol(1);
    // The host's array, also held by a second Variant: both see the new shape.
    auto mine = labelledArray(7, 9, 7, 7);
    ax::Variant byRef(mine), other(mine);
    ASSERT_TRUE(grid->SaveToArray(byRef));
    EXPECT_EQ(mine->lbound(1), 0);
    EXPECT_EQ(mine->ubound(1), 3);
    EXPECT_EQ(mine->lbound(2), 0);
    EXPECT_EQ(mine->ubound(2), 2);
    EXPECT_EQ(element(other, {0, 0}), "r1c0");
    EXPECT_EQ(element(other, {3, 2}), "r4c2");
    EXPECT_EQ(inner().Row(), 2);
    EXPECT_EQ(inner().Col(), 1);

    // By name: an empty argument comes back holding a new array; an array argument is reshaped.
    std::vector<ax::Variant> args{ax::Variant()};
    EXPECT_EQ(grid->Invoke("SaveToArray", ax::InvokeKind::Method, args), ax::Variant(true));
    ASSERT_TRUE(args[0].isArray());
    EXPECT_EQ(args[0].array()->ubound(1), 3);
    EXPECT_EQ(element(args[0], {2, 1}), "r3c1");
    auto theirs = stringList(1, {"old"});
    std::vector<ax::Variant> shared{ax::Variant(theirs)};
    grid->Invoke("savetoarray", ax::InvokeKind::Method, shared);
    EXPECT_EQ(theirs->dims(), 2);
    EXPECT_EQ(element(ax::Variant(theirs), {0, 1}), "r1c1");

    // The saved array loads back to the same cells.
    grid->setRows(2);
    ASSERT_TRUE(grid->LoadArray(byRef));
    EXPECT_EQ(grid->Rows(), 5);
    EXPECT_EQ(grid->TextMatrix(4, 2), "r4c2");

    // Without data rows the array cannot be sized: False, and the array keeps its shape.
    grid->setRows(1);
    auto kept = labelledArray(1, 2, 1, 2);
    ax::Variant keptRef(kept);
    EXPECT_FALSE(grid->SaveToArray(keptRef));
    EXPECT_EQ(kept->ubound(1), 2);
    EXPECT_EQ(element(keptRef, {2, 2}), "2,2");
    // An array of another element type is not written.
    grid->setRows(3);
    auto longs =
        std::make_shared<ax::SafeArray>(ax::VarType::Long, std::vector<ax::SafeArray::Bound>{{0, 1}});
    ax::Variant longRef(longs);
    EXPECT_FALSE(grid->SaveToArray(longRef));
    EXPECT_EQ(longs->dims(), 1);
}

TEST_F(ArrayTest, HeadingArrays) {
    fill(3, 3);
    // More headings than columns: every column filled, the rest ignored; any lower bound.
    EXPECT_TRUE(grid->LoadHeadingFromArray(ax::Variant(stringList(3, {"A", "B", "C", "D"}))));
    EXPECT_EQ(grid->TextMatrix(0, 0), "A");
    EXPECT_EQ(grid->TextMatrix(0, 2), "C");
    // Fewer: the other columns keep theirs.
    EXPECT_TRUE(grid->LoadHeadingFromArray(ax::Variant(stringList(0, {"x"}))));
    EXPECT_EQ(grid->TextMatrix(0, 0), "x");
    EXPECT_EQ(grid->TextMatrix(0, 1), "B");
    EXPECT_FALSE(grid->LoadHeadingFromArray(ax::Variant(labelledArray(0, 1, 0, 1))));
    EXPECT_FALSE(grid->LoadHeadingFromArray(ax::Variant()));

    // A check-box column's heading is saved as its text, not as a check state.
    atColumn(2);
    grid->setColInputStyle(CheckBox);
    std::vector<ax::Variant> args{ax::Variant()};
    EXPECT_EQ(grid->Invoke("SaveHeadingToArray", ax::InvokeKind::Method, args), ax::Variant(true));
    EXPECT_EQ(args[0].array()->ubound(1), 2);
    EXPECT_EQ(element(args[0], {0}), "x");
    EXPECT_EQ(element(args[0], {2}), "C");

    // Without a fixed row: False, and an array of one empty element.
    grid->setFixedRows(0);
    auto mine = stringList(5, {"p", "q"});
    ax::Variant ref(mine);
    EXPECT_FALSE(grid->SaveHeadingToArray(ref));
    EXPECT_EQ(mine->lbound(1), 0);
    EXPECT_EQ(mine->ubound(1), 0);
    EXPECT_EQ(element(ref, {0}), "");
    EXPECT_FALSE(grid->LoadHeadingFromArray(ax::Variant(stringList(0, {"z"}))));
    EXPECT_EQ(grid->TextMatrix(0, 0), "x");
}

TEST_F(ArrayTest, CheckBoxCellsTravelAsOneAndZero) {
    fill(4, 3);
    atColumn(2);
    grid->setColInputStyle(CheckBox);
    grid->setTextMatrix(1, 2, "1");
    grid->setTextMatrix(3, 2, "1");
    ax::Variant saved;
    ASSERT_TRUE(grid->SaveToArray(saved));
    EXPECT_EQ(element(saved, {0, 2}), "1");
    EXPECT_EQ(element(saved, {1, 2}), "0");
    EXPECT_EQ(element(saved, {2, 2}), "1");

    grid->setTextMatrix(1, 2, "0");
    grid->setTextMatrix(2, 2, "1");
    // A picture on an ordinary cell of a row that stays is removed by the load.
    inner().setRow(1);
    inner().setCol(1);
    inner().setCellPicture(std::make_shared<ax::Picture>(2, 2, std::vector<uint32_t>(4, 0xFF0000FFu)));
    ASSERT_TRUE(ax::hasPicture(inner().CellPicture()));
    ASSERT_TRUE(grid->LoadArray(saved));
    EXPECT_EQ(column(2), (std::vector<std::string>{"0", "1", "0", "1"}));
    EXPECT_EQ(inner().TextMatrix(1, 2), "");  // the cell holds the mark, not text
    inner().setRow(1);
    inner().setCol(1);
    EXPECT_FALSE(ax::hasPicture(inner().CellPicture()));
    // A text a check-box cell does not take leaves it as it was.
    auto yes = labelledArray(0, 0, 0, 2);
    yes->at({0, 2}) = ax::Variant("yes");
    grid->setTextMatrix(1, 2, "1");
    ASSERT_TRUE(grid->LoadArray(ax::Variant(yes)));
    EXPECT_EQ(grid->TextMatrix(1, 2), "1");
}

TEST_F(ArrayTest, LoadingDropsTheXmlBinding) {
    fill(3, 3);
    ASSERT_TRUE(grid->CreateXMLDoc("data", XMLEncodingUTF8));
    grid->setRootChildTagName("items");
    grid->setXMLFilePath("/tmp/somewhere.xml");
    atColumn(1);
    grid->setColAttributeName("id");
    ASSERT_TRUE(grid->LoadArray(ax::Variant(labelledArray(0, 1, 0, 2))));
    EXPECT_EQ(grid->XMLDocument(), nullptr);
    EXPECT_EQ(grid->RootElementTagName(), "");
    EXPECT_EQ(grid->RootChildTagName(), "");
    EXPECT_EQ(grid->XMLFilePath(), "");
    atColumn(1);
    EXPECT_EQ(grid->ColAttributeName(), "id");  // the columns keep their own names
}

}  // namespace
}  // namespace vantrel::test
