// The two data files that give an article its neighbours. MAROVA.REL (in the
// main database's directory, big-endian) lists for each main-database entry
// its related entries with a score; Internet.dat (in the working directory,
// little-endian) lists the Internet links of the articles of Link.bit and the
// web address of each article of Url.bit. Both are opened, read and closed
// within one call; nothing is cached.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "zorlre/re_types.h"

namespace links {

constexpr const char* kRelatedFileName = "MAROVA.REL";
constexpr const char* kInternetFileName = "Internet.dat";
// The longest web address the reader takes, its terminating zero included.
constexpr std::size_t kUrlBufferSize = 260;

struct RelatedEntry {
  u32 entry;  // main-database entry number
  u16 score;
};

// The related entries of main-database entry `entry` (1-based) in the file's
// order. False only when the file cannot be opened. A record that lies
// outside the file, or ends early, gives the entries read up to there.
bool ReadRelatedEntries(const char* path, u32 entry, std::vector<RelatedEntry>& related);

// The Internet links (article numbers) of the article whose rank among the
// articles of Link.bit is `rank`. False only when the file cannot be opened;
// a list that lies outside the file gives the links read up to there.
bool ReadInternetLinks(const char* path, int rank, std::vector<u32>& links);

enum class UrlResult {
  Ok,
  OpenFailed,
  // The entry lies outside the file, is empty, has no terminating zero or is
  // longer than the buffer.
  Unreadable,
};
// The web address of the Internet article whose rank among the articles of
// Url.bit is `rank`.
UrlResult ReadInternetUrl(const char* path, int rank, std::string& url);

}  // namespace links
