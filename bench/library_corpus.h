// The reference library's main database as a search corpus: the articles and
// dictionary entries made from the installed dictionary packages (see
// tools/builder/library), with their real vocabulary, most frequent first.
#pragma once

#include <string>

#include "search_corpus/search_corpus.h"

// Reads the packages in `dictdDirectory`; prints a line per step.
builder::search_corpus::Corpus LibraryCorpus(const std::string& dictdDirectory);
