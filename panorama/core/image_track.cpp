#include "image_track.h"

#include <cstring>

#include "color_tables.h"
#include "movie_atoms.h"
#include "pano_host.h"
#include "pano_types.h"

namespace pano {
namespace {

constexpr std::int32_t kMaxDescriptionCopy = 2144;
constexpr int kBusyPolls = 100000;  // a decompressor busy for longer is taken as stuck
std::uint8_t* gCallbackBase = nullptr;
std::uint8_t* gCallbackCurrent = nullptr;

void WaitWhileBusy(std::intptr_t component) {
  for (int i = 0; i < kBusyPolls; ++i) {
    if (CallManager(kn::kGroupDecompressor, kn::kDcBusy, {component}) != 1) return;
  }
}

bool KnownDepth(std::int32_t depth) {
  switch (depth) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
    case 33:
    case 34:
    case 36:
    case 40: return true;
    default: return false;
  }
}

std::int32_t BandHeightOf(const kn::KnDecompressCapabilities& caps) {
  return caps.bandHeight == 0 ? 65536 : caps.bandHeight;
}

// Tries each `dcmp` component for the codec; keeps the best one.
std::int32_t FindDecompressor(Decompressor* state) {
  const bool wantStepped = true;  // the canvas takes rows where they lie
  KeptInstance kept;
  kn::KnDecompressCapabilities keptCaps{};
  std::int32_t keptKind = 0;
  std::intptr_t component = 0;
  while ((component = CallManager(kn::kGroupManager, kn::kCmFindNext,
                                  {component, static_cast<std::intptr_t>(Tag("dcmp")),
                                   static_cast<std::intptr_t>(state->description.codec)})) > 0) {
    const std::intptr_t instance = CallManager(kn::kGroupManager, kn::kCmOpen, {component});
    if (instance <= 0) continue;
    kn::KnDecompressCapabilities caps{};
    bool accepted = CallManager(kn::kGroupDecompressor, kn::kDcGetCapabilities,
                                {instance, reinterpret_cast<std::intptr_t>(&caps)}) == 0;
    const std::int32_t kind = wantStepped && (caps.flags & 0x40) != 0 ? 3 : caps.outputKind;
    if (accepted) {
      WaitWhileBusy(instance);
      kn::KnDecompressPrepare prepare{};
      prepare.description = state->rawDescription;
      prepare.descriptionSize = state->rawDescriptionSize;
      prepare.width = state->description.width;
      prepare.height = state->description.height;
      prepare.depth = state->depth;
      prepare.outputMode = state->outputMode;
      prepare.outputKind = kind;
      prepare.pixelBytes = state->pixelBytes;
      prepare.colorTable = state->colorTable;
      prepare.colorTableBytes = state->colorTableBytes;
      prepare.callback = CodecHostCallback;
      const std::int32_t result =
          CallManager(kn::kGroupDecompressor, kn::kDcPrepare, {instance, reinterpret_cast<std::intptr_t>(&prepare)});
      accepted = result == 0 || result == kDecompressorPrepared;
    }
    const bool better = accepted && (kept.instance() == 0 || kind > keptKind ||
                                     (kind == keptKind && BandHeightOf(caps) < BandHeightOf(keptCaps)));
    if (kept.Offer(instance, better)) {
      keptCaps = caps;
      keptKind = kind;
    }
  }
  if (kept.instance() == 0) return kErrNoComponent;
  state->component = kept.instance();
  state->capabilities = keptCaps;
  state->outputKind = keptKind;
  return kOk;
}

std::uint16_t To555(std::uint32_t rgb) {
  return static_cast<std::uint16_t>((rgb >> 16 & 0xF8) << 7 | (rgb >> 8 & 0xF8) << 2 | (rgb & 0xFF) >> 3);
}
std::uint16_t To565(std::uint32_t rgb) {
  return static_cast<std::uint16_t>((rgb >> 16 & 0xFF) >> 3 << 11 | (rgb >> 8 & 0xFF) >> 2 << 5 | (rgb & 0xFF) >> 3);
}

}  // namespace

