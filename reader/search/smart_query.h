// The logic of Smart Search and the Tuner that needs no window: inflected
// forms joining the term list, the Tuner's scale between term weights and
// slider positions, what its Search makes of the sliders, and which index
// spelling of a term the Tuner shows.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "afx_core.h"

namespace search {

// The group-word flag of a term that is an inflected form of another.
constexpr DWORD kInflectedForm = 0x2000;
constexpr int kSliderMax = 100;

// Appends each form (lower-cased) that differs from terms[index] and is not
// yet in the list, with the group word of terms[index] plus kInflectedForm.
// Returns how many were added.
int AppendForms(CStringArray& terms, CDWordArray& groups, int index, const std::vector<std::string>& forms);

// The Tuner's scale: ln(entries) x 1.5148301 as a 32-bit float.
float TunerScale(unsigned entries);
// A weight's slider position: trunc(weight / scale x 100), kept to 0..100.
int SliderFromWeight(float weight, float scale);
// The Search of the Tuner: slider 100 negates its weight, 1 to 99 sets it to
// value x scale x 0.01, 0 sets it to 0 and drops the word from `words`
// (the others keep their order). `values`, `weights` and `words` run in
// parallel; extra weights are left as they are.
void ApplySliders(const std::vector<int>& values, std::vector<float>& weights, float scale, CStringArray& words);

// The word the Tuner shows for a term, from the index's spellings of it:
// among the spellings equal to the term ignoring case, a capitalised and a
// lower-case one (a later one of a kind replaces an earlier; the scan stops
// once both were seen). Only one kind: that one; none: the term; both: the
// first typed token equal to the term ignoring case decides by its first
// letter (capitalised without such a token).
CString ChooseDisplayWord(const CString& term, const std::vector<std::string>& spellings,
                          const CStringArray& typedTokens, const std::function<bool(unsigned char)>& isCapital);

}  // namespace search
