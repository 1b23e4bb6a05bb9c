// The encyclopedia screen's logic on files and memory: the related-articles
// and Internet links files as the content builder writes them and as damage
// leaves them, the source notices of copied and saved text, and the history.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "browser/article_history.h"
#include "browser/neighbour_files.h"
#include "browser/source_notices.h"
#include "core/related_files.h"
#include "temp_dir.h"

namespace {

std::string AsText(const builder::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// ---- MAROVA.REL -------------------------------------------------------------------------

TEST(RelatedFile, EntriesComeInTheFilesOrderWithTheirScores) {
  TempDir dir;
  std::vector<std::vector<builder::RelatedItem>> related(4);
  related[1] = {{4, 900}, {1, 700}, {0x123456, 5}};
  const std::string path = dir.Write("MAROVA.REL", AsText(builder::BuildRelatedFile(related)));
  std::vector<links::RelatedEntry> read;
  ASSERT_TRUE(links::ReadRelatedEntries(path.c_str(), 2, read));
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[0].entry, 4u);
  EXPECT_EQ(read[0].score, 900);
  EXPECT_EQ(read[1].entry, 1u);
  EXPECT_EQ(read[2].entry, 0x123456u);  // 24 bits, highest byte first
  EXPECT_EQ(read[2].score, 5);
  ASSERT_TRUE(links::ReadRelatedEntries(path.c_str(), 1, read));
  EXPECT_TRUE(read.empty());
}

TEST(RelatedFile, BytesLaidOutByHandReadFieldByField) {
  const unsigned char bytes[] = {
      0x00, 0x00, 0x00, 0x08,  // entry 1: record at 8 (big-endian)
      0x00, 0x00, 0x00, 0x0D,  // entry 2: record at 13
      0xAA, 0xBB, 0xCC,        // record 1: three bytes the reader skips
      0x00, 0x00,              // no related entries
      0x11, 0x22, 0x33,        // record 2: three skipped bytes
      0x00, 0x02,              // two related entries
      0x01, 0x02, 0x03,        // entry 0x010203, highest byte first
      0x03, 0x84,              // score 900
      0x00, 0x00, 0x05,        // entry 5
      0x00, 0x07,              // score 7
  };
  TempDir dir;
  const std::string path = dir.Write("MAROVA.REL", std::string(reinterpret_cast<const char*>(bytes), sizeof bytes));
  std::vector<links::RelatedEntry> read = {{1, 1}};
  ASSERT_TRUE(links::ReadRelatedEntries(path.c_str(), 1, read));
  EXPECT_TRUE(read.empty());
  ASSERT_TRUE(links::ReadRelatedEntries(path.c_str(), 2, read));
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0].entry, 0x010203u);
  EXPECT_EQ(read[0].score, 900);
  EXPECT_EQ(read[1].entry, 5u);
  EXPECT_EQ(read[1].score, 7);
}

TEST(RelatedFile, AMissingFileFailsAndDamageEndsTheList) {
  TempDir dir;
  std::vector<links::RelatedEntry> read = {{1, 1}};
  EXPECT_FALSE(links::ReadRelatedEntries(dir.File("MAROVA.REL").c_str(), 1, read));
  EXPECT_TRUE(read.empty());

  std::vector<std::vector<builder::RelatedItem>> related(2);
  related[0] = {{2, 10}, {1, 20}};
  std::string bytes = AsText(builder::BuildRelatedFile(related));
  // Entries past the offset table, and an entry 0, give nothing.
  std::string path = dir.Write("MAROVA.REL", bytes);
  EXPECT_TRUE(links::ReadRelatedEntries(path.c_str(), 3, read));
  EXPECT_TRUE(read.empty());
  EXPECT_TRUE(links::ReadRelatedEntries(path.c_str(), 0, read));
  EXPECT_TRUE(read.empty());
  // A record that claims more entries than the file holds: it runs on into
  // the next record and stops at the end of the file.
  bytes[8 + 3] = 0x00;
  bytes[8 + 4] = 0x09;
  path = dir.Write("MAROVA.REL", bytes);
  ASSERT_TRUE(links::ReadRelatedEntries(path.c_str(), 1, read));
  EXPECT_EQ(read.size(), 3u);
  // A record offset beyond the end of the file.
  bytes[0] = 0x7F;
  path = dir.Write("MAROVA.REL", bytes);
  ASSERT_TRUE(links::ReadRelatedEntries(path.c_str(), 1, read));
  EXPECT_TRUE(read.empty());
}

TEST(RelatedFile, TheBuilderRefusesWhatTheFormatCannotHold) {
  std::vector<std::vector<builder::RelatedItem>> related(1);
  related[0] = {{0x1000000, 1}};
  EXPECT_THROW(builder::BuildRelatedFile(related), std::invalid_argument);
}

// ---- Internet.dat -----------------------------------------------------------------------

