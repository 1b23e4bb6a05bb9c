// Replies and listing lines from the update server, and the data ports.
#include "ftp_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

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

struct ReadAs {
  const char* line;
  std::int64_t size;
  int month, day;
  bool tooLarge = false;
};

void ExpectReadAs(std::initializer_list<ReadAs> cases) {
  for (const ReadAs& c : cases) {
    const ListingLine parsed = ParseListingLine(c.line);
    EXPECT_EQ(parsed.size, c.size) << c.line;
    EXPECT_EQ(parsed.tooLarge, c.tooLarge) << c.line;
    EXPECT_EQ(parsed.month, c.month) << c.line;
    EXPECT_EQ(parsed.day, c.day) << c.line;
  }
}

// Lines as servers send them, each with its own column widths.
TEST(ListingLine, ReadsTheFieldsWhateverTheColumnWidths) {
  ExpectReadAs({
      // A server of its own kind: the size ends at index 44.
      {"-rw-r--r--   1 encyuser users          123456 Mar 07 10:00 UPDTBITM.EXE\r\n", 123456, 3, 7},
      // Narrow owner and group columns (the size ends at index 41).
      {"-rw-r--r--    1 ftp      ftp          3000 Dec 09 06:25 UPDATES.EXE\r\n", 3000, 12, 9},
      // Numeric owner and group, a year instead of the time, a one-digit day.
      {"-rw-r--r--   1 0  0  7 mar  5  1998 UPDATES.EXE", 7, 3, 5},
      // Tabs, and an owner that looks like a month.
      {"-rw-r--r--\t1\tjan\tusers\t42\tFEB\t28\t12:00\tA.EXE", 42, 2, 28},
      // DOS style: date, time, size, name.
      {"03-07-98  12:00PM               123456 UPDTBITM.EXE\r\n", 123456, 3, 7},
      {"12-31-1998  01:05AM  0 UPDATES.EXE", 0, 12, 31},
  });
}

// Owner and group are names of the server's choosing: one named like a month,
// beside numbers that could pass for a size or a day, is not the date.
TEST(ListingLine, AnOwnerOrGroupNamedLikeAMonthIsNotTakenForTheDate) {
  ExpectReadAs({
      {"-rw-r--r-- 1 jan 20 3000 Mar 07 10:00 UPDATES.EXE", 3000, 3, 7},
      {"-rw-r--r-- 1 mar 5 3000 Dec 09 1998 UPDATES.EXE", 3000, 12, 9},
      {"-rw-r--r-- 1 100 jan 07 3000 Mar 07 10:00 UPDATES.EXE", 3000, 3, 7},
      {"-rw-r--r-- 1 jan mar 12 Feb 28 23:59 UPDATES.EXE", 12, 2, 28},
      // A name with a blank in it still ends the line.
      {"-rw-r--r-- 1 dec 31 3000 Mar 07 10:00 NEW UPDATES.EXE", 3000, 3, 7},
      // A server that lists no group.
      {"-rw-r--r-- 1 ftp 3000 Mar 07 10:00 UPDATES.EXE", 3000, 3, 7},
  });
}

// Where the date is not a month's name, a day and a time or year, the line
// has no size to read, and owner, group and link count must not make one.
TEST(ListingLine, ADateOfAnotherFormLeavesTheSizeUnknownWhateverTheOwnerIsNamed) {
  for (const char* line : {
           "-rw-r--r-- 1 mar 20 3000 2024-03-07 10:00 UPDATES.EXE",
           "-rw-r--r-- 1 500 jan 20 3000 2024-03-07 10:00 UPDATES.EXE",
           "-rw-r--r-- 1 dec 5 1998 7 Mar 10:00 UPDATES.EXE",
           "-rw-r--r-- 1 apr 9 10:00 2024-03-07T10:00 UPDATES.EXE",
       }) {
    const ListingLine parsed = ParseListingLine(line);
    EXPECT_EQ(parsed.size, 0) << line;
    EXPECT_EQ(parsed.month, 0) << line;
  }
}

