// Sorting: every code, the range and key columns it takes from the selection, stability, and the
// host deciding the order through Compare.
#include <random>

#include "grid_fixture.h"

using namespace fgtest;
using Texts = std::vector<std::string>;

namespace {

// A grid with one fixed row and the given texts in column 1; column 2 holds each row's first position.
void load(ax::HeadlessFlexGrid& g, const Texts& texts) {
    g.setCols(3);
    g.setRows(1);
    for (size_t i = 0; i < texts.size(); ++i) g.AddItem("\t" + texts[i] + "\t" + std::to_string(i));
    g.setRow(1);
    g.setCol(1);
}

Texts sorted(const Texts& texts, int16_t code) {
    ax::HeadlessFlexGrid g;
    load(g, texts);
    g.setSort(code);
    return column(g, 1);
}

}  // namespace

TEST(FlexGridSort, EachCodeOrdersAsItsNameSays) {
    const Texts mixed = {"10", "9", "apple", "", "Banana", "-2.5", "banana", "1e1"};
    EXPECT_EQ(sorted(mixed, ax::flex::SortGenericAscending),
              (Texts{"", "-2.5", "9", "10", "1e1", "apple", "Banana", "banana"}));
    EXPECT_EQ(sorted(mixed, ax::flex::SortGenericDescending),
              (Texts{"Banana", "banana", "apple", "10", "1e1", "9", "-2.5", ""}));
    // Numeric: texts that are no number count as 0; a leading number counts.
    EXPECT_EQ(sorted({"10", "x", "9abc", "-1", "2"}, ax::flex::SortNumericAscending),
              (Texts{"-1", "x", "2", "9abc", "10"}));
    EXPECT_EQ(sorted({"10", "x", "9abc", "-1", "2"}, ax::flex::SortNumericDescending),
              (Texts{"10", "9abc", "2", "x", "-1"}));
    const Texts words = {"banana", "Cherry", "apple", "Banana", "10", "9"};
    EXPECT_EQ(sorted(words, ax::flex::SortStringNoCaseAscending),
              (Texts{"10", "9", "apple", "banana", "Banana", "Cherry"}));
    EXPECT_EQ(sorted(words, ax::flex::SortStringNoCaseDescending),
              (Texts{"Cherry", "banana", "Banana", "apple", "9", "10"}));
    EXPECT_EQ(sorted(words, ax::flex::SortStringAscending),
              (Texts{"10", "9", "Banana", "Cherry", "apple", "banana"}));
    EXPECT_EQ(sorted(words, ax::flex::SortStringDescending),
              (Texts{"banana", "apple", "Cherry", "Banana", "9", "10"}));
    // 0 sorts nothing.
    EXPECT_EQ(sorted(words, ax::flex::SortNone), words);
}

TEST(FlexGridSort, KeysRangeAndRowsTravellingWhole) {
    ax::HeadlessFlexGrid g;
    g.setCols(4);
    g.setRows(1);
    g.setTextMatrix(0, 1, "heading");
    const char* rows[] = {"b\t2\tfirst", "a\t2\tsecond", "b\t1\tthird", "a\t2\tfourth", "a\t1\tfifth"};
    for (const char* r : rows) g.AddItem(std::string("\t") + r);
    for (int32_t r = 1; r <= 5; ++r) g.setRowData(r, r * 10);
    g.setRow(3);  // "b 1 third" gets a colour of its own
    g.setCol(3);
    g.setCellBackColor(ax::rgb(200, 0, 0));

    // Columns 1 and 2 are the keys, left to right; Row = RowSel sorts every scrollable row.
    g.setRow(1);
    g.setCol(1);
    g.setColSel(2);
    g.setSort(ax::flex::SortGenericAscending);
    EXPECT_EQ(column(g, 3), (Texts{"fifth", "second", "fourth", "third", "first"}));
    EXPECT_EQ(g.TextMatrix(0, 1), "heading");  // fixed rows stay put
    EXPECT_EQ(g.RowData(1), 50);
    EXPECT_EQ(g.RowData(4), 30);
    g.setRow(4);
    g.setCol(3);
    EXPECT_EQ(g.CellBackColor(), ax::rgb(200, 0, 0));
    g.setRow(1);
    EXPECT_EQ(g.CellBackColor(), 0u);

    // Descending keeps equal rows in their order too.
    g.setCol(1);
    g.setColSel(2);
    g.setSort(ax::flex::SortGenericDescending);
    EXPECT_EQ(column(g, 3), (Texts{"first", "third", "second", "fourth", "fifth"}));

    // Row..RowSel limits the sort to those rows.
    g.setRow(2);
    g.setCol(3);
    g.setRowSel(4);
    g.setSort(ax::flex::SortStringAscending);
    EXPECT_EQ(column(g, 3), (Texts{"first", "fourth", "second", "third", "fifth"}));
}

TEST(FlexGridSort, CustomSortAsksTheHost) {
    ax::HeadlessFlexGrid g;
    load(g, {"3", "1", "2", "1"});
    // The host orders by the number in column 1, reading the rows as they stand before the sort.
    std::vector<std::pair<int32_t, int32_t>> asked;
    g.onCompare = [&](int32_t r1, int32_t r2, int16_t& cmp) {
        asked.emplace_back(r1, r2);
        int a = std::stoi(g.TextMatrix(r1, 1)), b = std::stoi(g.TextMatrix(r2, 1));
        cmp = int16_t(a < b ? -1 : a > b ? 1 : 0);
    };
    g.setSort(ax::flex::SortCustom);
    EXPECT_EQ(column(g, 1), (Texts{"1", "1", "2", "3"}));
    EXPECT_EQ(column(g, 2), (Texts{"1", "3", "2", "0"}));  // equal rows keep their order
    ASSERT_FALSE(asked.empty());
    for (auto [a, b] : asked) {
        EXPECT_GE(a, 1);
        EXPECT_LE(b, 4);
        EXPECT_NE(a, b);
    }

    // A host that puts every later row first reverses the rows: its answer alone decides.
    g.onCompare = [&](int32_t r1, int32_t r2, int16_t& cmp) { cmp = int16_t(r1 < r2 ? 1 : -1); };
    g.setSort(ax::flex::SortCustom);
    EXPECT_EQ(column(g, 1), (Texts{"3", "2", "1", "1"}));

    // Without a handler every pair compares equal and nothing moves.
    g.onCompare = nullptr;
    g.setSort(ax::flex::SortCustom);
    EXPECT_EQ(column(g, 1), (Texts{"3", "2", "1", "1"}));

    // A host that answers at random still gets every row back exactly once.
    Texts many;
    for (int i = 0; i < 200; ++i) many.push_back(std::to_string(i));
    load(g, many);
    std::mt19937 rng(7);
    g.onCompare = [&](int32_t, int32_t, int16_t& cmp) { cmp = int16_t(int(rng() % 3) - 1); };
    g.setSort(ax::flex::SortCustom);
    Texts after = column(g, 1);
    std::sort(after.begin(), after.end());
    std::sort(many.begin(), many.end());
    EXPECT_EQ(after, many);
}
