#include "content/sample_content.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "content/bit_file.h"
#include "content/category_index_file.h"
#include "content/gallery_store.h"
#include "content/media_phrases.h"
#include "content/media_store_file.h"
#include "content/settings_reg_file.h"
#include "content/spell_hash_file.h"
#include "content/title_index_file.h"
#include "reader/picture_regions.h"

namespace builder {
namespace {

const std::vector<std::string> kMainTitles = {
    "Aardvark",   "Ancient Egypt",      "Astronomy",      "Beethoven, Ludwig van", "Black Hole",   "Comet",
    "Henry VIII", "McDonald Islands",   "Photosynthesis", "Rock & Roll",           "Solar System", "Volcano",
    "Zebra",      "Background Pictures"};
const std::vector<std::string> kUpdateTitles = {"Comet Hale-Bopp", "Mars Pathfinder", "Sojourner"};

const ExtraContent* g_extraContent = nullptr;
// The content built with the extra content in use: every writer of a set asks
// for it, and a larger set takes a while to number and index.
std::optional<ContentSample> g_extraSample;

std::vector<std::string> AllMainTitles() {
  std::vector<std::string> titles = kMainTitles;
  if (g_extraContent)
    for (const ExtraArticle& article : g_extraContent->articles) titles.push_back(article.title);
  return titles;
}

// Article numbering: all titles in key order, the update articles among them.
// A sample title shared by an extra article names the sample's own.
struct Numbering {
  std::vector<TitleEntry> main;
  std::vector<TitleEntry> updates;
  std::map<std::string, std::uint32_t> article;
  std::map<std::string, std::uint32_t> mainEntry;
  std::vector<std::uint32_t> updateArticles;
  std::vector<std::uint32_t> articleOfEntry;  // by main entry - 1
  std::vector<std::int32_t> extraOfEntry;     // by main entry - 1
};

Numbering NumberArticles() {
  Numbering n;
  const std::vector<std::string> titles = AllMainTitles();
  const std::vector<std::uint32_t> entries = MainEntryNumbers(titles);
  n.main.resize(titles.size());
  n.extraOfEntry.assign(titles.size(), -1);
  for (std::size_t i = 0; i < titles.size(); ++i) {
    n.main[entries[i] - 1] = {titles[i], entries[i]};
    if (i >= kMainTitles.size()) n.extraOfEntry[entries[i] - 1] = static_cast<std::int32_t>(i - kMainTitles.size());
  }
  n.updates = NumberInTitleOrder(kUpdateTitles);
  std::size_t i = 0, j = 0;
  std::uint32_t article = 0;
  while (i < n.main.size() || j < n.updates.size()) {
    const bool takeUpdate = i == n.main.size() ||
                            (j < n.updates.size() && TitleSortKey(n.updates[j].title) < TitleSortKey(n.main[i].title));
    if (takeUpdate) {
      n.article.emplace(n.updates[j++].title, ++article);
      n.updateArticles.push_back(article);
    } else {
      n.mainEntry.emplace(n.main[i].title, n.main[i].entry);
      n.article.emplace(n.main[i++].title, ++article);
      n.articleOfEntry.push_back(article);
    }
  }
  return n;
}

// The extra articles' entries and article numbers.
std::vector<std::uint32_t> ExtraArticles(const Numbering& n, bool dictionary) {
  std::vector<std::uint32_t> articles;
  for (std::size_t e = 0; e < n.extraOfEntry.size(); ++e)
    if (n.extraOfEntry[e] >= 0 && g_extraContent->articles[n.extraOfEntry[e]].dictionary == dictionary)
      articles.push_back(n.articleOfEntry[e]);
  return articles;
}

std::vector<std::uint32_t> Articles(const Numbering& n, const std::vector<std::string>& titles) {
  std::vector<std::uint32_t> articles;
  for (const std::string& title : titles) articles.push_back(n.article.at(title));
  return articles;
}

std::vector<std::uint32_t> Entries(const Numbering& n, const std::vector<std::string>& titles) {
  std::vector<std::uint32_t> entries;
  for (const std::string& title : titles) entries.push_back(n.mainEntry.at(title));
  return entries;
}

// The extra content's gallery, with the sample's background picture.
GalleryStore GalleryOf(const Numbering& n);

FilterSets Filters(const Numbering& n) {
  FilterSets filters;
  filters.mainEntries = static_cast<std::uint32_t>(n.main.size());
  filters.updateEntries = static_cast<std::uint32_t>(n.updates.size());
  std::vector<std::string> sourceTitles;
  for (const std::string& title : kMainTitles)
    if (title != "Background Pictures") sourceTitles.push_back(title);
  const std::map<std::string, std::vector<std::string>> members = {
      {"Mrv.bit", sourceTitles},
      {"Hsp.bit", {"Ancient Egypt", "Henry VIII", "McDonald Islands"}},
      {"Tdw.bit", {"Beethoven, Ludwig van", "Rock & Roll"}},
      {"Vorn.bit", {"Aardvark", "Comet", "Volcano", "Zebra"}},
      {"Pic.bit", {"Astronomy", "Comet", "Background Pictures"}},
      {"Sound.bit", {"Beethoven, Ludwig van"}},
      {"Video.bit", {"Volcano"}},
      {"Mult.bit", {"Astronomy", "Beethoven, Ludwig van", "Comet", "Volcano", "Background Pictures"}},
      {"Map.bit", {"McDonald Islands"}},
      {"Clkmap.bit", {"McDonald Islands"}},
      {"Graph.bit", {"Solar System"}},
      {"Table.bit", {"Ancient Egypt"}},
      {"Anim.bit", {"Photosynthesis"}},
      {"Tml.bit", {"Ancient Egypt", "Henry VIII", "Mars Pathfinder"}},
      {"Link.bit", {"Astronomy", "Mars Pathfinder"}},
      {"Updates.bit", {"Comet Hale-Bopp", "Sojourner"}},
      {"Url.bit", {"Mars Pathfinder"}},
  };
  for (const auto& [file, titles] : members) filters.members[file] = Articles(n, titles);
  if (g_extraContent && g_extraContent->gallery) {
    // The sample's media kinds name the sample's own items; the gallery's replace them.
    for (const char* file : {"Mult.bit", "Pic.bit", "Sound.bit", "Video.bit", "Map.bit", "Clkmap.bit"})
      filters.members.erase(file);
    for (auto& [file, articles] : GalleryOf(n).filters) filters.members[file] = articles;
  }
  if (g_extraContent) {
    for (bool dictionary : {false, true}) {
      std::vector<std::uint32_t>& set = filters.members[dictionary ? "Vorn.bit" : "Mrv.bit"];
      for (std::uint32_t article : ExtraArticles(n, dictionary)) set.push_back(article);
      std::sort(set.begin(), set.end());
    }
    // Timeline events and the owners of pictures.
    for (std::size_t e = 0; e < n.extraOfEntry.size(); ++e) {
      if (n.extraOfEntry[e] < 0) continue;
      const ExtraArticle& article = g_extraContent->articles[n.extraOfEntry[e]];
      if (article.timeline) filters.members["Tml.bit"].push_back(n.articleOfEntry[e]);
      if (article.picture && !g_extraContent->gallery)  // a gallery numbers them with its own
        for (const char* file : {"Mult.bit", "Pic.bit"}) filters.members[file].push_back(n.articleOfEntry[e]);
    }
    for (const char* file : {"Tml.bit", "Mult.bit", "Pic.bit"})
      std::sort(filters.members[file].begin(), filters.members[file].end());
  }
  return filters;
}

// A picture whose pixel at (x, y) is the colour index pixel(x, y), drawn row
// by row from the top.
template <typename Pixel>
Picture DrawPicture(std::uint16_t width, std::uint16_t height, std::uint8_t bits, std::vector<std::uint32_t> colours,
                    const std::string& caption, Pixel pixel) {
  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.bitsPerPixel = bits;
  picture.caption = caption;
  picture.colours = std::move(colours);
  for (std::uint32_t y = 0; y < height; ++y)
    for (std::uint32_t x = 0; x < width; ++x) picture.pixels.push_back(pixel(x, y));
  return picture;
}

Picture MakePicture(std::uint16_t width, std::uint16_t height, std::uint8_t bits, const std::string& caption) {
  const std::uint32_t colours = 1u << bits;
  std::vector<std::uint32_t> table;
  for (std::uint32_t c = 0; c < colours; ++c)
    table.push_back((c * 255 / (colours - 1)) << 16 | (255 - c * 255 / (colours - 1)) << 8 | 0x40);
  return DrawPicture(width, height, bits, std::move(table), caption, [&](std::uint32_t x, std::uint32_t y) {
    return static_cast<std::uint8_t>((x + 2 * y) % colours);
  });
}

// Colour `step` of `steps` on the way from one 0xRRGGBB colour to another.
std::uint32_t GradientColour(std::uint32_t from, std::uint32_t to, std::uint32_t step, std::uint32_t steps) {
  std::uint32_t colour = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const std::uint32_t a = from >> shift & 0xFF, b = to >> shift & 0xFF;
    colour |= (a * (steps - step) + b * step) / steps << shift;
  }
  return colour;
}

// The random background picture: a soft vertical gradient from sea green to
// deep blue, 256 steps, that still looks like one when the screens stretch it.
Picture MakeBackgroundPicture() {
  constexpr std::uint16_t height = 60;
  std::vector<std::uint32_t> colours;
  for (std::uint32_t c = 0; c < 256; ++c) colours.push_back(GradientColour(0x2A7A7A, 0x0A1E3A, c, 255));
  return DrawPicture(80, height, 8, std::move(colours), "",
                     [](std::uint32_t, std::uint32_t y) { return static_cast<std::uint8_t>(y * 255 / (height - 1)); });
}

// The night sky's picture: stars over a dark blue sky above dunes, large
// enough to look like a photograph on the media screen. Colours 0-127 are
// the sky's gradient, 128-191 the sand's, 255 the stars' white.
Picture MakeNightSkyPicture() {
  constexpr std::uint16_t height = 160;
  std::vector<std::uint32_t> colours(256, 0xFFFFFF);
  for (std::uint32_t c = 0; c < 128; ++c) colours[c] = GradientColour(0x040820, 0x1C2C5A, c, 127);
  for (std::uint32_t c = 0; c < 64; ++c) colours[128 + c] = GradientColour(0x8A6A3A, 0x3A2C14, c, 63);
  std::uint32_t seed = 12345;
  return DrawPicture(
      240, height, 8, std::move(colours), "Stars over the desert.", [&](std::uint32_t x, std::uint32_t y) {
        // Dunes: a horizon of two slow waves.
        const int horizon = 120 + static_cast<int>(8 * std::sin(x / 23.0) + 5 * std::sin(x / 9.0 + 1));
        seed = seed * 1103515245u + 12345u;
        if (static_cast<int>(y) >= horizon)
          return static_cast<std::uint8_t>(128 + std::min(63, (static_cast<int>(y) - horizon) * 63 / 40));
        if ((seed >> 16) % 97 == 0) return std::uint8_t{255};
        return static_cast<std::uint8_t>(y * 127 / height);
      });
}

constexpr const char* kBackgroundArticle = "Background Pictures";

MediaItem BackgroundItem(const Numbering& n) {
  MediaItem item;
  item.item = {n.mainEntry.at(kBackgroundArticle), 1, 0xFFFF, "Sea and sky", {}};
  item.data = PictureRecord(MakeBackgroundPicture());
  item.packed = true;
  return item;
}

GalleryStore GalleryOf(const Numbering& n) {
  // The extra articles' own pictures are items of the gallery, out of its lists.
  GalleryPlan plan = *g_extraContent->gallery;
  for (const ExtraArticle& article : g_extraContent->articles) {
    if (!article.picture) continue;
    GalleryItemPlan item;
    item.article = item.title = article.title;
    item.filters = {"Pic.bit"};
    item.picture = article.picture;
    item.regions = article.regions;
    item.hotSpotArticles.assign(article.regions.spots.size(), article.title);
    item.listed = false;
    plan.items.push_back(std::move(item));
  }
  return BuildGalleryStore(plan, {&n.article, &n.mainEntry}, BackgroundItem(n), kBackgroundArticle);
}

// Each article of Mult.bit has one media item; its rank in Mult.bit is the
// item number. The comet's picture has hot spots that lead to other items.
MediaStore Media(const Numbering& n) {
  if (g_extraContent && g_extraContent->gallery) return GalleryOf(n).store;
  struct Planned {
    std::string article;
    std::function<MediaItem()> make;
  };
  std::map<std::string, std::uint16_t> itemOf;
  std::vector<Planned> planned = {
      {"Astronomy",
       [&] {
         MediaItem item;
         item.item = {n.mainEntry.at("Astronomy"), 1, 0xFFFF, "The night sky",
                      Entries(n, {"Solar System", "Black Hole"})};
         item.data = PictureRecord(MakeNightSkyPicture());
         item.packed = true;
         return item;
       }},
      {"Beethoven, Ludwig van",
       [&] {
         MediaItem item;
         item.item = {n.mainEntry.at("Beethoven, Ludwig van"), 5, 0xFFFF, "Moonlight Sonata", {}};
         item.data = MediaFileRecord(5, "MOONLITE.WAV", "The first movement of the sonata.");
         return item;
       }},
      {"Comet",
       [&] {
         MediaItem item;
         item.item = {n.mainEntry.at("Comet"), 1, 0xFFFF, "A comet's tail", Entries(n, {"Solar System"})};
         // Kind 1: rectangles, each with the key that chooses it.
         PictureRegions regions;
         regions.kind = 1;
         HotSpotRecord sky;
         sky.id = itemOf.at("Astronomy");
         sky.key = 's';
         sky.right = 5;
         sky.bottom = 4;
         HotSpotRecord eruption;
         eruption.id = itemOf.at("Volcano");
         eruption.key = 'e';
         eruption.left = 5;
         eruption.top = 4;
         eruption.right = 10;
         eruption.bottom = 8;
         regions.spots = {sky, eruption};
         item.data = PictureRecordWithRegions(MakePicture(10, 8, 4, "The tail points away from the Sun."), regions);
         item.packed = true;
         return item;
       }},
      {"Volcano",
       [&] {
         MediaItem item;
         item.item = {n.mainEntry.at("Volcano"), 6, 0xFFFF, "An eruption", Entries(n, {"McDonald Islands"})};
         item.data = MediaFileRecord(6, "ERUPTION.MOV", "");
         return item;
       }},
      {kBackgroundArticle, [&] { return BackgroundItem(n); }},
  };
  // The extra content's pictures, each its article's item, out of the lists.
  std::vector<std::string> hidden;
  if (g_extraContent)
    for (const ExtraArticle& article : g_extraContent->articles)
      if (article.picture) {
        hidden.push_back(article.title);
        planned.push_back({article.title, [&n, &article, &itemOf] {
                             MediaItem item;
                             item.item = {n.mainEntry.at(article.title), 1, 0xFFFF, article.title, {}};
                             PictureRegions regions = article.regions;
                             for (HotSpotRecord& spot : regions.spots) spot.id = itemOf.at(article.title);
                             item.data = regions.kind ? PictureRecordWithRegions(*article.picture, regions)
                                                      : PictureRecord(*article.picture);
                             item.packed = true;
                             return item;
                           }});
      }
  std::sort(planned.begin(), planned.end(),
            [&](const Planned& a, const Planned& b) { return n.article.at(a.article) < n.article.at(b.article); });
  for (std::size_t i = 0; i < planned.size(); ++i) itemOf[planned[i].article] = static_cast<std::uint16_t>(i);
  MediaStore store;
  for (const Planned& plan : planned) store.items.push_back(plan.make());
  store.items[itemOf["Astronomy"]].item.soundItem = itemOf["Beethoven, Ludwig van"];
  auto record = [&](const std::string& article) { return store.items[itemOf.at(article)].item; };
  store.categories = {
      {1, "Pictures", {record("Astronomy"), record("Comet")}},
      {2, "Night Sky", {record("Astronomy"), record("Comet")}},
      {1, "Sound and Video", {record("Beethoven, Ludwig van"), record("Volcano")}},
      {1, "", {}},                               // not listed, kept out of the article lists
      {1, "", {record("Background Pictures")}},  // not listed, the random pictures
  };
  for (const std::string& title : hidden)
    store.categories[store.categories.size() - 2].records.push_back(record(title));
  return store;
}

CategoryIndex Subjects(const Numbering& n) {
  CategoryIndex index;
  index.entryCount = static_cast<std::uint32_t>(n.main.size());
  index.categories = {
      {1, "Science", Entries(n, {"Astronomy", "Black Hole", "Comet", "Photosynthesis", "Solar System", "Volcano"})},
      {2, "Astronomy", Entries(n, {"Astronomy", "Black Hole", "Comet", "Solar System"})},
      {1, "History", Entries(n, {"Ancient Egypt", "Henry VIII"})},
      {1, "Music", Entries(n, {"Beethoven, Ludwig van", "Rock & Roll"})},
      {1, "Animals", Entries(n, {"Aardvark", "Zebra"})},
      {1, "Geography", Entries(n, {"McDonald Islands", "Volcano"})},
  };
  if (g_extraContent) {
    std::map<std::string, std::vector<std::uint32_t>> bySubject;
    for (std::size_t e = 0; e < n.extraOfEntry.size(); ++e)
      if (n.extraOfEntry[e] >= 0)
        for (const std::string& subject : g_extraContent->articles[n.extraOfEntry[e]].subjects)
          bySubject[subject].push_back(static_cast<std::uint32_t>(e + 1));
    for (auto& [subject, entries] : bySubject) index.categories.push_back({1, subject, std::move(entries)});
  }
  return index;
}

std::vector<std::string> SpellingWords() {
  std::vector<std::string> words = {"the", "and", "of", "sonata", "eruption", "planet", "star", "music", "history"};
  for (const auto* list : {&kMainTitles, &kUpdateTitles})
    for (const std::string& title : *list) {
      std::string word;
      for (char c : title + " ") {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
          word += c;
        } else if (!word.empty()) {
          words.push_back(word);
          word.clear();
        }
      }
    }
  if (g_extraContent)
    for (const std::string& word : g_extraContent->spellingWords) words.push_back(word);
  return words;
}

}  // namespace

