// Proximity scoring of a ranked query. Each entry's hits are walked in word
// order; a hit scores more the closer the nearest hit of another term stands,
// hits of several terms at one word (inflected forms of one word) share their
// weight, the first words and the flagged field are weighted, and clusters of
// neighbouring hits give the entry's best position.
#include "re_rank.h"

#include <cmath>

namespace {

constexpr u32 kNone = 0xFFFFFFFFu;
constexpr u32 kClusterTermLimit = 20;  // more terms: no clusters, positions 0
constexpr float kNoDistance = 10000.0f;

u32 PassCount(u32 count) {
  u32 doublings = 0;
  for (unsigned long long reach = 1; reach < count; reach *= 2) ++doublings;
  return 1 + doublings;
}

bool HitBefore(const ReConceptHit& a, const ReConceptHit& b) {
  const u32 entryA = ReConceptEntry(a.word), entryB = ReConceptEntry(b.word);
  if (entryA != entryB) return entryA < entryB;
  const u32 offsetA = ReConceptOffset(a.word), offsetB = ReConceptOffset(b.word);
  if (offsetA != offsetB) return offsetA < offsetB;
  if (a.term != b.term) return a.term < b.term;
  return a.word < b.word;
}

struct EntryHits {
  const ReConceptHit* hits;
  u32 count;
};

class EntryScorer {
 public:
  EntryScorer(const ReRankInput& input, const ReRankWork& work) : in_(input), work_(work) {
    for (u16 t = 0; t < in_.termCount; ++t)
      if (in_.idf[t] != 0.0f) ++nonzeroTerms_;
    clusters_ = in_.termCount <= kClusterTermLimit;
  }

  // The entry's score (negative: dropped) and its best position.
  float Score(const EntryHits& entry, u16* bestPosition) {
    const u32 spread = CountSharedOffsets(entry);
    for (u16 t = 0; t < in_.termCount; ++t) {
      work_.s1[t] = 0.0f;
      work_.s2[t] = 0.0f;
      work_.best[t] = kNoDistance;
    }
    float clusterBest = 0.0f;
    float cluster = 0.0f;
    u32 bestAt = kNone;
    u32 clusterOffset = kNone;

    // Runs of hits of one term at one word share their neighbours.
    u32 previousNonzero = kNone;  // last nonzero-idf hit before the current run
    u32 nextScan = 0;
    for (u32 runStart = 0; runStart < entry.count;) {
      const ReConceptHit& first = entry.hits[runStart];
      u32 runEnd = runStart + 1;
      while (runEnd < entry.count && entry.hits[runEnd].term == first.term &&
             ReConceptOffset(entry.hits[runEnd].word) == ReConceptOffset(first.word))
        ++runEnd;
      if (nextScan < runEnd) nextScan = runEnd;
      while (nextScan < entry.count && !Nonzero(entry.hits[nextScan])) ++nextScan;

      const i32 offset = static_cast<i32>(ReConceptOffset(first.word));
      const i32 before = previousNonzero == kNone ? offset - 1000
                                                  : static_cast<i32>(ReConceptOffset(entry.hits[previousNonzero].word));
      const i32 after =
          nextScan < entry.count ? static_cast<i32>(ReConceptOffset(entry.hits[nextScan].word)) : offset + 1000;

      for (u32 k = runStart; k < runEnd; ++k) {
        const ReConceptHit& hit = entry.hits[k];
        const bool nonzero = Nonzero(hit);
        const bool last = k + 1 == entry.count;
        const u32 hitOffset = ReConceptOffset(hit.word);
        if (clusters_ && ((hitOffset != clusterOffset && nonzero) || last)) {
          for (u16 t = 0; t < in_.termCount; ++t) {
            cluster += in_.weights[t] * std::fabs(in_.idf[t]) * work_.s2[t];
            work_.s2[t] = 0.0f;
          }
          if (cluster > clusterBest) {
            clusterBest = cluster;
            bestAt = clusterOffset;
          }
          if (!(last && hitOffset == clusterOffset)) cluster = 0.0f;
          clusterOffset = hitOffset;
        }
        if (!nonzero) continue;
        const i32 distance = offset - before < after - offset ? offset - before : after - offset;
        float value = static_cast<float>(distance + 1);
        if (value == 1.0f && work_.wordCounts[hitOffset] > 1) value = 1.0f / work_.wordCounts[hitOffset];
        if (hitOffset < 4) value *= 0.5f;
        if (hit.word & ReConceptFieldBit) value *= 4.0f;
        work_.s1[hit.term] += 1.0f / value;
        if (clusters_) work_.s2[hit.term] += 1.0f / value;
        if (value < work_.best[hit.term]) work_.best[hit.term] = value;
      }
      for (u32 k = runStart; k < runEnd; ++k)
        if (Nonzero(entry.hits[k])) previousNonzero = k;
      runStart = runEnd;
    }

    Cap(spread);
    if (clusters_) {
      for (u16 t = 0; t < in_.termCount; ++t) cluster += in_.weights[t] * std::fabs(in_.idf[t]) * work_.s2[t];
      if (cluster > clusterBest) {
        clusterBest = cluster;
        bestAt = clusterOffset;
      }
    }

    float score = 0.0f;
    bool dropped = false;
    for (u16 t = 0; t < in_.termCount; ++t) {
      float& s1 = work_.s1[t];
      if (work_.best[t] > 1.0f && s1 > 0.0f) s1 = s1 - 1.0f / work_.best[t] + 1.0f;
      const float idf = in_.idf[t];
      if (idf < 0.0f && s1 == 0.0f) dropped = true;  // the entry lacks a term that is everywhere
      if (dropped) continue;
      if (idf >= 0.0f)
        score += in_.weights[t] * idf * s1;
      else
        score -= in_.weights[t] * idf * s1;
    }
    if (dropped) score = -1.0f;
    if (score > 0.0f) {
      const float spreadTerms = static_cast<float>(entry.count - 1) - static_cast<float>(zeroHits_) +
                                static_cast<float>(nonzeroTerms_) + 10.0f;
      score = (score + clusterBest) / std::log(spreadTerms);
    }
    *bestPosition = bestAt == kNone ? 0 : static_cast<u16>(bestAt);
    return score;
  }

