#include "content/category_index_file.h"

#include <stdexcept>

namespace builder {

Bytes BuildCategoryIndex(const CategoryIndex& index) {
  const std::size_t count = index.categories.size();
  if (count > 0xFFFF) throw std::runtime_error("too many subject categories");
  std::vector<std::uint16_t> categoryOf(index.entryCount + 1, 0);
  for (std::size_t k = 0; k < count; ++k) {
    const SubjectCategory& category = index.categories[k];
    if (category.title.size() > 0xFFFF || category.entries.size() > 0xFFFF || category.depth > 0x7F)
      throw std::runtime_error("subject category out of range: " + category.title);
    for (std::uint32_t entry : category.entries) {
      if (entry == 0 || entry > index.entryCount)
        throw std::runtime_error("entry " + std::to_string(entry) + " beyond the index in " + category.title);
      if (!categoryOf[entry]) categoryOf[entry] = static_cast<std::uint16_t>(k + 1);
    }
  }

  const std::size_t recordsAt = 10 + 4 * static_cast<std::size_t>(index.entryCount) + 4 * count;
  std::size_t areaSize = 0;
  for (const SubjectCategory& category : index.categories) areaSize += 10 + category.title.size();
  std::size_t listAt = recordsAt + areaSize;
  if (listAt > 0x7FFFFFFF) throw std::runtime_error("category index too large");

  ByteWriter offsets;
  ByteWriter records;
  ByteWriter lists;
  for (const SubjectCategory& category : index.categories) {
    offsets.U32le(static_cast<std::uint32_t>(recordsAt + records.size()));
    records.U8(category.depth);
    records.U8(0);
    records.U16le(static_cast<std::uint32_t>(category.entries.size()));
    records.U16le(static_cast<std::uint32_t>(category.title.size()));
    records.U32le(static_cast<std::uint32_t>(listAt + lists.size()));
    records.Append(category.title);
    for (std::uint32_t entry : category.entries) lists.U32le(entry);
  }

  ByteWriter out;
  out.U32le(index.entryCount);
  out.U16le(static_cast<std::uint32_t>(count));
  out.U32le(static_cast<std::uint32_t>(areaSize));
  for (std::uint32_t entry = 1; entry <= index.entryCount; ++entry) {
    out.U16le(categoryOf[entry]);
    out.U16le(0);
  }
  out.Append(offsets.bytes());
  out.Append(records.bytes());
  out.Append(lists.bytes());
  return out.take();
}

}  // namespace builder
