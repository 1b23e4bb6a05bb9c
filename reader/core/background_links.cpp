#include "core/background_links.h"

#include "core/content_file.h"

namespace {
constexpr u16 MaxPairs = 100;
}

BackgroundLink FindBackgroundItem(const char* path, u16 record, u16* item) {
  const ContentFile file = ContentOpen(path);
  if (file == NoContentFile) return BackgroundLink::FileMissing;
  u8 count[2];
  BackgroundLink result = BackgroundLink::NotListed;
  if (ContentReadExact(file, count, sizeof count)) {
    const u16 pairs = ContentU16(count) < MaxPairs ? ContentU16(count) : MaxPairs;
    u8 pair[4];
    for (u16 i = 0; i < pairs && ContentReadExact(file, pair, sizeof pair); ++i)
      if (ContentU16(pair) == record) {
        if (item) *item = ContentU16(pair + 2);
        result = BackgroundLink::Found;
        break;
      }
  }
  ContentClose(file);
  return result;
}
