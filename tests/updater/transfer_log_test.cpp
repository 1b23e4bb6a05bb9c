// The transfer log: its header, its lines and a log that cannot be made.
#include "transfer_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "temp_dir.h"

namespace refresh {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(TransferLog, LinesAreIndentedByLevelAndEndWithTheTime) {
  EXPECT_EQ(FormatLogLine("BASE PORT: 5590", LogGeneral, 0), "BASE PORT: 5590 - 0\n");
  EXPECT_EQ(FormatLogLine("Data: CWINSOCK_DONE_READING", LogDataSocket, 1234),
            "\t\t\t\t\t\tData: CWINSOCK_DONE_READING - 1234\n");
  // A long text is cut, and the line keeps its end.
  const std::string line = FormatLogLine(std::string(2000, 'x'), LogTimer, 987654);
  EXPECT_EQ(line.size(), static_cast<size_t>(MaxLogLine));
  EXPECT_EQ(line.substr(line.size() - 11), "x - 987654\n");
}

TEST(TransferLog, HeaderHoldsTheStartTimeAndTheLegend) {
  std::tm when = {};
  when.tm_year = 98;
  when.tm_mon = 2;
  when.tm_mday = 7;
  when.tm_wday = 6;
  when.tm_hour = 9;
  when.tm_min = 5;
  when.tm_sec = 30;
  const std::string slashes(56, '/');
  EXPECT_EQ(LogHeader(when),
            "\n" + slashes + "\n\n\tSaturday, March 07, 1998 - 09:05:30\n" + slashes + "\n\n" + slashes + "\n\n");

  TempDir dir;
  TransferLog log;
  ASSERT_TRUE(log.Open(dir.File("Xferlog.txt").c_str(), 0));
  log.Line("Starting main control", LogTimer, 500);
  log.Close();
  log.Line("after the close", LogGeneral, 600);  // a closed log writes nothing
  const std::string text = ReadAll(dir.File("Xferlog.txt"));
  EXPECT_NE(text.find("\tServer response - 0\n\t\tmain control proc - 0\n\t\t\ttimer timeoout - 0\n"
                      "\t\t\t\tcontrol socket - 0\n\t\t\t\t\tserver socket - 0\n\t\t\t\t\t\tdatasocket - 0\n"
                      "\t\t\tStarting main control - 500\n"),
            std::string::npos);
  EXPECT_EQ(text.find("after the close"), std::string::npos);
}

TEST(TransferLog, ALogThatCannotBeMadeStaysSilent) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("Xferlog.txt"));  // in the way of the file
  TransferLog log;
  EXPECT_FALSE(log.Open(dir.File("Xferlog.txt").c_str(), 0));
  EXPECT_FALSE(log.IsOpen());
  log.Line("nothing", LogGeneral, 1);
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("Xferlog.txt")));
}

}  // namespace
}  // namespace refresh
