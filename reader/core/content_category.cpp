// The category lists of a content database: the media categories in its media
// index and the subject categories of its category index (CTX).
#include <cstdint>

#include "core/content_db.h"
#include "core/working_directory.h"
#include "zorlre/re_platform.h"

namespace {

constexpr u32 DescriptorSize = 11;
constexpr u32 ItemHeadSize = 10;
constexpr u32 ContextRecordHeadSize = 10;

// A block read from a file into memory of its own.
class Region {
 public:
  Region() = default;
  Region(const Region&) = delete;
  Region& operator=(const Region&) = delete;
  ~Region() { ReHeapFree(data_); }

  // Reads size bytes at position. False when the file does not hold them all
  // (checked before allocating) or memory runs out.
  bool Read(ContentFile file, std::int64_t position, u32 size) {
    if (!ContentSeek(file, position) || ContentRemaining(file) < size) return false;
    data_ = static_cast<u8*>(ReHeapAlloc(size ? size : 1));
    size_ = size;
    return data_ && ContentReadExact(file, data_, size);
  }
  const u8* data() const { return data_; }
  u32 size() const { return size_; }

 private:
  u8* data_ = nullptr;
  u32 size_ = 0;
};

}  // namespace

int CContentDb::ReadCategories(CCategoryList& list) {
  list.RemoveAll();
  if (m_mediaIndex == NoContentFile) return 0;
  const u32 categories = CategoryCount();
  // The last two categories are the hidden pools; fewer than two is no list.
  if (categories < 2 || CategoryBlockSize() < DescriptorSize * categories) return 0;
  Region block;
  if (!block.Read(m_mediaIndex, 8 + 8 * static_cast<std::int64_t>(MediaItemCount()), CategoryBlockSize())) return 0;

  const u32 rows = categories - 1;
  list.m_titles.SetSize(static_cast<int>(rows));
  list.m_levels.SetSize(static_cast<int>(rows));
  list.m_titles[0] = "All";
  list.m_levels[0] = 0;
  u32 at = DescriptorSize * categories;  // the titles follow the descriptors
  for (u32 row = 1; row < rows; ++row) {
    const u8* title = block.data() + at;
    u32 length = 0;
    while (at + length < block.size() && title[length]) ++length;
    if (at + length >= block.size()) {  // a title without its NUL inside the block
      list.RemoveAll();
      return 0;
    }
    list.m_titles[static_cast<int>(row)] = CString(reinterpret_cast<const char*>(title), static_cast<int>(length));
    list.m_levels[static_cast<int>(row)] = block.data()[DescriptorSize * (row - 1)];
    at += length + 1;
  }
  list.MarkChildren();
  return 1;
}

int CContentDb::ReadCategorySet(int n, CBitString& set) {
  set.Clear();
  if (m_mediaIndex == NoContentFile || n < 0 || n >= CategoryCount()) return 0;
  // A block that cannot hold its descriptors is damaged, as for the list.
  if (CategoryBlockSize() < DescriptorSize * CategoryCount()) return 0;
  u8 descriptor[DescriptorSize];
  const std::int64_t at =
      8 + 8 * static_cast<std::int64_t>(MediaItemCount()) + DescriptorSize * static_cast<std::int64_t>(n);
  if (!ContentSeek(m_mediaIndex, at) || !ContentReadExact(m_mediaIndex, descriptor, sizeof descriptor)) return 0;
  const u32 records = ContentU16(descriptor + 1);
  Region data;
  if (!data.Read(m_mediaIndex, ContentU32(descriptor + 7), ContentU32(descriptor + 3))) return 0;
  // Each record follows the previous one at 10 + title length + 4 x related
  // count bytes, all inside the category's data.
  u32 offset = 0;
  for (u32 record = 0; record < records; ++record) {
    if (data.size() - offset < ItemHeadSize) {
      set.Clear();
      return 0;
    }
    const u8* head = data.data() + offset;
    const std::uint64_t length = ItemHeadSize + ContentU16(head + 8) + 4ull * head[7];
    if (data.size() - offset < length) {
      set.Clear();
      return 0;
    }
    const u32 entry = ContentU32(head);
    if (entry <= 0x7FFFFFFF) set.SetBit(static_cast<int>(entry), TRUE, FALSE, 0, 0);
    offset += static_cast<u32>(length);
  }
  return set.GetSetCount();
}