ExtraContentInUse::ExtraContentInUse(const ExtraContent* content) : previous_(g_extraContent) {
  g_extraContent = content;
  g_extraSample.reset();
}
ExtraContentInUse::~ExtraContentInUse() {
  g_extraContent = previous_;
  g_extraSample.reset();
}
const ExtraContent* CurrentExtraContent() { return g_extraContent; }

const std::vector<std::string>& SampleMainTitles() { return kMainTitles; }

bool GalleryWritesFile(const std::string& name) {
  return g_extraContent && g_extraContent->gallery && g_extraContent->gallery->files.count(name) != 0;
}

void WriteGalleryFiles(const std::string& directory) {
  if (!g_extraContent || !g_extraContent->gallery) return;
  for (const auto& [name, bytes] : g_extraContent->gallery->files)
    WriteFileAtomically(JoinPath(directory, name), bytes);
}

std::string BackgroundShowsArticle() {
  if (g_extraContent && g_extraContent->gallery && !g_extraContent->gallery->backgroundShows.empty())
    return g_extraContent->gallery->backgroundShows;
  return "Astronomy";
}

std::vector<std::uint32_t> MainEntryNumbers(const std::vector<std::string>& titles) {
  std::vector<std::string> keys;
  keys.reserve(titles.size());
  for (const std::string& title : titles) keys.push_back(TitleSortKey(title));
  std::vector<std::uint32_t> order(titles.size());
  for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
  std::vector<std::uint32_t> entries(titles.size());
  for (std::uint32_t k = 0; k < order.size(); ++k) entries[order[k]] = k + 1;
  return entries;
}

