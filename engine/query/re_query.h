// Boolean queries: the word scanner, the parser that checks and normalises a
// query text, and the compiler that turns the normal form into a small prefix
// operator code walked by the evaluation.
#pragma once

#include "re_status.h"
#include "re_types.h"

// Modules of the query layers.
enum : u16 {
  ReModQuery = 180,         // parsing, running a search, the ranked query
  ReModEvaluate = 210,      // evaluation over the text stream
  ReModStreamRefill = 300,  // refills of the text stream during a code scan
  ReModSearchBuffers = 400,
  ReModSearchRelease = 430,
};

// Codes of the query layers.
enum : i16 {
  ReErrQueryWildcard = -301,      // '*' or '?' in the query
  ReErrQueryTooLong = -302,       // query over 1024 characters
  ReErrQueryEmpty = -303,         // empty query
  ReErrCaseMode = -306,           // case mode not 1, 2 or 3
  ReErrParenUnbalanced = -410,    // unbalanced parentheses
  ReErrParenDepth = -411,         // more than 10 levels of parentheses
  ReErrTooManyTerms = -412,       // more than 8 terms
  ReErrNearNeedsTerms = -414,     // NEAR with a group or a phrase as an operand
  ReErrOperatorMisplaced = -415,  // operators and terms out of step: an operator without a term before it or at the
                                  // end, no term at all, or a group beside a term with no operator between them
  ReErrNoQueryBuffer = -103,      // search block without query buffer or slots
  ReErrRunState = -400,           // query, function or case mode changed; run state not valid
  ReErrEntryOutside = -402,       // entry number outside the database
  ReErrNoSearchIndex = -213,      // the database does not allow searching
  ReErrBufferMode = -214,         // search buffer mode not known
  ReErrCodeMap = -457,            // code map not built; a run failed without its own code
  ReErrBuffers = -490,            // search buffers could not be built
  ReErrLookup = -572,             // word lookup failed
  ReWarnTitleLong = -305,         // pending title longer than the longest title
  ReWarnEnded = -352,             // all entries searched
};

constexpr u32 ReQueryMaxLength = 1024;  // characters of a query text, without its NUL
constexpr u32 ReQueryMaxTerms = 8;
constexpr u32 ReQueryMaxDepth = 10;
constexpr u32 ReQueryCodeSize = 16;  // root + 7 nodes + 8 term bytes

// Functions of REsearch.
enum : u16 { ReFuncWordSearch = 145, ReFuncTextSearch = 220 };

// Operator bits of a compiled node byte (bits 2 to 4).
enum : u8 {
  ReOpOr = 0,
  ReOpAnd = 4,
  ReOpNot = 8,
  ReOpPass = 12,  // the root: its left operand alone
  ReOpNear = 16,
  ReOpMask = 28,
  ReOpLeftIsNode = 2,
  ReOpRightIsNode = 1,
};

// Word flags of ReScanWord (the parser ignores them; the index builder's
// word splitting reads the same scanner).
enum : u16 {
  ReWordAfterHyphen = 0x01,      // a single '-' stands before the word
  ReWordAfterApostrophe = 0x02,  // an apostrophe stands before the word
  ReWordCompound = 0x04,         // hyphens join parts of the word
  ReWordSlash = 0x08,            // slashes join parts of the word
  ReWordTrailingDot = 0x10,
  ReWordTrailingHyphen = 0x20,
  ReWordTrailingApostrophe = 0x40,
};

constexpr u16 ReScanQuery = 16;  // scanner mode of the parser
constexpr u16 ReScanColon = 7;   // scanner mode in which ':' joins words

// Reads one word at *position. Returns its length (positive when it holds a
// letter, negative when it holds none, e.g. a number) and moves *position past
// it; returns 0 and leaves *position when the character there is a separator
// (NUL included). At most wordSize - 1 characters go into word, NUL-terminated;
// the length returned is the whole word's. textStart bounds the look-behind.
i32 ReScanWord(const char** position, const char* textStart, char* word, u32 wordSize, u16* flags, u16 mode,
               const u32* classes);

// The compiled form of a normalised query.
struct ReCompiledQuery {
  i16 termCount;
  const char* termText[ReQueryMaxTerms];  // NUL-terminated, in pool
  u16 termLength[ReQueryMaxTerms];
  u8 cover[ReQueryMaxTerms];  // 1: every hit holds at least one cover term
  u8 code[ReQueryCodeSize];   // root byte, then the tree in prefix order
  u8 codeLength;
  char pool[ReQueryMaxLength + ReQueryMaxTerms];
};

// Compiles text[0, length) behind *codePosition of query->code. Returns 1 when
// it wrote an operator node, 0 when it wrote a term, -1 when the text cannot be
// compiled (no term, or more than 8 terms).
i32 ReCompileQuery(const char* text, u32 length, u32* codePosition, ReCompiledQuery* query);
// Compiles a whole normal form: root byte and tree, then the cover marks.
// 0, or the parser code that refuses it (ReErrOperatorMisplaced for an
// operator left inside a term, ReErrNearNeedsTerms for NEAR over a group or
// a phrase).
i16 ReCompileNormalForm(const char* text, ReCompiledQuery* query);
// Sets every term's cover mark, starting at the root with mark 1.
void ReMarkCoverTerms(u32 codePosition, u8 mark, ReCompiledQuery* query);

// Block-level test: OR true when either side is, AND and NEAR when both are,
// NOT and the root take their left side alone. termBits: bit t for term t.
bool ReTestCandidate(const ReCompiledQuery& query, u32 termBits);
// True when a query that holds stays true whatever further terms and NEAR
// pairs are found: it has no NOT. Such an entry's check may stop at its
// first hit.
bool ReQueryStaysTrue(const ReCompiledQuery& query);
// Exact test of one entry: NOT is left and not right (left alone when
// notIsLeft), NEAR is the pair bit of its two terms.
bool ReEvalQueryCode(const ReCompiledQuery& query, const u16* found, bool notIsLeft, const u8* pairBits);

// Parser input: what it needs of the open database.
struct ReParseContext {
  const u32* classes;  // the database's character classes
  u16 longestWord;     // a longer word is read cut to this length, never taken for an operator
};

// Parser output (the search state fields it writes).
struct ReParseOutput {
  char* workText;   // 1025 bytes of scratch
  char* queryCopy;  // 1024 bytes: the normal form of the running search
  u8* proximity;    // set when the query needs word positions
};

// Checks, counts and normalises query (a buffer of queryCapacity bytes); on
// success writes the normal form into query and the query copy. 0 or 8, the
// code recorded in status with module 180.
u32 ReParseQuery(const ReParseContext& context, const ReParseOutput& output, char* query, u32 queryCapacity,
                 u8 wordSearch, u8 caseMode, ReStatusBlock* status);

// The 61 stop words; word is compared exactly (the caller lower-cases it).
bool ReIsStopWord(const char* word);
