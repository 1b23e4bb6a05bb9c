// Unpacked picture records from untrusted bytes: the header, the parts it
// names, the region mask and the hot-spot records, and every shape's hit test;
// and the same bytes as the packed bitmap of a plain record, which the
// stand-in media library checks before it hands out a copy.
#include <cstdint>

#include "core/hot_spot.h"
#include "core/picture_record.h"
#include "kn_host.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > MaxPictureRecordSize) return 0;
  const u32 length = static_cast<u32>(size);
  PictureRecord picture;
  if (DecodePictureRecord(data, length, true, picture)) {
    BuildPackedDib(picture);
    PaletteColours(picture);
    CObArray spots;
    if (ReadHotSpots(picture.header.regionKind, picture.regions.data(), static_cast<u32>(picture.regions.size()),
                     spots))
      for (int i = 0; i < spots.GetSize(); ++i) static_cast<CHotSpot*>(spots[i])->HitTest(1, 1, 'a');
    RemoveHotSpots(spots);
  }
  if (const std::int32_t bitmap = kn::PackedBitmapSize(data, size)) {
    if (bitmap < 40 || static_cast<std::size_t>(bitmap) > size) __builtin_trap();
    volatile std::uint8_t last = data[bitmap - 1];  // the whole bitmap lies inside the bytes
    (void)last;
  }
  // The same bytes as hot-spot records of each kind.
  if (size >= 1) {
    CObArray spots;
    if (ReadHotSpots(data[0] % 5, data + 1, length - 1, spots))
      for (int i = 0; i < spots.GetSize(); ++i) {
        auto* spot = static_cast<CHotSpot*>(spots[i]);
        spot->HitTest(0, 0, 0);
        spot->HitTest(60000, 3, 'k');
        spot->GetLabel();
      }
    RemoveHotSpots(spots);
  }
  return 0;
}