ContentSample BuildContentSample() {
  if (g_extraContent && g_extraSample) return *g_extraSample;
  const Numbering n = NumberArticles();
  ContentSample sample;
  for (const TitleEntry& entry : n.main) sample.mainTitles.push_back(entry.title);
  sample.extraOfEntry = n.extraOfEntry;
  for (const TitleEntry& entry : n.updates) sample.updateTitles.push_back(entry.title);
  sample.updateArticles = n.updateArticles;

  const FilterSets filters = Filters(n);
  sample.files = EncodeFilterFiles(filters);

  const SpellHashTable spelling = BuildSpellHash(SpellingWords());
  // The sample's own words must all be found; of a larger set's, those the
  // hash cannot place are left out (its lookups then report them unknown).
  if (!spelling.unplaced.empty() && !g_extraContent)
    throw std::runtime_error("spelling hash cannot hold " + spelling.unplaced[0]);
  sample.files["Spelhash.dat"] = spelling.bytes;

  const TitleIndexFiles mainIndex = BuildTitleIndex(n.main);
  sample.files["TYPMATIC.RAM"] = mainIndex.ram;
  sample.files["TYPMATIC.DSK"] = mainIndex.dsk;
  const TitleIndexFiles updateIndex = BuildTitleIndex(n.updates);
  sample.files["UPDATES.RAM"] = updateIndex.ram;
  sample.files["UPDATES.DSK"] = updateIndex.dsk;

  const MediaStore store = Media(n);
  // The rank of an article in Mult.bit is its media item number.
  std::vector<std::uint32_t> mult = filters.members.at("Mult.bit");
  std::sort(mult.begin(), mult.end());
  if (mult.size() != store.items.size()) throw std::logic_error("Mult.bit and the media items differ");
  for (std::size_t item = 0; item < mult.size(); ++item)
    if (n.article.at(n.main[store.items[item].item.entry - 1].title) != mult[item])
      throw std::logic_error("media item out of Mult.bit order");
  for (const MediaItem& item : store.items) sample.mediaEntries.push_back(item.item.entry);
  const MediaStoreFiles media = BuildMediaStore(store);
  sample.files["MAROVA.MMX"] = media.mmx;
  sample.files["MAROVA.MMD"] = media.mmd;
  sample.files["RCDATA6668.BIN"] = MediaPhraseResource();
  sample.files["MRVHSP.CTX"] = BuildCategoryIndex(Subjects(n));
  if (g_extraContent) g_extraSample = sample;
  return sample;
}

