// The content's start-up and shutdown, its numbering and titles, and what the
// bookmark file needs of it.
#include "core/reader_content.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "core/spell_hash.h"
#include "core/title_key.h"

namespace {

// The database slots: slot 1 is made and never opened.
constexpr int SlotOf[7] = {0, 0, 2, 3, 4, 5, 6};

const char* DatabaseMessage(int n) {
  switch (n) {
    case 1:
      return "The Marovan & World Encyclopedia is unable to open the file REN2F200.DAT.\r\nCheck that the Marovan & "
             "World Encyclopedia CD-ROM is in the CD-ROM drive and run the program again.";
    case 2:
      return "The Marovan & World Encyclopedia is unable to open the file QUIRN.DAT.\r\nCheck that the Marovan & "
             "World Encyclopedia CD-ROM is in the CD-ROM drive and run the program again.";
    case 3:
      return "The Marovan & World Encyclopedia is unable to open the file RENTF211.DAT.\r\nCheck that the Marovan & "
             "World Encyclopedia CD-ROM is in the CD-ROM drive and run the program again.";
    case 4:
      return "The Marovan & World Encyclopedia is unable to open the file R053F540.DAT.\r\nCheck that the Marovan & "
             "World Encyclopedia CD-ROM is in the CD-ROM drive and run the program again.";
    case 5:
      return "The Marovan & World Encyclopedia is unable to open the file R052E550.DAT.\r\nCheck that the Marovan & "
             "World Encyclopedia CD-ROM is in the CD-ROM drive and run the program again.";
    default:
      return "The Marovan & World Encyclopedia is unable to open the file UPDATES.DAT.\r\nTry to download the file "
             "again or copy the file from your CD-ROM.";
  }
}

// The comparison key of a title with its accents folded.
std::string FoldedKey(const char* title) {
  char folded[TitleBufferSize];
  std::snprintf(folded, sizeof folded, "%s", title);
  FoldAccents(folded);
  char key[TitleBufferSize];
  MakeTitleKey(folded, key, sizeof key);
  return key;
}

}  // namespace

ReaderContent::ReaderContent()
    : m_mainTitles("TYPMATIC.RAM", "TYPMATIC.DSK"), m_updateTitles("UPDATES.RAM", "UPDATES.DSK") {}

CContentDb& ReaderContent::GetDatabase(int n) { return m_databases[n >= 1 && n <= 6 ? SlotOf[n] : 1]; }

BOOL ReaderContent::LoadBitSets() {
  static const char* const files[FilterFileCount] = {"Hsp.bit",     "Mrv.bit",    "Pic.bit",   "Graph.bit", "Table.bit",
                                                     "Map.bit",     "Sound.bit",  "Video.bit", "Anim.bit",  "Mult.bit",
                                                     "Clkmap.bit",  "Clkpic.bit", "Tdw.bit",   "Knvr.bit",  "Tml.bit",
                                                     "Updates.bit", "Vorn.bit",   "Url.bit",   "Link.bit"};
  CBitString* const sets[FilterFileCount] = {&m_hspBits,     &m_mrvBits,    &m_picBits,   &m_graphBits, &m_tableBits,
                                             &m_mapBits,     &m_soundBits,  &m_videoBits, &m_animBits,  &m_multBits,
                                             &m_clkmapBits,  &m_clkpicBits, &m_tdwBits,   &m_knvrBits,  &m_tmlBits,
                                             &m_updatesBits, &m_vornBits,   &m_urlBits,   &m_linkBits};
  for (int i = 0; i < FilterFileCount; ++i) {
    const ContentFile file = ContentOpen(WorkingPath(files[i]).c_str());
    if (file == NoContentFile) return FALSE;
    const BOOL read = sets[i]->Read(file);
    ContentClose(file);
    if (!read) return FALSE;  // a damaged file is as bad as a missing one
  }
  m_updatePositions = m_urlBits;
  m_updatePositions.Or(m_updatesBits);
  m_mainArticles = m_updatePositions.Not();
  m_updateTable.Build(m_updatePositions);
  return TRUE;
}

void ReaderContent::CloseDatabases() {
  for (int n : {6, 1, 2, 3, 4, 5}) GetDatabase(n).Close();
}