std::int32_t OutputPixelBytes(std::int32_t mode) {
  if (mode == kMode555 || mode == kMode565) return 2;
  if (mode == kModeRgb24 || mode == kModeBgr24) return 3;
  return 1;
}

std::intptr_t CodecHostCallback(std::int32_t code, std::intptr_t argument) {
  switch (code) {
    case 0x15: return 1;
    case 5: gCallbackCurrent = gCallbackBase + argument; return reinterpret_cast<std::intptr_t>(gCallbackCurrent);
    case 0x16: return 1;
    case 0x17: return 0;
    case 0x18: return 2;
    case 1:
    case 2:
    case 3:
    case 4:
    case 0x19:
    case 0x56: return argument;
    default: return code;
  }
}

bool ParseImageDescription(const std::uint8_t* d, std::int32_t size, ImageDescription* parsed) {
  if (size < 86) return false;
  *parsed = ImageDescription{};
  parsed->codec = LoadTag(d + 4);
  parsed->width = Be16s(d + 32);
  parsed->height = Be16s(d + 34);
  parsed->horizontalResolution = Be32s(d + 36);
  parsed->verticalResolution = Be32s(d + 40);
  const int length = d[50] > 31 ? 31 : d[50];
  std::memcpy(parsed->name, d + 51, static_cast<std::size_t>(length));
  parsed->name[length] = 0;
  parsed->depth = Be16s(d + 82);
  parsed->colorTableId = Be16s(d + 84);
  return true;
}

bool ParseColorTable(const std::uint8_t* table, std::size_t size, std::uint32_t (&entries)[256], int* count) {
  // id (int16), seed (int32), flags (int16), entry count - 1 (int16), entries of 8 bytes from byte 10.
  if (table == nullptr || size < 10) return false;
  const std::uint16_t flags = Be16(table + 6);
  const std::int32_t stored = Be16s(table + 8) + 1;
  if (stored < 0) return false;
  const std::size_t fits = (size - 10) / 8;
  const std::int32_t n = static_cast<std::size_t>(stored) > fits ? static_cast<std::int32_t>(fits) : stored;
  std::memset(entries, 0, sizeof entries);
  *count = stored > 256 ? 256 : stored;
  for (std::int32_t i = 0; i < n; ++i) {
    const std::uint8_t* e = table + 10 + 8 * i;
    const std::int32_t index = (flags & 0x8000) != 0 ? i : Be16(e);
    if (index >= 256) continue;
    entries[index] = static_cast<std::uint32_t>(Be16(e + 2) >> 8) << 16 |
                     static_cast<std::uint32_t>(Be16(e + 4) >> 8) << 8 | static_cast<std::uint32_t>(Be16(e + 6) >> 8);
  }
  return true;
}

std::uint8_t* GetColorTable(std::int32_t depth, std::int32_t outputMode, const std::uint8_t* description,
                            std::int32_t descriptionSize, std::int16_t colorTableId, std::int32_t* bytes) {
  *bytes = 0;
  const std::uint8_t* source = nullptr;
  std::uint32_t sourceSize = 0;
  int resource = 0;
  if (depth == 2 || depth == 4 || depth == 8) {
    if (colorTableId == -1) {
      resource = depth;
    } else if (colorTableId > 0) {
      resource = colorTableId;
    } else if (descriptionSize > 84) {  // the table stored in the description, from its id word
      source = description + 84;
      sourceSize = static_cast<std::uint32_t>(descriptionSize - 84);
    }
  } else if (depth == 34 || depth == 36 || depth == 40) {
    resource = depth;
  } else {
    return nullptr;
  }
  if (resource != 0 && !System().loadResource(resource, &source, &sourceSize)) return nullptr;
  std::uint32_t colours[256];
  int count = 0;
  if (!ParseColorTable(source, sourceSize, colours, &count)) return nullptr;
  const int bits = depth > 32 ? depth - 32 : depth;
  const int entriesUsed = 1 << bits;

  if (outputMode == kMode555 || outputMode == kMode565) {
    auto convert = [&](std::uint32_t rgb) { return outputMode == kMode555 ? To555(rgb) : To565(rgb); };
    const int perByte = bits == 2 ? 4 : bits == 4 ? 2 : 1;
    const std::int32_t size = 256 * perByte * 2;
    auto* table = static_cast<std::uint8_t*>(HostAlloc(size));
    if (table == nullptr) return nullptr;
    auto* out = reinterpret_cast<std::uint16_t*>(table);
    for (int value = 0; value < 256; ++value) {
      for (int k = 0; k < perByte; ++k) {
        const int shift = 8 - bits * (k + 1);
        const int index = bits >= 8 ? value : value >> shift & (entriesUsed - 1);
        out[value * perByte + k] = convert(colours[index]);
      }
    }
    *bytes = size;
    return table;
  }
  if (outputMode == kModeRgb24 || outputMode == kModeBgr24) {
    auto* table = static_cast<std::uint8_t*>(HostAlloc(1024));
    if (table == nullptr) return nullptr;
    for (int i = 0; i < 256; ++i) {
      const std::uint32_t rgb = colours[i];
      const std::uint8_t r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
      std::uint8_t* e = table + 4 * i;
      e[0] = outputMode == kModeRgb24 ? r : b;
      e[1] = g;
      e[2] = outputMode == kModeRgb24 ? b : r;
    }
    *bytes = 1024;
    return table;
  }
  return nullptr;
}