// Only a plain file's line tells the size of what RETR brings. Every other
// kind of entry, in either form, leaves the size unknown, so the download is
// taken as it comes rather than held to a number that is not its length.
TEST(ListingLine, OnlyAPlainFileHasASize) {
  for (const char* line : {
           "-rw-r--r--    1 0        0         2412544 Dec 09 12:26 UPDATES.EXE",
           "-rwxr-xr-x+   1 ftp      ftp       2412544 Dec 09 12:26 UPDATES.EXE",  // with an access list
           "12-09-98  12:26PM              2412544 UPDATES.EXE",
       }) {
    EXPECT_EQ(ParseListingLine(line).size, 2412544) << line;
  }
  for (const char* line : {
           // A symbolic link: the number is the length of the target's name.
           "lrwxrwxrwx    1 0        0              12 Dec 09 12:26 UPDATES.EXE -> upd-9803.exe",
           "lrwxrwxrwx 1 ftp ftp 2412544 Dec 09 12:26 UPDATES.EXE -> upd-9803.exe",
           "drwxr-xr-x    2 0        0            4096 Dec 09 12:26 UPDATES.EXE",
           "crw-rw-rw-    1 0        0          1,   3 Dec 09 12:26 UPDATES.EXE",  // a device's minor number
           "brw-rw----    1 0        6          8,   0 Dec 09 12:26 UPDATES.EXE",
           "prw-r--r--    1 0        0               0 Dec 09 12:26 UPDATES.EXE",  // a pipe
           "srwxrwxrwx    1 0        0               0 Dec 09 12:26 UPDATES.EXE",  // a socket
           "Drwxr-xr-x    1 0        0             512 Dec 09 12:26 UPDATES.EXE",  // a kind nobody knows
           "12-09-98  12:26PM       <DIR>          UPDATES.EXE",
           "12-09-98  12:26PM       <JUNCTION>     UPDATES.EXE [upd-9803]",
           "12-09-98  12:26PM       <SYMLINK>      UPDATES.EXE [upd-9803.exe]",
       }) {
    const ListingLine parsed = ParseListingLine(line);
    EXPECT_EQ(parsed.size, 0) << line;
    EXPECT_EQ(parsed.month, 0) << line;
  }
}

TEST(ListingLine, AnythingElseIsUnknown) {
  for (const char* line : {"", "\r\n", "UPDTBITM.EXE\r\n", "550 No such file",
                           "-rw-r--r-- 1 ftp ftp 3000 Foo 07 10:00 A.EXE",  // no month
                           "-rw-r--r-- 1 ftp ftp 3000 Mar 32 10:00 A.EXE",  // no day
                           "-rw-r--r-- 1 ftp ftp 3000 Mar 07 10:00",        // no name
                           "-rw-r--r-- 1 ftp ftp 3000 Mar 07 noon A.EXE",   // no time or year
                           "13-07-98  12:00PM  5  A.EXE"}) {
    const ListingLine parsed = ParseListingLine(line);
    EXPECT_EQ(parsed.size, 0) << line;
    EXPECT_FALSE(parsed.tooLarge) << line;
    EXPECT_EQ(parsed.month, 0) << line;
  }
  // Only the first line counts.
  EXPECT_EQ(ParseListingLine("total 8\r\n-rw-r--r-- 1 ftp ftp 3000 Mar 07 10:00 A.EXE\r\n").size, 0);
  // Leading zeros are harmless, a size as large as a long is kept.
  EXPECT_EQ(ParseListingLine("-rw-r--r-- 1 ftp ftp 00042 Mar 07 10:00 A.EXE").size, 42);
  EXPECT_EQ(ParseListingLine("-rw-r--r-- 1 ftp ftp 2147483647 Mar 07 10:00 A.EXE").size, 2147483647L);
}

