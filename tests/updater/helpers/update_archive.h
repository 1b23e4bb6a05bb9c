// The layout of the test update archives: a small extractor program with the
// packed files appended (see docs/formats.md, "Update archives"). The test
// writes archives with BuildUpdateArchive; the extractor (sfx_stub.cpp)
// reads its own file with ReadUpdateArchive.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace update_archive {

struct File {
  std::string name;       // a plain file name
  std::uint64_t written;  // modification time: 100 ns units since 1601, UTC
  std::string data;
};

constexpr char Magic[8] = {'V', 'L', 'D', 'X', 'S', 'F', 'X', '1'};
constexpr std::size_t TrailerSize = 16;  // u32 payload offset, u32 file count, magic

// The extractor program's bytes followed by the files and the trailer.
std::string BuildUpdateArchive(const std::string& extractor, const std::vector<File>& files);
// The files packed at the end of an archive; nothing when the bytes are not
// one (a bad trailer, a record that runs past the end, a name that is not a
// plain file name).
std::optional<std::vector<File>> ReadUpdateArchive(const std::string& archive);
bool IsPlainFileName(const std::string& name);

}  // namespace update_archive