Decompressor* DecompressorOpen(const std::uint8_t* description, std::int32_t size, std::int32_t outputMode) {
  if (size < 86) return nullptr;
  auto* state = static_cast<Decompressor*>(HostAlloc(static_cast<std::int32_t>(sizeof(Decompressor))));
  if (state == nullptr) return nullptr;
  state->rawDescription = static_cast<std::uint8_t*>(HostAlloc(size));
  if (state->rawDescription == nullptr) {
    HostFree(state);
    return nullptr;
  }
  std::memcpy(state->rawDescription, description, static_cast<std::size_t>(size));
  state->rawDescriptionSize = size;
  state->signature = Tag("DCMP");
  state->version = 2;
  state->outputMode = outputMode;
  ParseImageDescription(description, size, &state->description);
  std::int32_t depth = state->description.depth;
  if (!KnownDepth(depth)) {
    DecompressorClose(state);
    return nullptr;
  }
  if (depth == 32 && (state->description.codec == Tag("jpeg") || state->description.codec == Tag("cvid"))) depth = 24;
  state->depth = static_cast<std::int16_t>(depth > 32 ? depth - 32 : depth);
  state->pixelBytes = static_cast<std::int16_t>(OutputPixelBytes(outputMode));

  if (outputMode == kModePalette) {
    state->colorTable = IdentityRemapTable();
    state->colorTableBytes = kIdentityRemapBytes;
  } else {
    std::int32_t bytes = 0;
    state->colorTable = GetColorTable(depth, outputMode, description, size, state->description.colorTableId, &bytes);
    state->colorTableBytes = bytes;
    if (state->colorTable == nullptr && (depth == 2 || depth == 4 || depth == 8)) {
      DecompressorClose(state);
      return nullptr;
    }
  }
  if (FindDecompressor(state) != kOk ||
      (state->outputKind == 1 && state->capabilities.depth != state->pixelBytes * 8)) {
    DecompressorClose(state);
    return nullptr;
  }
  return state;
}

void DecompressorClose(Decompressor* state) {
  if (state == nullptr) return;
  if (state->component != 0) CallManager(kn::kGroupManager, kn::kCmClose, {state->component});
  if (state->colorTable != IdentityRemapTable()) HostFree(const_cast<std::uint8_t*>(state->colorTable));
  HostFree(state->rawDescription);
  state->signature = 0;
  HostFree(state);
}

bool IsDecompressor(const Decompressor* state) { return state != nullptr && state->signature == Tag("DCMP"); }

