#pragma once
// Writes JSON as it is produced, without building a document first: a dump
// of a million-point survey stays about the size of the survey in memory.
// The text is byte for byte what nlohmann::json::dump(2) (pretty) or
// dump(-1) (compact) prints for the same values with error_handler_t::replace,
// so documents written either way can be compared.
//
// The caller nests Begin/End calls correctly and names every member of an
// object with Key() before its value; the writer does not check.
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace veldrane {

class JsonWriter {
 public:
  // `pretty`: two-space indentation and "key": value, as dump(2).
  JsonWriter(std::ostream& out, bool pretty);
  // Flushes what is still buffered.
  ~JsonWriter();
  JsonWriter(const JsonWriter&) = delete;
  JsonWriter& operator=(const JsonWriter&) = delete;

  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  // The name of the next member of the current object.
  JsonWriter& Key(std::string_view key);

  void String(std::string_view text);
  // Non-finite numbers have no JSON form: they are written as null.
  void Number(double value);
  void Integer(std::int64_t value);
  void Bool(bool value);
  void Null();

  // Hands the buffered text to the stream.
  void Flush();

 private:
  void BeginValue();
  void Begin(char open);
  void End(char close);
  void Raw(std::string_view text) { buffer_.append(text); }
  void Quoted(std::string_view text);
  void FlushWhenFull();

  std::ostream& out_;
  bool pretty_;
  bool afterKey_ = false;
  std::string buffer_;
  // Members or elements written so far in each open object or array.
  std::vector<std::size_t> counts_;
};

}  // namespace veldrane
