#pragma once
// The text a surveyed point is tagged with, in 8 bytes: a large survey holds
// millions of points and the tag is part of every one.
//
// Most tags are point numbers ("1001"). A whole number written the plain
// way (digits with no leading zero, a minus sign at most) of up to 16
// digits is kept as its value and written out again when asked for, which
// gives back the same text. Other text of up to 7 characters is kept
// inline; longer text on the heap behind a size prefix.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace veldrane {

class CompactTag {
 public:
  // Room to write out a tag kept as a number.
  using Scratch = std::array<char, 24>;

  CompactTag() = default;
  explicit CompactTag(std::string_view text) { Assign(text); }
  CompactTag(const CompactTag& other);
  CompactTag(CompactTag&& other) noexcept : bits_(other.bits_) { other.bits_ = kEmpty; }
  CompactTag& operator=(const CompactTag& other);
  CompactTag& operator=(CompactTag&& other) noexcept;
  ~CompactTag() { Release(); }

  // The text; it may live in `scratch`, so it is valid as long as both are.
  std::string_view View(Scratch& scratch) const;
  std::string Str() const;
  // When the tag was kept as a number: its value and the length of its text.
  bool Number(std::int64_t& value, std::size_t& textLength) const;

 private:
  // The top byte says how the other seven hold the tag.
  static constexpr std::uint64_t kKindShift = 56;
  static constexpr std::uint64_t kLowMask = (std::uint64_t{1} << kKindShift) - 1;
  static constexpr std::uint64_t kInline = 0x80;    // | length: the text's bytes
  static constexpr std::uint64_t kNumber = 0x40;    // | 1 when negative: the magnitude
  static constexpr std::uint64_t kHeap = 0x00;      // a pointer to size and text
  static constexpr std::uint64_t kEmpty = kInline << kKindShift;
  static constexpr std::size_t kInlineChars = 7;
  static constexpr std::size_t kNumberDigits = 16;

  void Assign(std::string_view text);
  bool AssignNumber(std::string_view text);
  void Release();
  std::uint64_t Kind() const { return bits_ >> kKindShift; }
  const char* HeapBlock() const { return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(bits_ & kLowMask)); }

  std::uint64_t bits_ = kEmpty;
};
static_assert(sizeof(CompactTag) == 8);

}  // namespace veldrane