 private:
  bool Nonzero(const ReConceptHit& hit) const { return in_.idf[hit.term] != 0.0f; }

  // Fills the per-word counts of terms sharing a word; returns the term spread.
  u32 CountSharedOffsets(const EntryHits& entry) {
    u32 rememberedOffset = kNone;
    u32 rememberedTerm = kNone;
    u32 spread = 1;
    zeroHits_ = 0;
    for (u32 k = 0; k < entry.count; ++k) {
      const ReConceptHit& hit = entry.hits[k];
      const u32 offset = ReConceptOffset(hit.word);
      const bool counts = !(hit.word & ReConceptFieldBit) && Nonzero(hit);
      u16& shared = work_.wordCounts[offset];
      if (offset != rememberedOffset)
        shared = counts ? 1 : 0;
      else if (hit.term != rememberedTerm && counts)
        ++shared;
      if (shared == nonzeroTerms_) shared = static_cast<u16>(shared * 2);
      if (hit.term != rememberedTerm) ++spread;
      if (Nonzero(hit)) {
        rememberedOffset = offset;
        rememberedTerm = hit.term;
      } else {
        ++zeroHits_;
      }
    }
    return spread;
  }

  // Limits each term's sums to the entry's spread times the smallest.
  void Cap(u32 spread) {
    const u32 capped = nonzeroTerms_ < in_.termCount ? nonzeroTerms_ : in_.termCount;
    float smallest1 = 1000000.0f, smallest2 = 1000000.0f;
    for (u32 t = 0; t < capped; ++t) {
      if (work_.s1[t] != 0.0f && work_.s1[t] < smallest1) smallest1 = work_.s1[t];
      if (work_.s2[t] != 0.0f && work_.s2[t] < smallest2) smallest2 = work_.s2[t];
    }
    const float limit1 = smallest1 * static_cast<float>(spread), limit2 = smallest2 * static_cast<float>(spread);
    for (u32 t = 0; t < capped; ++t) {
      if (work_.s1[t] > limit1) work_.s1[t] = limit1;
      if (work_.s2[t] > limit2) work_.s2[t] = limit2;
    }
  }

