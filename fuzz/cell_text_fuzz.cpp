// Texts entering a grid's cells through each input style: written by the host (TextMatrix, Text) and
// typed by the user into the editor that opens over a cell. The input's first bytes choose the column
// kinds and their settings, the rest is a series of writes and typing. A host write leaves the cell
// with what the column's rule allows; nothing raises but automation errors.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/flexgrid/flexgrid.h"
#include "platform/host/child.h"

namespace {

constexpr int32_t kCols = 4, kRows = 5;  // one fixed row and column

const char* const kMasks[] = {"", "##/##/####", "(###) ###-####", "&&&&", "AAA-999", "?#?#", "CCCC", ">LLL<ll", "\\##.##"};

struct Column {
    int32_t kind = vantrel::TextBox;
    int16_t limit = 0, min = -32768, max = 32767;
    std::vector<std::string> items;
};

void setUpColumn(vantrel::Vantrel& grid, fuzzsupport::Bytes& in, int32_t col, Column& column) {
    grid.setCol(col);
    column.kind = int32_t(in.below(9));
    grid.setColInputStyle(column.kind);
    column.kind = grid.ColInputStyle();
    grid.setColTextMaxLength(int16_t(in.between(-1, 70)));
    column.limit = grid.ColTextMaxLength();
    grid.setColMaskEditMask(kMasks[in.below(std::size(kMasks))]);
    const int16_t a = int16_t(in.between(-32768, 32767)), b = int16_t(in.between(-32768, 32767));
    grid.setColZelPickerMax(std::max(a, b));
    grid.setColZelPickerMin(std::min(a, b));
    column.min = grid.ColZelPickerMin();
    column.max = grid.ColZelPickerMax();
    grid.setColDTPickFormat(in.between(-1, 4));
    for (uint32_t n = in.below(4); n > 0; --n) {
        int32_t index = -12321;
        std::string text = in.text(12), data;
        ax::Variant image, selImage;
        int16_t indentation = 0;
        grid.ComboAddItem(index, text, image, selImage, data, indentation);
        column.items.push_back(text);
    }
}

// What a host write may leave in a cell of the column, given the text it had and the text written.
bool allowedAfterWrite(const Column& column, const std::string& before, const std::string& written,
                       const std::string& after) {
    const std::string limited = column.limit >= 1 ? ax::leftChars(written, size_t(column.limit)) : written;
    switch (column.kind) {
        case vantrel::None:
            return after == written;
        case vantrel::TextBox:
        case vantrel::ComboBox:
        case vantrel::ImageCombo:
            return after == limited;
        case vantrel::ComboDropDown:
            return after == before || (after == limited && std::find(column.items.begin(), column.items.end(), written) != column.items.end());
        case vantrel::CheckBox:
            return after == "0" || after == "1";
        case vantrel::ZelPicker: {
            if (after == before) return true;
            const auto n = ax::parseNumber(after);
            return n && *n >= column.min && *n <= column.max && ax::decimalText(int64_t(*n)) == after;
        }
        default:
            return true;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsupport::Bytes in(data, size);
    auto host = fuzzsupport::makeHost();
    host->setUserMode(true);
    auto grid = std::make_shared<vantrel::Vantrel>();
    host->place(grid, 6000, 2400);
    try {
        grid->setCols(kCols);
        grid->setRows(kRows);
        grid->setMaintainData(in.flag());
        Column columns[kCols];
        for (int32_t c = 1; c < kCols; ++c) setUpColumn(*grid, in, c, columns[c]);
        ax::FlexGrid& inner = grid->innerGrid();
        for (int step = 0; step < 64 && !in.empty(); ++step) {
            const int32_t row = in.between(1, kRows - 1), col = in.between(1, kCols - 1);
            switch (in.below(5)) {
                case 0:
                case 1: {
                    const std::string text = in.text(80);
                    if (!grid->NoEditorVisible()) host->setFocus(&inner);  // an open editor closes first
                    const std::string before = grid->TextMatrix(row, col);
                    grid->setTextMatrix(row, col, text);
                    if (!allowedAfterWrite(columns[col], before, text, grid->TextMatrix(row, col))) std::abort();
                    break;
                }
                case 2:
                    grid->setRow(row);
                    grid->setCol(col);
                    grid->setText(in.text(80));
                    break;
                default: {
                    // The user picks the cell with a click and types; the first key opens the editor.
                    grid->setRow(row);
                    grid->setCol(col);
                    host->setFocus(&inner);
                    host->typeText(in.text(40));
                    const int16_t endings[] = {ax::key::Return, ax::key::Escape, ax::key::Tab, ax::key::Down, ax::key::F4};
                    host->typeKey(endings[in.below(std::size(endings))]);
                    break;
                }
            }
        }
    } catch (const ax::AutomationError&) {
        // A refused value: the host hears of it as an automation error, which is all that may escape.
    }
    return 0;
}
