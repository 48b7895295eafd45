#pragma once

#include <cstdint>
#include <vector>

namespace tavrin {

// An axis-aligned box in the XY plane, in drawing units. A box that is
// `everywhere` overlaps every box (extents that could not be bounded).
struct ExtentBox {
  double minX = 0.0;
  double minY = 0.0;
  double maxX = 0.0;
  double maxY = 0.0;
  bool everywhere = false;

  // True when the closed boxes share a point, or either is everywhere.
  bool overlaps(const ExtentBox& other) const {
    return everywhere || other.everywhere ||
           (minX <= other.maxX && other.minX <= maxX && minY <= other.maxY && other.minY <= maxY);
  }
};

// Finds the boxes that overlap a given one among a fixed list, through a
// uniform grid of about one cell per box over the boxes' bounds. Boxes
// covering many cells (and unbounded ones) are kept aside and tested one by
// one. Finite boxes must have min <= max.
class ExtentIndex {
 public:
  explicit ExtentIndex(std::vector<ExtentBox> boxes);

  // Replaces `out` by the positions of the boxes overlapping box `i`
  // (including i itself), ascending.
  void overlapping(std::uint32_t i, std::vector<std::uint32_t>& out);

  std::uint32_t size() const { return static_cast<std::uint32_t>(boxes_.size()); }

 private:
  struct CellRange {
    std::uint32_t x0, y0, x1, y1;
  };
  CellRange cellsOf(const ExtentBox& box) const;

  std::vector<ExtentBox> boxes_;
  // Per box: true when it is kept aside instead of in the grid's cells.
  std::vector<bool> aside_;
  std::vector<std::uint32_t> asideList_;
  double originX_ = 0.0, originY_ = 0.0, cellWidth_ = 1.0, cellHeight_ = 1.0;
  std::uint32_t columns_ = 0, rows_ = 0;
  // The boxes of cell c are cellBoxes_[cellStart_[c] .. cellStart_[c + 1]),
  // ascending.
  std::vector<std::uint32_t> cellStart_;
  std::vector<std::uint32_t> cellBoxes_;
  // Last query that saw each box, to report it once.
  std::vector<std::uint32_t> seen_;
  std::uint32_t query_ = 0;
};

}  // namespace tavrin
