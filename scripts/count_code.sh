#!/usr/bin/env bash
# Counts non-blank, non-comment lines of C++ in the tests (tests/ and fuzz/)
# against the rest of the code, and prints the ratio. A line counts when
# something other than blanks and comments is left on it once `//` comments
# and `/* */` blocks are taken out (quotes and raw strings are followed, so a
# "//" inside a string does not start a comment).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

count() {
  git ls-files -co --exclude-standard -- "$@" | grep -E '\.(cpp|cc|cxx|h|hpp)$' | sort -u |
    { xargs -r cat --; } | awk '
    BEGIN { block = 0; raw = ""; total = 0 }
    {
      code = 0; quote = ""; n = length($0)
      for (i = 1; i <= n; i++) {
        c = substr($0, i, 1); d = substr($0, i, 2)
        if (block) { if (d == "*/") { block = 0; i++ } continue }
        if (raw != "") {
          if (c !~ /[ \t\r\f]/) code = 1
          if (substr($0, i, length(raw)) == raw) { i += length(raw) - 1; raw = "" }
          continue
        }
        if (quote != "") {
          if (c == "\\") i++
          else if (c == quote) quote = ""
          continue
        }
        if (d == "R\"" && (i == 1 || substr($0, i - 1, 1) !~ /[A-Za-z0-9_]/ || substr($0, i - 2, 3) ~ /u8R|[uUL]R/)) {
          open = index(substr($0, i + 2), "(")
          if (open) { raw = ")" substr($0, i + 2, open - 1) "\""; code = 1; i += open + 1; continue }
        }
        if (d == "//") break
        if (d == "/*") { block = 1; i++; continue }
        if (c == "\"" || c == "'"'"'") quote = c
        if (c !~ /[ \t\r\f]/) code = 1
      }
      total += code
    }
    END { print total }'
}

tests=$(count tests fuzz)
code=$(count model readers geometry config host plugin gdal cli ui bench)
echo "tests: $tests lines"
echo "code:  $code lines"
awk -v t="$tests" -v c="$code" 'BEGIN { printf "ratio: %.0f%% (tests / code)\n", c ? 100 * t / c : 0 }'
