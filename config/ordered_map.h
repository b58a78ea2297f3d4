#pragma once
// A keyed map that keeps entries in the order they were first added. Keys
// compare exactly as stored. Used for the benchmark and gage tables, custom
// point codes, value domains and class maps.
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace veldrane {

template <class V>
class OrderedMap {
 public:
  bool Contains(const std::string& key) const { return index_.count(key) != 0; }
  // Adds a new key at the end; returns false (and changes nothing) when the
  // key is already present.
  bool Add(const std::string& key, V value) {
    if (Contains(key)) return false;
    index_.emplace(key, entries_.size());
    entries_.emplace_back(key, std::move(value));
    return true;
  }
  // Adds or replaces, keeping the first position of the key.
  void Set(const std::string& key, V value) {
    const auto it = index_.find(key);
    if (it == index_.end()) {
      Add(key, std::move(value));
    } else {
      entries_[it->second].second = std::move(value);
    }
  }
  const V* Find(const std::string& key) const {
    const auto it = index_.find(key);
    return it == index_.end() ? nullptr : &entries_[it->second].second;
  }
  V* Find(const std::string& key) {
    const auto it = index_.find(key);
    return it == index_.end() ? nullptr : &entries_[it->second].second;
  }
  void Clear() {
    index_.clear();
    entries_.clear();
  }
  std::size_t Size() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  const std::vector<std::pair<std::string, V>>& Entries() const { return entries_; }

 private:
  std::unordered_map<std::string, std::size_t> index_;
  std::vector<std::pair<std::string, V>> entries_;
};

}  // namespace veldrane
