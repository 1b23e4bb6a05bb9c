#include "in_analysis.h"

#include <cstring>

#include "in_analyze.h"
#include "in_bytes.h"
#include "in_entries.h"
#include "in_hash.h"
#include "in_table.h"

namespace {

constexpr int HashIndexProbes = 51;
constexpr u8 DictionaryKind = 2;  // a .dsk entry that names a dictionary entry and its class
constexpr u8 ClassBytesKind = 1;  // a .dsk entry that gives its word's two class bytes

struct Entries {
  u32 count = 0;
  char words[InMaxEntries][InEntryWordSize];
  u8 first[InMaxEntries];
  u8 second[InMaxEntries];
  u16 classes[InMaxEntries];
};

struct RuleValues {
  u16 first;
  u16 second;
};

RuleValues ValuesOf(const InTableContext* c, u32 rule) {
  return {ReBe16(c->firstValues + rule * 2u), ReBe16(c->secondValues + rule * 2u)};
}

u8 FoldCase(u8 c) { return (c >= 'A' && c <= 'Z') || (c >= 192 && c <= 223) ? static_cast<u8>(c + 32) : c; }

bool EqualFolded(const char* a, const char* b) {
  for (;; ++a, ++b) {
    if (FoldCase(static_cast<u8>(*a)) != FoldCase(static_cast<u8>(*b))) return false;
    if (*a == '\0') return true;
  }
}

// A NUL-terminated string of the ending pool, or false when it leaves the pool.
bool PoolString(const InTableContext* c, u32 offset, const char** text, u32* length) {
  if (!c->endingPool || offset >= c->endingPoolSize) return false;
  const void* end = std::memchr(c->endingPool + offset, '\0', c->endingPoolSize - offset);
  if (!end) return false;
  *text = reinterpret_cast<const char*>(c->endingPool + offset);
  *length = static_cast<u32>(static_cast<const u8*>(end) - (c->endingPool + offset));
  return true;
}

// One record of ending table B with its strings; false for a bad record.
struct Ending {
  u16 rule;
  const char* reversed;
  u32 length;
  const char* replacement;
  u32 replacementLength;
};
bool EndingAt(const InTableContext* c, u32 index, Ending* e) {
  const u8* record = c->endings + index * InEndingRecordSize;
  e->rule = ReBe16(record);
  return e->rule < c->ruleCount && PoolString(c, ReBe16(record + 2), &e->reversed, &e->length) &&
         PoolString(c, ReBe16(record + 4), &e->replacement, &e->replacementLength);
}

// Calls visit(rule) for each rule of a dictionary-entry class, from its
// delta-coded list in table E. The last class runs to the end of the table.
template <class Visit>
void ForEachClassRule(const InTableContext* c, u16 entryClass, Visit visit) {
  if (!c->classIndex || !c->classRules || entryClass >= c->classIndexCount) return;
  const u32 start = ReBe16(c->classIndex + entryClass * 2u);
  const u32 end =
      entryClass + 1u < c->classIndexCount ? ReBe16(c->classIndex + (entryClass + 1u) * 2u) : c->classRulesSize;
  if (start > end || end > c->classRulesSize) return;
  u32 rule = 0;
  for (u32 at = start; at < end;) {
    u32 delta = c->classRules[at++];
    if (delta & 0x80) {
      if (at >= end) break;
      delta = ((delta & 127u) << 8) | c->classRules[at++];
    }
    rule += delta;
    if (rule < c->ruleCount) visit(rule);
  }
}

// The forms of a dictionary entry: the entry word for each rule of its class
// whose two values are equal, and for every other rule each ending record of
// that rule whose replacement ends the word: the word with the replacement
// replaced by the (un-reversed) ending.
template <class Visit>
void ForEachForm(const InTableContext* c, const char* word, u16 entryClass, bool withGenerated, Visit visit) {
  const u32 wordLength = static_cast<u32>(std::strlen(word));
  ForEachClassRule(c, entryClass, [&](u32 rule) {
    const RuleValues values = ValuesOf(c, rule);
    if (values.first == values.second) {
      visit(word, wordLength, values);
      return;
    }
    if (!withGenerated || !c->endings) return;
    for (u32 i = 0; i < c->endingCount; ++i) {
      Ending e;
      if (!EndingAt(c, i, &e) || e.rule != rule || e.replacementLength > wordLength) continue;
      const u32 stem = wordLength - e.replacementLength;
      if (std::memcmp(word + stem, e.replacement, e.replacementLength) != 0) continue;
      if (stem + e.length >= InWordSize) continue;
      char form[InWordSize];
      std::memcpy(form, word, stem);
      for (u32 k = 0; k < e.length; ++k) form[stem + k] = e.reversed[e.length - 1 - k];
      form[stem + e.length] = '\0';
      if (stem + e.length > 0) visit(form, stem + e.length, values);
    }
  });
}

// The entry scan of the conjugation data: a kind-2 entry whose word equals
// the lookup word (both lower-cased) is a dictionary entry, its u16 the entry
// class; a kind-1 entry gives the class bytes of the entries of its word.
class EntryFinder : public InEntryVisitor {
 public:
  EntryFinder(const char* lowered, Entries* out) : word_(lowered), length_(std::strlen(lowered)), out_(out) {}

