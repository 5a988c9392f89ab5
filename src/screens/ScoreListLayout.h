#pragma once

#include <cstddef>

// Where the high-score list stands on its picture. The picture's generator draws the list's
// panel around these same numbers, so the two cannot drift apart.
namespace score_list {

// Two columns of fourteen rows.
constexpr std::size_t kRowsPerColumn = 14;
constexpr int kColumnX[] = {50, 300};
constexpr std::size_t kColumns = sizeof kColumnX / sizeof kColumnX[0];
constexpr int kFirstRowY = 60;
constexpr int kRowSpacing = 30;

// The inner right edge of the panel the list is drawn on, short of the window's right edge.
constexpr int kPanelInnerRight = 630;

// Room left between the end of a line and the next column, so that a long line never reads on
// into the points of the line beside it.
constexpr int kColumnGutter = 12;

// Where a column's text must end: short of the next column by the gutter, the last one at the
// panel's edge.
constexpr int ColumnRight(std::size_t column) {
    return column + 1 < kColumns ? kColumnX[column + 1] - kColumnGutter : kPanelInnerRight;
}

}  // namespace score_list
