// The media store and the media filters of a gallery plan (gallery_plan.h),
// once every article is numbered.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "content/gallery_plan.h"
#include "content/media_store_file.h"

namespace builder {

struct GalleryNumbers {
  const std::map<std::string, std::uint32_t>* article;    // article number by title
  const std::map<std::string, std::uint32_t>* mainEntry;  // main-database entry by title
};

struct GalleryStore {
  MediaStore store;
  // Article numbers of each filter file the gallery fills (Mult.bit, Pic.bit ...).
  std::map<std::string, std::vector<std::uint32_t>> filters;
  std::uint32_t linksLeftOut = 0;  // linked articles the content does not hold
};

// The plan's items in article order, with the background item (the random
// pictures' one, kept out of the lists) among them. Throws
// std::runtime_error when an item's article, a hot spot's or a sound's target
// is missing.
GalleryStore BuildGalleryStore(const GalleryPlan& plan, const GalleryNumbers& numbers, const MediaItem& background,
                               const std::string& backgroundArticle);

// The media item number of each article of the store's items, by title.
std::map<std::string, std::uint16_t> GalleryItemNumbers(const GalleryPlan& plan, const GalleryNumbers& numbers,
                                                        const std::string& backgroundArticle);

}  // namespace builder