BOOL CContentDb::OpenContext() {
  if (m_contextFile != NoContentFile) return TRUE;
  if (!m_ctxFile[0]) return FALSE;
  m_contextFile = ContentOpen(WorkingPath(m_ctxFile).c_str());
  if (m_contextFile == NoContentFile) return FALSE;
  if (!ContentReadExact(m_contextFile, m_contextHeader, sizeof m_contextHeader)) {
    CloseContext();
    return FALSE;
  }
  return TRUE;
}

void CContentDb::CloseContext() {
  ContentClose(m_contextFile);
  m_contextFile = NoContentFile;
}

int CContentDb::ReadContextCategories(CCategoryList& list) {
  list.RemoveAll();
  if (!OpenContext()) return 0;
  const std::int64_t recordsAt = 10 + 4 * (static_cast<std::int64_t>(ContextEntryCount()) + ContextCategoryCount());
  Region area;
  if (!area.Read(m_contextFile, recordsAt, ContextAreaSize())) {
    CloseContext();
    return 0;
  }
  const int categories = ContextCategoryCount();
  list.m_titles.SetSize(categories + 1);
  list.m_levels.SetSize(categories + 1);
  list.m_titles[0] = "All";
  list.m_levels[0] = 0;
  u32 at = 0;
  for (int row = 1; row <= categories; ++row) {
    const u8* record = area.data() + at;
    if (area.size() - at < ContextRecordHeadSize ||
        area.size() - at - ContextRecordHeadSize < ContentU16(record + 4)) {  // the records run past the area
      list.RemoveAll();
      CloseContext();
      return 0;
    }
    const u16 length = ContentU16(record + 4);
    list.m_titles[row] = CString(reinterpret_cast<const char*>(record + ContextRecordHeadSize), length);
    list.m_levels[row] = record[0];
    at += ContextRecordHeadSize + length;
  }
  list.MarkChildren();
  return 1;
}

int CContentDb::ReadContextSet(int k, CString& title, CBitString& set) {
  set.Clear();
  if (!OpenContext()) return 0;
  const std::int64_t entries = ContextEntryCount();
  u8 offset[4] = {};
  u8 record[ContextRecordHeadSize] = {};
  bool read = k >= 0 && k < ContextCategoryCount() && ContentSeek(m_contextFile, 10 + 4 * (entries + k)) &&
              ContentReadExact(m_contextFile, offset, sizeof offset) &&
              ContentSeek(m_contextFile, ContentU32(offset)) && ContentReadExact(m_contextFile, record, sizeof record);
  Region name;
  Region list;
  read = read && name.Read(m_contextFile, ContentU32(offset) + ContextRecordHeadSize, ContentU16(record + 4)) &&
         list.Read(m_contextFile, ContentU32(record + 6), 4u * ContentU16(record + 2));
  CloseContext();
  if (!read) return 0;
  title = CString(reinterpret_cast<const char*>(name.data()), static_cast<int>(name.size()));
  for (u32 i = 0; i < list.size() / 4; ++i) {
    const u32 entry = ContentU32(list.data() + 4 * i);
    if (entry <= 0x7FFFFFFF) set.SetBit(static_cast<int>(entry), TRUE, FALSE, 0, 0);
  }
  return set.GetSetCount();
}

int CContentDb::GetEntryCategory(int a, WORD* second) {
  if (!OpenContext()) return 0;
  u8 values[4];
  // Entry a's pair sits at 6 + 4a: a = 0 would read the header.
  const bool read = a >= 1 && static_cast<u32>(a) <= ContextEntryCount() &&
                    ContentSeek(m_contextFile, 6 + 4 * static_cast<std::int64_t>(a)) &&
                    ContentReadExact(m_contextFile, values, sizeof values);
  CloseContext();
  if (!read) return 0;
  if (second) *second = ContentU16(values + 2);
  return ContentU16(values);
}
