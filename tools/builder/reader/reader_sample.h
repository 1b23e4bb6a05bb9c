// What the reader program needs of the sample content beyond the content
// files of content/sample_content.h and the thesaurus and French-English
// dictionary of engine_db/lists_samples.h: the other four engine databases,
// the backgrounds' media items (Back.bin), bookmarks and folders
// (Bookmark.dat) and the sound files. The engine databases of the
// encyclopedia and the updates hold one article for each title of the title
// indexes, in entry order, so titles, filters and text agree.
#pragma once

#include <map>
#include <set>
#include <string>

#include "common/byte_writer.h"
#include "content/sample_content.h"
#include "search_corpus/search_corpus.h"

namespace builder {

// A searchable engine database of the articles whose main index also carries
// the standard spelling tables, so the reader's spelling help finds
// alternatives. `headwords`: lower-case words whose lookup leads to the given
// entry (dictionary articles), their titles then cut after "<WD>";
// `capitalisedToo`: words the index also holds with a capital.
Bytes ReaderDatabase(const search_corpus::Corpus& corpus, std::uint32_t id,
                     const std::map<std::string, std::uint32_t>& headwords = {},
                     const std::set<std::string>& capitalisedToo = {});

// The main database's articles (REN2F200.DAT) of the content, in entry
// order: every one begins with <WD> and its title.
search_corpus::Corpus MainArticles(const ContentSample& content);

// The files by name.
std::map<std::string, Bytes> BuildReaderSample();

// Writes the files into the directory (sample/sample_set.h writes the whole set).
void WriteReaderSample(const std::string& directory);

}  // namespace builder
