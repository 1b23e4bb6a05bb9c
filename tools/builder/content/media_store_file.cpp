#include "content/media_store_file.h"

#include <stdexcept>

#include "content/media_phrases.h"

namespace builder {
namespace {

constexpr std::size_t DescriptorSize = 11;
constexpr std::size_t FileNameField = 14;

void PutItemRecord(ByteWriter& out, const MediaItemRecord& record) {
  if (record.related.size() > 255 || record.title.size() > 0xFFFF)
    throw std::runtime_error("media item record too large: " + record.title);
  out.U32le(record.entry);
  out.U8(record.type);
  out.U16le(record.soundItem);
  out.U8(static_cast<std::uint32_t>(record.related.size()));
  out.U16le(static_cast<std::uint32_t>(record.title.size()));
  out.Append(record.title);
  for (std::uint32_t entry : record.related) out.U32le(entry);
}

std::uint32_t Narrow(std::size_t value, const char* what) {
  if (value > 0x7FFFFFFF) throw std::runtime_error(std::string(what) + " beyond 2 GB");
  return static_cast<std::uint32_t>(value);
}

}  // namespace

Bytes MediaFileRecord(std::uint8_t type, const std::string& fileName, const std::string& text) {
  if (type != 5 && type != 6 && type != 7 && type != 10) throw std::runtime_error("not a media file type");
  if (fileName.empty() || fileName.size() > FileNameField - 1) throw std::runtime_error("bad file name: " + fileName);
  if (text.size() > 0xFFFF) throw std::runtime_error("media text too long");
  ByteWriter out;
  out.U8(type);
  out.U16le(static_cast<std::uint32_t>(text.size()));
  out.Append(fileName);
  out.Zeros(FileNameField - fileName.size());
  out.Append(text);
  return out.take();
}

Bytes PictureRecord(const Picture& picture) {
  const std::uint32_t bits = picture.bitsPerPixel;
  if (picture.type < 1 || picture.type > 4) throw std::runtime_error("not a picture type");
  if (bits != 1 && bits != 4 && bits != 8) throw std::runtime_error("bits per pixel must be 1, 4 or 8");
  if (picture.colours.size() != (1u << bits)) throw std::runtime_error("colour table size does not match");
  if (picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height)
    throw std::runtime_error("pixel count does not match the size");
  if (picture.caption.size() > 0xFFFF) throw std::runtime_error("caption too long");
  const std::uint32_t stride = (picture.width * bits + 31) / 32 * 4;

  Bytes block(static_cast<std::size_t>(stride) * picture.height, 0);
  for (std::uint32_t y = 0; y < picture.height; ++y) {
    std::uint8_t* row = block.data() + static_cast<std::size_t>(picture.height - 1 - y) * stride;  // bottom-up
    for (std::uint32_t x = 0; x < picture.width; ++x) {
      const std::uint32_t index = picture.pixels[static_cast<std::size_t>(y) * picture.width + x];
      if (index >= (1u << bits)) throw std::runtime_error("pixel beyond the colour table");
      const std::uint32_t bit = x * bits;
      row[bit / 8] |= static_cast<std::uint8_t>(index << (8 - bits - bit % 8));
    }
  }
  // 256-colour pixels are stored as differences to the byte before, except
  // the first and the last byte of the block.
  if (bits == 8 && block.size() >= 3)
    for (std::size_t i = block.size() - 2; i >= 1; --i) block[i] = static_cast<std::uint8_t>(block[i] - block[i - 1]);

  ByteWriter out;
  const std::size_t total = 17 + picture.caption.size() + 4 * picture.colours.size() + block.size();
  out.U8(picture.type);
  out.U16le(static_cast<std::uint32_t>(picture.caption.size()));
  out.U16le(picture.width);
  out.U16le(picture.height);
  out.U16le(stride);
  out.U8(bits);
  out.U16le(0);  // no regions
  out.U32le(Narrow(total, "picture"));
  out.U8(0);
  out.Append(picture.caption);
  for (std::uint32_t colour : picture.colours) {
    out.U8(colour);
    out.U8(colour >> 8);
    out.U8(colour >> 16);
    out.U8(0);
  }
  out.Append(block);
  return out.take();
}

MediaStoreFiles BuildMediaStore(const MediaStore& store) {
  const std::size_t items = store.items.size();
  const std::size_t categories = store.categories.size();
  if (items > 0xFFFF) throw std::runtime_error("too many media items");
  if (categories < 2 || categories > 0xFFFF) throw std::runtime_error("a media store has 2 to 65535 categories");
  for (const MediaItem& item : store.items) {
    if (item.data.size() < 17) throw std::runtime_error("media data record without its header");
    if (item.item.soundItem != 0xFFFF && item.item.soundItem >= items)
      throw std::runtime_error("sound item beyond the media items");
  }

  // MMD: the packed stream first, the plain records after it. A plain record
  // never starts at byte 0, whose offset 0 would read as code 0.
  MediaCodeStream stream;
  std::vector<std::int64_t> dataOffsets(items);
  for (std::size_t i = 0; i < items; ++i)
    if (store.items[i].packed) dataOffsets[i] = stream.Append(store.items[i].data);
  ByteWriter mmd;
  mmd.Append(stream.bytes());
  if (mmd.size() == 0) mmd.U8(0);
  for (std::size_t i = 0; i < items; ++i)
    if (!store.items[i].packed) {
      dataOffsets[i] = -static_cast<std::int64_t>(Narrow(mmd.size(), "media data"));
      mmd.Append(store.items[i].data);
    }

  // MMX: header, the two offset tables, the category block, the item
  // records, then the category data. The block's size is known before its
  // descriptors are: 11 bytes each, then the listed titles.
  ByteWriter titles;
  for (std::size_t c = 0; c + 2 < categories; ++c) {
    if (store.categories[c].title.find('\0') != std::string::npos) throw std::runtime_error("NUL in a title");
    titles.Append(store.categories[c].title);
    titles.U8(0);
  }
  const std::size_t blockSize = DescriptorSize * categories + titles.size();
  const std::size_t recordsAt = 8 + 8 * items + blockSize;
  ByteWriter records;
  std::vector<std::uint32_t> recordOffsets;
  for (const MediaItem& item : store.items) {
    recordOffsets.push_back(Narrow(recordsAt + records.size(), "media index"));
    PutItemRecord(records, item.item);
  }
  ByteWriter descriptors;
  for (const MediaCategory& category : store.categories) {
    if (category.records.size() > 0xFFFF) throw std::runtime_error("too many records in a category");
    const std::size_t dataAt = recordsAt + records.size();
    for (const MediaItemRecord& record : category.records) PutItemRecord(records, record);
    descriptors.U8(category.depth);
    descriptors.U16le(static_cast<std::uint32_t>(category.records.size()));
    descriptors.U32le(Narrow(recordsAt + records.size() - dataAt, "category data"));
    descriptors.U32le(Narrow(dataAt, "media index"));
  }

  ByteWriter mmx;
  mmx.U16le(static_cast<std::uint32_t>(items));
  mmx.U16le(static_cast<std::uint32_t>(categories));
  mmx.U32le(Narrow(blockSize, "category block"));
  for (std::int64_t offset : dataOffsets) mmx.U32le(static_cast<std::uint32_t>(offset));
  for (std::uint32_t offset : recordOffsets) mmx.U32le(offset);
  mmx.Append(descriptors.bytes());
  mmx.Append(titles.bytes());
  mmx.Append(records.bytes());
  return {mmx.take(), mmd.take()};
}

}  // namespace builder
