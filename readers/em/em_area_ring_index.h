#pragma once
// Point-in-ring answers for one ring, the same as the geometry validator's
// ray-crossing test gives, without visiting every edge for every point.
// A hole of thousands of vertices inside an exterior ring of thousands is
// otherwise checked in time proportional to their product.
//
// The edges are filed into horizontal bands of the ring's y range. A query
// runs the validator's own segment test only on the edges of the band that
// holds its y and whose y range (widened by a small margin) reaches it; any
// other edge lies wholly above or below the horizontal ray, so the segment
// test cannot count it. The margin is many orders of magnitude larger than
// the rounding of the segment test, so an edge just above or below the ray
// is still handed to the exact test. Rings that are small, or whose
// coordinates are not all finite, and query points far outside the ring's
// neighbourhood, use the validator directly.
#include <cstdint>
#include <vector>

namespace veldrane {

class EMAreaRingIndex {
 public:
  // `xs` and `ys` hold the ring's vertices at 0 .. count-1 (and may hold
  // more slots after them); they must outlive the index and not change.
  EMAreaRingIndex(const std::vector<double>& xs, const std::vector<double>& ys, std::int32_t count);

  // Whether (x, y) is inside the ring, exactly as
  // GeometryValidator::IsPointInPolygon(x, y, count, xs, ys) says.
  bool Contains(double x, double y) const;

  std::int32_t Count() const { return count_; }

 private:
  bool BuildBands();
  bool ContainsFull(double x, double y) const;
  bool EdgeCrossesRay(std::int32_t edge, double x, double y) const;

  const std::vector<double>& xs_;
  const std::vector<double>& ys_;
  std::int32_t count_;
  bool banded_ = false;
  double minX_ = 0, maxX_ = 0, minY_ = 0, maxY_ = 0;
  double margin_ = 0;   // how close to the ray an edge counts as reaching it
  double reach_ = 0;    // queries farther than this from the ring go the slow way
  double bandHeight_ = 0;
  std::vector<std::int32_t> bandStart_;  // edges of band b: bandEdges_[bandStart_[b] .. bandStart_[b+1])
  std::vector<std::int32_t> bandEdges_;
};

}  // namespace veldrane