  const ReRankInput& in_;
  const ReRankWork& work_;
  u32 nonzeroTerms_ = 0;
  u32 zeroHits_ = 0;
  bool clusters_;
};

}  // namespace

float ReInverseFrequency(u32 entryCount, u32 df) {
  if (df == 0) return 0.0f;
  return static_cast<float>(std::log2(static_cast<double>(entryCount) / static_cast<double>(df)));
}

bool ReSortHits(ReConceptHit* hits, u32 count, ReRankProgress progress) {
  const u32 passes = PassCount(count);
  u32 done = 0;
  for (u32 gap = count / 2; gap > 0; gap /= 2) {
    for (u32 i = gap; i < count; ++i) {
      const ReConceptHit moving = hits[i];
      u32 j = i;
      while (j >= gap && HitBefore(moving, hits[j - gap])) {
        hits[j] = hits[j - gap];
        j -= gap;
      }
      hits[j] = moving;
    }
    ++done;
    if (progress && progress(done, 2 * passes) != 0) return false;
  }
  return true;
}

bool ReSortRanks(float* scores, u32* entries, u16* positions, u32 count, ReRankProgress progress) {
  const u32 passes = PassCount(count);
  u32 done = 0;
  for (u32 gap = count / 2; gap > 0; gap /= 2) {
    for (u32 i = gap; i < count; ++i) {
      const float score = scores[i];
      const u32 entry = entries[i];
      const u16 position = positions[i];
      u32 j = i;
      // Highest first; equal scores keep entry order.
      while (j >= gap && (scores[j - gap] < score || (scores[j - gap] == score && entries[j - gap] > entry))) {
        scores[j] = scores[j - gap];
        entries[j] = entries[j - gap];
        positions[j] = positions[j - gap];
        j -= gap;
      }
      scores[j] = score;
      entries[j] = entry;
      positions[j] = position;
    }
    ++done;
    if (progress && progress(passes + 2 * done, 2 * passes) != 0) return false;
  }
  return true;
}

u32 ReScoreEntries(const ReRankInput& input, const ReRankWork& work) {
  double norm = 0.0;
  for (u16 t = 0; t < input.termCount; ++t)
    norm += static_cast<double>(input.weights[t]) * input.weights[t] * std::fabs(input.idf[t]);
  // Without a positive norm (all weights or all idf 0) nothing can score.
  if (!(norm > 0.0)) return 0;
  const float root = static_cast<float>(std::sqrt(norm));

  EntryScorer scorer(input, work);
  for (u32 e = 0; e <= input.entryCount; ++e) work.scores[e] = 0.0f;
  for (u32 i = 0; i < input.hitCount;) {
    const u32 entry = ReConceptEntry(input.hits[i].word);
    u32 j = i + 1;
    while (j < input.hitCount && ReConceptEntry(input.hits[j].word) == entry) ++j;
    bool usable = entry >= 1 && entry <= input.entryCount;
    for (u32 k = i; usable && k < j; ++k) usable = input.hits[k].term < input.termCount;
    if (usable) {
      u16 position = 0;
      work.scores[entry] = scorer.Score(EntryHits{input.hits + i, j - i}, &position);
      work.positions[entry] = position;
    }
    i = j;
  }

  u32 kept = 0;
  for (u32 e = 1; e <= input.entryCount; ++e) {
    const float score = work.scores[e];
    if (!(score > 0.0f)) continue;
    work.scores[kept] = score / root;
    work.entries[kept] = e;
    work.positions[kept] = work.positions[e];
    ++kept;
  }
  return kept;
}

bool ReFillRanks(const ReRankWork& work, u32 kept, ReRankRecord* record, ReRankProgress progress) {
  record->resultCount = 0;
  if (!ReSortRanks(work.scores, work.entries, work.positions, kept, progress)) return false;
  if (kept == 0) return true;
  const float cutOff = 0.25f * work.scores[0];
  u16 count = 0;
  for (u32 i = 0; i < kept && count < ReRankResults; ++i) {
    if (work.scores[i] < cutOff) break;
    record->entries[count] = work.entries[i];
    record->scores[count] = work.scores[i];
    record->positions[count] = work.positions[i];
    ++count;
  }
  record->resultCount = count;
  return true;
}
