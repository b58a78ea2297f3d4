#pragma once
// The per-folder point code dictionary: CODES.DAT beside a survey file maps
// custom point codes to their descriptions.
#include <string>

#include "config/ordered_map.h"

namespace veldrane {

using CodeDictionary = OrderedMap<std::string>;

// When CODES.DAT exists in the folder of `surveyPath` (looked up through the
// calling thread's file access), empties `dictionary` and loads the file into
// it; otherwise leaves the dictionary untouched.
// Each line is cut at ";"; lines with fewer than 2 fields are ignored; the
// key is the first field and the value the last, neither trimmed nor
// case-changed; a later line with the same key replaces the earlier one.
// A CODES.DAT that cannot be read to its end leaves the dictionary untouched
// and the result says why (for the reader to report); empty otherwise.
[[nodiscard]] std::string LoadCodeDictionary(const std::string& surveyPath, CodeDictionary& dictionary);

// Loads dictionary text directly (the same rules), for callers that already
// hold the file contents.
void LoadCodeDictionaryText(std::string_view text, CodeDictionary& dictionary);

}  // namespace veldrane
