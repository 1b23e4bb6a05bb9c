#include "core/concept_query.h"

void ConceptQuery::SetTerms(const CStringArray& terms, const float* weights) {
  Release();
  const int count = terms.GetSize();
  texts_.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) texts_.emplace_back(static_cast<const char*>(terms[i]));
  for (std::string& text : texts_) pointers_.push_back(text.data());
  idf_.assign(texts_.size(), 0.0f);
  weights_.assign(texts_.size(), 1.0f);
  if (weights)
    for (size_t i = 0; i < weights_.size(); ++i) weights_[i] = weights[i];
  record_.termCount = static_cast<u16>(texts_.size());
  record_.termTexts = pointers_.empty() ? nullptr : pointers_.data();
  record_.idf = idf_.empty() ? nullptr : idf_.data();
  record_.weights = weights_.empty() ? nullptr : weights_.data();
}

void ConceptQuery::SetWeights(const std::vector<float>& weights) {
  for (size_t i = 0; i < weights_.size() && i < weights.size(); ++i) weights_[i] = weights[i];
}

void ConceptQuery::Release() {
  record_ = ReRankRecord{};
  texts_.clear();
  pointers_.clear();
  idf_.clear();
  weights_.clear();
}