struct InternetFile {
  TempDir dir;
  std::string path;
  InternetFile() {
    // Link.bit ranks 0..2: two links, none, one; Url.bit ranks 0..1.
    const std::vector<std::vector<std::uint32_t>> links = {{30, 31}, {}, {31}};
    const std::vector<builder::InternetArticle> urls = {{30, "http://a.example.org/"}, {31, "http://b.example.org/x"}};
    path = dir.Write("Internet.dat", AsText(builder::BuildInternetFile(links, urls)));
  }
};

TEST(InternetLinksFile, LinksAndAddressesByRank) {
  InternetFile file;
  std::vector<u32> links;
  ASSERT_TRUE(links::ReadInternetLinks(file.path.c_str(), 0, links));
  EXPECT_EQ(links, (std::vector<u32>{30, 31}));
  ASSERT_TRUE(links::ReadInternetLinks(file.path.c_str(), 1, links));
  EXPECT_TRUE(links.empty());  // an article of Link.bit without links
  ASSERT_TRUE(links::ReadInternetLinks(file.path.c_str(), 2, links));
  EXPECT_EQ(links, (std::vector<u32>{31}));

  std::string url;
  ASSERT_EQ(links::ReadInternetUrl(file.path.c_str(), 0, url), links::UrlResult::Ok);
  EXPECT_EQ(url, "http://a.example.org/");  // the first slot of the URL table
  ASSERT_EQ(links::ReadInternetUrl(file.path.c_str(), 1, url), links::UrlResult::Ok);
  EXPECT_EQ(url, "http://b.example.org/x");
  // A rank past the table, or none.
  EXPECT_EQ(links::ReadInternetUrl(file.path.c_str(), 7, url), links::UrlResult::Unreadable);
  EXPECT_EQ(links::ReadInternetUrl(file.path.c_str(), -1, url), links::UrlResult::Unreadable);
  EXPECT_TRUE(url.empty());
}

TEST(InternetLinksFile, AMissingFileAndDamagedEntries) {
  TempDir dir;
  std::vector<u32> links = {1};
  std::string url = "old";
  EXPECT_FALSE(links::ReadInternetLinks(dir.File("Internet.dat").c_str(), 0, links));
  EXPECT_TRUE(links.empty());
  EXPECT_EQ(links::ReadInternetUrl(dir.File("Internet.dat").c_str(), 0, url), links::UrlResult::OpenFailed);
  EXPECT_TRUE(url.empty());

  // One link list and one URL entry laid out by hand: B = 16, L = 8.
  auto file = [&](std::uint16_t length, const std::string& text, std::uint32_t linkEntry) {
    std::string b(64, '\0');
    b[0] = 16;  // URL table
    b[4] = 8;   // link list of rank 0
    b[8] = 1;   // one link
    b[10] = static_cast<char>(linkEntry);
    b[16] = 20;  // URL entry of rank 0
    b[24] = static_cast<char>(length & 0xFF);
    b[25] = static_cast<char>(length >> 8);
    b.replace(26, text.size(), text);
    b.resize(26 + text.size());
    return dir.Write("Internet.dat", b);
  };
  // A link entry beyond the end of the file.
  std::string path = file(4, std::string("abc", 4), 200);
  ASSERT_TRUE(links::ReadInternetLinks(path.c_str(), 0, links));
  EXPECT_TRUE(links.empty());
  ASSERT_EQ(links::ReadInternetUrl(path.c_str(), 0, url), links::UrlResult::Ok);
  EXPECT_EQ(url, "abc");
  // A length past the end, without the zero, nothing but the zero, and one
  // longer than the reader's buffer.
  EXPECT_EQ(links::ReadInternetUrl(file(9, "abc", 0).c_str(), 0, url), links::UrlResult::Unreadable);
  EXPECT_EQ(links::ReadInternetUrl(file(3, "abc", 0).c_str(), 0, url), links::UrlResult::Unreadable);
  EXPECT_EQ(links::ReadInternetUrl(file(1, std::string(1, '\0'), 0).c_str(), 0, url), links::UrlResult::Unreadable);
  const std::string longest(259, 'x');
  EXPECT_EQ(links::ReadInternetUrl(file(260, longest + '\0', 0).c_str(), 0, url), links::UrlResult::Ok);
  EXPECT_EQ(url.size(), 259u);
  EXPECT_EQ(links::ReadInternetUrl(file(261, longest + "x" + '\0', 0).c_str(), 0, url), links::UrlResult::Unreadable);
  EXPECT_TRUE(url.empty());
}

TEST(InternetLinksFile, TheBuilderRefusesLinksWithoutAddresses) {
  EXPECT_THROW(builder::BuildInternetFile({{5}}, {}), std::invalid_argument);
  EXPECT_THROW(builder::BuildInternetFile({}, {{5, std::string(259, 'x')}}), std::invalid_argument);
}

// ---- notices ----------------------------------------------------------------------------

