// The engine requests of a content database: opening and closing it with its
// control blocks, entry text, headwords, Boolean searches, headword lookups,
// spelling help, word lists and the ranked query.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "core/concept_query.h"
#include "core/content_db.h"
#include "core/headword.h"
#include "core/title_key.h"
#include "core/working_directory.h"
#include "settings/settings.h"
#include "zorlre/re_etpar_records.h"

namespace {

ContentDbHost* g_host = nullptr;

enum : u16 {
  FnDatabase = 100,
  FnWordSearch = 145,
  FnAnagrams = 120,
  FnDerivedForms = 150,
  FnSpelling = 210,
  FnHeadwords = 240,
  FnWildcard = 250,
  FnText = 495,
  FnParse = 500,
};
enum : u16 { OptionMask = 128 };
constexpr i16 WarnEnd = -352;
constexpr int MaxListedWords = 100;
constexpr int MaxDictionaryHits = 1000;
constexpr int MaxAlternatives = 8;
constexpr int MaxLookupLength = 30;

const char* BooleanErrorMessage(i16 code) {
  switch (code) {
    case -415: return "The search expression contains unbalanced operators.";
    case -414: return "The search expression contains an operator which requires two terms.";
    case -412: return "The search expression contains too many terms.";
    case -411: return "The search expression contains too many levels of parentheses.";
    case -410: return "The search expression contains unbalanced parentheses.";
    default: return nullptr;
  }
}

void Say(const char* text) {
  if (g_host) g_host->ShowMessage(text);
}

class WaitCursor {
 public:
  WaitCursor() {
    if (g_host) g_host->BeginWaitCursor();
  }
  ~WaitCursor() {
    if (g_host) g_host->EndWaitCursor();
  }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

bool SameNoCase(const char* a, const char* b) { return CString(a).CompareNoCase(b) == 0; }

std::string Folded(const char* text) {
  std::string folded(text);
  FoldAccents(folded.data());
  return std::string(folded.c_str());  // folding may end the text early
}

// Copies text into an engine buffer of `room` bytes (its NUL included);
// false when it does not fit.
bool CopyInto(char* buffer, u32 room, const char* text) {
  const size_t length = std::strlen(text);
  if (!buffer || length + 1 > room) return false;
  std::memcpy(buffer, text, length + 1);
  return true;
}

}  // namespace

void SetContentDbHost(ContentDbHost* host) { g_host = host; }
ContentDbHost* GetContentDbHost() { return g_host; }

BOOL CContentDb::MakeBlock(void** block, u16 type, u16 count) {
  *block = nullptr;
  if (REmemory(block, m_database, type, ReActOpen, count) == ReFail || !*block) return FALSE;
  // Every work block names the database by its handle.
  switch (type) {
    case ReBlockEntList: static_cast<ReEntListBlock*>(*block)->handle = m_database->handle; break;
    case ReBlockToken: static_cast<ReTokenBlock*>(*block)->handle = m_database->handle; break;
    case ReBlockEntry: static_cast<ReEntryBlock*>(*block)->handle = m_database->handle; break;
    case ReBlockSearch: static_cast<ReSearchBlock*>(*block)->handle = m_database->handle; break;
    case ReBlockIdxList: static_cast<ReIdxListBlock*>(*block)->handle = m_database->handle; break;
    default: break;
  }
  return TRUE;
}

namespace {

template <class Block>
void FreeBlock(Block*& block, u16 type) {
  if (!block) return;
  void* p = block;
  REmemory(&p, nullptr, type, ReActClose, 0);
  block = nullptr;
}

}  // namespace

void CContentDb::FreeBlocks() {
  FreeBlock(m_wordBlock, ReBlockIdxList);
  FreeBlock(m_spareWordBlock, ReBlockIdxList);
  FreeBlock(m_searchBlock, ReBlockSearch);
  FreeBlock(m_entryBlock, ReBlockEntry);
  FreeBlock(m_tokenBlock, ReBlockToken);
  FreeBlock(m_entryListBlock, ReBlockEntList);
}

BOOL CContentDb::Open(int n, void* session) {
  if (m_bOpen) Close();
  m_number = n;
  char section[32];
  std::snprintf(section, sizeof section, "Database %d", n);
  GetSettingString(section, "Path", WorkingDirectory(), m_path, NameSize, SettingsIniName);
  if (!m_path[0]) return FALSE;
  static const char* const datFiles[] = {"REN2F200.DAT", "QUIRN.DAT",    "RENTF211.DAT",
                                         "R053F540.DAT", "R052E550.DAT", "UPDATES.DAT"};
  const bool main = n == 1;
  GetSettingString(section, "DATFile", n >= 1 && n <= 6 ? datFiles[n - 1] : "", m_datFile, NameSize, SettingsIniName);
  if (!m_datFile[0]) return FALSE;
  GetSettingString(section, "CTXFile", main ? "MRVHSP.CTX" : "", m_ctxFile, NameSize, SettingsIniName);
  GetSettingString(section, "MultimediaPath", WorkingDirectory(), m_multimediaPath, NameSize, SettingsIniName);
  GetSettingString(section, "MMXFile", main ? "MAROVA.MMX" : "", m_mmxFile, NameSize, SettingsIniName);
  GetSettingString(section, "MMDFile", main ? "MAROVA.MMD" : "", m_mmdFile, NameSize, SettingsIniName);
  if (!OpenMediaIndex()) return FALSE;

  void* block = nullptr;
  if (REmemory(&block, session, ReBlockDb, ReActOpen, 0) == ReFail || !block) {
    CloseMediaFiles();
    return FALSE;
  }
  m_database = static_cast<ReDbBlock*>(block);
  m_fileSpec = {m_path, m_datFile};
  m_database->fileSpec = &m_fileSpec;
  m_database->optionMask = OptionMask;
  m_database->progress = nullptr;
  if (REdb(m_database, FnDatabase, ReActOpen) == ReFail) {
    FreeBlock(m_database, ReBlockDb);
    CloseMediaFiles();
    return FALSE;
  }
  void* blocks[6] = {};
  const bool made = MakeBlock(&blocks[0], ReBlockEntList, 300) && MakeBlock(&blocks[1], ReBlockToken, 1024) &&
                    MakeBlock(&blocks[2], ReBlockEntry, 0) && MakeBlock(&blocks[3], ReBlockSearch, 50) &&
                    MakeBlock(&blocks[4], ReBlockIdxList, 100) && MakeBlock(&blocks[5], ReBlockIdxList, 20);
  m_entryListBlock = static_cast<ReEntListBlock*>(blocks[0]);
  m_tokenBlock = static_cast<ReTokenBlock*>(blocks[1]);
  m_entryBlock = static_cast<ReEntryBlock*>(blocks[2]);
  m_searchBlock = static_cast<ReSearchBlock*>(blocks[3]);
  m_spareWordBlock = static_cast<ReIdxListBlock*>(blocks[4]);
  m_wordBlock = static_cast<ReIdxListBlock*>(blocks[5]);
  if (!made) {
    FreeBlocks();
    REdb(m_database, FnDatabase, ReActClose);
    FreeBlock(m_database, ReBlockDb);
    CloseMediaFiles();
    return FALSE;
  }
  m_bOpen = TRUE;
  m_bTokenWalk = FALSE;
  return TRUE;
}

BOOL CContentDb::Close() {
  if (m_bOpen) {
    if (m_bTokenWalk) REtoken(m_tokenBlock, FnText, ReActClose);
    m_bTokenWalk = FALSE;
    FreeBlocks();
    REdb(m_database, FnDatabase, ReActClose);
    FreeBlock(m_database, ReBlockDb);
    m_bOpen = FALSE;
  }
  CloseMediaFiles();
  return TRUE;
}

u32 CContentDb::GetEntryCount() const { return m_bOpen ? m_database->entryCount : 0; }

ReTokenBlock* CContentDb::NextToken(int entry) {
  if (!m_bOpen) return nullptr;
  u16 action = ReActNext;
  if (!m_bTokenWalk) {
    m_tokenBlock->entry = static_cast<u32>(entry);
    m_tokenBlock->termCount = 0;  // no hit marking
    m_tokenBlock->status->warning = 0;
    m_bTokenWalk = TRUE;
    action = ReActOpen;
  }
  // The chunk that carried the end warning was the last one. A later chunk
  // without tokens makes no progress (a text whose end code never comes):
  // it ends the walk too.
  if (m_tokenBlock->status->warning != WarnEnd && REtoken(m_tokenBlock, FnText, action) != ReFail &&
      (action == ReActOpen || m_tokenBlock->tokenCount > 0))
    return m_tokenBlock;
  REtoken(m_tokenBlock, FnText, ReActClose);
  m_bTokenWalk = FALSE;
  return nullptr;
}

int CContentDb::GetHeadword(int entry, CString& out) {
  out.Empty();
  if (!m_bOpen || entry <= 0 || static_cast<u32>(entry) > GetEntryCount()) return 0;
  m_entryBlock->entry = static_cast<u32>(entry);
  const u32 result = REentry(m_entryBlock, FnText, ReActOpen);
  std::string headword;
  if (result == ReDone || result == ReWarn)
    headword = FormatHeadword(HeadwordOfEntryText(m_entryBlock->text, m_entryBlock->textLength));
  REentry(m_entryBlock, FnText, ReActClose);
  if (result != ReDone && result != ReWarn) return 0;
  out = headword.c_str();
  return 1;
}

template <class Take>
int CContentDb::RunSearch(const CString& expr, const CString& caption, Take take, int limit) {
  if (!m_bOpen) return -1;
  std::memset(m_searchBlock->query, 0, ReQueryBufferSize);
  std::strncpy(m_searchBlock->query, expr, ReQueryBufferSize - 1);
  m_searchBlock->caseMode = 1;  // letters compared without regard to case
  if (g_host) g_host->BeginSearch(caption);
  m_database->progress = g_host ? g_host->SearchProgress() : nullptr;
  REdb(m_database, FnDatabase, ReActReset);
  const auto finish = [&] {
    REsearch(m_searchBlock, FnWordSearch, ReActClose);
    if (g_host) g_host->EndSearch();
    m_database->progress = nullptr;
    REdb(m_database, FnDatabase, ReActReset);
  };
  const auto stopped = [] { return g_host && g_host->SearchStopped(); };

  if (REsearch(m_searchBlock, FnWordSearch, ReActOpen) == ReFail) {
    const char* message = BooleanErrorMessage(m_searchBlock->status->error);
    finish();
    if (message) Say(message);
    return -1;
  }
  int taken = 0;
  bool failed = false;
  for (;;) {
    if (stopped()) break;
    for (u16 i = 0; i < m_searchBlock->hitCount && taken < limit; ++i, ++taken) take(m_searchBlock->slots[i]);
    if (m_searchBlock->status->status != ReDone || taken >= limit) break;
    if (REsearch(m_searchBlock, FnWordSearch, ReActNext) == ReFail) {
      failed = true;  // a page that cannot be read ends the search without a result
      break;
    }
  }
  finish();
  return (failed || stopped()) ? -1 : taken;
}

int CContentDb::BooleanSearch(const CString& expr, CBitString& hits, const CString& caption) {
  hits.Clear();
  const int taken = RunSearch(
      expr, caption, [&](const ReHitSlot& slot) { hits.SetBit(static_cast<int>(slot.entry), TRUE, FALSE, 0, 0); },
      0x7FFFFFFF);
  if (taken < 0) {
    hits.Clear();
    return -1;
  }
  return hits.GetSetCount();
}

int CContentDb::DictionarySearch(const CString& expr, CStringArray& titles, CDWordArray& entries) {
  titles.RemoveAll();
  entries.RemoveAll();
  const int taken = RunSearch(
      expr, "Vorn dictionary",
      [&](const ReHitSlot& slot) {
        titles.Add(slot.title ? CString(slot.title) : CString());
        entries.Add(slot.entry);
      },
      MaxDictionaryHits);
  if (taken < 0) {
    titles.RemoveAll();
    entries.RemoveAll();
    return 0;
  }
  if (taken == 0) Say("There are no items matching your search expression.");
  return taken;
}

int CContentDb::HeadwordEntries(const char* word, std::vector<u32>& entries, std::vector<std::string>* titles) {
  entries.clear();
  if (titles) titles->clear();
  if (!m_bOpen || !word || !CopyInto(m_entryListBlock->word, m_database->longestLine + 1u, word)) return 0;
  if (REentlst(m_entryListBlock, FnHeadwords, ReActOpen) != ReFail) {
    // The slots' titles live in the engine until the list is released.
    for (u16 i = 0; i < m_entryListBlock->count; ++i) {
      const ReEntListSlot& slot = m_entryListBlock->slots[i];
      const u32 entry = slot.entry;  // a copy: the slots are packed
      const char* title = slot.title;
      if (entry == 0) continue;
      entries.push_back(entry);
      if (titles) titles->push_back(title ? title : "");
    }
  }
  REentlst(m_entryListBlock, FnHeadwords, ReActClose);
  return static_cast<int>(entries.size());
}

int CContentDb::LookupTerm(const char* text, CBitString& hits) {
  hits.Clear();
  if (!text) return -1;
  const auto separator = [](char c) {
    return std::isspace(static_cast<unsigned char>(c)) || std::ispunct(static_cast<unsigned char>(c));
  };
  std::vector<std::string> words;
  for (const char* p = text; *p;) {
    while (*p && separator(*p)) ++p;
    const char* start = p;
    while (*p && !separator(*p)) ++p;
    if (p > start) words.emplace_back(start, p);
  }
  if (words.empty()) return -1;
  std::vector<u32> entries;
  for (size_t w = 0; w < words.size(); ++w) {
    if (w > 0 && hits.GetSetCount() == 0) break;
    HeadwordEntries(words[w].c_str(), entries, nullptr);
    CBitString set(hits.GetBitCount(), FALSE);
    for (u32 entry : entries) set.SetBit(static_cast<int>(entry), TRUE, FALSE, 0, 0);
    if (w == 0)
      hits = set;
    else
      hits.And(set);
  }
  return hits.GetSetCount();
}

int CContentDb::FindEntries(const char* word, CDWordArray& entries, CStringArray& titles) {
  entries.RemoveAll();
  titles.RemoveAll();
  std::vector<u32> found;
  std::vector<std::string> lines;
  HeadwordEntries(word, found, &lines);
  for (size_t i = 0; i < found.size(); ++i) {
    titles.Add(FormatHeadword(lines[i]).c_str());
    entries.Add(found[i]);
  }
  return titles.GetSize();
}

void CContentDb::TakeResults(const ReIdxListBlock* block, CStringArray& words) const {
  words.RemoveAll();
  if (!block->results || block->foundCount <= 0) return;
  const char* at = block->results;
  const char* end = block->results + block->resultAreaSize;
  for (i16 i = 0; i < block->foundCount && at < end; ++i) {
    const void* nul = std::memchr(at, '\0', static_cast<size_t>(end - at));
    if (!nul) break;  // a result without its end inside the area
    words.Add(at);
    at = static_cast<const char*>(nul) + 1;
  }
}

int CContentDb::LookupWord(const CString& word, CStringArray& alternatives, int kind) {
  alternatives.RemoveAll();
  if (word.GetLength() > MaxLookupLength) return -1;
  static const char* const commonWords[] = {"they",  "this",  "most", "time", "these", "about", "life",  "leave",
                                            "child", "begin", "turn", "word", "long",  "then",  "unite", "country"};
  if (word.GetLength() <= 1) return 0;
  for (const char* common : commonWords)
    if (word.CompareNoCase(common) == 0) return 0;
  if (!m_bOpen) return -1;

  CStringArray found;
  {
    WaitCursor wait;
    if (CopyInto(m_wordBlock->word, m_database->longestWord + 1u, word) &&
        REidxlst(m_wordBlock, FnSpelling, ReActOpen) != ReFail) {
      TakeResults(m_wordBlock, found);
      if (found.GetSize() > 0 && REidxlst(m_wordBlock, FnSpelling, ReActNextAlt) != ReFail)
        TakeResults(m_wordBlock, found);
    }
  }
  const int preferred = (kind == 12 || kind == 13) ? 3 : kind == 15 ? 8 : 0;
  bool exact = false, accent = false;
  CStringArray second;
  const auto listed = [&](const CString& w) {
    for (int i = 0; i < alternatives.GetSize(); ++i)
      if (alternatives[i] == w) return true;
    for (int i = 0; i < second.GetSize(); ++i)
      if (second[i] == w) return true;
    return false;
  };
  {
    WaitCursor wait;
    std::vector<u32> entries;
    for (int i = 0; i < found.GetSize(); ++i) {
      const CString w = found[i];
      HeadwordEntries(w, entries, nullptr);
      bool inVorn = false;
      for (u32 entry : entries) inVorn = inVorn || (g_host && g_host->IsDictionaryEntry(entry));
      if (kind == 15 && !inVorn) continue;
      if (w.CompareNoCase(word) == 0)
        exact = true;
      else if (!accent && w.GetLength() > 3 && SameNoCase(Folded(w).c_str(), word))
        accent = true;
      if (listed(w)) continue;
      if (inVorn && alternatives.GetSize() < preferred)
        alternatives.Add(w);
      else
        second.Add(w);
    }
  }
  if (exact && !accent) {
    alternatives.RemoveAll();
    return 0;
  }
  if (kind != 15) alternatives.Append(second);
  if (kind == 12) {
    const auto apostropheAtEnd = [](const CString& s) {
      const int n = s.GetLength();
      return (n >= 1 && s[n - 1] == '\'') || (n >= 2 && s[n - 2] == '\'');
    };
    const bool typedApostrophe = apostropheAtEnd(word);
    for (int i = alternatives.GetSize() - 1; i >= 0; --i)
      if ((g_host && g_host->IsKnownSpelling(alternatives[i])) ||
          (!typedApostrophe && apostropheAtEnd(alternatives[i])))
        alternatives.RemoveAt(i);
  }
  if (!accent || !exact) {
    if (alternatives.GetSize() == 1 && alternatives[0].CompareNoCase(word) == 0) {
      alternatives.RemoveAll();
      return 0;
    }
    if (alternatives.GetSize() > MaxAlternatives) alternatives.SetSize(MaxAlternatives);
    return alternatives.GetSize() > 0 ? alternatives.GetSize() : -1;
  }
  // The word is known and also written with accents: offer the accented forms.
  for (int i = alternatives.GetSize() - 1; i >= 0; --i)
    if (!SameNoCase(Folded(alternatives[i]).c_str(), word)) alternatives.RemoveAt(i);
  if (alternatives.GetSize() == 1 && alternatives[0].CompareNoCase(word) == 0) {
    alternatives.RemoveAll();
    return 0;
  }
  return -2;
}

namespace {

// A word block of its own for a long list, or the database's spare one.
class ListBlock {
 public:
  ListBlock(ReDbBlock* database, u16 count, ReIdxListBlock* spare) : spare_(spare) {
    void* block = nullptr;
    if (REmemory(&block, database, ReBlockIdxList, ReActOpen, count) != ReFail && block) {
      own_ = static_cast<ReIdxListBlock*>(block);
      own_->handle = database->handle;
    }
  }
  ~ListBlock() { FreeBlock(own_, ReBlockIdxList); }
  ListBlock(const ListBlock&) = delete;
  ListBlock& operator=(const ListBlock&) = delete;
  ReIdxListBlock* get() const { return own_ ? own_ : spare_; }

