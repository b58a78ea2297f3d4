#include "readers/em/em_compact_tag.h"

#include <charconv>
#include <cstring>
#include <new>

namespace veldrane {

CompactTag::CompactTag(const CompactTag& other) {
  Scratch scratch;
  Assign(other.View(scratch));
}

CompactTag& CompactTag::operator=(const CompactTag& other) {
  if (this != &other) {
    CompactTag copy(other);
    std::swap(bits_, copy.bits_);
  }
  return *this;
}

CompactTag& CompactTag::operator=(CompactTag&& other) noexcept {
  if (this != &other) {
    Release();
    bits_ = other.bits_;
    other.bits_ = kEmpty;
  }
  return *this;
}

std::string_view CompactTag::View(Scratch& scratch) const {
  const std::uint64_t kind = Kind();
  if (kind >= kInline) {
    const std::size_t length = static_cast<std::size_t>(kind - kInline);
    for (std::size_t i = 0; i < length; ++i) scratch[i] = static_cast<char>(bits_ >> (8 * i));
    return {scratch.data(), length};
  }
  if (kind >= kNumber) {
    char* out = scratch.data();
    if (kind & 1) *out++ = '-';
    out = std::to_chars(out, scratch.data() + scratch.size(), bits_ & kLowMask).ptr;
    return {scratch.data(), static_cast<std::size_t>(out - scratch.data())};
  }
  const char* block = HeapBlock();
  std::uint64_t size = 0;
  std::memcpy(&size, block, sizeof(size));
  return {block + sizeof(size), static_cast<std::size_t>(size)};
}

std::string CompactTag::Str() const {
  Scratch scratch;
  return std::string(View(scratch));
}

bool CompactTag::Number(std::int64_t& value, std::size_t& textLength) const {
  const std::uint64_t kind = Kind();
  if (kind < kNumber || kind >= kInline) return false;
  const std::uint64_t magnitude = bits_ & kLowMask;
  const bool negative = (kind & 1) != 0;
  value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  textLength = negative ? 2 : 1;
  for (std::uint64_t rest = magnitude / 10; rest != 0; rest /= 10) ++textLength;
  return true;
}

bool CompactTag::AssignNumber(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  const std::string_view digits = text.substr(negative ? 1 : 0);
  if (digits.empty() || digits.size() > kNumberDigits) return false;
  // Only text that writing the value out gives back: no leading zeros, no "-0".
  if (digits.front() == '0' && (digits.size() > 1 || negative)) return false;
  std::uint64_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  bits_ = ((kNumber | (negative ? 1 : 0)) << kKindShift) | value;  // 16 digits fit the 56 bits
  return true;
}

void CompactTag::Assign(std::string_view text) {
  if (AssignNumber(text)) return;
  if (text.size() <= kInlineChars) {
    std::uint64_t bits = (kInline + text.size()) << kKindShift;
    for (std::size_t i = 0; i < text.size(); ++i)
      bits |= static_cast<std::uint64_t>(static_cast<unsigned char>(text[i])) << (8 * i);
    bits_ = bits;
    return;
  }
  const std::uint64_t size = text.size();
  char* block = new char[sizeof(size) + text.size()];
  const auto address = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(block));
  if ((address >> kKindShift) != 0) {
    // Only an address space wider than 56 bits could do this.
    delete[] block;
    throw std::bad_alloc();
  }
  std::memcpy(block, &size, sizeof(size));
  std::memcpy(block + sizeof(size), text.data(), text.size());
  bits_ = (kHeap << kKindShift) | address;
}

void CompactTag::Release() {
  if (Kind() == kHeap) delete[] HeapBlock();
  bits_ = kEmpty;
}

}  // namespace veldrane
