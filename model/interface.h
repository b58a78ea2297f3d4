#pragma once
// Root of every model interface. Objects are shared by reference counting
// (std::shared_ptr); "does this object implement IFoo" is a dynamic_cast.
namespace veldrane {

class IInterface {
 public:
  virtual ~IInterface() = default;
};

template <class I>
const I* As(const IInterface* object) {
  return dynamic_cast<const I*>(object);
}

}  // namespace veldrane
