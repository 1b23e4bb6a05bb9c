#include "browser/source_notices.h"

#include <cstring>

namespace browser {
namespace {

constexpr const char* kProductNotice =
    "The Marovan & World Encyclopedia. Copyright (c) 1998 Brenmoor & Tesk. All rights reserved.";
constexpr const char* kNewsMagazineNotice =
    "News-magazine articles copyright (c) 1998 their publisher, used under licence. All rights reserved.";
constexpr const char* kWorldRights = "World Encyclopedia articles copyright (c) 1998 their publisher.";
constexpr const char* kWorldRights2 = "Used under licence. All rights reserved.";

}  // namespace

ArticleSource SourceOf(bool inNewsMagazine, bool inWorldEncyclopedia) {
  if (inNewsMagazine) return ArticleSource::NewsMagazine;
  if (inWorldEncyclopedia) return ArticleSource::WorldEncyclopedia;
  return ArticleSource::Other;
}

std::string NoticeBlock(ArticleSource source) {
  std::string block = "\r\n" + std::string(40, '_');
  block += "\r\n";
  block += kProductNotice;
  if (source == ArticleSource::NewsMagazine) {
    block += "\r\n";
    block += kNewsMagazineNotice;
  } else if (source == ArticleSource::WorldEncyclopedia) {
    block += "\r\n";
    block += kWorldRights;
    block += "\r\n";
    block += kWorldRights2;
  }
  return block;
}

std::array<std::string, 3> FooterLines(ArticleSource source) {
  switch (source) {
    case ArticleSource::NewsMagazine: return {kProductNotice, kNewsMagazineNotice, " "};
    case ArticleSource::WorldEncyclopedia: return {kProductNotice, kWorldRights, kWorldRights2};
    default: return {kProductNotice, " ", " "};
  }
}

std::string JoinWithNotice(const char* text, std::size_t length, const std::string& block) {
  const std::size_t used = text != nullptr ? strnlen(text, length) : 0;
  std::string joined(text != nullptr ? text : "", used);
  joined += block;
  return joined;
}

}  // namespace browser
