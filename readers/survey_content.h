#pragma once
// Whether a file's first bytes look like the survey format its extension
// names, so that a GIS client's driver claims survey files and nothing else
// (".pro", ".27", ".83" and ".bl" are common extensions in other fields).
//
// The test is the first significant line: it must be a record the file's
// reader recognises.
//   ".em", ".cl", ".bl"  a "#" record ("#H00 EM09") or a coordinate line
//                        ("id,northing,easting,elevation"); ";" comment
//                        lines before it are skipped
//   ".830"               a header record ("T01".."T09") or a cross-section
//                        line (its line type, "A01", "D02", in columns 9-11)
//   ".pro"               a header record or a data line of four numbers
//   ".27", ".83"         the traverse report's first header line, "JOB NO"
// Generous with a UTF-8 byte order mark, blank lines and any line ending;
// strict with binary content: a control character other than tab, line
// and page breaks (or a DOS end-of-file mark) anywhere in the bytes looked
// at fails the test. Nothing but the bytes given is looked at.
#include <string_view>

namespace veldrane {

enum class SurveyContent {
  Survey,     // the first significant line is a record of the format
  NotSurvey,  // binary, a foreign first line, or (whole file) nothing at all
  Undecided,  // only blank or comment lines so far: look at more bytes
};

// `path` names the file (its extension chooses the format); `bytes` are its
// first bytes, the whole file when `whole`.
SurveyContent SurveyContentOf(std::string_view path, std::string_view bytes, bool whole);

}  // namespace veldrane