void WriteContentSample(const std::string& directory) {
  const ContentSample sample = BuildContentSample();
  std::filesystem::create_directories(directory);
  for (const auto& [name, bytes] : sample.files) WriteFileAtomically(JoinPath(directory, name), bytes);
  const std::string absolute = std::filesystem::absolute(directory).lexically_normal().string();
  WriteFileAtomically(JoinPath(directory, "SETTINGS.REG"), BuildSettingsRegFile(absolute));
}

std::uint32_t MainEntryOf(const ContentSample& sample, const std::string& title) {
  const auto found = std::find(sample.mainTitles.begin(), sample.mainTitles.end(), title);
  if (found == sample.mainTitles.end()) throw std::logic_error("no sample article " + title);
  return static_cast<std::uint32_t>(found - sample.mainTitles.begin() + 1);
}

std::uint16_t MediaItemOf(const ContentSample& sample, std::uint32_t entry) {
  const auto found = std::find(sample.mediaEntries.begin(), sample.mediaEntries.end(), entry);
  if (found == sample.mediaEntries.end())
    throw std::logic_error("entry " + std::to_string(entry) + " has no media item");
  return static_cast<std::uint16_t>(found - sample.mediaEntries.begin());
}

Bytes ExtraFileOr(const std::string& name, const std::function<Bytes()>& sample) {
  if (g_extraContent)
    if (const auto found = g_extraContent->files.find(name); found != g_extraContent->files.end())
      return found->second(BuildContentSample());
  return sample();
}

}  // namespace builder
