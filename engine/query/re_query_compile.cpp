// The query compiler and the two walks over its prefix code: the block-level
// candidate test and the exact test of one entry.
#include <cstring>

#include "re_query.h"

namespace {

constexpr char kOperatorsLoosestFirst[] = {'|', '&', '!', '~'};

u8 OperatorBits(char symbol) {
  switch (symbol) {
    case '|': return ReOpOr;
    case '&': return ReOpAnd;
    case '!': return ReOpNot;
    default: return ReOpNear;
  }
}

bool IsBlank(char c) { return c == ' ' || (c >= 9 && c <= 13); }

// The leftmost " x " at parenthesis level 0 within [begin, end), or end.
u32 FindOperator(const char* text, u32 begin, u32 end, char symbol) {
  i32 level = 0;
  for (u32 i = begin; i < end; ++i) {
    if (text[i] == '(') ++level;
    if (text[i] == ')') --level;
    if (level == 0 && i + 2 < end && text[i] == ' ' && text[i + 1] == symbol && text[i + 2] == ' ') return i;
  }
  return end;
}

// The position of the ')' that closes the '(' at open, or end when none does.
u32 MatchingClose(const char* text, u32 open, u32 end) {
  i32 level = 0;
  for (u32 i = open; i < end; ++i) {
    if (text[i] == '(') ++level;
    if (text[i] == ')' && --level == 0) return i;
  }
  return end;
}

bool HoldsOperator(const char* text) {
  for (char symbol : kOperatorsLoosestFirst) {
    const char pattern[] = {' ', symbol, ' ', '\0'};
    if (std::strstr(text, pattern)) return true;
  }
  return false;
}

struct Walk {
  const ReCompiledQuery& query;
  u32 position;

  u8 Next() { return position < query.codeLength ? query.code[position++] : 0; }
};

bool Candidate(Walk& walk, u32 termBits, bool isNode) {
  const u8 byte = walk.Next();
  if (!isNode) return (termBits >> (byte & 7)) & 1;
  const u8 op = byte & ReOpMask;
  const bool left = Candidate(walk, termBits, byte & ReOpLeftIsNode);
  if (op == ReOpPass) return left;
  const bool right = Candidate(walk, termBits, byte & ReOpRightIsNode);
  switch (op) {
    case ReOpOr: return left || right;
    case ReOpNot: return left;  // the right side is not known at block level
    default: return left && right;
  }
}

struct Exact {
  const u16* found;
  bool notIsLeft;
  const u8* pairBits;
};

bool Evaluate(Walk& walk, const Exact& exact, bool isNode) {
  const u8 byte = walk.Next();
  if (!isNode) return exact.found[byte & 7] != 0;
  const u8 op = byte & ReOpMask;
  if (op == ReOpNear) {
    // NEAR always stands over two terms (the parser refuses groups).
    const u8 left = walk.Next() & 7;
    const u8 right = walk.Next() & 7;
    return (exact.pairBits[left] >> right) & 1;
  }
  const bool left = Evaluate(walk, exact, byte & ReOpLeftIsNode);
  if (op == ReOpPass) return left;
  const bool right = Evaluate(walk, exact, byte & ReOpRightIsNode);
  switch (op) {
    case ReOpOr: return left || right;
    case ReOpNot: return exact.notIsLeft ? left : left && !right;
    default: return left && right;
  }
}

void Mark(Walk& walk, u8 mark, ReCompiledQuery* query, bool isNode) {
  const u8 byte = walk.Next();
  if (!isNode) {
    query->cover[byte & 7] = mark;
    return;
  }
  const u8 op = byte & ReOpMask;
  Mark(walk, mark, query, byte & ReOpLeftIsNode);
  if (op == ReOpPass) return;
  Mark(walk, op == ReOpOr ? mark : 0, query, byte & ReOpRightIsNode);
}

bool SingleWord(const ReCompiledQuery& query, u8 term) {
  for (const char* p = query.termText[term & 7]; *p; ++p)
    if (IsBlank(*p)) return false;
  return true;
}

// Checks that NEAR nodes stand over two single words (not a group, not a
// phrase); returns false otherwise.
bool NearOverWords(Walk& walk, bool isNode) {
  const u8 byte = walk.Next();
  if (!isNode) return true;
  const u8 op = byte & ReOpMask;
  if (op == ReOpNear) {
    if (byte & (ReOpLeftIsNode | ReOpRightIsNode)) return false;
    const u8 left = walk.Next();
    const u8 right = walk.Next();
    return SingleWord(walk.query, left) && SingleWord(walk.query, right);
  }
  if (!NearOverWords(walk, byte & ReOpLeftIsNode)) return false;
  if (op == ReOpPass) return true;
  return NearOverWords(walk, byte & ReOpRightIsNode);
}

bool HasNot(Walk& walk, bool isNode) {
  const u8 byte = walk.Next();
  if (!isNode) return false;
  const u8 op = byte & ReOpMask;
  if (op == ReOpNot) return true;
  if (op == ReOpNear) {
    walk.position += 2;  // its two term bytes
    return false;
  }
  if (HasNot(walk, byte & ReOpLeftIsNode)) return true;
  return op != ReOpPass && HasNot(walk, byte & ReOpRightIsNode);
}

u32 PoolUsed(const ReCompiledQuery& query) {
  if (query.termCount == 0) return 0;
  const i16 last = query.termCount - 1;
  return static_cast<u32>(query.termText[last] - query.pool) + query.termLength[last] + 1;
}

}  // namespace

