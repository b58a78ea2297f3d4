#pragma once
// A set of labelled points answering nearest-point queries. The station and
// offset calculators fill one with the points of a baseline traverse.
//
// Results are those of an exhaustive scan in insertion order (ties go to the
// node added first), but large sets are searched through a 2-d tree so that
// a query costs log n rather than n: a 100,000-point profile is stationed
// against a long baseline one nearest query per profile point.
//
// Not safe for concurrent queries on one object: the tree is built lazily by
// the first query after a change.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "geometry/locator_node.h"
#include "geometry/nearest_point_index.h"

namespace veldrane {

class Locator {
 public:
  void RemoveAllPoints();
  // Ids are whatever the caller supplies; they need not be unique or dense.
  void AddPoint(double x, double y, std::int32_t id);

  // Squared distance and Id of the node nearest to (x, y); among equal
  // distances the node added first. A first node whose distance is NaN is
  // returned as it stands (NaN never compares smaller), and nodes with NaN
  // distances are never chosen over it. Throws std::out_of_range on an empty
  // locator: callers never ask, and answering with a made-up node would hide
  // the mistake.
  void FindClosestPoint(double x, double y, double& distance, std::int32_t& id) const;

  // Ids of the n nodes nearest to (x, y), nearest first. Equal distances come
  // in insertion order and NaN distances last. Throws std::out_of_range when
  // n is negative or larger than the node count.
  std::vector<std::int32_t> FindClosestNPoints(double x, double y, std::int32_t n) const;

  std::size_t Count() const { return nodes_.size(); }
  const std::vector<LocatorNode>& Nodes() const { return nodes_; }

 private:
  void FindClosestByScan(double x, double y, double& distance, std::size_t& position) const;
  void FindClosestByIndex(double x, double y, double& distance, std::size_t& position) const;

  std::vector<LocatorNode> nodes_;
  mutable NearestPointIndex index_;
  mutable bool indexStale_ = true;
};

}  // namespace veldrane