 private:
  ReIdxListBlock* own_ = nullptr;
  ReIdxListBlock* spare_;
};

}  // namespace

int CContentDb::ListWildcard(const CString& pattern, CStringArray& words) {
  words.RemoveAll();
  if (m_bOpen) {
    ListBlock list(m_database, 2000, m_spareWordBlock);
    ReIdxListBlock* block = list.get();
    if (CopyInto(block->word, m_database->longestWord + 1u, pattern) &&
        REidxlst(block, FnWildcard, ReActOpen) != ReFail)
      TakeResults(block, words);
    REidxlst(block, FnWildcard, ReActClose);
  }
  if (m_number == 1) {
    // The encyclopedia lists only dictionary words, one word an article.
    CStringArray kept;
    u32 previous = 0;
    std::vector<u32> entries;
    for (int i = 0; i < words.GetSize() && kept.GetSize() < MaxListedWords; ++i) {
      HeadwordEntries(words[i], entries, nullptr);
      u32 entry = 0;
      for (u32 e : entries)
        if (!entry && g_host && g_host->IsDictionaryEntry(e)) entry = e;
      if (!entry || entry == previous) continue;
      previous = entry;
      kept.Add(words[i]);
    }
    words.RemoveAll();
    words.Append(kept);
  }
  if (words.GetSize() > MaxListedWords) words.SetSize(MaxListedWords);
  if (words.GetSize() == 0) Say("There are no words matching your wildcard pattern.");
  return words.GetSize();
}

int CContentDb::ListAnagrams(const CString& letters, int minLength, CStringArray& words) {
  words.RemoveAll();
  if (m_bOpen) {
    ListBlock list(m_database, 300, m_spareWordBlock);
    ReIdxListBlock* block = list.get();
    block->minimumLength = static_cast<u16>(std::max(minLength, 0));
    if (CopyInto(block->word, m_database->longestWord + 1u, letters) &&
        REidxlst(block, FnAnagrams, ReActOpen) != ReFail)
      TakeResults(block, words);
    block->minimumLength = 0;
  }
  if (m_number == 1) {
    CStringArray kept;
    std::vector<u32> entries;
    for (int i = 0; i < words.GetSize() && kept.GetSize() < MaxListedWords; ++i) {
      HeadwordEntries(words[i], entries, nullptr);
      bool inVorn = false;
      for (u32 e : entries) inVorn = inVorn || (g_host && g_host->IsDictionaryEntry(e));
      if (inVorn) kept.Add(words[i]);
    }
    words.RemoveAll();
    words.Append(kept);
  }
  if (words.GetSize() > MaxListedWords) words.SetSize(MaxListedWords);
  if (words.GetSize() == 0) Say("There are no anagrams matching your search criteria.");
  return words.GetSize();
}

int CContentDb::FetchEntries(CStringArray& terms, CUIntArray& values) {
  const int count = terms.GetSize();
  std::vector<u32> entries;
  for (int t = 0; t < count && m_bOpen; ++t) {
    if (HeadwordEntries(terms[t], entries, nullptr) == 0) continue;
    // The whole text of the first entry, piece by piece.
    std::string text;
    m_entryBlock->entry = entries.front();
    u32 result = REentry(m_entryBlock, FnText, ReActOpen);
    while (result != ReFail) {
      text.append(m_entryBlock->text, m_entryBlock->textLength);
      if (result == ReWarn) break;
      result = REentry(m_entryBlock, FnText, ReActNext);
    }
    REentry(m_entryBlock, FnText, ReActClose);
    const UINT value = t < values.GetSize() ? values[t] : 0;
    size_t line = text.find('\n');  // the first line is the headword
    while (line != std::string::npos) {
      const size_t start = line + 1;
      line = text.find('\n', start);
      const std::string further = text.substr(start, line == std::string::npos ? std::string::npos : line - start);
      if (further.empty()) continue;
      terms.Add(further.c_str());
      values.SetAtGrow(terms.GetSize() - 1, value);
    }
  }
  return terms.GetSize();
}

int CContentDb::AddConceptTerms(const CStringArray& terms, ConceptQuery& query, const float* weights) {
  if (!m_bOpen) return -1;
  WaitCursor wait;
  if (!query.HasTerms()) query.SetTerms(terms, weights);
  const u16 action = m_number == 6 ? ReActOpen : ReActNextAlt;
  const u32 result = REconqry(m_database, &query.Record(), m_searchBlock, 1, action);
  if (result == ReFail) return -1;
  return result == ReDone ? 1 : 0;
}

int CContentDb::RunConceptQuery(ConceptQuery& query, CBitString& hits, const CString& caption) {
  hits.Clear();
  if (!m_bOpen) return 0;
  if (g_host) g_host->BeginSearch(caption);
  m_database->progress = g_host ? g_host->SearchProgress() : nullptr;
  REdb(m_database, FnDatabase, ReActReset);
  ReRankRecord& record = query.Record();
  if (REconqry(m_database, &record, m_searchBlock, 2, ReActClose) != ReFail) {
    const u16 ranked = record.resultCount;
    const u16 count = std::min<u16>(ranked, static_cast<u16>(ReRankResults));
    const float best = count > 0 ? record.scores[0] : 0.0f;
    for (u16 i = 0; i < count; ++i) {
      const float score = best > 0.0f ? record.scores[i] / best * 1000.0f : 0.0f;
      hits.SetBit(static_cast<int>(record.entries[i]), TRUE, TRUE, static_cast<UINT>(std::max(score, 0.0f)),
                  record.positions[i]);
    }
  }
  query.Release();
  m_database->progress = nullptr;
  REdb(m_database, FnDatabase, ReActReset);
  if (g_host) g_host->EndSearch();
  return hits.GetSetCount();
}

BOOL CContentDb::ParseEntries(const CString& word) {
  m_parsedItems.RemoveAll();
  m_parsedLabels.RemoveAll();
  m_partBytes.RemoveAll();
  m_featureMasks.RemoveAll();
  m_groupBounds.RemoveAll();
  m_parsedCount = 0;
  if (!m_bOpen || !CopyInto(m_entryListBlock->word, m_database->longestLine + 1u, word)) return FALSE;
  if (REentlst(m_entryListBlock, FnHeadwords, ReActOpen) == ReFail || m_entryListBlock->count == 0) {
    REentlst(m_entryListBlock, FnHeadwords, ReActClose);
    return FALSE;
  }
  void* block = nullptr;
  if (REmemory(&block, m_database, ReBlockEtPar, ReActOpen, 0) == ReFail || !block) {
    REentlst(m_entryListBlock, FnHeadwords, ReActClose);
    return FALSE;
  }
  auto* parser = static_cast<ReEtParBlock*>(block);
  parser->databaseRecord = m_database;
  parser->word = m_entryListBlock->word;
  parser->slots = m_entryListBlock->slots;
  parser->slotCount = static_cast<i16>(m_entryListBlock->count);
  parser->currentSlot = 0;
  const auto* result =
      REetpar(parser, FnParse, ReActOpen) != ReFail ? static_cast<const ReEtParResult*>(parser->result) : nullptr;
  m_groupBounds.Add(0);
  const i16 count = result ? result->count : 0;
  for (i16 i = 0; i < count; ++i) {
    const ReEtParEntry* entry = result->entries[i];
    const CString text = entry->headline ? entry->headline : "";
    m_parsedLabels.Add(entry->label1 ? CString(entry->label1) + " " + text : "- " + text);
    // The entry's slot tells its class and features.
    const ReEntListSlot* slot = i < m_entryListBlock->count ? &m_entryListBlock->slots[i] : nullptr;
    const BYTE wordClass = slot ? slot->wordClass : 0;
    const DWORD featureMask = slot ? slot->featureMask : 0;
    m_partBytes.Add(wordClass);
    m_featureMasks.Add(featureMask);
    for (i16 k = 0; k < entry->itemCount; ++k)
      m_parsedItems.Add(entry->items[k] && entry->items[k]->text ? entry->items[k]->text : "");
    m_groupBounds.Add(static_cast<WORD>(m_parsedItems.GetSize()));
  }
  m_parsedCount = static_cast<u16>(count > 0 ? count : 0);
  REetpar(parser, FnParse, ReActClose);
  REmemory(&block, nullptr, ReBlockEtPar, ReActClose, 0);
  REentlst(m_entryListBlock, FnHeadwords, ReActClose);
  return m_parsedCount > 0 ? TRUE : FALSE;
}

BOOL CContentDb::GetParsedLabel(int n, CString& label) const {
  if (n < 0 || n >= m_parsedCount) return FALSE;
  label = m_parsedLabels[n];
  return TRUE;
}

int CContentDb::GetParsedItemCount(int n) const {
  if (n < 0 || n >= m_parsedCount) return 0;
  return m_groupBounds[n + 1] - m_groupBounds[n];
}

BOOL CContentDb::GetParsedItem(int n, int k, CString& out) {
  if (!m_bOpen || n < 0 || n >= m_parsedCount || k < 0 || k >= GetParsedItemCount(n)) return FALSE;
  const CString item = m_parsedItems[m_groupBounds[n] + k];
  out = item;
  ReIdxListBlock* block = m_spareWordBlock;
  if (!CopyInto(block->word, m_database->longestWord + 1u, item)) return TRUE;
  block->wordClass = m_partBytes[n];
  const DWORD mask = m_featureMasks[n];
  if (block->featureMask) std::memcpy(block->featureMask, &mask, 4);
  if (REidxlst(block, FnDerivedForms, ReActOpen) != ReFail) {
    CStringArray forms;
    TakeResults(block, forms);
    if (forms.GetSize() > 0) out = forms[0];
  }
  REidxlst(block, FnDerivedForms, ReActClose);
  return TRUE;
}