std::int32_t DecompressSample(Decompressor* state, const std::uint8_t* sample, std::int32_t size,
                              std::uint8_t* destination, std::int32_t rowBytes) {
  if (!IsDecompressor(state)) return kErrNotStarted;
  gCallbackBase = destination;
  const std::int32_t width = state->description.width;
  const std::int32_t height = state->description.height;
  kn::KnDecompressCall call{};
  call.data = sample;
  call.size = size;
  call.area = kn::KnRect{0, 0, width, height};
  WaitWhileBusy(state->component);
  switch (state->outputKind) {
    case 1:
    case 3:
      call.destination = destination;
      call.rowBytes = rowBytes;
      return CallManager(kn::kGroupDecompressor, kn::kDcDecompress,
                         {state->component, reinterpret_cast<std::intptr_t>(&call)});
    case 2: {
      // Bands into a work block of 64 KB segments, then row by row into place.
      const std::int32_t band = BandHeightOf(state->capabilities) > height ? height : BandHeightOf(state->capabilities);
      const std::int32_t slack = state->capabilities.slack;
      const std::int32_t m = (width * state->pixelBytes + 1) & ~1;
      if (band <= 0 || m <= 0) return kErrOutputKind;
      const std::int32_t rows = (height + band - 1) / band * band;
      std::int32_t perSegment = band * ((65536 - slack) / (band * m));
      if (perSegment <= 0) perSegment = rows;  // bands wider than a segment: one contiguous block
      const std::int32_t tail = rows % perSegment == 0 ? perSegment : rows % perSegment;
      const std::int32_t full = rows % perSegment == 0 ? rows / perSegment - 1 : rows / perSegment;
      const std::int64_t workSize = std::int64_t{tail} * m + std::int64_t{full} * 65536 + slack;
      if (workSize > INT32_MAX) return kErrMemory;
      auto* work = static_cast<std::uint8_t*>(HostAlloc(static_cast<std::int32_t>(workSize)));
      if (work == nullptr) return kErrMemory;
      gCallbackBase = work;
      call.destination = work;
      call.rowBytes = m;
      call.area.bottom = rows < height ? rows : height;
      const std::int32_t result = CallManager(kn::kGroupDecompressor, kn::kDcDecompress,
                                              {state->component, reinterpret_cast<std::intptr_t>(&call), perSegment});
      if (result == 0) {
        for (std::int32_t y = 0; y < height; ++y) {
          const std::uint8_t* row = work + std::int64_t{y / perSegment} * 65536 + std::int64_t{y % perSegment} * m;
          std::memcpy(destination + std::int64_t{y} * rowBytes, row,
                      static_cast<std::size_t>(width * state->pixelBytes));
        }
      }
      HostFree(work);
      return result;
    }
    default: return kErrOutputKind;
  }
}

std::int32_t ImageTrackReaderOpen(const std::uint8_t* trak, std::size_t size, std::int32_t outputMode,
                                  std::intptr_t file, ImageTrackReader** out) {
  *out = nullptr;
  if (size < 8 || !CheckAtomTree(trak + 8, size - 8)) return kErrAtomWalk;
  TrackAtoms atoms;
  if (!FindTrackAtoms(trak + 8, size - 8, &atoms)) return kErrMissing;
  const auto& [tkhd, mdhd, stbl, stsd] = atoms;
  if (tkhd.size < 92 || stsd.size < 16) return kErrAtomWalk;

  auto* reader = static_cast<ImageTrackReader*>(HostAlloc(static_cast<std::int32_t>(sizeof(ImageTrackReader))));
  if (reader == nullptr) return kErrMemory;
  reader->signature = Tag("VIDE");
  reader->file = file;
  reader->outputMode = outputMode;
  reader->width = Be32s(tkhd.data + 84);
  reader->height = Be32s(tkhd.data + 88);
  std::int32_t result = ReadSampleTable(stbl.contents(), stbl.contentsSize(), &reader->samples);
  if (result != kOk) {
    ImageTrackReaderClose(reader);
    return result;
  }
  const std::int32_t count = Be32s(stsd.data + 12);
  if (count < 0 || count > 32767) {
    ImageTrackReaderClose(reader);
    return kErrAtomWalk;
  }
  reader->decompressors = static_cast<Decompressor**>(
      HostAlloc(static_cast<std::int32_t>(sizeof(Decompressor*)) * (count > 0 ? count : 1)));
  if (reader->decompressors == nullptr) {
    ImageTrackReaderClose(reader);
    return kErrMemory;
  }
  reader->descriptionCount = count;
  std::size_t at = 16;
  for (std::int32_t i = 0; i < count; ++i) {
    if (stsd.size - at < 8) {
      ImageTrackReaderClose(reader);
      return kErrAtomWalk;
    }
    const std::uint32_t entrySize = Be32(stsd.data + at);
    if (entrySize < 8 || entrySize > stsd.size - at) {
      ImageTrackReaderClose(reader);
      return kErrAtomWalk;
    }
    const std::int32_t copied =
        entrySize > kMaxDescriptionCopy ? kMaxDescriptionCopy : static_cast<std::int32_t>(entrySize);
    reader->decompressors[i] = DecompressorOpen(stsd.data + at, copied, outputMode);
    if (reader->decompressors[i] == nullptr) {
      ImageTrackReaderClose(reader);
      return kErrMakeTable;
    }
    at += entrySize;
  }
  std::int32_t largest = 0;
  for (std::int32_t s = 0; s < reader->samples.count; ++s) {
    const SampleRecord& record = reader->samples.records[s];
    if (record.description >= 1 && record.description <= count && record.size > largest) largest = record.size;
  }
  reader->buffer = static_cast<std::uint8_t*>(HostAlloc(largest));
  if (reader->buffer == nullptr) {
    ImageTrackReaderClose(reader);
    return kErrMemory;
  }
  reader->bufferSize = largest;
  *out = reader;
  return kOk;
}

