#include "search/smart_query.h"

#include <cctype>
#include <cmath>

namespace search {

int AppendForms(CStringArray& terms, CDWordArray& groups, int index, const std::vector<std::string>& forms) {
  if (index < 0 || index >= terms.GetSize()) return 0;
  const CString term = terms[index];
  const DWORD group = index < groups.GetSize() ? groups[index] : 0;
  int added = 0;
  for (const std::string& form : forms) {
    CString lower(form.c_str());
    lower.MakeLower();
    if (lower.IsEmpty() || lower == term) continue;
    BOOL present = FALSE;
    for (int i = 0; i < terms.GetSize() && !present; ++i) present = terms[i] == lower;
    if (present) continue;
    terms.Add(lower);
    groups.Add(group | kInflectedForm);
    ++added;
  }
  return added;
}

float TunerScale(unsigned entries) {
  if (entries < 1) entries = 1;
  return static_cast<float>(std::log(static_cast<double>(entries)) * 1.5148301);
}

int SliderFromWeight(float weight, float scale) {
  if (!(scale > 0.0f)) return 0;
  const float ratio = weight / scale * 100.0f;
  if (!(ratio > 0.0f)) return 0;
  if (ratio >= static_cast<float>(kSliderMax)) return kSliderMax;
  return static_cast<int>(ratio);
}

void ApplySliders(const std::vector<int>& values, std::vector<float>& weights, float scale, CStringArray& words) {
  CStringArray kept;
  for (size_t i = 0; i < values.size(); ++i) {
    const int v = values[i];
    const BOOL hasWord = static_cast<int>(i) < words.GetSize();
    if (i < weights.size()) {
      if (v >= kSliderMax)
        weights[i] = -weights[i];
      else if (v > 0)
        weights[i] = static_cast<float>(v) * scale * 0.01f;
      else
        weights[i] = 0.0f;
    }
    if (v > 0 && hasWord) kept.Add(words[static_cast<int>(i)]);
  }
  // Words past the sliders stay.
  for (int i = static_cast<int>(values.size()); i < words.GetSize(); ++i) kept.Add(words[i]);
  words.RemoveAll();
  words.Append(kept);
}

CString ChooseDisplayWord(const CString& term, const std::vector<std::string>& spellings,
                          const CStringArray& typedTokens, const std::function<bool(unsigned char)>& isCapital) {
  CString capital, lower;
  BOOL haveCapital = FALSE, haveLower = FALSE;
  for (const std::string& spelling : spellings) {
    if (haveCapital && haveLower) break;
    if (spelling.empty() || term.CompareNoCase(spelling.c_str()) != 0) continue;
    if (isCapital(static_cast<unsigned char>(spelling[0]))) {
      capital = spelling.c_str();
      haveCapital = TRUE;
    } else {
      lower = spelling.c_str();
      haveLower = TRUE;
    }
  }
  if (haveLower && !haveCapital) return lower;
  if (haveCapital && !haveLower) return capital;
  if (!haveCapital) return term;
  for (int i = 0; i < typedTokens.GetSize(); ++i) {
    const CString& token = typedTokens[i];
    if (token.CompareNoCase(term) != 0 || token.IsEmpty()) continue;
    return isCapital(static_cast<unsigned char>(token[0])) ? capital : lower;
  }
  return capital;
}

}  // namespace search
