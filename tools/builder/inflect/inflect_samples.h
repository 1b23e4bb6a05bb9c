// Sample inflection content: English word forms, and English and French
// conjugation and declension data (French in the data's 8-bit code: Latin-1
// letters, with the oe ligature at 0xF7 and its capital at 0xD7).
#pragma once

#include <string>

#include "inflect/conjugation.h"
#include "inflect/word_forms.h"

namespace builder::inflect {

FormData SampleEnglishForms();
ConjugationData SampleFrenchConjugation();   // character-table index 5
ConjugationData SampleEnglishConjugation();  // character-table index 16

// Writes enue.ram, enue.dsk, hash.dat, infrb005.ram and infrb005.dsk.
void WriteSampleInflection(const std::string& directory);

}  // namespace builder::inflect
