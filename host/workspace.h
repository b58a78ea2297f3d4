#pragma once
// A host workspace as the data source sees one: a folder path (the target
// of a dataset copy).
#include <string>

namespace veldrane {

class HostWorkspace {
 public:
  explicit HostWorkspace(std::string pathName) : pathName_(std::move(pathName)) {}
  const std::string& PathName() const { return pathName_; }

 private:
  std::string pathName_;
};

}  // namespace veldrane
