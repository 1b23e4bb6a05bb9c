// The sample content set: the content core's files (title indexes, filters,
// the media store with its pictures and hot spots, categories, settings), the
// inflection tables, the thesaurus and the dictionaries, the panorama movies,
// and the reader's engine databases, backgrounds, bookmarks and sounds. Each
// file has exactly one writer, so no writer overwrites another's file.
#pragma once

#include <string>
#include <vector>

namespace builder {

struct SampleWriter {
  const char* name;
  void (*write)(const std::string& directory);
};

// The writers in the order the set is written.
const std::vector<SampleWriter>& SampleWriters();

// Writes the whole set into the directory (made when missing).
void WriteSampleSet(const std::string& directory);

}  // namespace builder
