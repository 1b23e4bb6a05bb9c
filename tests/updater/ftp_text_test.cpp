// Replies and listing lines from the update server, and the data ports.
#include "ftp_text.h"

#include <gtest/gtest.h>

#include <string>

namespace refresh {
namespace {

TEST(ReplyCode, TheExpectedCodeOnAnyLineWinsOtherwiseTheLastLine) {
  EXPECT_EQ(ParseReplyCode("230-Welcome\r\n230 Logged in\r\n", 230), 230);
  EXPECT_EQ(ParseReplyCode("220 Ready\r\n421 Too many users\r\n", 230), 421);
  EXPECT_EQ(ParseReplyCode("150 Opening\r\n226 Done\r\n", 0), 226);  // no expectation: the last line
  EXPECT_EQ(ParseReplyCode("331 Password\n", 331), 331);             // a bare line feed ends a line too
  EXPECT_EQ(ParseReplyCode("220 a\r220 b\r\n\r\n", 0), 220);         // trailing empty lines do not count
}

TEST(ReplyCode, ShortOrOddTextStaysInsideTheReply) {
  EXPECT_EQ(ParseReplyCode("", 220), 0);
  EXPECT_EQ(ParseReplyCode("\r\n\r\n", 0), 0);
  EXPECT_EQ(ParseReplyCode("42", 0), 42);
  EXPECT_EQ(ParseReplyCode("Hello there\r\n", 0), 0);
  const std::string noTerminator = std::string("2") + std::string(1, '5');  // not NUL-terminated data
  EXPECT_EQ(ParseReplyCode(std::string_view(noTerminator.data(), 2), 0), 25);
}

// A directory line with the size ending at index 44, the month at 46 and the day at 50.
std::string Listing(const char* size, const char* month = "Jan", const char* day = "15") {
  char line[128];
  std::snprintf(line, sizeof line, "-rw-r--r--   1 encyuser users    %12s %s %s 10:00 UPDTBITM.EXE\r\n", size, month,
                day);
  return line;
}

TEST(ListingLine, ReadsSizeMonthAndDayAtTheirColumns) {
  const std::string line = Listing("123456", "Mar", "07");
  ASSERT_EQ(line.substr(39, 6), "123456");
  const ListingLine parsed = ParseListingLine(line);
  EXPECT_EQ(parsed.size, 123456);
  EXPECT_EQ(parsed.month, 3);
  EXPECT_EQ(parsed.day, 7);
  EXPECT_EQ(ParseListingLine(Listing("1", "dEC", " 9")).month, 12);
  EXPECT_EQ(ParseListingLine(Listing("1", "Foo")).month, 0);
}

TEST(ListingLine, ShortTextsAndHugeSizesAreUnknown) {
  const std::string line = Listing("98765");
  EXPECT_EQ(ParseListingLine(line.substr(0, 44)).size, 0);  // shorter than 45 characters
  const ListingLine cut = ParseListingLine(line.substr(0, 48));
  EXPECT_EQ(cut.size, 98765);
  EXPECT_EQ(cut.month, 0);  // 48 characters or fewer
  EXPECT_EQ(ParseListingLine(line.substr(0, 52)).day, 0);
  EXPECT_EQ(ParseListingLine(line.substr(0, 53)).day, 15);
  EXPECT_EQ(ParseListingLine(Listing("x")).size, 0);
  const std::string digits(45, '9');
  EXPECT_EQ(ParseListingLine(digits).size, 0);  // too long for a long
  EXPECT_EQ(ParseListingLine(std::string(30, '0') + std::string(15, ' ')).size, 0);
  EXPECT_EQ(ParseListingLine(std::string(40, '0') + "00042").size, 42);  // leading zeros are harmless
}

TEST(DataPorts, StartPlusOneThenWrapAfter5629) {
  EXPECT_EQ(NextDataPort(5578 + 49), 5628);
  EXPECT_EQ(NextDataPort(5627), 5628);
  EXPECT_EQ(NextDataPort(5628), 5629);
  EXPECT_EQ(NextDataPort(5629), 5578);
  EXPECT_EQ(PortText(5579), "21,203");
  const unsigned char loopback[4] = {127, 0, 0, 1};
  EXPECT_EQ(AddressText(loopback), "127,0,0,1");
}

}  // namespace
}  // namespace refresh