// A long ends at 2,147,483,647 in the Windows builds: a size past it reads
// there as it does natively, and one past 64 bits is too large rather than
// unknown, which would let its download run to the ceiling unchecked.
TEST(ListingLine, ASizePastALongIsReadExactlyAndOnePastSixtyFourBitsIsTooLarge) {
  ExpectReadAs({
      {"-rw-r--r-- 1 ftp ftp 2147483647 Mar 07 10:00 A.EXE", 2147483647, 3, 7},
      {"-rw-r--r-- 1 ftp ftp 2147483648 Mar 07 10:00 A.EXE", 2147483648LL, 3, 7},
      {"-rw-r--r-- 1 owner group 5000000000 Mar 07 10:00 UPDATES.EXE", 5000000000LL, 3, 7},
      {"03-07-98  12:00PM  4294967296 A.EXE", 4294967296LL, 3, 7},
      {"-rw-r--r-- 1 ftp ftp 9223372036854775807 Mar 07 10:00 A.EXE", INT64_MAX, 3, 7},
      // The value counts, not the number of digits.
      {"-rw-r--r-- 1 ftp ftp 0000000000000000000000042 Mar 07 10:00 A.EXE", 42, 3, 7},
      {"-rw-r--r-- 1 ftp ftp 9223372036854775808 Mar 07 10:00 A.EXE", INT64_MAX, 3, 7, true},
      {"-rw-r--r-- 1 ftp ftp 99999999999999999999 Mar 07 10:00 A.EXE", INT64_MAX, 3, 7, true},
      {"-rw-r--r-- 1 ftp ftp 1234567890123456789012345 Mar 07 10:00 A.EXE", INT64_MAX, 3, 7, true},
      {"03-07-98  12:00PM  1234567890123456789012345 A.EXE", INT64_MAX, 3, 7, true},
      // What is not a plain file has no size, however large its number.
      {"drwxr-xr-x 2 0 0 1234567890123456789012345 Dec 09 12:26 UPDATES.EXE", 0, 0, 0},
  });
}

// Replies as a control connection delivers them: in pieces, or several at once.
std::vector<std::string> Replies(std::initializer_list<const char*> chunks) {
  ReplyReader reader;
  std::vector<std::string> replies;
  std::string reply;
  for (const char* chunk : chunks) {
    reader.Add(chunk);
    while (reader.Next(reply)) replies.push_back(reply);
  }
  return replies;
}

TEST(ReplyReader, AReplyInPiecesIsOneReplyAndSeveralInOneChunkAreSeveral) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(Replies({"220 Ready\r\n"}), Lines{"220 Ready\r\n"});
  // A multi-line greeting split after its first line, and a code split in two.
  EXPECT_EQ(Replies({"220-Welcome\r\n", "220-to the server\r\n220 Ready\r\n", "3", "31 Password\r", "\n"}),
            (Lines{"220-Welcome\r\n220-to the server\r\n220 Ready\r\n", "331 Password\r\n"}));
  // Lines inside a multi-line reply need no code; a line of another code does not end it.
  EXPECT_EQ(Replies({"230-Hello\r\n  some text\r\n220 not the end\r\n230 Logged in\r\n"}),
            Lines{"230-Hello\r\n  some text\r\n220 not the end\r\n230 Logged in\r\n"});
  EXPECT_EQ(Replies({"150 Opening\r\n226 Done\r\n"}), (Lines{"150 Opening\r\n", "226 Done\r\n"}));
  // A bare line feed ends a line; a code alone ends a multi-line reply.
  EXPECT_EQ(Replies({"250-a\n250\n"}), Lines{"250-a\n250\n"});
  // Text that starts no reply is a reply of its own line; an unfinished line waits.
  EXPECT_EQ(Replies({"Hello\r\n", "220 Rea"}), Lines{"Hello\r\n"});
  EXPECT_TRUE(Replies({"230-Hello\r\n230-more\r\n"}).empty());
}

TEST(ReplyReader, AnEndlessReplyIsHandedOutWhenItGrowsTooLong) {
  ReplyReader reader;
  reader.Add("230-start\r\n");
  std::string reply;
  EXPECT_FALSE(reader.Next(reply));
  reader.Add(std::string(ReplyReader::kMaxReply, 'x'));
  ASSERT_TRUE(reader.Next(reply));
  EXPECT_EQ(reply.size(), ReplyReader::kMaxReply + 11);
  EXPECT_FALSE(reader.Next(reply));
  reader.Add("220 next\r\n");
  EXPECT_TRUE(reader.Next(reply));
  EXPECT_EQ(reply, "220 next\r\n");
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
