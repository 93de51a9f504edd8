// Sorting rows of the headless grid. Keys are read once per row before sorting, so the comparisons
// touch only small records; rows then move as whole records (texts, data and formats go along).
#include <algorithm>
#include <charconv>
#include <numeric>
#include <string_view>

#include "platform/flexgrid/flexgrid_errors.h"
#include "platform/flexgrid/headless_flexgrid.h"

namespace ax {

namespace {

struct Key {
    double number = 0;
    std::string_view text;
    uint8_t kind = 0;  // generic sort: 0 empty, 1 number, 2 text
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The number at the start of a text, after blanks ("12abc" gives 12, "x" gives 0); with whole set,
// only a text that is entirely a number (blanks around it allowed) counts.
bool readNumber(std::string_view s, double& out, bool whole) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    size_t start = i;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    size_t digits = i;
    while (i < s.size() && isDigit(s[i])) ++i;
    bool any = i > digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        size_t frac = i;
        while (i < s.size() && isDigit(s[i])) ++i;
        any = any || i > frac;
    }
    if (!any) {
        out = 0;
        return false;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t e = i + 1;
        if (e < s.size() && (s[e] == '-' || s[e] == '+')) ++e;
        if (e < s.size() && isDigit(s[e])) {
            i = e;
            while (i < s.size() && isDigit(s[i])) ++i;
        }
    }
    size_t end = i;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    if (whole && i != s.size()) {
        out = 0;
        return false;
    }
    // from_chars takes no leading '+'.
    size_t from = s[start] == '+' ? start + 1 : start;
    auto res = std::from_chars(s.data() + from, s.data() + end, out);
    if (res.ec != std::errc()) out = 0;
    return true;
}

// Compares without regard to ASCII letter case; other bytes compare as they are.
int compareNoCase(std::string_view a, std::string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x == y) continue;
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int compareKeys(const Key& a, const Key& b, int16_t code) {
    switch (code) {
        case flex::SortGenericAscending:
        case flex::SortGenericDescending:
            if (a.kind != b.kind) return a.kind < b.kind ? -1 : 1;
            if (a.kind == 1) {
                if (a.number != b.number) return a.number < b.number ? -1 : 1;
                return 0;
            }
            return compareNoCase(a.text, b.text);
        case flex::SortNumericAscending:
        case flex::SortNumericDescending:
            return a.number < b.number ? -1 : (b.number < a.number ? 1 : 0);
        case flex::SortStringNoCaseAscending:
        case flex::SortStringNoCaseDescending:
            return compareNoCase(a.text, b.text);
        default: {
            int c = a.text.compare(b.text);
            return c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
    }
}

// A stable merge sort that asks `before(a, b)` at most once per comparison and stays in bounds
// whatever the answers are, since a host's Compare handler need not be consistent.
template <class Before>
void mergeSort(std::vector<int32_t>& v, Before before) {
    std::vector<int32_t> buf(v.size());
    for (size_t width = 1; width < v.size(); width *= 2) {
        for (size_t lo = 0; lo < v.size(); lo += 2 * width) {
            size_t mid = std::min(lo + width, v.size()), hi = std::min(lo + 2 * width, v.size());
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) buf[k++] = before(v[j], v[i]) ? v[j++] : v[i++];
            while (i < mid) buf[k++] = v[i++];
            while (j < hi) buf[k++] = v[j++];
        }
        v.swap(buf);
    }
}

}  // namespace

void HeadlessFlexGrid::setSort(int16_t code) {
    if (code < flex::SortNone || code > flex::SortCustom) flexerr::raise(flexerr::InvalidPropertyValue);
    if (code == flex::SortNone) return;
    sortRows(code);
}

// Sorts the rows from Row to RowSel (every scrollable row when they are the same row) with the columns
// from Col to ColSel as keys, left to right.
void HeadlessFlexGrid::sortRows(int16_t code) {
    int32_t rows = Rows();
    if (rows == 0 || cols_ == 0 || row_ < 0 || col_ < 0) return;
    int32_t r0 = std::min(row_, rowSel_), r1 = std::max(row_, rowSel_);
    if (r0 == r1) {
        r0 = fixedRows_;
        r1 = rows - 1;
    }
    r0 = std::max(r0, fixedRows_);
    if (r1 - r0 < 1) return;
    int32_t c0 = std::min(col_, colSel_), c1 = std::max(col_, colSel_);
    size_t n = size_t(r1 - r0 + 1), k = size_t(c1 - c0 + 1);

    // Positions 0..n-1 stand for rows r0..r1.
    std::vector<int32_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    if (code == flex::SortCustom) {
        // The handler is told row numbers as they are before the sort; rows move only afterwards.
        mergeSort(order, [&](int32_t a, int32_t b) {
            int16_t cmp = 0;
            fire(onCompare, r0 + a, r0 + b, cmp);
            return cmp < 0;
        });
    } else {
        std::vector<Key> keys(n * k);
        bool generic = code <= flex::SortGenericDescending, numeric = code == 3 || code == 4;
        for (size_t i = 0; i < n; ++i) {
            for (size_t j = 0; j < k; ++j) {
                Key& key = keys[i * k + j];
                key.text = cell(r0 + int32_t(i), c0 + int32_t(j));
                if (generic) {
                    key.kind = key.text.empty() ? 0 : readNumber(key.text, key.number, true) ? 1 : 2;
                } else if (numeric) {
                    readNumber(key.text, key.number, false);
                }
            }
        }
        bool descending = code % 2 == 0;
        auto cmp = [&](int32_t a, int32_t b) {
            const Key* ka = &keys[size_t(a) * k];
            const Key* kb = &keys[size_t(b) * k];
            for (size_t j = 0; j < k; ++j)
                if (int c = compareKeys(ka[j], kb[j], code)) return c;
            return 0;
        };
        if (descending)
            std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return cmp(a, b) > 0; });
        else
            std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return cmp(a, b) < 0; });
    }
    // A Compare handler that reshaped the grid leaves nothing sensible to reorder.
    if (Rows() != rows) return;
    applyOrder(r0, order);
}

void HeadlessFlexGrid::applyOrder(int32_t first, const std::vector<int32_t>& order) {
    std::vector<RowInfo> moved(order.size());
    for (size_t i = 0; i < order.size(); ++i) moved[i] = rows_[size_t(first + order[i])];
    std::copy(moved.begin(), moved.end(), rows_.begin() + first);
    rowsChanged();
    noteAllTexts();
    invalidate();
}

}  // namespace ax
