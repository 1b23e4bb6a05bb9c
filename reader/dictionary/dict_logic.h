// The dictionary screen's decisions that need no window: which word buttons a
// text enables, what Enter does with it, where the left column's panels and
// the entry display stand for a client size, how a list line becomes the word
// to look up, the notice block of copied and saved text, and the anagram
// length setting.
#pragma once

#include "afx_core.h"

namespace dict {

// The screen's modes.
enum Mode {
  kThesaurus = 0,
  kFrenchEnglish = 1,
  kEnglishFrench = 2,
  kDictionary = 3,
  kDictionaryThesaurus = 4,
  kContents = 5,
  kSmartSearch = 6,
  kBooleanSearch = 7,
  kBookmarks = 8,
  kModeCount = 9,
};

// The word buttons' states for the word edit's text.
struct WordButtons {
  bool lookUp = false;
  bool anagram = false;
  bool search = false;
  bool wildcard = false;
  bool conjugate = false;
};
WordButtons ComputeWordButtons(const CString& text, int mode, bool tensesOpen);

// What Enter in the word edit does.
enum class EnterAction { kNothing, kSearch, kLookUp, kWildcard };
EnterAction ClassifyEnter(const CString& text, const WordButtons& buttons);

// The text without white space (blanks, tabs, line breaks) at both ends.
CString TrimWord(const CString& text);
// A list line as the word it stands for: cut before its first "(" and the
// blanks before that removed.
CString LineWord(const CString& line);
// Whether a query token is one of the Boolean operator words, which are not
// marked in a shown entry.
bool IsOperatorWord(const CString& token);

// The left column and the display area for a client size.
struct ScreenLayout {
  CRect panels[6];  // R0 the whole column, R1-R2 halves, R3-R5 thirds
  CRect display;
  CRect upper;  // the display in mode 4
  CRect lower;  // the thesaurus list in mode 4
  CRect heading;
  CRect synonymHeading;
};
// `column` is R0 with its top, left and right; `heading` the column heading rect.
ScreenLayout ComputeLayout(const CRect& column, const CRect& heading, int width, int height);

// The word-list panels that may stand in the left column.
enum Panel { kHeadwordsPanel, kSynonymsPanel, kAlternativesPanel, kTensesPanel, kKeyPanel, kPanelCount };
// The rect index (0-5) each open panel takes; -1 for a closed panel or one
// that is hidden behind the key or tenses panel.
void PlacePanels(const bool open[kPanelCount], int place[kPanelCount]);

// The notices of text that leaves the screen.
extern const char* const kProductNotice;
extern const char* const kDictionaryNotice;
extern const char* const kTranslationTitle;
extern const char* const kTranslationRights;
// CR LF, 40 underscores, the product notice, then the mode's notices.
CString NoticeBlock(int mode);
// The three footer lines of a printed entry in the mode (kind 0), or of a
// printed bookmark list (kinds 1 and 2).
void FooterLines(int mode, int printKind, CString lines[3]);

// The anagram length of the stored setting text (a number, 0 when not one)
// and the menu item to check for it.
int AnagramLengthOfSetting(const CString& text);
UINT AnagramMenuItem(int length);
// The item's length and setting text; -1 for another id.
int AnagramLengthOfItem(UINT id);

// Replaces `oldLength` characters at `position` by `replacement`.
CString ReplaceAt(const CString& text, int position, int oldLength, const CString& replacement);

}  // namespace dict
