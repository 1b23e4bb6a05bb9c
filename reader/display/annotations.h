// Notes and highlights of the shown entry and their bookmark record: the
// highlighted runs as ranges, the notes with their text positions, stored into
// and read back from the application's bookmark store, and the stacking of
// note icons in the strip at the right of the text.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "display/text_model.h"

namespace display {

struct StoredNote {
  std::string text;
  int position = 0;  // a run index
};

struct StoredAnnotations {
  std::vector<StoredNote> notes;
  std::vector<std::pair<int, int>> highlights;  // first and last run
};

// The application's bookmark records, as far as notes and highlights go.
class AnnotationStore {
 public:
  virtual ~AnnotationStore() = default;
  // The article's notes and highlights; false when it has no record.
  virtual bool FindAnnotations(int article, StoredAnnotations& out) = 0;
  virtual void RemoveBookmark(int article) = 0;
  // Append to the article's record, making it when missing.
  virtual void AddBookmarkNote(int article, const std::string& text, int position) = 0;
  virtual void AddHighlight(int article, int first, int last) = 0;
};

// Each stretch of consecutive highlighted runs, the last one reaching the end
// of the entry included.
std::vector<std::pair<int, int>> HighlightRanges(const TextModel& model);
// Highlights the runs of stored ranges; ranges are cut to the entry's runs
// (a record may be older than the text it is laid on).
void ApplyHighlights(TextModel& model, const std::vector<std::pair<int, int>>& ranges);

// Writes an entry's record anew: the record goes, then the notes (in the
// order given) and the highlight ranges are added. An entry without notes and
// highlights is left without a record.
void StoreAnnotations(AnnotationStore& store, int article, const std::vector<StoredNote>& notes,
                      const TextModel& model);

// Reads an entry's record back: highlights its runs and gives its notes;
// false when the entry has no record.
bool RestoreAnnotations(AnnotationStore& store, int article, TextModel& model, std::vector<StoredNote>& notes);

// Note icons: 32 pixels square, stacked in the note strip.
constexpr int kNoteSize = 32;

struct NotePlace {
  int index = 0;  // where the new icon goes in the list ordered by top
  int top = 0;
};
// Where an icon for a line at y goes among icons whose tops are given (in
// model coordinates, ordered): below an icon that reaches down to y.
NotePlace PlaceNote(const std::vector<int>& tops, int y);
// After an icon was inserted at `index`, moves down each following icon that
// overlaps the one before it; returns the indexes moved.
std::vector<int> PushNotesDown(std::vector<int>& tops, int index);

}  // namespace display