TEST(SourceNotices, TheBlockNamesTheArticlesSource) {
  EXPECT_EQ(browser::SourceOf(true, true), browser::ArticleSource::NewsMagazine);  // tested first
  EXPECT_EQ(browser::SourceOf(false, true), browser::ArticleSource::WorldEncyclopedia);
  EXPECT_EQ(browser::SourceOf(false, false), browser::ArticleSource::Other);

  const std::string rule = "\r\n" + std::string(40, '_') + "\r\n";
  const std::string other = browser::NoticeBlock(browser::ArticleSource::Other);
  ASSERT_EQ(other.rfind(rule, 0), 0u);
  const std::string product = other.substr(rule.size());
  EXPECT_EQ(product.find('\r'), std::string::npos);  // the rule and the product notice only
  const std::string news = browser::NoticeBlock(browser::ArticleSource::NewsMagazine);
  const std::string world = browser::NoticeBlock(browser::ArticleSource::WorldEncyclopedia);
  EXPECT_EQ(news.rfind(other, 0), 0u);
  EXPECT_EQ(world.rfind(other, 0), 0u);
  EXPECT_NE(news, world);
  // The world encyclopedia's notice has two lines; nothing ends with a line end.
  EXPECT_EQ(std::count(world.begin(), world.end(), '\n'), 4);
  for (const std::string& block : {other, news, world}) EXPECT_NE(block.back(), '\n');

  // The footer lines are the notices without line ends; blanks fill the rest.
  const auto footer = browser::FooterLines(browser::ArticleSource::Other);
  EXPECT_EQ(footer[0], product);
  EXPECT_EQ(footer[1], " ");
  EXPECT_EQ(footer[2], " ");
  const auto worldFooter = browser::FooterLines(browser::ArticleSource::WorldEncyclopedia);
  EXPECT_EQ(rule + worldFooter[0] + "\r\n" + worldFooter[1] + "\r\n" + worldFooter[2], world);
  const auto newsFooter = browser::FooterLines(browser::ArticleSource::NewsMagazine);
  EXPECT_EQ(rule + newsFooter[0] + "\r\n" + newsFooter[1], news);
  EXPECT_EQ(newsFooter[2], " ");
}

TEST(SourceNotices, TheTextEndsAtItsFirstZero) {
  const char text[] = "Comet\r\nA body of ice.\0stale";
  EXPECT_EQ(browser::JoinWithNotice(text, sizeof text, "|N"), "Comet\r\nA body of ice.|N");
  EXPECT_EQ(browser::JoinWithNotice("abcdef", 3, "|N"), "abc|N");  // no zero within the length
  EXPECT_EQ(browser::JoinWithNotice(nullptr, 5, "|N"), "|N");
}

// ---- history ----------------------------------------------------------------------------

TEST(ArticleHistory, KeepsTheLast80AndWalksBack) {
  browser::ArticleHistory history;
  EXPECT_FALSE(history.HasPrevious());
  EXPECT_EQ(history.Resolve(-1), 0);  // nothing to go back to
  for (int a = 1; a <= 81; ++a) {
    ASSERT_EQ(history.Resolve(a), a);
    history.Append(static_cast<u32>(a));
  }
  EXPECT_EQ(history.Count(), browser::ArticleHistory::kSize);
  EXPECT_EQ(history.At(0), 2u);
  EXPECT_EQ(history.At(79), 81u);
  EXPECT_EQ(history.At(80), 0u);
  // Previous from the newest shows the one before it; each shown is appended.
  EXPECT_EQ(history.Resolve(-1), 80);
  history.Append(80);
  EXPECT_EQ(history.At(79), 80u);
  EXPECT_EQ(history.At(0), 3u);
  EXPECT_EQ(history.Resolve(-1), 79);
}

TEST(ArticleHistory, PreviousPassesTheFirstEntry) {
  browser::ArticleHistory history;
  for (int a : {5, 6, 7}) {
    history.Resolve(a);
    history.Append(static_cast<u32>(a));
  }
  EXPECT_EQ(history.Position(), 1);
  EXPECT_EQ(history.Resolve(-1), 6);
  history.Append(6);
  EXPECT_EQ(history.Resolve(-1), 5);
  history.Append(5);
  EXPECT_FALSE(history.HasPrevious());
  EXPECT_EQ(history.Resolve(-1), 0);
  EXPECT_EQ(history.Count(), 5);
  // The same article again: the position moves, the entries stay.
  EXPECT_EQ(history.Resolve(5), 5);
  EXPECT_EQ(history.Position(), 4);
  EXPECT_EQ(history.Count(), 5);
}

TEST(ArticleHistory, ANoneStaysNoneWhenTheOldestGoes) {
  browser::ArticleHistory history;
  for (int a = 1; a <= 80; ++a) {
    history.Resolve(a);
    history.Append(static_cast<u32>(a));
  }
  while (history.HasPrevious()) history.Append(static_cast<u32>(history.Resolve(-1)));
  ASSERT_FALSE(history.HasPrevious());
  history.Append(99);  // Previous was passed: appending keeps it so
  EXPECT_FALSE(history.HasPrevious());
  EXPECT_EQ(history.Resolve(-1), 0);
}

}  // namespace