  bool Visit(InEntry& e) override {
    if (e.kind == ClassBytesKind) {
      std::memcpy(bytesWord_, e.lowered, e.length + 1);
      bytes_[0] = e.kindBytes[0];
      bytes_[1] = e.kindBytes[1];
      return true;
    }
    if (e.kind != DictionaryKind) return true;
    if (e.length == length_ && std::memcmp(e.lowered, word_, length_) == 0) {
      if (e.length >= InEntryWordSize) return true;  // too long for an entry word
      const u32 n = out_->count++;
      std::memcpy(out_->words[n], e.word, e.length + 1);
      const bool own = std::strcmp(bytesWord_, e.lowered) == 0;
      out_->first[n] = own ? bytes_[0] : 0;
      out_->second[n] = own ? bytes_[1] : 0;
      out_->classes[n] = e.rule;
      return out_->count < InMaxEntries;
    }
    // Entry words ascend through the scan: stop once they pass the word.
    for (u32 i = 0; i < length_ && i < e.length; ++i)
      if (word_[i] != e.lowered[i]) return static_cast<u8>(word_[i]) > static_cast<u8>(e.lowered[i]);
    return true;
  }

 private:
  const char* word_;
  u32 length_;
  Entries* out_;
  char bytesWord_[InMaxEntryWord + 1] = {};
  u8 bytes_[2] = {};
};

void LookUpEntries(InTableContext* c, const char* word, Entries* out) {
  out->count = 0;
  if (c->recordCount == 0 || !c->recordKeys) return;
  char lowered[InWordSize];
  u32 length = 0;
  for (; word[length] && length < InWordSize - 1; ++length)
    lowered[length] = static_cast<char>(InLowerByte(static_cast<u8>(word[length]), c->charClasses));
  lowered[length] = '\0';
  const InRecordRange range = InFindRecords(c->recordKeys, c->recordCount, lowered);
  const InPhrases phrases{c->phraseOffsets, c->phraseLengths, c->phrasePool, c->phraseCount, c->phrasePoolSize};
  EntryFinder finder(lowered, out);
  for (i32 record = range.first; record <= range.last; ++record) {
    if (!InReadRecord(c, static_cast<u32>(record))) break;
    if (!InDecodeRecord(c->recordBuffer, c->recordLength, c->codeWidth, phrases, c->charClasses, finder)) break;
  }
}

void ClearCandidates(InTableContext* c) { c->candidateCount = 0; }

void AddCandidate(InTableContext* c, const char* word, u32 length, RuleValues values, u8 first, u8 second) {
  if (c->candidateCount < 0 || static_cast<u32>(c->candidateCount) >= InMaxCandidates || length >= InWordSize) return;
  const u32 n = static_cast<u32>(c->candidateCount++);
  std::memcpy(c->candidates[n], word, length);
  c->candidates[n][length] = '\0';
  c->candidateFirstValues[n] = values.first;
  c->candidateSecondValues[n] = values.second;
  c->candidateFirstBytes[n] = first;
  c->candidateSecondBytes[n] = second;
}

bool HasPair(const InTableContext* c, RuleValues values) {
  for (i16 i = 0; i < c->candidateCount; ++i)
    if (c->candidateFirstValues[i] == values.first && c->candidateSecondValues[i] == values.second) return true;
  return false;
}

// The check of flag 0x80: does the stem, as a base word, have `word` as a
// form with these rule values? The class bytes of the entry that has it are returned.
bool StemHasForm(InTableContext* c, const char* stem, const char* word, RuleValues values, u8* bytes) {
  Entries entries;
  LookUpEntries(c, stem, &entries);
  for (u32 i = 0; i < entries.count; ++i) {
    bool found = false;
    ForEachForm(c, entries.words[i], entries.classes[i], true, [&](const char* form, u32, RuleValues v) {
      if (!found && v.first == values.first && v.second == values.second && EqualFolded(form, word)) found = true;
    });
    if (found) {
      bytes[0] = entries.first[i];
      bytes[1] = entries.second[i];
      return true;
    }
  }
  return false;
}

// The check of flag 0x08: does a dictionary entry of the word list the rule?
bool EntriesHoldRule(const InTableContext* c, const Entries& entries, u32 rule, u8* bytes) {
  for (u32 i = 0; i < entries.count; ++i) {
    bool held = false;
    ForEachClassRule(c, entries.classes[i], [&](u32 r) { held = held || r == rule; });
    if (held) {
      bytes[0] = entries.first[i];
      bytes[1] = entries.second[i];
      return true;
    }
  }
  return false;
}

// Ending analysis: each ending record (last to first) that ends the word
// gives a stem with its rule's values.
void AnalyzeEndings(InTableContext* c, const char* word, const Entries& entries) {
  if (!c->endings) return;
  const u32 wordLength = static_cast<u32>(std::strlen(word));
  for (u32 i = c->endingCount; i-- > 0;) {
    Ending e;
    if (!EndingAt(c, i, &e) || e.length > wordLength) continue;
    bool ends = true;
    for (u32 k = 0; k < e.length && ends; ++k) ends = e.reversed[k] == word[wordLength - 1 - k];
    if (!ends) continue;
    const RuleValues values = ValuesOf(c, e.rule);
    if ((values.first == values.second && c->tagCount > 1) || HasPair(c, values)) continue;
    const u32 stemLength = wordLength - e.length + e.replacementLength;
    if (stemLength >= InWordSize) continue;
    char stem[InWordSize];
    std::memcpy(stem, word, wordLength - e.length);
    std::memcpy(stem + wordLength - e.length, e.replacement, e.replacementLength);
    stem[stemLength] = '\0';
    u8 bytes[2] = {0, 0};
    if ((c->flags & InFlagTableA) && !StemHasForm(c, stem, word, values, bytes)) continue;
    if ((c->flags & InFlagRuleCheck) && !EntriesHoldRule(c, entries, e.rule, bytes)) continue;
    AddCandidate(c, stem, stemLength, values, bytes[0], bytes[1]);
  }
}

// Hashed lookup: table F indexes the rewrites of table G by the word's hash.
u32 HashedLookup(InTableContext* c, const char* word) {
  const u32 length = static_cast<u32>(std::strlen(word));
  if (length == 0 || c->hashIndexCount == 0) return InNotFound;
  const InHashValue hash = InHashBytes(reinterpret_cast<const u8*>(word), length, false);
  const u32 mask = c->hashIndexCount - 1u;
  const u32 spread = hash.h & 31u;
  u32 slot = (hash.x & 32767u) & mask;
  i32 step = 3 - static_cast<i32>(spread);
  for (int probe = 0; probe < HashIndexProbes; ++probe) {
    const u8* e = c->hashIndex + slot * 4u;
    if ((e[0] | e[1] | e[2] | e[3]) == 0) return InNotFound;
    const bool match = e[3] == (hash.h & 0xFF) && (e[2] & 127) == ((hash.h >> 8) & 127) &&
                       ((((e[1] << 1) | (e[2] >> 7)) ^ static_cast<u8>(word[0])) & 63) == 0;
    if (match) {
      const i32 start = e[0] * 8 + (e[1] >> 5) - 1;
      if (start < 0 || !c->rewrites) return InNotFound;
      // Rewrites from `start`: a cut count, the letters to append (bytes of 2
      // or more), then 1 when another rewrite follows or 0 after the last.
      for (u32 at = static_cast<u32>(start); at < c->rewritesSize;) {
        u32 cut = c->rewrites[at++];
        if (cut > length) cut = length;  // never more than the word
        char rewritten[InWordSize];
        u32 n = length - cut;
        if (n < InWordSize) std::memcpy(rewritten, word, n);
        for (; at < c->rewritesSize && c->rewrites[at] >= 2; ++at, ++n)
          if (n + 1 < InWordSize) rewritten[n] = static_cast<char>(c->rewrites[at]);
        if (n < InWordSize) AddCandidate(c, rewritten, n, {0, 0}, 0, 0);
        if (at >= c->rewritesSize || c->rewrites[at++] != 1) break;
      }
      return c->candidateCount > 0 ? InBuilt : InNotFound;
    }
    step += 2 * static_cast<i32>(spread);
    slot = (slot + static_cast<u32>(step)) & mask;
  }
  return InNotFound;
}

void CopyWord(char* to, const char* from) {
  const size_t length = std::strlen(from);
  std::memcpy(to, from, length + 1);
}

}  // namespace