BOOL ReaderContent::OpenDatabases() {
  m_session = nullptr;
  if (REmemory(&m_session, nullptr, ReBlockApp, ReActOpen, 0) == ReFail || !m_session) return FALSE;
  if (REapp(m_session, 100, ReActOpen) == ReFail) {
    REmemory(&m_session, nullptr, ReBlockApp, ReActClose, 0);
    m_session = nullptr;
    return FALSE;
  }
  for (int n = 1; n <= 6; ++n) {
    if (GetDatabase(n).Open(n, m_session)) continue;
    AfxMessageBox(DatabaseMessage(n), MB_ICONSTOP | MB_OK);
    for (int open = n - 1; open >= 1; --open) GetDatabase(open).Close();
    REapp(m_session, 100, ReActClose);
    REmemory(&m_session, nullptr, ReBlockApp, ReActClose, 0);
    m_session = nullptr;
    return FALSE;
  }
  // Every article but those of the last two media categories.
  CContentDb& main = GetDatabase(1);
  const int mainEntries = static_cast<int>(main.GetEntryCount());
  const int categories = main.GetMediaCategoryCount();
  CBitString hidden(mainEntries, FALSE), lastButOne(mainEntries, FALSE);
  CBitString noUpdates(static_cast<int>(GetDatabase(6).GetEntryCount()), FALSE);
  if (categories >= 1) main.ReadCategorySet(categories - 1, hidden);
  if (categories >= 2) main.ReadCategorySet(categories - 2, lastButOne);
  hidden.Or(lastButOne);
  CBitString merged;
  UnionBits(merged, hidden, noUpdates);
  m_allArticles = merged.Not();
  return TRUE;
}

BOOL ReaderContent::LoadSpellHash() {
  if (m_spellTable) SpellHashFree(m_spellTable);
  m_spellTable = SpellHashLoad(WorkingPath("Spelhash.dat").c_str());
  return m_spellTable ? TRUE : FALSE;
}

BOOL ReaderContent::SpellHashFind(const char* word) const { return ::SpellHashFind(m_spellTable, word) ? TRUE : FALSE; }

CBitString& ReaderContent::UnionBits(CBitString& result, const CBitString& mainSet, const CBitString& updateSet) const {
  result = mainSet.Merge(updateSet, m_mainArticles);
  return result;
}

// --- titles ---

int ReaderContent::LookupTitle(int article, char* title) {
  if (!title) return 0;
  title[0] = '\0';
  if (m_mainArticles.Test(article)) {
    int entry = ToFileArticle(article);
    return m_bMainTitlesOpen ? m_mainTitles.Lookup(nullptr, title, &entry, CTypematic::ByEntry) : 0;
  }
  int index = FindUpdateArticle(article);
  return m_bUpdateTitlesOpen && index > 0 ? m_updateTitles.Lookup(nullptr, title, &index, CTypematic::ByEntry) : 0;
}

BOOL ReaderContent::FindTitle(const char* text, char* title, int* article) {
  char mainTitle[TitleBufferSize] = "", updateTitle[TitleBufferSize] = "";
  int entry = 0;
  int mainArticle = -1, updateArticle = -1;
  if (m_bMainTitlesOpen && m_mainTitles.Lookup(text, mainTitle, &entry, CTypematic::ByText) == 1)
    mainArticle = ToInternalArticle(entry);
  if (m_bUpdateTitlesOpen && m_updateTitles.Lookup(text, updateTitle, &entry, CTypematic::ByText) == 1) {
    updateArticle = GetUpdateArticle(entry);
    if (updateArticle == 0) updateArticle = -1;
  }
  if (mainArticle == -1 && updateArticle == -1) return FALSE;
  // Compared unsigned, a missing candidate (-1) always loses.
  const bool takeMain = static_cast<unsigned>(mainArticle) <= static_cast<unsigned>(updateArticle);
  if (title) std::strcpy(title, takeMain ? mainTitle : updateTitle);
  if (article) *article = takeMain ? mainArticle : updateArticle;
  return TRUE;
}

// --- what the bookmark file needs ---

int ReaderContent::MainEntryCount() const {
  return static_cast<int>(const_cast<ReaderContent*>(this)->GetDatabase(1).GetEntryCount());
}

int ReaderContent::UpdateEntryCount() const {
  return static_cast<int>(const_cast<ReaderContent*>(this)->GetDatabase(6).GetEntryCount());
}

bool ReaderContent::UpdateTitle(int index, char* title) {
  title[0] = '\0';
  int entry = index;
  return m_bUpdateTitlesOpen && index >= 1 && m_updateTitles.Lookup(nullptr, title, &entry, CTypematic::ByEntry) == 1;
}

int ReaderContent::FindUpdateTitle(const char* title) {
  if (!m_bUpdateTitlesOpen || !title || !title[0]) return 0;
  const std::string sought = FoldedKey(title);
  // The nearest title is the one only when it is the same title: a title
  // that has gone from the index must not land on its neighbour.
  char found[TitleBufferSize] = "";
  int entry = 0;
  if (m_updateTitles.Lookup(title, found, &entry, CTypematic::ByText) == 1 && FoldedKey(found) == sought) return entry;
  // Accented titles sort apart from their folded form: look through them all.
  for (int index = 1; index <= UpdateEntryCount(); ++index)
    if (UpdateTitle(index, found) && FoldedKey(found) == sought) return index;
  return 0;
}
