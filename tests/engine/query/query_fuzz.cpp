// Fuzzes the query parser and, for queries it accepts, the entry check: the
// input is a query, optionally followed by a NUL and an entry text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "re_charclass.h"
#include "re_query.h"
#include "re_query_match.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const u8 options = data[0];
  ++data;
  --size;
  const std::uint8_t* split = static_cast<const std::uint8_t*>(std::memchr(data, 0, size));
  const std::size_t queryLength = split ? static_cast<std::size_t>(split - data) : size;

  // The query buffer is 1024 bytes and may lack its NUL.
  char query[1024];
  std::memset(query, 0, sizeof query);
  std::memcpy(query, data, queryLength < sizeof query ? queryLength : sizeof query);
  char work[1025];
  char copy[1024];
  u8 proximity = 0;
  ReStatusBlock status{};
  const u8 wordSearch = options & 1;
  const u8 caseMode = static_cast<u8>((options >> 1) & 3);
  const ReParseContext context{ReCharClassTable(1), static_cast<u16>(options >> 3)};
  if (ReParseQuery(context, ReParseOutput{work, copy, &proximity}, query, sizeof query, wordSearch, caseMode,
                   &status) != ReDone)
    return 0;

  ReCompiledQuery compiled;
  if (ReCompileNormalForm(query, &compiled) != 0) __builtin_trap();  // the parser let through what cannot compile
  if (!split) return 0;
  const std::uint8_t* text = split + 1;
  const std::size_t textLength = size - queryLength - 1;
  char title[40];
  ReEntryChecker checker;
  checker.Begin(ReMatchRules{&compiled, ReCharClassTable(1), caseMode, wordSearch != 0}, title, sizeof title);
  checker.Feed(text, static_cast<u32>(textLength));
  checker.Finish();
  ReEvalQueryCode(compiled, checker.Found(), false, checker.PairBits());
  ReTextHoldsCoverTerm(text, static_cast<u32>(textLength), static_cast<u32>(textLength),
                       ReMatchRules{&compiled, ReCharClassTable(1), caseMode, wordSearch != 0}, true);
  return 0;
}
