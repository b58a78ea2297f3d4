#pragma once
// A static 2-d tree over the finite points of a node list, answering "which
// node is nearest" in logarithmic time with the exact result of a scan in
// insertion order: the smallest squared distance wins, and among equal
// distances the node added first. Nodes with a NaN or infinite coordinate
// are kept aside (Unindexed) for the caller to scan, because no distance
// bound holds for them.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "geometry/locator_node.h"

namespace veldrane {

class NearestPointIndex {
 public:
  // Rebuilds the tree over `nodes`; positions refer to that vector.
  void Build(const std::vector<LocatorNode>& nodes);
  void Clear();

  // Improves (bestDistance, bestPosition) with the indexed nodes: a node
  // replaces the best when its squared distance to (x, y) is smaller, or
  // equal with an earlier position. (x, y) must be finite. The best may
  // start at +infinity with position SIZE_MAX.
  void Improve(double x, double y, double& bestDistance, std::size_t& bestPosition) const;

  // Positions of the nodes that are not in the tree, ascending.
  const std::vector<std::size_t>& Unindexed() const { return unindexed_; }

 private:
  struct Entry {
    double x;
    double y;
    std::size_t position;
  };

  void BuildRange(std::size_t lo, std::size_t hi);
  void Search(std::size_t lo, std::size_t hi, double x, double y, double& bestDistance,
              std::size_t& bestPosition) const;

  // Entries in tree order: the median of each range splits it, across the
  // wider extent of the range (survey lines are long and thin, so
  // alternating axes would cut most ranges along their length).
  std::vector<Entry> entries_;
  // Per splitting entry (by its position in entries_): true to split on x.
  std::vector<bool> splitOnX_;
  std::vector<std::size_t> unindexed_;
};

}  // namespace veldrane
