// What reaches the updater from the update server and its archives, from
// untrusted bytes: the first byte picks the reader (reply, listing line,
// "verify.txt", picture file or resource picture), the rest is its input.
#include <cstdint>
#include <string>
#include <string_view>

#include "bitmap_file.h"
#include "ftp_text.h"
#include "update_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 5) {
    case 0: {
      for (int expected : {0, 220, 230, 331}) refresh::ParseReplyCode(text, expected);
      // The same text in pieces of growing size, gathered into whole replies.
      refresh::ReplyReader reader;
      std::string reply;
      for (std::size_t at = 0, piece = 1; at < text.size(); at += piece, ++piece) {
        reader.Add(text.substr(at, piece));
        while (reader.Next(reply)) refresh::ParseReplyCode(reply, 230);
      }
      break;
    }
    case 1: refresh::ParseListingLine(text); break;
    case 2:
      refresh::VerifyListing(text, [](const std::string& name) -> std::optional<unsigned long long> {
        if (name.size() % 3 == 0) return std::nullopt;
        return name.size();
      });
      refresh::ParseRecordedDate(text);
      break;
    case 3:
    case 4: {
      // The layout must lie inside the bytes; touch its ends to prove it.
      const auto* bytes = data + 1;
      const auto layout =
          data[0] % 5 == 3 ? refresh::ParseBitmapFile(bytes, size - 1) : refresh::ParsePackedDib(bytes, size - 1);
      if (layout) {
        volatile std::uint8_t touch = bytes[layout->bitsOffset + layout->bitsSize - 1];
        if (layout->colours > 0) touch = bytes[layout->tableOffset + 4 * layout->colours - 1];
        (void)touch;
      }
      break;
    }
  }
  return 0;
}
