#include "axis/extent_index.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tavrin {

namespace {

// At most this many columns or rows.
constexpr double kMaximumSide = 1024.0;

std::uint32_t cellIndex(double offset, double cellSize, std::uint32_t count) {
  const double cell = std::floor(offset / cellSize);
  if (!(cell > 0.0)) return 0;
  if (cell >= static_cast<double>(count - 1)) return count - 1;
  return static_cast<std::uint32_t>(cell);
}

}  // namespace

ExtentIndex::ExtentIndex(std::vector<ExtentBox> boxes)
    : boxes_(std::move(boxes)), aside_(boxes_.size(), true), seen_(boxes_.size(), 0) {
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  std::size_t bounded = 0;
  for (const ExtentBox& box : boxes_) {
    if (box.everywhere) continue;
    minX = std::min(minX, box.minX);
    minY = std::min(minY, box.minY);
    maxX = std::max(maxX, box.maxX);
    maxY = std::max(maxY, box.maxY);
    ++bounded;
  }
  const double width = maxX - minX, height = maxY - minY;
  if (bounded > 0 && std::isfinite(width) && std::isfinite(height)) {
    // About one cell per box, shaped like the bounds.
    const double n = static_cast<double>(bounded);
    const double w = std::max(width, height * 1e-6) + 1e-300;
    const double h = std::max(height, width * 1e-6) + 1e-300;
    const double columns = std::clamp(std::round(std::sqrt(n * w / h)), 1.0, kMaximumSide);
    const double rows = std::clamp(std::round(n / columns), 1.0, kMaximumSide);
    columns_ = static_cast<std::uint32_t>(columns);
    rows_ = static_cast<std::uint32_t>(rows);
    originX_ = minX;
    originY_ = minY;
    cellWidth_ = w / columns;
    cellHeight_ = h / rows;

    const std::size_t cells = std::size_t{columns_} * rows_;
    const std::size_t maximumCover = std::max<std::size_t>(64, cells / 16);
    cellStart_.assign(cells + 1, 0);
    for (std::uint32_t i = 0; i < size(); ++i) {
      const ExtentBox& box = boxes_[i];
      if (box.everywhere) continue;
      const CellRange r = cellsOf(box);
      if (std::size_t{r.x1 - r.x0 + 1} * (r.y1 - r.y0 + 1) > maximumCover) continue;
      aside_[i] = false;
      for (std::uint32_t y = r.y0; y <= r.y1; ++y)
        for (std::uint32_t x = r.x0; x <= r.x1; ++x)
          ++cellStart_[std::size_t{y} * columns_ + x + 1];
    }
    for (std::size_t c = 0; c < cells; ++c) cellStart_[c + 1] += cellStart_[c];
    cellBoxes_.resize(cellStart_[cells]);
    std::vector<std::uint32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
    for (std::uint32_t i = 0; i < size(); ++i) {
      if (aside_[i]) continue;
      const CellRange r = cellsOf(boxes_[i]);
      for (std::uint32_t y = r.y0; y <= r.y1; ++y)
        for (std::uint32_t x = r.x0; x <= r.x1; ++x)
          cellBoxes_[fill[std::size_t{y} * columns_ + x]++] = i;
    }
  }
  for (std::uint32_t i = 0; i < size(); ++i)
    if (aside_[i]) asideList_.push_back(i);
}

ExtentIndex::CellRange ExtentIndex::cellsOf(const ExtentBox& box) const {
  return {cellIndex(box.minX - originX_, cellWidth_, columns_),
          cellIndex(box.minY - originY_, cellHeight_, rows_),
          cellIndex(box.maxX - originX_, cellWidth_, columns_),
          cellIndex(box.maxY - originY_, cellHeight_, rows_)};
}

void ExtentIndex::overlapping(std::uint32_t i, std::vector<std::uint32_t>& out) {
  out.clear();
  const ExtentBox& box = boxes_[i];
  if (aside_[i]) {
    for (std::uint32_t j = 0; j < size(); ++j)
      if (box.overlaps(boxes_[j])) out.push_back(j);
    return;
  }
  if (++query_ == 0) {
    std::fill(seen_.begin(), seen_.end(), 0);
    query_ = 1;
  }
  const CellRange r = cellsOf(box);
  for (std::uint32_t y = r.y0; y <= r.y1; ++y) {
    for (std::uint32_t x = r.x0; x <= r.x1; ++x) {
      const std::size_t cell = std::size_t{y} * columns_ + x;
      for (std::uint32_t k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k) {
        const std::uint32_t j = cellBoxes_[k];
        if (seen_[j] == query_) continue;
        seen_[j] = query_;
        if (box.overlaps(boxes_[j])) out.push_back(j);
      }
    }
  }
  for (std::uint32_t j : asideList_)
    if (box.overlaps(boxes_[j])) out.push_back(j);
  std::sort(out.begin(), out.end());
}

}  // namespace tavrin
