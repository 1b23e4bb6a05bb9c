// The related-articles file (MAROVA.REL, big-endian) and the Internet links
// file (Internet.dat, little-endian) of the encyclopedia screen; see
// docs/formats.md.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_writer.h"

namespace builder {

struct RelatedItem {
  std::uint32_t entry;  // main-database entry number (24 bits)
  std::uint16_t score;
};

// relatedByEntry[e - 1]: the related entries of main-database entry e, in
// the order the reader lists them. Throws std::invalid_argument for an entry
// number that does not fit 24 bits or a list longer than 65535.
Bytes BuildRelatedFile(const std::vector<std::vector<RelatedItem>>& relatedByEntry);

struct InternetArticle {
  std::uint32_t article;  // its article number
  std::string url;        // without the terminating zero
};

// linksByRank[k]: the linked Internet articles of the k-th article of
// Link.bit; urls[u]: the u-th article of Url.bit and its address. Every
// linked article must be one of `urls`. Throws std::invalid_argument for an
// address of 260 bytes or more, or a link to an article without an address.
Bytes BuildInternetFile(const std::vector<std::vector<std::uint32_t>>& linksByRank,
                        const std::vector<InternetArticle>& urls);

// Writes both files of the sample content into the directory.
void WriteBrowserSample(const std::string& directory);

}  // namespace builder