i32 ReCompileQuery(const char* text, u32 length, u32* codePosition, ReCompiledQuery* query) {
  u32 begin = 0;
  u32 end = length;
  for (;;) {
    for (char symbol : kOperatorsLoosestFirst) {
      const u32 at = FindOperator(text, begin, end, symbol);
      if (at == end) continue;
      if (*codePosition >= ReQueryCodeSize) return -1;
      const u32 node = (*codePosition)++;
      query->code[node] = OperatorBits(symbol);
      const i32 left = ReCompileQuery(text + begin, at - begin, codePosition, query);
      if (left < 0) return -1;
      const i32 right = ReCompileQuery(text + at + 3, end - at - 3, codePosition, query);
      if (right < 0) return -1;
      query->code[node] |= static_cast<u8>((left ? ReOpLeftIsNode : 0) | (right ? ReOpRightIsNode : 0));
      query->codeLength = static_cast<u8>(*codePosition);
      return 1;
    }
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    // Drop an outer pair of parentheses only when the first one closes at the end.
    if (begin < end && text[begin] == '(' && MatchingClose(text, begin, end) == end - 1) {
      ++begin;
      --end;
      continue;
    }
    break;
  }
  if (begin == end || query->termCount >= static_cast<i16>(ReQueryMaxTerms) || *codePosition >= ReQueryCodeSize)
    return -1;
  char* slot = query->pool + PoolUsed(*query);
  const i16 term = query->termCount++;
  std::memcpy(slot, text + begin, end - begin);
  slot[end - begin] = '\0';
  query->termText[term] = slot;
  query->termLength[term] = static_cast<u16>(end - begin);
  query->cover[term] = 0;
  query->code[(*codePosition)++] = static_cast<u8>(term);
  query->codeLength = static_cast<u8>(*codePosition);
  return 0;
}

i16 ReCompileNormalForm(const char* text, ReCompiledQuery* query) {
  std::memset(query, 0, sizeof *query);
  u32 position = 1;
  const i32 tree = ReCompileQuery(text, static_cast<u32>(std::strlen(text)), &position, query);
  if (tree < 0) return ReErrOperatorMisplaced;
  query->code[0] = static_cast<u8>(ReOpPass + (tree ? ReOpLeftIsNode : 0));
  query->codeLength = static_cast<u8>(position);
  // An operator inside a term is a group that stands next to a term without
  // an operator between them ("(a | b) c"): the query is malformed.
  for (i16 t = 0; t < query->termCount; ++t)
    if (HoldsOperator(query->termText[t])) return ReErrOperatorMisplaced;
  Walk check{*query, 0};
  if (!NearOverWords(check, true)) return ReErrNearNeedsTerms;
  ReMarkCoverTerms(0, 1, query);
  return 0;
}

void ReMarkCoverTerms(u32 codePosition, u8 mark, ReCompiledQuery* query) {
  Walk walk{*query, codePosition};
  Mark(walk, mark, query, true);
}

bool ReTestCandidate(const ReCompiledQuery& query, u32 termBits) {
  Walk walk{query, 0};
  return Candidate(walk, termBits, true);
}

bool ReQueryStaysTrue(const ReCompiledQuery& query) {
  Walk walk{query, 0};
  return !HasNot(walk, true);
}

bool ReEvalQueryCode(const ReCompiledQuery& query, const u16* found, bool notIsLeft, const u8* pairBits) {
  Walk walk{query, 0};
  return Evaluate(walk, Exact{found, notIsLeft, pairBits}, true);
}
