#include "tovrel/frame/rebar_fitting.h"

#include <commctrl.h>

#include <algorithm>

namespace tovrel {

int FirstChildTop(const std::vector<RECT>& children, int x, int clientHeight) {
  int first = -1;
  for (const RECT& r : children) {
    if (x < r.left || x >= r.right) continue;
    const int top = std::max<int>(r.top, 0);
    if (top >= r.bottom || top > clientHeight) continue;
    if (first == -1 || top < first) first = top;
  }
  return first;
}

FillFit FitFillBand(int clientHeight, int childTop, int savedOffset, int otherRows) {
  FillFit fit = {};
  fit.offset = savedOffset;
  fit.savedOffset = savedOffset;
  if (childTop >= 0) {
    fit.offset = clientHeight - childTop + 5;
    if (fit.savedOffset == 0) fit.savedOffset = fit.offset;
  }
  // A parent lower than the rows and the gap would ask for a negative height, which the
  // control would take as a huge unsigned one.
  fit.cyMinChild = std::max(0, clientHeight - fit.offset - otherRows);
  return fit;
}

FollowFit FitFollowBand(const std::vector<FitBandState>& bands, size_t index) {
  const FitBandState& band = bands[index];
  FollowFit fit = {false, band.cyMinChild, band.savedOwnMinChild, false};
  const FitBandState* partner = nullptr;
  for (size_t j = 0; j < bands.size(); ++j) {
    const FitBandState& other = bands[j];
    if (j == index || (other.style & RBBS_HIDDEN)) continue;
    if (!(other.style & (RebarFillBandBits | RebarFollowBand)) || other.top != band.top) continue;
    partner = &other;
  }
  if (partner) {
    if (band.hasRecord && fit.savedOwnMinChild == 0) fit.savedOwnMinChild = band.cyMinChild;
    fit.cyMinChild = partner->cyMinChild;
    fit.changed = true;
  } else if (band.hasRecord && band.savedOwnMinChild != 0) {
    fit.cyMinChild = band.savedOwnMinChild;
    fit.savedOwnMinChild = 0;
    fit.changed = true;
    fit.refitAll = true;
  }
  return fit;
}

}  // namespace tovrel
