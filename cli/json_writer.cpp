#include "cli/json_writer.h"

#include <array>
#include <charconv>
#include <cmath>

#include <nlohmann/json.hpp>

namespace veldrane {
namespace {

constexpr std::size_t kFlushSize = 1 << 16;

// Needs no escaping: printable ASCII other than the quote and the backslash.
bool IsPlain(std::string_view text) {
  for (const char c : text)
    if (c < 0x20 || c > 0x7e || c == '"' || c == '\\') return false;
  return true;
}

}  // namespace

JsonWriter::JsonWriter(std::ostream& out, bool pretty) : out_(out), pretty_(pretty) { buffer_.reserve(kFlushSize * 2); }

JsonWriter::~JsonWriter() { Flush(); }

void JsonWriter::Flush() {
  out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  buffer_.clear();
}

void JsonWriter::FlushWhenFull() {
  if (buffer_.size() >= kFlushSize) Flush();
}

// The separator and indentation before a value: none after a key, else a
// comma after the previous element and, when pretty, a new indented line.
void JsonWriter::BeginValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (counts_.empty()) return;
  if (counts_.back()++ > 0) Raw(",");
  if (pretty_) {
    Raw("\n");
    buffer_.append(counts_.size() * 2, ' ');
  }
}

void JsonWriter::Begin(char open) {
  BeginValue();
  buffer_.push_back(open);
  counts_.push_back(0);
}

// An empty object or array closes on the same line ("{}", "[]").
void JsonWriter::End(char close) {
  const bool empty = counts_.back() == 0;
  counts_.pop_back();
  if (pretty_ && !empty) {
    Raw("\n");
    buffer_.append(counts_.size() * 2, ' ');
  }
  buffer_.push_back(close);
  FlushWhenFull();
}

void JsonWriter::BeginObject() { Begin('{'); }
void JsonWriter::EndObject() { End('}'); }
void JsonWriter::BeginArray() { Begin('['); }
void JsonWriter::EndArray() { End(']'); }

JsonWriter& JsonWriter::Key(std::string_view key) {
  BeginValue();
  Quoted(key);
  Raw(pretty_ ? ": " : ":");
  afterKey_ = true;
  return *this;
}

// Text that needs escaping, or that is not ASCII, goes through nlohmann's own
// serialiser, which decides escapes and replaces invalid UTF-8; survey text
// is nearly all plain ASCII, written as it is.
void JsonWriter::Quoted(std::string_view text) {
  if (IsPlain(text)) {
    buffer_.push_back('"');
    buffer_.append(text);
    buffer_.push_back('"');
    return;
  }
  Raw(nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

void JsonWriter::String(std::string_view text) {
  BeginValue();
  Quoted(text);
}

// nlohmann's shortest-round-trip formatting (grisu2, then "%g"-like layout
// with ".0" on whole numbers), called directly so every double prints as it
// does in a dumped document.
void JsonWriter::Number(double value) {
  if (!std::isfinite(value)) return Null();
  BeginValue();
  std::array<char, 64> digits{};
  const char* end = nlohmann::detail::to_chars(digits.data(), digits.data() + digits.size(), value);
  buffer_.append(digits.data(), static_cast<std::size_t>(end - digits.data()));
}

void JsonWriter::Integer(std::int64_t value) {
  BeginValue();
  std::array<char, 24> digits{};
  const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
  buffer_.append(digits.data(), static_cast<std::size_t>(result.ptr - digits.data()));
}

void JsonWriter::Bool(bool value) {
  BeginValue();
  Raw(value ? "true" : "false");
}

void JsonWriter::Null() {
  BeginValue();
  Raw("null");
}

}  // namespace veldrane
