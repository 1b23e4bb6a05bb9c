#include "display/annotations.h"

#include <algorithm>

namespace display {

std::vector<std::pair<int, int>> HighlightRanges(const TextModel& model) {
  std::vector<std::pair<int, int>> ranges;
  int start = kNone;
  for (int r = 0; r < model.RunCount(); ++r) {
    const bool on = (model.GetRun(r).marks & kMarkHighlighted) != 0;
    if (on && start == kNone) start = r;
    if (!on && start != kNone) {
      ranges.emplace_back(start, r - 1);
      start = kNone;
    }
  }
  if (start != kNone) ranges.emplace_back(start, model.RunCount() - 1);
  return ranges;
}

void ApplyHighlights(TextModel& model, const std::vector<std::pair<int, int>>& ranges) {
  for (const auto& [first, last] : ranges) {
    if (first > last || last < 0 || first >= model.RunCount()) continue;
    model.SetMark(first, last, kMarkHighlighted, true);
  }
}

void StoreAnnotations(AnnotationStore& store, int article, const std::vector<StoredNote>& notes,
                      const TextModel& model) {
  store.RemoveBookmark(article);
  for (const StoredNote& note : notes) store.AddBookmarkNote(article, note.text, note.position);
  for (const auto& [first, last] : HighlightRanges(model)) store.AddHighlight(article, first, last);
}

bool RestoreAnnotations(AnnotationStore& store, int article, TextModel& model, std::vector<StoredNote>& notes) {
  StoredAnnotations stored;
  notes.clear();
  if (!store.FindAnnotations(article, stored)) return false;
  ApplyHighlights(model, stored.highlights);
  notes = std::move(stored.notes);
  return true;
}

NotePlace PlaceNote(const std::vector<int>& tops, int y) {
  NotePlace place;
  place.index = static_cast<int>(std::lower_bound(tops.begin(), tops.end(), y) - tops.begin());
  place.top = y;
  if (place.index > 0) {
    const int bottom = tops[static_cast<std::size_t>(place.index - 1)] + kNoteSize;
    if (bottom >= y) place.top = bottom + 1;
  }
  return place;
}

std::vector<int> PushNotesDown(std::vector<int>& tops, int index) {
  std::vector<int> moved;
  for (std::size_t i = static_cast<std::size_t>(index) + 1; i < tops.size(); ++i) {
    const int bottom = tops[i - 1] + kNoteSize;
    if (tops[i] > bottom) continue;
    tops[i] = bottom + 1;
    moved.push_back(static_cast<int>(i));
  }
  return moved;
}

}  // namespace display