u32 InAnalyzeTableWord(InTableContext* c, const char* word, u16 mode) {
  if (!c || !word) return InNoTable;
  ClearCandidates(c);
  if (std::strlen(word) >= InWordSize) return InNotFound;
  if (c->hashIndex) return HashedLookup(c, word);
  if (c->recordCount == 0) return InNotFound;

  Entries entries;
  LookUpEntries(c, word, &entries);
  c->entryCount = static_cast<i16>(entries.count);
  for (u32 i = 0; i < entries.count; ++i) {
    CopyWord(c->entryWords[i], entries.words[i]);
    c->entryFirstBytes[i] = entries.first[i];
    c->entrySecondBytes[i] = entries.second[i];
    c->entryClasses[i] = entries.classes[i];
  }
  if (entries.count > 0 && c->tagCount <= 1) return InBuilt;

  const bool filling = mode == InModeFill;
  for (u32 i = 0; i < entries.count; ++i) {
    ForEachForm(c, entries.words[i], entries.classes[i], filling, [&](const char* form, u32 length, RuleValues v) {
      AddCandidate(c, form, length, v, entries.first[i], entries.second[i]);
    });
  }
  if (!filling) AnalyzeEndings(c, word, entries);
  return c->candidateCount > 0 ? InBuilt : InNotFound;
}

