#include "browser/neighbour_files.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "content/sample_content.h"

namespace builder {

Bytes BuildRelatedFile(const std::vector<std::vector<RelatedItem>>& relatedByEntry) {
  ByteWriter out;
  out.Zeros(4 * relatedByEntry.size());
  for (std::size_t e = 0; e < relatedByEntry.size(); ++e) {
    const std::vector<RelatedItem>& items = relatedByEntry[e];
    if (items.size() > 0xFFFF) throw std::invalid_argument("MAROVA.REL: more than 65535 related entries");
    out.PatchU32be(4 * e, static_cast<std::uint32_t>(out.size()));
    // The record opens with its own entry number, which the reader skips.
    out.U24be(static_cast<std::uint32_t>(e + 1));
    out.U16be(static_cast<std::uint32_t>(items.size()));
    for (const RelatedItem& item : items) {
      if (item.entry > 0xFFFFFF) throw std::invalid_argument("MAROVA.REL: entry number past 24 bits");
      out.U24be(item.entry);
      out.U16be(item.score);
    }
  }
  return out.take();
}

Bytes BuildInternetFile(const std::vector<std::vector<std::uint32_t>>& linksByRank,
                        const std::vector<InternetArticle>& urls) {
  std::map<std::uint32_t, std::uint32_t> rankOf;
  for (std::size_t u = 0; u < urls.size(); ++u) {
    if (urls[u].url.size() + 1 >= 260) throw std::invalid_argument("Internet.dat: address of 260 bytes or more");
    rankOf[urls[u].article] = static_cast<std::uint32_t>(u);
  }
  ByteWriter out;
  out.U32le(0);  // the URL table's offset, patched below
  out.Zeros(4 * linksByRank.size());
  for (std::size_t k = 0; k < linksByRank.size(); ++k) {
    const std::vector<std::uint32_t>& links = linksByRank[k];
    if (links.size() > 0xFFFF) throw std::invalid_argument("Internet.dat: more than 65535 links");
    out.PatchU32le(4 + 4 * k, static_cast<std::uint32_t>(out.size()));
    out.U16le(static_cast<std::uint32_t>(links.size()));
    const std::size_t offsets = out.size();
    out.Zeros(4 * links.size());
    for (std::size_t j = 0; j < links.size(); ++j) {
      const auto rank = rankOf.find(links[j]);
      if (rank == rankOf.end()) throw std::invalid_argument("Internet.dat: a link to an article without an address");
      out.PatchU32le(offsets + 4 * j, static_cast<std::uint32_t>(out.size()));
      // A link entry: the linked article, then its rank in the URL table.
      out.U32le(links[j]);
      out.U32le(rank->second);
    }
  }
  out.Align(4);
  out.PatchU32le(0, static_cast<std::uint32_t>(out.size()));
  const std::size_t table = out.size();
  out.Zeros(4 * urls.size());
  for (std::size_t u = 0; u < urls.size(); ++u) {
    out.PatchU32le(table + 4 * u, static_cast<std::uint32_t>(out.size()));
    // A URL entry: the article, the text's length with its zero, the text.
    out.U32le(urls[u].article);
    out.U16le(static_cast<std::uint32_t>(urls[u].url.size() + 1));
    out.Append(urls[u].url);
    out.U8(0);
  }
  return out.take();
}

namespace {

// Article numbers of the sample: the update articles are listed; the main
// entries take the other numbers in ascending order.
std::map<std::string, std::uint32_t> SampleArticles(const ContentSample& sample) {
  std::map<std::string, std::uint32_t> articles;
  for (std::size_t i = 0; i < sample.updateTitles.size(); ++i)
    articles[sample.updateTitles[i]] = sample.updateArticles[i];
  std::uint32_t next = 0;
  for (const std::string& title : sample.mainTitles) {
    do ++next;
    while (std::find(sample.updateArticles.begin(), sample.updateArticles.end(), next) != sample.updateArticles.end());
    articles.emplace(title, next);  // a title shared with a larger set's article names the sample's
  }
  return articles;
}

}  // namespace

void WriteBrowserSample(const std::string& directory) {
  const ContentSample sample = BuildContentSample();
  const std::map<std::string, std::uint32_t> articles = SampleArticles(sample);

  // Astronomy lists its neighbours in an order of its own (not by entry);
  // Comet has one; the other entries none.
  std::vector<std::vector<RelatedItem>> related(sample.mainTitles.size());
  related[MainEntryOf(sample, "Astronomy") - 1] = {{MainEntryOf(sample, "Solar System"), 900},
                                                   {MainEntryOf(sample, "Black Hole"), 700},
                                                   {MainEntryOf(sample, "Comet"), 500}};
  related[MainEntryOf(sample, "Comet") - 1] = {{MainEntryOf(sample, "Astronomy"), 800}};
  // A larger set's articles list the articles they name, first named first.
  for (std::size_t e = 0; e < sample.extraOfEntry.size(); ++e) {
    if (sample.extraOfEntry[e] < 0) continue;
    const std::vector<std::uint32_t>& named = CurrentExtraContent()->articles[sample.extraOfEntry[e]].related;
    for (std::size_t k = 0; k < named.size(); ++k)
      related[e].push_back({named[k], static_cast<std::uint16_t>(k < 999 ? 1000 - k : 1)});
  }
  WriteFileAtomically(JoinPath(directory, "MAROVA.REL"), BuildRelatedFile(related));

  // Link.bit holds Astronomy and Mars Pathfinder (in article order); Url.bit
  // holds Mars Pathfinder. Astronomy links to it, Mars Pathfinder to nothing.
  const std::uint32_t pathfinder = articles.at("Mars Pathfinder");
  std::vector<std::vector<std::uint32_t>> links(2);
  const bool astronomyFirst = articles.at("Astronomy") < pathfinder;
  links[astronomyFirst ? 0 : 1] = {pathfinder};
  const std::vector<InternetArticle> urls = {{pathfinder, "http://mars.example.org/pathfinder/"}};
  WriteFileAtomically(JoinPath(directory, "Internet.dat"), BuildInternetFile(links, urls));
}

}  // namespace builder
