// The library's gallery (gallery/earth_gallery.h) among its articles: an
// encyclopedia article for each item, and media blocks in the entries that
// show the items (the Earth's and the Sun's).
#pragma once

#include <string>

#include "content/sample_content.h"
#include "gallery/earth_gallery.h"

namespace builder::library {

// Where the pictures are read from: $VELDRIX_XPLANET_DIR, else
// /usr/share/xplanet/images (Debian's xplanet-images).
std::string XplanetDirectory();

// Reads the three maps with the reader given; throws std::runtime_error
// naming the package when a file is missing.
gallery::GallerySources ReadGallerySources(const std::string& directory, const gallery::MediaReaders& readers);

// Adds the plan's articles to the content (after its other articles) and
// appends the media blocks to the first article of each title the plan
// names, then hands the plan to the content. The item numbers of the blocks
// are the items' ranks among the media articles, over `sampleTitles` and the
// content's articles numbered together.
void AddGallery(GalleryPlan plan, const std::vector<std::string>& sampleTitles, ExtraContent* content);

}  // namespace builder::library
