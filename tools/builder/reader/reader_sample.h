// What the reader program needs of the sample content beyond the content
// files of content/sample_content.h: the six engine databases, the
// backgrounds' media items (Back.bin), bookmarks and folders (Bookmark.dat)
// and the sound files. The engine databases of the encyclopedia and the
// updates hold one article for each title of the title indexes, in entry
// order, so titles, filters and text agree.
#pragma once

#include <map>
#include <string>

#include "common/byte_writer.h"

namespace builder {

// The files by name. Databases that another sample writer makes (the
// thesaurus and the French-English dictionary) are included for a content
// set that lacks them.
std::map<std::string, Bytes> BuildReaderSample();

// Writes the files into the directory, which must already hold the content
// sample; a database that is already there is kept.
void WriteReaderSample(const std::string& directory);

}  // namespace builder
