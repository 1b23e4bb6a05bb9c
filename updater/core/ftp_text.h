// What the updater reads from the update server: the three-digit codes of the
// replies on the control connection and the one directory line that a LIST of
// an archive returns. Both come off the network, so every read is bounded by
// the text's own length.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace refresh {

// The code of a reply. The text is split into lines at every carriage return
// and line feed; the first three characters of a line are its code. The first
// line whose code equals `expected` gives the result; otherwise the code of
// the last line that holds any text (atoi of its first three characters, so 0
// when they are not digits). An expected code of 0 matches no line.
int ParseReplyCode(std::string_view reply, int expected);

// The fields of a directory line of the server's LIST.
struct ListingLine {
  std::int64_t size = 0;  // 0 when unknown
  // The listed digits run past INT64_MAX: size is then INT64_MAX, so that
  // no check of the size alone can take the line for a small or unknown one.
  bool tooLarge = false;
  int month = 0;  // 1 to 12, 0 when unknown
  int day = 0;
};

// Reads the first line of a LIST of one file by its blank-separated fields,
// whatever the server's column widths: a Unix-style line
// ("-rw-r--r-- 1 owner group 3000 Mar 07 12:00 NAME", read from the right:
// the name, then the time or year, the day, the month's three letters in any
// case and the size, which has at least the type, the link count and the
// owner before it) or a DOS-style line ("03-07-98 12:00PM 3000 NAME"). A
// line of neither form (a date such as "2024-03-07"),
// one that is not a plain file (a Unix type other than "-": a directory, a
// symbolic link, a device...; a DOS "<DIR>" or other "<...>") leaves all
// three unknown. The size is read into 64 bits in every build, so a Windows
// build reads a size past 2 GB as the native one does, and a size past even
// that is too large, never unknown.
ListingLine ParseListingLine(std::string_view text);

// Gathers the text of the control connection, which arrives in chunks that
// need not follow the replies, into whole replies: a line "xyz text", or the
// lines from "xyz-text" up to and including the next line that begins with
// the same three digits and a blank (or ends right after them). Any other
// line is a reply of its own. Lines end at a line feed (a carriage return
// before it belongs to the line end); text after the last line end waits for
// more. A multi-line reply that grows past kMaxReply is handed out as it is.
class ReplyReader {
 public:
  static constexpr std::size_t kMaxReply = 16384;
  void Add(std::string_view chunk) { pending_.append(chunk.data(), chunk.size()); }
  // The next whole reply with its line ends; false when none waits.
  bool Next(std::string& reply);
  bool HasReply() const { return WholeReplyLength() > 0; }

 private:
  // The length of the first whole reply, 0 when none waits.
  std::size_t WholeReplyLength() const;
  std::string pending_;
};

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
