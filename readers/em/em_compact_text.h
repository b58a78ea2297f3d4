#pragma once
// Compact text storage for the millions of surveyed points a large file
// holds. A point tag fits in 16 bytes (inline up to 15 characters), and a
// point code is an interned, shared, immutable entry that also carries the
// code's description, so every point with code "TOE" shares one copy.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace veldrane {

// A string of 16 bytes: up to 15 characters inline, longer text on the heap.
class CompactString {
 public:
  CompactString() { Reset(); }
  explicit CompactString(std::string_view text) { Assign(text); }
  CompactString(const CompactString& other) { Assign(other.View()); }
  CompactString& operator=(const CompactString& other) {
    if (this != &other) {
      const std::string copy(other.View());  // `other` may alias our heap text
      Release();
      Assign(copy);
    }
    return *this;
  }
  ~CompactString() { Release(); }

  std::string_view View() const {
    if (len_ != kHeap) return {buf_, len_};
    return {HeapPointer(), HeapSize()};
  }
  std::string Str() const { return std::string(View()); }

 private:
  static constexpr unsigned char kHeap = 0xFF;
  static constexpr std::size_t kInline = 15;

  void Reset() {
    std::memset(buf_, 0, sizeof(buf_));
    len_ = 0;
  }
  void Assign(std::string_view text) {
    Reset();
    if (text.size() <= kInline) {
      if (!text.empty()) std::memcpy(buf_, text.data(), text.size());
      len_ = static_cast<unsigned char>(text.size());
      return;
    }
    const auto size = static_cast<std::uint32_t>(text.size() > UINT32_MAX ? UINT32_MAX : text.size());
    char* heap = new char[size];
    std::memcpy(heap, text.data(), size);
    std::memcpy(buf_, &heap, sizeof(heap));
    std::memcpy(buf_ + sizeof(heap), &size, sizeof(size));
    len_ = kHeap;
  }
  void Release() {
    if (len_ == kHeap) delete[] HeapPointer();
    Reset();
  }
  char* HeapPointer() const {
    char* p = nullptr;
    std::memcpy(&p, buf_, sizeof(p));
    return p;
  }
  std::uint32_t HeapSize() const {
    std::uint32_t n = 0;
    std::memcpy(&n, buf_ + sizeof(char*), sizeof(n));
    return n;
  }

  char buf_[kInline];
  unsigned char len_;
};
static_assert(sizeof(CompactString) == 16);

// An immutable point code with its description, shared by reference count.
class PointCode {
 public:
  PointCode(std::string code, std::string description)
      : code_(std::move(code)), description_(std::move(description)) {}
  const std::string& Code() const { return code_; }
  const std::string& Description() const { return description_; }

 private:
  friend class PointCodeRef;
  mutable std::atomic<std::uint32_t> refs_{0};
  std::string code_;
  std::string description_;
};

// An 8-byte owning handle to a PointCode; null means "no code".
class PointCodeRef {
 public:
  PointCodeRef() = default;
  explicit PointCodeRef(const PointCode* code) : code_(code) { Retain(); }
  PointCodeRef(const PointCodeRef& other) : code_(other.code_) { Retain(); }
  PointCodeRef(PointCodeRef&& other) noexcept : code_(other.code_) { other.code_ = nullptr; }
  PointCodeRef& operator=(PointCodeRef other) noexcept {
    std::swap(code_, other.code_);
    return *this;
  }
  ~PointCodeRef() {
    if (code_ && code_->refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete code_;
  }
  static PointCodeRef Make(std::string code, std::string description) {
    return PointCodeRef(new PointCode(std::move(code), std::move(description)));
  }
  const PointCode* get() const { return code_; }
  std::string_view Code() const { return code_ ? std::string_view(code_->Code()) : std::string_view(); }
  std::string_view Description() const {
    return code_ ? std::string_view(code_->Description()) : std::string_view();
  }

 private:
  void Retain() {
    if (code_) code_->refs_.fetch_add(1, std::memory_order_relaxed);
  }
  const PointCode* code_ = nullptr;
};
static_assert(sizeof(PointCodeRef) == sizeof(void*));

// The codes of one read, each stored once. The description is fixed when a
// code is first seen (the code dictionary does not change during a read).
class PointCodeTable {
 public:
  template <class DescribeFn>
  PointCodeRef Intern(std::string_view code, DescribeFn&& describe) {
    if (code.empty()) return {};
    if (const auto it = codes_.find(code); it != codes_.end()) return it->second;
    auto ref = PointCodeRef::Make(std::string(code), describe(code));
    codes_.emplace(ref.Code(), ref);
    return ref;
  }
  void Clear() { codes_.clear(); }

 private:
  // Keys view the text owned by the entries themselves.
  std::unordered_map<std::string_view, PointCodeRef> codes_;
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
