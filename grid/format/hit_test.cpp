// The cell under a point of the inner grid, found from the rows' and columns' positions, sizes and
// visibility; the current cell does not move.
#include "grid/frame/vantrel.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {

// Both edges are strict, so a point on a grid line belongs to neither cell it separates. A row or
// column scrolled out of view may still report a position under the fixed ones: visibility decides.
void Vantrel::GetCellFromScreenCoord(int32_t& lCol, int32_t& lRow, float& x, float& y) {
    lCol = -1;
    lRow = -1;
    try {
        const ax::FlexGrid& g = *FlexGrid_;
        const double px = x, py = y;
        const int32_t rows = g.Rows();
        for (int32_t r = 0; r < rows; ++r) {
            const double top = g.RowPos(r);
            if (py > top && py < top + g.RowHeight(r) && g.RowIsVisible(r)) {
                lRow = r;
                break;
            }
        }
        if (lRow < 0) return;
        const int32_t cols = g.Cols();
        for (int32_t c = 0; c < cols; ++c) {
            if (!g.ColIsVisible(c)) continue;
            const double left = g.ColPos(c);
            if (px > left && px < left + g.ColWidth(c)) {
                lCol = c;
                break;
            }
        }
    } catch (...) {
        // A failing query ends the search; what was found so far stays.
    }
}

}  // namespace vantrel
