// A small coherent content set for the reader: the filter files, the spelling
// hash, both title indexes, the media store with its phrase resource, the
// category index and the registry file of the settings.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/byte_writer.h"

namespace builder {

struct ContentSample {
  std::vector<std::string> mainTitles;        // by main-database entry number - 1
  std::vector<std::string> updateTitles;      // by update-database entry number - 1
  std::vector<std::uint32_t> updateArticles;  // article number of each update entry
  std::map<std::string, Bytes> files;         // by file name, registry file aside
};

ContentSample BuildContentSample();

// Writes the sample's files and "SETTINGS.REG" (WorkingDirectory = the
// directory) into the directory.
void WriteContentSample(const std::string& directory);

}  // namespace builder
