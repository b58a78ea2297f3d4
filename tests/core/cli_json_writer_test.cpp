// The streaming JSON writer prints what nlohmann::json::dump prints for the
// same document, pretty (indent 2) and compact, so `veldrane dump` output did
// not change when it stopped building a document.
#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/json_writer.h"

namespace veldrane {
namespace {

using Json = nlohmann::ordered_json;

void Write(JsonWriter& w, const Json& value) {
  if (value.is_object()) {
    w.BeginObject();
    for (const auto& [key, member] : value.items()) Write(w.Key(key), member);
    w.EndObject();
  } else if (value.is_array()) {
    w.BeginArray();
    for (const auto& element : value) Write(w, element);
    w.EndArray();
  } else if (value.is_string()) {
    w.String(value.get<std::string>());
  } else if (value.is_number_float()) {
    w.Number(value.get<double>());
  } else if (value.is_number()) {
    w.Integer(value.get<std::int64_t>());
  } else if (value.is_boolean()) {
    w.Bool(value.get<bool>());
  } else {
    w.Null();
  }
}

TEST(JsonWriterTest, WritesWhatNlohmannDumps) {
  const double inf = std::numeric_limits<double>::infinity();
  const Json cases[] = {
      Json::object(), Json::array(), Json(nullptr), Json(-0.0), Json(std::numeric_limits<double>::quiet_NaN()),
      Json::array({0.1 + 0.2, 1e21, 1e-5, 0.0001, 1e15, 1e16, 123456789012345678.0, 5e-324, 1.7976931348623157e308,
                   -inf, 3.0, -2.5, 9999999, -7, true, false}),
      Json::array({"plain", "tab\tquote\"back\\slash\x01\x1f\x7f", "caf\xC3\xA9 \xE2\x82\xAC", "bad \xE9 \xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80 \xE2\x82"}),
      Json::object({{"a", Json::array()}, {"b", Json::object()}, {"k\"ey\n", Json::array({Json::object({{"x", 1}}), Json::array({1, 2})})}}),
  };
  for (const auto& document : cases) {
    for (const bool pretty : {true, false}) {
      std::ostringstream text;
      {
        JsonWriter w(text, pretty);
        Write(w, document);
      }
      EXPECT_EQ(text.str(), document.dump(pretty ? 2 : -1, ' ', false, Json::error_handler_t::replace));
    }
  }
}

}  // namespace
}  // namespace veldrane
