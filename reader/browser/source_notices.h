// The rights notices that go with text leaving the encyclopedia: the block
// that follows copied and saved text (CR LF, a rule of 40 underscores, the
// product notice, then the notice of the article's partner source) and the
// three footer lines of a printed page.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace browser {

enum class ArticleSource {
  Other,
  NewsMagazine,       // Tdw.bit
  WorldEncyclopedia,  // Hsp.bit
};

// The source whose notice an article carries: the news magazine is tested first.
ArticleSource SourceOf(bool inNewsMagazine, bool inWorldEncyclopedia);

// The block appended to copied and saved text.
std::string NoticeBlock(ArticleSource source);

// The three footer lines of a printed page, top to bottom (notices without
// their leading line end; a blank line is " ").
std::array<std::string, 3> FooterLines(ArticleSource source);

// The text up to its first zero byte (at most `length` bytes), then the block.
std::string JoinWithNotice(const char* text, std::size_t length, const std::string& block);

}  // namespace browser
