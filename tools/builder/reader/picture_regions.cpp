#include "reader/picture_regions.h"

#include <stdexcept>

namespace builder {
namespace {

std::uint32_t Stride(const Picture& picture) { return (picture.width * picture.bitsPerPixel + 31u) / 32u * 4u; }

// One byte a pixel (top row first) as a bottom-up block of the picture's
// stride, packed to its depth; delta-filtered for 256 colours.
Bytes Block(const Picture& picture, const std::vector<std::uint8_t>& values) {
  const std::uint32_t stride = Stride(picture);
  Bytes block(static_cast<std::size_t>(stride) * picture.height, 0);
  for (std::uint32_t y = 0; y < picture.height; ++y) {
    std::uint8_t* row = block.data() + static_cast<std::size_t>(picture.height - 1 - y) * stride;
    for (std::uint32_t x = 0; x < picture.width; ++x) {
      const std::uint8_t value = values[static_cast<std::size_t>(y) * picture.width + x];
      const std::uint32_t bit = x * picture.bitsPerPixel;
      row[bit / 8] |= static_cast<std::uint8_t>(value << (8 - picture.bitsPerPixel - bit % 8));
    }
  }
  if (picture.bitsPerPixel == 8)
    for (std::size_t i = block.size() >= 2 ? block.size() - 2 : 0; i >= 1; --i)
      block[i] = static_cast<std::uint8_t>(block[i] - block[i - 1]);
  return block;
}

void Spot(ByteWriter& out, std::uint16_t kind, const HotSpotRecord& spot) {
  out.U16le(spot.id);
  const auto points = [&] {
    out.U16le(static_cast<std::uint32_t>(spot.points.size()));
    for (const auto& [x, y] : spot.points) {
      out.U16le(x);
      out.U16le(y);
    }
  };
  const auto rect = [&] {
    out.U16le(spot.left);
    out.U16le(spot.top);
    out.U16le(spot.right);
    out.U16le(spot.bottom);
  };
  const auto label = [&] {
    out.U16le(static_cast<std::uint32_t>(spot.label.size()));
    out.Append(spot.label);
  };
  switch (kind) {
    case 1:
      out.U8(static_cast<std::uint8_t>(spot.key));
      rect();
      break;
    case 2:
      points();
      rect();
      break;
    case 3:
      label();
      points();
      break;
    default:
      out.U8(static_cast<std::uint8_t>(spot.key));
      label();
      break;
  }
}

}  // namespace

Bytes PictureRecordWithRegions(const Picture& picture, const PictureRegions& regions) {
  if (regions.kind < 1 || regions.kind > 4) throw std::invalid_argument("region kind must be 1-4");
  const std::size_t pixels = static_cast<std::size_t>(picture.width) * picture.height;
  if (picture.pixels.size() != pixels || picture.colours.size() != (1u << picture.bitsPerPixel))
    throw std::invalid_argument("picture pixels or colours do not fit its size");
  if (regions.kind == 4 && regions.mask.size() != pixels) throw std::invalid_argument("region mask size");
  ByteWriter body;
  body.Append(picture.caption);
  for (std::uint32_t colour : picture.colours) {
    body.U8(colour & 0xFF);
    body.U8((colour >> 8) & 0xFF);
    body.U8((colour >> 16) & 0xFF);
    body.U8(0);
  }
  body.Append(Block(picture, picture.pixels));
  if (regions.kind == 4) body.Append(Block(picture, regions.mask));
  body.U16le(static_cast<std::uint32_t>(regions.spots.size()));
  for (const HotSpotRecord& spot : regions.spots) Spot(body, regions.kind, spot);

  ByteWriter record;
  record.U8(picture.type);
  record.U16le(static_cast<std::uint32_t>(picture.caption.size()));
  record.U16le(picture.width);
  record.U16le(picture.height);
  record.U16le(Stride(picture));
  record.U8(picture.bitsPerPixel);
  record.U16le(regions.kind);
  record.U32le(static_cast<std::uint32_t>(17 + body.size()));
  record.U8(0);
  record.Append(body.bytes());
  return record.take();
}

}  // namespace builder
