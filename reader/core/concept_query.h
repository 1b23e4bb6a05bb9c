// The ranked query's record and what it points at: the term texts, the
// engine's inverse frequencies and the caller's weights, one a term. The
// application keeps one for the query being prepared; the two databases add
// their occurrences to it and the ranking fills its results.
#pragma once

#include <string>
#include <vector>

#include "afx_core.h"
#include "zorlre/re_concept_records.h"

class ConceptQuery {
 public:
  ConceptQuery() = default;
  ConceptQuery(const ConceptQuery&) = delete;
  ConceptQuery& operator=(const ConceptQuery&) = delete;

  // Sets the terms and their weights (one a term; 1 each without weights).
  void SetTerms(const CStringArray& terms, const float* weights);
  // Frees the arrays; the record no longer points at anything.
  void Release();
  bool HasTerms() const { return !texts_.empty(); }

  ReRankRecord& Record() { return record_; }
  const std::vector<float>& Weights() const { return weights_; }
  void SetWeights(const std::vector<float>& weights);

 private:
  ReRankRecord record_{};
  std::vector<std::string> texts_;
  std::vector<char*> pointers_;
  std::vector<float> idf_;
  std::vector<float> weights_;
};
