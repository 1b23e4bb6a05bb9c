// What the updater reads from the update server: the three-digit codes of the
// replies on the control connection and the one directory line that a LIST of
// an archive returns. Both come off the network, so every read is bounded by
// the text's own length.
#pragma once

#include <string>
#include <string_view>

namespace refresh {

// The code of a reply. The text is split into lines at every carriage return
// and line feed; the first three characters of a line are its code. The first
// line whose code equals `expected` gives the result; otherwise the code of
// the last line that holds any text (atoi of its first three characters, so 0
// when they are not digits). An expected code of 0 matches no line.
int ParseReplyCode(std::string_view reply, int expected);

// The fields of a directory line of the server's LIST, taken at fixed columns.
struct ListingLine {
  long size = 0;  // 0 when unknown
  int month = 0;  // 1 to 12, 0 when unknown
  int day = 0;
};

// size: the run of digits ending at index 44, read backwards (0 when the text
// is shorter than 45 characters or the run does not fit a long); month: the
// three letters at index 46 as "Jan" ... "Dec" in any case (0 when the text has
// 48 characters or fewer, or for anything else); day: the two characters at
// index 50 as a number (0 when the text is shorter than 53 characters).
ListingLine ParseListingLine(std::string_view text);

// Listener ports for the data connections run from 5578 to 5629.
constexpr int FirstDataPort = 5578;
constexpr int DataPortCount = 50;  // the session's start is FirstDataPort + rand() % DataPortCount
// The port after `last`: one more while `last` is at most 5628, else 5578.
int NextDataPort(int last);

// "%d,%d,%d,%d" of an IPv4 address given in network order, and "%d,%d" of a
// port (high byte, low byte): the two halves of a PORT command.
std::string AddressText(const unsigned char address[4]);
std::string PortText(int port);

}  // namespace refresh
