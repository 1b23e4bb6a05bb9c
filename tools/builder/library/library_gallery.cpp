#include "library/library_gallery.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>

#include "content/gallery_store.h"
#include "library/text_encoding.h"

namespace builder::library {

std::string XplanetDirectory() {
  const char* directory = std::getenv("VELDRIX_XPLANET_DIR");
  return directory != nullptr && *directory != '\0' ? directory : "/usr/share/xplanet/images";
}

gallery::GallerySources ReadGallerySources(const std::string& directory, const gallery::MediaReaders& readers) {
  if (readers.readJpeg == nullptr) throw std::logic_error("gallery: no JPEG reader");
  const auto read = [&](const char* name) {
    const std::string path = JoinPath(directory, name);
    if (!std::filesystem::is_regular_file(path))
      throw std::runtime_error(path +
                               " is missing: install the xplanet-images package (apt-get install xplanet-images)");
    return readers.readJpeg(path);
  };
  gallery::GallerySources sources;
  sources.day = read("earth.jpg");
  sources.night = read("night.jpg");
  sources.sun = read("sun.jpg");
  return sources;
}

namespace {

// A media block of thumbnails in rows of three, the text continuing below:
// the type-10 run holds the indent (the objects' width), hidden numbers the
// block's height, flags and object count, then each object's place, size,
// item and flags (with a poster: flag 0x2040 and the poster's item after).
std::string ThumbnailBlock(const std::vector<GalleryPlan::Block>& blocks,
                           const std::map<std::string, std::uint16_t>& items) {
  constexpr int kWidth = 96, kHeight = 72, kGap = 6, kPerRow = 3;
  const int count = static_cast<int>(blocks.size());
  const int rows = (count + kPerRow - 1) / kPerRow;
  const int across = std::min(count, kPerRow);
  std::string numbers;
  const auto add = [&numbers](long value) {
    numbers += ' ';
    numbers += std::to_string(value);
  };
  add(rows * (kHeight + kGap) + kGap);
  add(5);  // objects at the left, no text beside them
  add(count);
  for (int i = 0; i < count; ++i) {
    const GalleryPlan::Block& block = blocks[static_cast<std::size_t>(i)];
    add((i % kPerRow) * (kWidth + kGap));
    add(kGap + (i / kPerRow) * (kHeight + kGap));
    add(kWidth);
    add(kHeight);
    add(items.at(block.article));
    if (block.posterArticle.empty()) {
      add(0);
    } else {
      add(0x2040);  // the poster's item follows
      add(items.at(block.posterArticle));
    }
  }
  std::string block = "<MB>";
  block += std::to_string(across * (kWidth + kGap));
  block += "<HID>";
  block += numbers;
  block += "</HID></MB>";
  return block;
}

}  // namespace

void AddGallery(GalleryPlan plan, const std::vector<std::string>& sampleTitles, ExtraContent* content) {
  for (const GalleryItemPlan& item : plan.items) {
    ExtraArticle article;
    article.title = item.article;
    std::string body = item.picture ? item.picture->caption : item.text;
    article.text = EscapeTagged(item.article);
    article.text += "\n<P>";
    article.text += EscapeTagged(body);
    content->articles.push_back(std::move(article));
  }
  // Number every main title as the content writers will, to learn the items'
  // numbers: the media articles in entry order, the background's among them.
  std::vector<std::string> titles = sampleTitles;
  for (const ExtraArticle& article : content->articles) titles.push_back(article.title);
  const std::vector<std::uint32_t> entries = MainEntryNumbers(titles);
  std::map<std::string, std::uint32_t> entryOf;
  for (std::size_t i = 0; i < titles.size(); ++i) entryOf.emplace(titles[i], entries[i]);
  const std::map<std::string, std::uint16_t> items =
      GalleryItemNumbers(plan, {&entryOf, &entryOf}, "Background Pictures");
  for (const auto& [title, blocks] : plan.articleBlocks) {
    ExtraArticle* shown = nullptr;
    for (ExtraArticle& article : content->articles)
      if (article.title == title) {
        shown = &article;
        break;
      }
    if (shown == nullptr) continue;  // a slice of the library without it
    // The display lays a block out at the first text after it: the line
    // that tells what the thumbnails are follows them.
    shown->text += '\n';
    shown->text += ThumbnailBlock(blocks.items, items);
    shown->text += "\n<P>";
    shown->text += EscapeTagged(blocks.heading);
  }
  content->gallery = std::move(plan);
}

}  // namespace builder::library
