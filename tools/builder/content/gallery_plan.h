// A gallery of media items that a larger content set brings in place of the
// sample's (the reference library's, tools/builder/gallery): every item named
// by the title of its article, so that the content writers can number the
// items (an item's number is its article's rank among the media articles)
// and resolve what refers to them once all articles are numbered.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "content/media_store_file.h"
#include "reader/picture_regions.h"

namespace builder {

struct GalleryItemPlan {
  std::string article;  // title of the item's own article (an extra article)
  std::string title;    // the item's title in the media list
  std::uint8_t type = 1;
  std::vector<std::string> linked;  // titles of the articles "Go to Article" shows; those missing are left out
  // Filter files besides Mult.bit that list the item's article ("Pic.bit", ...).
  std::vector<std::string> filters;
  // Pictures (types 1-4): the picture, its regions, and the article of the
  // item each hot spot leads to (the hot spot's id), by spot.
  std::optional<Picture> picture;
  PictureRegions regions;
  std::vector<std::string> hotSpotArticles;
  // Sound and media files (types 5, 6, 7, 10): the file and the record's text.
  std::string fileName, text;
  std::string soundArticle;  // the article of the item of this item's sound record, or empty
  bool listed = true;        // false: kept out of the gallery's lists (a sound record)
};

struct GalleryCategoryPlan {
  std::uint8_t depth = 1;
  std::string title;
  std::vector<std::string> articles;  // items by article title
};

struct GalleryPlan {
  std::vector<GalleryItemPlan> items;
  std::vector<GalleryCategoryPlan> categories;  // the listed ones, in order
  std::map<std::string, Bytes> files;           // the movies and sounds the items name, by file name
  // Articles of other content whose filters the gallery extends (an article
  // with a picture in Pic.bit), by title.
  std::map<std::string, std::vector<std::string>> articleFilters;
  std::string backgroundShows;  // the article whose item the background picture shows
  // Media blocks that other articles show (thumbnails of items in their
  // text), by the title of the article that shows them.
  struct Block {
    std::string article;        // the item's article: double-clicked, the thumbnail shows it
    std::string posterArticle;  // the item whose picture the thumbnail shows (a movie's), or empty: the item's own
  };
  struct Blocks {
    std::string heading;  // the line of text under the thumbnails that says what they are
    std::vector<Block> items;
  };
  std::map<std::string, Blocks> articleBlocks;
};

}  // namespace builder