bool IsImageTrackReader(const ImageTrackReader* reader) {
  return reader != nullptr && System().isWritable(reader, sizeof *reader) && reader->signature == Tag("VIDE");
}

void ImageTrackReaderClose(ImageTrackReader* reader) {
  if (!IsImageTrackReader(reader)) return;
  if (reader->decompressors != nullptr) {
    for (std::int32_t i = 0; i < reader->descriptionCount; ++i) DecompressorClose(reader->decompressors[i]);
  }
  HostFree(reader->decompressors);
  FreeSampleTable(&reader->samples);
  HostFree(reader->buffer);
  reader->signature = 0;
  HostFree(reader);
}

std::int32_t ImageTrackSampleSize(const ImageTrackReader* reader, std::int32_t sample) {
  if (!IsImageTrackReader(reader) || sample < 1 || sample > reader->samples.count) return -1;
  return reader->samples.records[sample - 1].size;
}

std::int32_t ImageTrackReadSample(const ImageTrackReader* reader, std::int32_t sample, std::uint8_t* into,
                                  std::int32_t capacity) {
  const std::int32_t size = ImageTrackSampleSize(reader, sample);
  if (size < 0 || size > capacity) return kErrMissing;
  const SampleRecord& record = reader->samples.records[sample - 1];
  if (System().readAt(reader->file, record.offset, into, size) != size) return kErrBadFile;
  return kOk;
}

std::int32_t ImageTrackDecode(ImageTrackReader* reader, std::int32_t sample, const std::uint8_t* bytes,
                              std::int32_t size, std::uint8_t* destination, std::int32_t rowBytes) {
  if (!IsImageTrackReader(reader) || sample < 1 || sample > reader->samples.count) return kErrMissing;
  const std::int32_t description = reader->samples.records[sample - 1].description;
  if (description < 1 || description > reader->descriptionCount) return kErrMissing;
  return DecompressSample(reader->decompressors[description - 1], bytes, size, destination, rowBytes);
}

std::int32_t ImageTrackDecodeSample(ImageTrackReader* reader, std::int32_t sample, std::uint8_t* destination,
                                    std::int32_t rowBytes) {
  if (!IsImageTrackReader(reader)) return kErrMissing;
  const std::int32_t read = ImageTrackReadSample(reader, sample, reader->buffer, reader->bufferSize);
  if (read != kOk) return read;
  return ImageTrackDecode(reader, sample, reader->buffer, reader->samples.records[sample - 1].size, destination,
                          rowBytes);
}

void ImageTrackPictureSize(const ImageTrackReader* reader, std::int32_t* width, std::int32_t* height) {
  *width = RoundFixed(reader->width);
  *height = RoundFixed(reader->height);
}

}  // namespace pano
