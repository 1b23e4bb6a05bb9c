#include "core/related_files.h"

#include <cstring>

#include "core/content_file.h"

namespace links {
namespace {

// Closes the file when the read ends, however it ends.
class OpenFile {
 public:
  explicit OpenFile(const char* path) : m_file(ContentOpen(path)) {}
  ~OpenFile() {
    if (m_file != NoContentFile) ContentClose(m_file);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  bool IsOpen() const { return m_file != NoContentFile; }
  bool ReadAt(std::int64_t position, void* buffer, u32 count) const {
    return position >= 0 && ContentSeek(m_file, position) && ContentReadExact(m_file, buffer, count);
  }
  bool ReadNext(void* buffer, u32 count) const { return ContentReadExact(m_file, buffer, count); }

 private:
  ContentFile m_file;
};

u32 BigU32(const u8* p) {
  return static_cast<u32>(p[0]) << 24 | static_cast<u32>(p[1]) << 16 | static_cast<u32>(p[2]) << 8 | p[3];
}
u16 BigU16(const u8* p) { return static_cast<u16>(p[0] << 8 | p[1]); }

}  // namespace

bool ReadRelatedEntries(const char* path, u32 entry, std::vector<RelatedEntry>& related) {
  related.clear();
  OpenFile file(path);
  if (!file.IsOpen()) return false;
  if (entry == 0) return true;
  u8 offset[4];
  if (!file.ReadAt(4 * (static_cast<std::int64_t>(entry) - 1), offset, 4)) return true;
  const std::int64_t record = BigU32(offset);
  u8 count[2];
  if (!file.ReadAt(record + 3, count, 2)) return true;
  const u16 n = BigU16(count);
  for (u16 i = 0; i < n; ++i) {
    u8 item[5];
    if (!file.ReadNext(item, 5)) break;
    related.push_back({ContentU24be(item), BigU16(item + 3)});
  }
  return true;
}

bool ReadInternetLinks(const char* path, int rank, std::vector<u32>& links) {
  links.clear();
  OpenFile file(path);
  if (!file.IsOpen()) return false;
  if (rank < 0) return true;
  u8 field[4];
  if (!file.ReadAt(4 + 4 * static_cast<std::int64_t>(rank), field, 4)) return true;
  const std::int64_t list = ContentU32(field);
  u8 count[2];
  if (!file.ReadAt(list, count, 2)) return true;
  const u16 n = ContentU16(count);
  std::vector<u32> entries;
  for (u16 j = 0; j < n; ++j) {
    if (!file.ReadNext(field, 4)) break;
    entries.push_back(ContentU32(field));
  }
  for (u32 entry : entries) {
    if (!file.ReadAt(entry, field, 4)) break;
    links.push_back(ContentU32(field));
  }
  return true;
}

UrlResult ReadInternetUrl(const char* path, int rank, std::string& url) {
  url.clear();
  OpenFile file(path);
  if (!file.IsOpen()) return UrlResult::OpenFailed;
  u8 field[4];
  if (rank < 0 || !file.ReadAt(0, field, 4)) return UrlResult::Unreadable;
  const std::int64_t table = ContentU32(field);
  if (!file.ReadAt(table + 4 * static_cast<std::int64_t>(rank), field, 4)) return UrlResult::Unreadable;
  const std::int64_t entry = ContentU32(field);
  u8 length[2];
  if (!file.ReadAt(entry + 4, length, 2)) return UrlResult::Unreadable;
  const u16 m = ContentU16(length);
  if (m == 0 || m > kUrlBufferSize) return UrlResult::Unreadable;
  char text[kUrlBufferSize];
  if (!file.ReadNext(text, m)) return UrlResult::Unreadable;
  const std::size_t end = strnlen(text, m);
  if (end == m || end == 0) return UrlResult::Unreadable;  // no terminating zero, or no text
  url.assign(text, end);
  return UrlResult::Ok;
}

}  // namespace links
