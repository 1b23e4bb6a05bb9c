// The files of a dictd dictionary as Debian's dictionary packages install
// them: "<name>.index", one line per headword (the headword, a tab, the
// offset and length of its definition in base 64, a tab), and "<name>.dict.dz"
// (gzip with a dictzip header) or "<name>.dict" holding the definitions.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace builder::library {

// One definition of the .dict file and every headword of the index that
// leads to it, in index order.
struct DictdEntry {
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
  std::vector<std::string> headwords;
};

struct DictdDictionary {
  std::string text;                 // the whole .dict file, as stored
  std::vector<DictdEntry> entries;  // by offset; the index's "00-database-..." records left out
  // The definition's text.
  std::string Definition(const DictdEntry& entry) const { return text.substr(entry.offset, entry.length); }
};

// The whole file; throws std::runtime_error when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// Where a package puts its files.
// "/usr/share/dictd" (under Windows its path on Wine's drive Z:), or
// $VELDRIX_DICTD_DIR when set.
std::string DictdDirectory();

// Reads <directory>/<name>.index and the .dict.dz (or .dict) beside it.
// Throws std::runtime_error naming the package when a file is missing, and
// on a malformed index line or a definition outside the file.
// `keep`, when given, chooses the index lines read (a slice of the
// dictionary): a definition keeps only its chosen headwords.
DictdDictionary ReadDictd(const std::string& directory, const std::string& name, const std::string& package,
                          const std::function<bool(const std::string& headword)>& keep = {});

// The value of a base-64 number of the index ("A" 0 ... "/" 63, most
// significant digit first); throws std::invalid_argument on another character.
std::uint32_t DictdNumber(const std::string& digits);

}  // namespace builder::library
