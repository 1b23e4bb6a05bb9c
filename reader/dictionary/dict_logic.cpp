#include "dictionary/dict_logic.h"

#include <cstdlib>

namespace dict {

namespace {

bool HasAny(const CString& text, const char* const* parts) {
  for (const char* const* p = parts; *p != nullptr; ++p)
    if (text.Find(*p) >= 0) return true;
  return false;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

}  // namespace

WordButtons ComputeWordButtons(const CString& text, int mode, bool tensesOpen) {
  static const char* const operators[] = {" & ", " AND ", " | ", " OR ", " ! ", " NOT ", " ~ ", " NEAR ", nullptr};
  WordButtons b;
  if (text.IsEmpty()) return b;
  const bool translation = mode == kFrenchEnglish || mode == kEnglishFrench;
  if (translation && HasAny(text, operators)) {
    b.search = true;
    return b;
  }
  const bool wildcardModes = mode == kDictionary || mode == kEnglishFrench || (mode == kFrenchEnglish && !tensesOpen);
  if (text.FindOneOf("*?") >= 0 && wildcardModes) {
    b.wildcard = true;
    return b;
  }
  b.lookUp = true;
  const bool searchModes = mode == kEnglishFrench || (mode == kFrenchEnglish && !tensesOpen);
  b.anagram = searchModes || mode == kDictionary;
  b.search = searchModes;
  b.conjugate = mode == kFrenchEnglish;
  return b;
}

EnterAction ClassifyEnter(const CString& text, const WordButtons& buttons) {
  static const char* const operators[] = {" AND", " OR", " NOT", " NEAR", nullptr};
  if (text.IsEmpty()) return EnterAction::kNothing;
  if (text.FindOneOf("&|!~") >= 0 || HasAny(text, operators))
    return buttons.search ? EnterAction::kSearch : EnterAction::kNothing;
  if (text.FindOneOf("*?") < 0) return EnterAction::kLookUp;
  return buttons.wildcard ? EnterAction::kWildcard : EnterAction::kNothing;
}

CString TrimWord(const CString& text) {
  int first = 0;
  int last = text.GetLength();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.Mid(first, last - first);
}

CString LineWord(const CString& line) {
  const int bracket = line.Find('(');
  if (bracket < 0) return line;
  int end = bracket;
  while (end > 0 && line[end - 1] == ' ') --end;
  return line.Left(end);
}

bool IsOperatorWord(const CString& token) {
  return token == "and" || token == "or" || token == "not" || token == "near";
}

ScreenLayout ComputeLayout(const CRect& column, const CRect& heading, int width, int height) {
  ScreenLayout l;
  CRect r0 = column;
  r0.bottom = height - 20;
  l.panels[0] = r0;
  const int half = r0.Height() / 2;
  l.panels[1] = CRect(r0.left, r0.top, r0.right, r0.top + half);
  l.panels[2] = l.panels[1];
  l.panels[2].OffsetRect(0, half);
  const int third = r0.Height() / 3;
  l.panels[3] = CRect(r0.left, r0.top, r0.right, r0.top + third);
  l.panels[4] = l.panels[3];
  l.panels[4].OffsetRect(0, third);
  l.panels[5] = l.panels[4];
  l.panels[5].OffsetRect(0, third);

  l.heading = heading;
  l.display = CRect(heading.left, heading.bottom + 5, width - 12, height - 32);
  const int headingHeight = heading.Height();
  const int upperHeight = (l.display.bottom + heading.top - heading.bottom - l.display.top - 10) / 2;
  l.upper = CRect(l.display.left, l.display.top, l.display.right, l.display.top + upperHeight);
  l.lower = l.upper;
  l.lower.OffsetRect(0, upperHeight + headingHeight + 10);
  l.synonymHeading = heading;
  l.synonymHeading.OffsetRect(0, upperHeight + headingHeight + 10);
  return l;
}

void PlacePanels(const bool open[kPanelCount], int place[kPanelCount]) {
  for (int i = 0; i < kPanelCount; ++i) place[i] = -1;
  if (open[kKeyPanel]) {
    place[kKeyPanel] = 0;
    return;
  }
  if (open[kTensesPanel]) {
    place[kTensesPanel] = 0;
    return;
  }
  const bool headwords = open[kHeadwordsPanel];
  const bool synonyms = open[kSynonymsPanel];
  if (open[kAlternativesPanel]) {
    if (headwords && synonyms) {
      place[kHeadwordsPanel] = 3;
      place[kSynonymsPanel] = 4;
      place[kAlternativesPanel] = 5;
    } else if (headwords || synonyms) {
      place[headwords ? kHeadwordsPanel : kSynonymsPanel] = 1;
      place[kAlternativesPanel] = 2;
    } else {
      place[kAlternativesPanel] = 0;
    }
    return;
  }
  if (headwords && synonyms) {
    place[kHeadwordsPanel] = 1;
    place[kSynonymsPanel] = 2;
  } else if (headwords || synonyms) {
    place[headwords ? kHeadwordsPanel : kSynonymsPanel] = 0;
  }
}

const char* const kProductNotice =
    "The Marovan & World Encyclopedia. Copyright 1998 Brenmoor & Tesk. All rights reserved.";
const char* const kDictionaryNotice = "Vorn Marovan Dictionary. Copyright 1998 Vorn Publishers. All rights reserved.";
const char* const kTranslationTitle = "French-English and English-French Dictionary";
const char* const kTranslationRights = "Copyright 1998 Lisle Lexical. All rights reserved.";

CString NoticeBlock(int mode) {
  CString block("\r\n");
  for (int i = 0; i < 40; ++i) block += '_';
  block += "\r\n";
  block += kProductNotice;
  if (mode == kDictionary || mode == kDictionaryThesaurus) {
    block += "\r\n";
    block += kDictionaryNotice;
  } else if (mode == kFrenchEnglish || mode == kEnglishFrench) {
    block += "\r\n";
    block += kTranslationTitle;
    block += "\r\n";
    block += kTranslationRights;
  }
  return block;
}

void FooterLines(int mode, int printKind, CString lines[3]) {
  if (printKind != 0) {
    lines[0] = kProductNotice;
    lines[1] = lines[2] = " ";
  } else if (mode == kDictionary || mode == kDictionaryThesaurus) {
    lines[0] = kProductNotice;
    lines[1] = kDictionaryNotice;
    lines[2] = " ";
  } else if (mode == kFrenchEnglish || mode == kEnglishFrench) {
    lines[0] = kProductNotice;
    lines[1] = kTranslationTitle;
    lines[2] = kTranslationRights;
  } else {
    lines[0] = lines[1] = lines[2] = "";
  }
}

namespace {
struct AnagramItem {
  UINT id;
  int length;
};
constexpr AnagramItem kAnagramItems[] = {{5039, 0}, {5040, 3}, {5041, 4}, {5042, 5}, {5043, 6},
                                         {5046, 7}, {5047, 8}, {5048, 9}, {5049, 10}};
}  // namespace

int AnagramLengthOfSetting(const CString& text) { return std::atoi(text); }

UINT AnagramMenuItem(int length) {
  for (const AnagramItem& item : kAnagramItems)
    if (item.length == length) return item.id;
  return kAnagramItems[0].id;
}

int AnagramLengthOfItem(UINT id) {
  for (const AnagramItem& item : kAnagramItems)
    if (item.id == id) return item.length;
  return -1;
}

CString ReplaceAt(const CString& text, int position, int oldLength, const CString& replacement) {
  if (position < 0 || position > text.GetLength()) return text;
  if (oldLength < 0 || position + oldLength > text.GetLength()) oldLength = text.GetLength() - position;
  return text.Left(position) + replacement + text.Mid(position + oldLength);
}

}  // namespace dict
