#include "content/gallery_store.h"

#include <algorithm>
#include <stdexcept>

#include "reader/picture_regions.h"

namespace builder {
namespace {

std::uint32_t Lookup(const std::map<std::string, std::uint32_t>& map, const std::string& title, const char* what) {
  const auto found = map.find(title);
  if (found == map.end()) throw std::runtime_error(std::string("gallery: no article \"") + title + "\" for " + what);
  return found->second;
}

}  // namespace

std::map<std::string, std::uint16_t> GalleryItemNumbers(const GalleryPlan& plan, const GalleryNumbers& numbers,
                                                        const std::string& backgroundArticle) {
  std::vector<std::pair<std::uint32_t, std::string>> order;
  for (const GalleryItemPlan& item : plan.items)
    order.emplace_back(Lookup(*numbers.article, item.article, "a gallery item"), item.article);
  order.emplace_back(Lookup(*numbers.article, backgroundArticle, "the background picture"), backgroundArticle);
  std::sort(order.begin(), order.end());
  std::map<std::string, std::uint16_t> items;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (i > 0 && order[i].first == order[i - 1].first)
      throw std::runtime_error("gallery: two items of one article \"" + order[i].second + "\"");
    items[order[i].second] = static_cast<std::uint16_t>(i);
  }
  if (order.size() >= 4095) throw std::runtime_error("gallery: more items than the gallery can number");
  return items;
}

GalleryStore BuildGalleryStore(const GalleryPlan& plan, const GalleryNumbers& numbers, const MediaItem& background,
                               const std::string& backgroundArticle) {
  const std::map<std::string, std::uint16_t> itemOf = GalleryItemNumbers(plan, numbers, backgroundArticle);
  GalleryStore result;
  result.store.items.resize(itemOf.size());
  result.store.items[itemOf.at(backgroundArticle)] = background;
  std::vector<MediaItemRecord> hidden;
  for (const GalleryItemPlan& plan_item : plan.items) {
    MediaItem item;
    item.item.entry = Lookup(*numbers.mainEntry, plan_item.article, "a gallery item");
    item.item.type = plan_item.type;
    item.item.title = plan_item.title;
    for (const std::string& linked : plan_item.linked) {
      const auto found = numbers.mainEntry->find(linked);
      if (found == numbers.mainEntry->end()) {
        ++result.linksLeftOut;
      } else if (std::find(item.item.related.begin(), item.item.related.end(), found->second) ==
                 item.item.related.end()) {
        item.item.related.push_back(found->second);
      }
    }
    if (!plan_item.soundArticle.empty()) {
      const auto sound = itemOf.find(plan_item.soundArticle);
      if (sound == itemOf.end()) throw std::runtime_error("gallery: no sound item \"" + plan_item.soundArticle + "\"");
      item.item.soundItem = sound->second;
    }
    if (plan_item.picture) {
      PictureRegions regions = plan_item.regions;
      if (regions.spots.size() != plan_item.hotSpotArticles.size())
        throw std::logic_error("gallery: a hot spot without its item");
      for (std::size_t i = 0; i < regions.spots.size(); ++i) {
        const auto target = itemOf.find(plan_item.hotSpotArticles[i]);
        if (target == itemOf.end())
          throw std::runtime_error("gallery: no item \"" + plan_item.hotSpotArticles[i] + "\" for a hot spot");
        regions.spots[i].id = target->second;
      }
      item.data =
          regions.kind == 0 ? PictureRecord(*plan_item.picture) : PictureRecordWithRegions(*plan_item.picture, regions);
      item.packed = true;
    } else {
      item.data = MediaFileRecord(plan_item.type, plan_item.fileName, plan_item.text);
    }
    if (!plan_item.listed) hidden.push_back(item.item);
    const std::uint32_t article = numbers.article->at(plan_item.article);
    result.filters["Mult.bit"].push_back(article);
    for (const std::string& filter : plan_item.filters) result.filters[filter].push_back(article);
    result.store.items[itemOf.at(plan_item.article)] = std::move(item);
  }
  result.filters["Mult.bit"].push_back(numbers.article->at(backgroundArticle));
  for (const auto& [title, filters] : plan.articleFilters) {
    const auto found = numbers.article->find(title);
    if (found == numbers.article->end()) continue;  // a slice of the content without that article
    for (const std::string& filter : filters) result.filters[filter].push_back(found->second);
  }
  for (auto& [name, articles] : result.filters) {
    std::sort(articles.begin(), articles.end());
    articles.erase(std::unique(articles.begin(), articles.end()), articles.end());
  }
  for (const GalleryCategoryPlan& category : plan.categories) {
    MediaCategory stored{category.depth, category.title, {}};
    for (const std::string& article : category.articles) {
      const auto item = itemOf.find(article);
      if (item == itemOf.end()) throw std::runtime_error("gallery: no item \"" + article + "\" in a category");
      stored.records.push_back(result.store.items[item->second].item);
    }
    result.store.categories.push_back(std::move(stored));
  }
  result.store.categories.push_back({1, "", hidden});             // kept out of the article lists
  result.store.categories.push_back({1, "", {background.item}});  // the random pictures
  return result;
}

}  // namespace builder
