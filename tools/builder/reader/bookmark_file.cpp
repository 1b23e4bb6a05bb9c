#include "reader/bookmark_file.h"

#include <stdexcept>

#include "content/bit_file.h"

namespace builder {
namespace {

void Text(ByteWriter& out, const std::string& text) {
  if (text.size() > 0xFFFF) throw std::invalid_argument("bookmark text longer than 65535 bytes");
  out.U16le(static_cast<std::uint32_t>(text.size()));
  out.Append(text);
}

void Count(ByteWriter& out, std::size_t count) {
  if (count > 0xFFFF) throw std::invalid_argument("more than 65535 records");
  out.U16le(static_cast<std::uint32_t>(count));
}

}  // namespace

Bytes EncodeBookmarkFile(const BookmarkData& data) {
  ByteWriter out;
  Count(out, data.folders.size());
  for (const BookmarkFolder& folder : data.folders) {
    Text(out, folder.name);
    out.U32le(static_cast<std::uint32_t>(folder.updateTitles.size()));
    for (const std::string& title : folder.updateTitles) Text(out, title);
    out.Append(EncodeBitFile(folder.mainEntryCount, folder.mainEntries));
  }
  Count(out, data.bookmarks.size());
  for (const BookmarkRecord& bookmark : data.bookmarks) {
    out.U8(bookmark.isUpdate ? 1 : 0);
    if (bookmark.isUpdate) {
      if (bookmark.title.size() > 255) throw std::invalid_argument("bookmark title longer than 255 bytes");
      Text(out, bookmark.title);
    } else {
      out.U32le(bookmark.mainEntry);
    }
    Count(out, bookmark.notes.size());
    for (const BookmarkNote& note : bookmark.notes) {
      Text(out, note.text);
      out.U16le(note.position);
    }
    Count(out, bookmark.highlights.size());
    for (const auto& [start, end] : bookmark.highlights) {
      out.U16le(start);
      out.U16le(end);
    }
  }
  return out.take();
}

}  // namespace builder
