// The weights of a Smart Search's terms: each distinct term scores by how
// closely it stands to the other terms of the text. Terms in the same
// sentence with others score highest; a term alone in the text scores 1.
#pragma once

#include <vector>

#include "afx_core.h"

struct WeightedTerms {
  CStringArray terms;          // the distinct terms, sorted without regard to case
  std::vector<float> weights;  // one a term, same order
};

// `terms` has one entry per occurrence and `groups` its group word (sentence
// number, separator and weak-term bits, see query_text.h), same order.
WeightedTerms WeighTerms(const CStringArray& terms, const CDWordArray& groups);