u32 InAnalyzeFallback(InTableContext* c, char* lookup) {
  const u32 length = static_cast<u32>(std::strlen(lookup));
  bool shortened = false;
  if (c->charTableIndex == InFrench) {
    const char* blank = std::strrchr(lookup, ' ');
    if (blank && static_cast<u32>(blank - lookup) + 2 < length) {
      std::memmove(lookup, blank + 1, std::strlen(blank + 1) + 1);
      shortened = true;
    }
  } else if (c->charTableIndex == InEnglish) {
    char* blank = std::strchr(lookup, ' ');
    if (blank) {
      *blank = '\0';
      shortened = true;
    }
  }
  if (shortened) {
    const u32 again = InAnalyzeTableWord(c, lookup, InModeBuild);
    if (again != InNotFound) return again;
  }
  if (!c->wordHash || c->wordHashSize == 0) return InNotFound;

  char alternatives[InResultSize] = {};
  u8 elided = 0;
  i16 count = InAnalyzeWord(lookup, c->charTableIndex, c->charClasses, {c->wordHash, c->wordHashSize}, alternatives,
                            sizeof alternatives, &elided);
  if (count == 0 && c->charTableIndex == InFrench && (lookup[0] == 'c' || lookup[0] == 'C') && lookup[1] == '\'') {
    const char* verb = lookup + 2;
    if (std::strcmp(verb, "est") == 0 || std::strcmp(verb, "\xE9tait") == 0) {
      CopyWord(alternatives, verb);
      count = 1;
    }
  }
  u32 result = InNotFound;
  const char* alternative = alternatives;
  for (i16 i = 0; i < count; ++i) {
    result = InAnalyzeTableWord(c, alternative, InModeBuild);
    if (result == InBuilt) {
      CopyWord(lookup, alternative);
      return InBuilt;
    }
    alternative += std::strlen(alternative) + 1;
  }
  return result;
}
