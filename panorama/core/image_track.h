// Image tracks and their decompression: the reader of an image track's sample
// table ("VIDE") with one decompressor state ("DCMP") per sample description,
// each bound to a `dcmp` component of the host, decoding a sample straight
// into the caller's pixels in the layout of the screen output mode.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kn_api.h"
#include "sample_table.h"

namespace pano {

struct ImageDescription {
  std::uint32_t codec = 0;
  std::int16_t width = 0, height = 0;
  std::int32_t horizontalResolution = 0, verticalResolution = 0;
  char name[32] = {};
  std::int16_t depth = 0;
  std::int16_t colorTableId = 0;
};

struct Decompressor {
  std::uint32_t signature;  // "DCMP"
  std::int32_t version;     // 2
  ImageDescription description;
  std::intptr_t component;  // the open `dcmp` component instance
  std::int32_t outputMode;
  const std::uint8_t* colorTable;  // in the output's layout, or null
  std::int32_t colorTableBytes;
  std::int16_t depth;       // grey depths taken as 1, 2, 4, 8
  std::int16_t pixelBytes;  // of the output
  std::int32_t outputKind;  // 1 direct, 2 banded, 3 stepped
  kn::KnDecompressCapabilities capabilities;
  std::uint8_t* rawDescription;  // the sample description as stored
  std::int32_t rawDescriptionSize;
};

struct ImageTrackReader {
  std::uint32_t signature;  // "VIDE"
  SampleTable samples;
  Decompressor** decompressors;
  std::uint8_t* buffer;
  std::int32_t bufferSize;
  std::intptr_t file;
  std::int32_t width, height;  // 16.16, from "tkhd"
  std::int32_t descriptionCount;
  std::int32_t outputMode;
};

// Opens a reader over a "trak" atom (header included) held in memory.
std::int32_t ImageTrackReaderOpen(const std::uint8_t* trak, std::size_t size, std::int32_t outputMode,
                                  std::intptr_t file, ImageTrackReader** reader);
void ImageTrackReaderClose(ImageTrackReader* reader);
bool IsImageTrackReader(const ImageTrackReader* reader);
// 1-based sample numbers. Size: -1 when the sample does not exist.
std::int32_t ImageTrackSampleSize(const ImageTrackReader* reader, std::int32_t sample);
// Reads the sample's bytes from the file (0, kErrMissing, kErrBadFile).
std::int32_t ImageTrackReadSample(const ImageTrackReader* reader, std::int32_t sample, std::uint8_t* into,
                                  std::int32_t capacity);
// Decodes a sample's bytes into pixels rowBytes apart.
std::int32_t ImageTrackDecode(ImageTrackReader* reader, std::int32_t sample, const std::uint8_t* bytes,
                              std::int32_t size, std::uint8_t* destination, std::int32_t rowBytes);
// Reads and decodes a sample in one step, through the reader's buffer.
std::int32_t ImageTrackDecodeSample(ImageTrackReader* reader, std::int32_t sample, std::uint8_t* destination,
                                    std::int32_t rowBytes);
// The picture size of the track (16.16 width and height rounded).
void ImageTrackPictureSize(const ImageTrackReader* reader, std::int32_t* width, std::int32_t* height);

bool ParseImageDescription(const std::uint8_t* description, std::int32_t size, ImageDescription* parsed);
Decompressor* DecompressorOpen(const std::uint8_t* description, std::int32_t size, std::int32_t outputMode);
void DecompressorClose(Decompressor* state);
bool IsDecompressor(const Decompressor* state);
std::int32_t DecompressSample(Decompressor* state, const std::uint8_t* sample, std::int32_t size,
                              std::uint8_t* destination, std::int32_t rowBytes);

// The colour table of an indexed image in the output mode's layout: host
// memory the caller frees, or null (mode 5 is handled by the caller).
std::uint8_t* GetColorTable(std::int32_t depth, std::int32_t outputMode, const std::uint8_t* description,
                            std::int32_t descriptionSize, std::int16_t colorTableId, std::int32_t* bytes);
// Reads a colour table resource into 256 entries of 0xRRGGBB (16-bit
// components' high bytes); false when missing or malformed.
bool ParseColorTable(const std::uint8_t* table, std::size_t size, std::uint32_t (&entries)[256], int* count);

// The callback decompressors call over the current destination.
std::intptr_t CodecHostCallback(std::int32_t code, std::intptr_t argument);

// Output pixel bytes of a screen output mode.
std::int32_t OutputPixelBytes(std::int32_t mode);

}  // namespace pano
