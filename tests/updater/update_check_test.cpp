// The update's date, the listing "verify.txt" and the extractor's command line.
#include "update_check.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace refresh {
namespace {

TEST(UpdateDate, FormatsAndReadsTheRecordedDate) {
  EXPECT_EQ(FormatUpdateDate({1998, 3, 7}), "3/7/1998");
  const UpdateDate read = ParseRecordedDate("12/31/1998");
  EXPECT_EQ(read.year, 1998);
  EXPECT_EQ(read.month, 12);
  EXPECT_EQ(read.day, 31);
}

TEST(UpdateDate, ATextNotInMonthDayYearFormCountsAsNoUpdate) {
  for (const char* bad : {"", "1998", "3/1998", "a/b/c", "13/1/1998", "3/0/1998", "3//1998", "-1/2/1998"}) {
    const UpdateDate read = ParseRecordedDate(bad);
    EXPECT_EQ(FormatUpdateDate(read), NoUpdateRecorded) << bad;
  }
}

TEST(UpdateDate, OnlyALaterDayIsNew) {
  const UpdateDate recorded = ParseRecordedDate("3/7/1998");
  EXPECT_FALSE(IsLaterDay({1998, 3, 7}, recorded));  // the same day: already installed
  EXPECT_FALSE(IsLaterDay({1998, 2, 28}, recorded));
  EXPECT_TRUE(IsLaterDay({1998, 3, 8}, recorded));
  EXPECT_TRUE(IsLaterDay({1999, 1, 1}, recorded));
  EXPECT_TRUE(IsLaterDay({1997, 1, 2}, ParseRecordedDate(NoUpdateRecorded)));
}

class Listing : public ::testing::Test {
 protected:
  std::map<std::string, unsigned long long> files = {{"REN2F200.DAT", 1234}, {"UPDATES.DAT", 0}};
  FileLength lengthOf = [this](const std::string& name) -> std::optional<unsigned long long> {
    const auto found = files.find(name);
    if (found == files.end()) return std::nullopt;
    return found->second;
  };
  static std::string Row(const char* length, const char* name) {
    return std::string("  ") + length + "  100  50%  03-07-98  10:00  1a2b3c4d  file  --w-  " + name + "\r\n";
  }
  std::string Table(const std::string& rows, const char* lineEnd = "\r\n") {
    return std::string(" Length  Packed  Ratio  Date  Time  Check  Kind  Attr  Name") + lineEnd +
           " ------  ------  ----  -----  ----  ----  ------  ----  ----" + lineEnd + rows +
           " ------          ----  -----                               -------" + lineEnd +
           "   1234           100    50%                               2 files" + lineEnd;
  }
};

TEST_F(Listing, EveryFileOfTheTableMustHaveItsLength) {
  EXPECT_TRUE(VerifyListing(Table(Row("1234", "REN2F200.DAT") + Row("0", "UPDATES.DAT")), lengthOf));
  EXPECT_FALSE(VerifyListing(Table(Row("1235", "REN2F200.DAT")), lengthOf));  // wrong length
  EXPECT_FALSE(VerifyListing(Table(Row("10", "MISSING.DAT")), lengthOf));
  EXPECT_FALSE(VerifyListing(Table(Row("12x4", "REN2F200.DAT")), lengthOf));
  EXPECT_FALSE(VerifyListing(Table("  1234  100  REN2F200.DAT\r\n"), lengthOf));      // no ninth field
  EXPECT_TRUE(VerifyListing(Table(Row("1234", "REN2F200.DAT") + "\r\n"), lengthOf));  // empty lines are skipped
  // Lines after the closing rule are not checked.
  EXPECT_TRUE(VerifyListing(Table(Row("1234", "REN2F200.DAT")) + Row("9", "MISSING.DAT"), lengthOf));
}

TEST_F(Listing, AListingWithoutACompleteTableVerifiesNothingAndFails) {
  EXPECT_FALSE(VerifyListing("", lengthOf));
  EXPECT_FALSE(VerifyListing("just some text\r\n", lengthOf));
  const std::string full = Table(Row("1234", "REN2F200.DAT"));
  EXPECT_FALSE(VerifyListing(full.substr(0, full.find("REN2F200.DAT") + 14), lengthOf));  // cut off
  // A line of blanks is no rule: it neither opens nor closes the table.
  EXPECT_FALSE(VerifyListing("   \r\n" + Row("1234", "REN2F200.DAT") + "   \r\n", lengthOf));
  EXPECT_FALSE(VerifyListing(
      " ----\r\n" + Row("1234", "REN2F200.DAT") + "    \r\n" + Row("1", "UPDATES.DAT") + " ----\r\n", lengthOf));
  // A table that lists no file checks nothing either, however it is closed.
  EXPECT_FALSE(VerifyListing(Table(""), lengthOf));
  EXPECT_FALSE(VerifyListing(Table("\r\n\r\n"), lengthOf));
  EXPECT_FALSE(VerifyListing(" ----\r\n ----\r\n" + Table(Row("1234", "REN2F200.DAT")), lengthOf));
}

TEST_F(Listing, LinesEndAtCarriageReturnsOrLineFeeds) {
  EXPECT_TRUE(VerifyListing(Table(Row("1234", "REN2F200.DAT"), "\r"), lengthOf));
  std::string unix = Table(Row("1234", "REN2F200.DAT"), "\n");
  for (std::size_t at = unix.find("\r\n"); at != std::string::npos; at = unix.find("\r\n")) unix.erase(at, 1);
  EXPECT_TRUE(VerifyListing(unix, lengthOf));
}

TEST(Extractor, CommandLineRunsTheArchiveThroughTheCommandInterpreter) {
  EXPECT_EQ(ExtractorCommandLine("trn1A.tmp\\UPDATES.EXE", "trn1A.tmp"),
            "command.pif /c trn1A.tmp\\UPDATES.EXE -o trn1A.tmp\\ > trn1A.tmp\\sfxout.txt");
}

}  // namespace
}  // namespace refresh
