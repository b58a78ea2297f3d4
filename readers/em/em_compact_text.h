#pragma once
// Compact text storage for the millions of surveyed points a large file
// holds: a point code is an interned, shared, immutable entry that also
// carries the code's description, so every point with code "TOE" shares one
// copy.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace veldrane {

// An immutable point code with its description and the vertical adjustment
// in force where the point was read, shared by reference count: a survey's
// points take few distinct pairs of code and adjustment, so the adjustment
// costs a point nothing.
class PointCode {
 public:
  PointCode(std::string code, std::string description, double verticalAdjustment = 0)
      : code_(std::move(code)), description_(std::move(description)), verticalAdjustment_(verticalAdjustment) {}
  const std::string& Code() const { return code_; }
  const std::string& Description() const { return description_; }
  double VerticalAdjustment() const { return verticalAdjustment_; }

 private:
  friend class PointCodeRef;
  mutable std::atomic<std::uint32_t> refs_{0};
  std::string code_;
  std::string description_;
  double verticalAdjustment_;
};

// An 8-byte handle to a PointCode; null means no code and no vertical
// adjustment. A handle normally shares ownership of its entry by reference
// count. A borrowed handle does not count: it serves where something else
// keeps the entry alive for at least as long (the survey's point arena keeps
// every entry of its read), which spares millions of points an atomic
// count each. Copying any handle gives a counting one.
class PointCodeRef {
 public:
  PointCodeRef() = default;
  explicit PointCodeRef(const PointCode* code) : bits_(reinterpret_cast<std::uintptr_t>(code)) { Retain(); }
  PointCodeRef(const PointCodeRef& other) : PointCodeRef(other.get()) {}
  PointCodeRef(PointCodeRef&& other) noexcept : bits_(other.bits_) { other.bits_ = 0; }
  PointCodeRef& operator=(PointCodeRef other) noexcept {
    std::swap(bits_, other.bits_);
    return *this;
  }
  ~PointCodeRef() {
    if ((bits_ & kBorrowed) != 0) return;
    const PointCode* code = get();
    if (code && code->refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete code;
  }
  static PointCodeRef Make(std::string code, std::string description, double verticalAdjustment = 0) {
    return PointCodeRef(new PointCode(std::move(code), std::move(description), verticalAdjustment));
  }
  // A handle that does not count; `code` must outlive it.
  static PointCodeRef Borrow(const PointCode* code) {
    PointCodeRef ref;
    if (code) ref.bits_ = reinterpret_cast<std::uintptr_t>(code) | kBorrowed;
    return ref;
  }
  const PointCode* get() const { return reinterpret_cast<const PointCode*>(bits_ & ~kBorrowed); }
  std::string_view Code() const { return get() ? std::string_view(get()->Code()) : std::string_view(); }
  std::string_view Description() const { return get() ? std::string_view(get()->Description()) : std::string_view(); }
  double VerticalAdjustment() const { return get() ? get()->VerticalAdjustment() : 0.0; }

 private:
  static constexpr std::uintptr_t kBorrowed = 1;  // entries are aligned, so the low bit is free
  static_assert(alignof(PointCode) > kBorrowed);
  void Retain() {
    if (const PointCode* code = get()) code->refs_.fetch_add(1, std::memory_order_relaxed);
  }
  std::uintptr_t bits_ = 0;
};
static_assert(sizeof(PointCodeRef) == sizeof(void*));

// The codes of one read, each pair of code and vertical adjustment stored
// once. The description is fixed when a code is first seen (the code
// dictionary does not change during a read).
class PointCodeTable {
 public:
  // The table's own entry for the pair (null for no code and no
  // adjustment), valid while the table keeps it; `created`, when given, tells
  // whether it was made just now.
  template <class DescribeFn>
  const PointCode* Intern(std::string_view code, double verticalAdjustment, DescribeFn&& describe,
                          bool* created = nullptr) {
    if (created != nullptr) *created = false;
    std::uint64_t adjustment = 0;
    std::memcpy(&adjustment, &verticalAdjustment, sizeof(adjustment));
    if (code.empty() && adjustment == 0) return nullptr;
    const std::uint64_t hash = Hash(code, adjustment);
    if (Slot* found = Find(code, adjustment, hash); found != nullptr && found->ref.get() != nullptr)
      return found->ref.get();
    auto ref = PointCodeRef::Make(std::string(code), describe(code), verticalAdjustment);
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    Slot* slot = Find(code, adjustment, hash);
    slot->hash = hash;
    slot->adjustment = adjustment;
    slot->ref = std::move(ref);
    ++count_;
    if (created != nullptr) *created = true;
    return slot->ref.get();
  }
  void Clear() {
    slots_.clear();
    count_ = 0;
  }

 private:
  // Every coordinate line looks its code up, so the table is a flat one
  // with a cheap hash rather than a node-based map.
  struct Slot {
    std::uint64_t hash = 0;
    std::uint64_t adjustment = 0;  // the bits of the vertical adjustment
    PointCodeRef ref;
  };
  static std::uint64_t Hash(std::string_view text, std::uint64_t adjustment) {
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (const char c : text) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return (h ^ adjustment ^ (adjustment >> 29)) * 1099511628211ull;
  }
  // The slot holding the pair, else the empty slot where it belongs; null
  // when the table has no slots yet.
  Slot* Find(std::string_view code, std::uint64_t adjustment, std::uint64_t hash) {
    if (slots_.empty()) return nullptr;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      Slot& slot = slots_[i];
      if (slot.ref.get() == nullptr ||
          (slot.hash == hash && slot.adjustment == adjustment && slot.ref.Code() == code))
        return &slot;
    }
  }
  void Grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
    for (Slot& entry : old) {
      if (entry.ref.get() == nullptr) continue;
      *Find(entry.ref.Code(), entry.adjustment, entry.hash) = std::move(entry);
    }
  }

  std::vector<Slot> slots_;  // a power of two, at most half full
  std::size_t count_ = 0;
};

// Immutable text shared between objects that carry the same value (the
// field book of thousands of shot points, their common description).
using SharedText = std::shared_ptr<const std::string>;
inline SharedText MakeSharedText(std::string text) { return std::make_shared<const std::string>(std::move(text)); }
inline const std::string& TextOf(const SharedText& text) {
  static const std::string kEmpty;
  return text ? *text : kEmpty;
}

}  // namespace veldrane
