#include "core/weighted_terms.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <set>

#include "core/query_text.h"

namespace {

struct Occurrence {
  int term;       // index of its distinct term
  long sentence;  // the group word's sentence and separator bits
  bool weak;
};

constexpr float NoBest = 10000.0f;
constexpr long NoNeighbour = 1000;

}  // namespace

WeightedTerms WeighTerms(const CStringArray& terms, const CDWordArray& groups) {
  WeightedTerms result;
  const int count = std::min(terms.GetSize(), groups.GetSize());
  if (count == 0) return result;

  // 1. The distinct terms in order without regard to case, each occurrence
  //    tagged with its term.
  std::vector<int> order(static_cast<size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return terms[a].CompareNoCase(terms[b]) < 0; });
  std::vector<Occurrence> occurrences;
  occurrences.reserve(order.size());
  for (int index : order) {
    if (result.terms.GetSize() == 0 || result.terms[result.terms.GetSize() - 1].CompareNoCase(terms[index]) != 0)
      result.terms.Add(terms[index]);
    const DWORD group = groups[index];
    occurrences.push_back({result.terms.GetSize() - 1, static_cast<long>(group & (GroupSentenceMask | GroupSeparator)),
                           (group & GroupWeak) != 0});
  }
  // 2. In sentence order, then term order.
  std::stable_sort(occurrences.begin(), occurrences.end(), [](const Occurrence& a, const Occurrence& b) {
    return a.sentence != b.sentence ? a.sentence < b.sentence : a.term < b.term;
  });

  // 3. Scores. The distinct terms of each sentence that are not weak.
  std::map<long, std::set<int>> strongTerms;
  for (const Occurrence& o : occurrences)
    if (!o.weak) strongTerms[o.sentence].insert(o.term);
  const int distinct = result.terms.GetSize();
  std::vector<float> score(static_cast<size_t>(distinct), 0.0f);
  std::vector<float> best(static_cast<size_t>(distinct), NoBest);
  const auto other = [&](const Occurrence& a, const Occurrence& b) {
    return a.sentence != b.sentence || a.term != b.term;
  };
  for (size_t j = 0; j < occurrences.size(); ++j) {
    const Occurrence& o = occurrences[j];
    long previous = o.sentence - NoNeighbour, next = o.sentence + NoNeighbour;
    for (size_t k = j; k-- > 0;)
      if (other(occurrences[k], o)) {
        previous = occurrences[k].sentence;
        break;
      }
    for (size_t k = j + 1; k < occurrences.size(); ++k)
      if (other(occurrences[k], o)) {
        next = occurrences[k].sentence;
        break;
      }
    float d = static_cast<float>(std::min(o.sentence - previous, next - o.sentence) + 1);
    const auto strong = strongTerms.find(o.sentence);
    const size_t together = strong == strongTerms.end() ? 0 : strong->second.size();
    if (d == 1.0f && together > 1) d = 1.0f / static_cast<float>(together);
    if (o.weak) d *= 4.0f;
    score[static_cast<size_t>(o.term)] += 1.0f / d;
    best[static_cast<size_t>(o.term)] = std::min(best[static_cast<size_t>(o.term)], d);
  }
  // A term's best occurrence counts 1 when it stands apart from the others.
  for (int t = 0; t < distinct; ++t)
    if (best[static_cast<size_t>(t)] > 1.0f && score[static_cast<size_t>(t)] > 0.0f)
      score[static_cast<size_t>(t)] = score[static_cast<size_t>(t)] - 1.0f / best[static_cast<size_t>(t)] + 1.0f;
  result.weights = std::move(score);
  return result;
}
