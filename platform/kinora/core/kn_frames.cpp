#include "kn_frames.h"

#include <cstring>
#include <fstream>

#include "kn_api.h"
#include "kn_components.h"

namespace kn {
namespace {

constexpr std::int32_t kLargestSide = 32767;
// A frame is decoded whole: more than this is no frame of ours.
constexpr std::int64_t kLargestFrameBytes = 64 * 1024 * 1024;

std::uint32_t Be32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}
std::uint16_t Be16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }

// The child atom of a type in a container's contents, or nullptr.
const std::uint8_t* Find(const std::uint8_t* data, std::size_t size, const char* type, std::size_t* found) {
  std::size_t at = 0;
  while (at + 8 <= size) {
    const std::uint32_t length = Be32(data + at);
    if (length < 8 || length > size - at) return nullptr;
    if (std::memcmp(data + at + 4, type, 4) == 0) {
      *found = length;
      return data + at;
    }
    at += length;
  }
  return nullptr;
}

// A table atom's entry count at +12 and its entries of `entryBytes` from
// +16, all inside the atom.
bool Entries(const std::uint8_t* atom, std::size_t size, std::size_t entryBytes, std::uint32_t* count) {
  if (atom == nullptr || size < 16) return false;
  *count = Be32(atom + 12);
  return *count <= (size - 16) / entryBytes;
}

bool ReadTables(const std::uint8_t* stbl, std::size_t size, FrameTrack* t) {
  std::size_t stsdSize = 0, stscSize = 0, stcoSize = 0, stszSize = 0;
  const std::uint8_t* body = stbl + 8;
  const std::size_t bodySize = size - 8;
  const std::uint8_t* stsd = Find(body, bodySize, "stsd", &stsdSize);
  const std::uint8_t* stsc = Find(body, bodySize, "stsc", &stscSize);
  const std::uint8_t* stco = Find(body, bodySize, "stco", &stcoSize);
  const std::uint8_t* stsz = Find(body, bodySize, "stsz", &stszSize);
  // The first image description: its size, codec, width +32, height +34, depth +82.
  if (stsd == nullptr || stsdSize < 16 + 86 || Be32(stsd + 12) < 1) return false;
  const std::uint32_t descriptionSize = Be32(stsd + 16);
  if (descriptionSize < 86 || descriptionSize > stsdSize - 16) return false;
  const std::uint8_t* d = stsd + 16;
  t->description.assign(d, d + descriptionSize);
  std::memcpy(&t->codec, d + 4, 4);
  t->width = Be16(d + 32);
  t->height = Be16(d + 34);
  t->depth = Be16(d + 82);
  if (t->width < 1 || t->height < 1 || t->width > kLargestSide || t->height > kLargestSide) return false;
  // Sizes: one for all samples, or one each.
  std::uint32_t samples = 0;
  if (stsz == nullptr || stszSize < 20) return false;
  const std::uint32_t common = Be32(stsz + 12);
  samples = Be32(stsz + 16);
  if (common == 0 && samples > (stszSize - 20) / 4) return false;
  // Chunks and the samples each holds (runs of first chunk, samples, description).
  std::uint32_t chunks = 0, runs = 0;
  if (!Entries(stco, stcoSize, 4, &chunks) || !Entries(stsc, stscSize, 12, &runs) || runs == 0) return false;
  std::uint32_t sample = 0;
  for (std::uint32_t r = 0; r < runs && sample < samples; ++r) {
    const std::uint8_t* run = stsc + 16 + 12 * r;
    const std::uint32_t first = Be32(run), perChunk = Be32(run + 4);
    const std::uint32_t last = r + 1 < runs ? Be32(run + 12) - 1 : chunks;
    if (first < 1 || last > chunks || perChunk == 0) return false;
    for (std::uint32_t chunk = first; chunk <= last && sample < samples; ++chunk) {
      std::uint64_t offset = Be32(stco + 16 + 4 * (chunk - 1));
      for (std::uint32_t k = 0; k < perChunk && sample < samples; ++k, ++sample) {
        const std::uint32_t bytes = common != 0 ? common : Be32(stsz + 20 + 4 * sample);
        if (offset + bytes > 0xFFFFFFFFu) return false;
        t->offsets.push_back(static_cast<std::uint32_t>(offset));
        t->sizes.push_back(bytes);
        offset += bytes;
      }
    }
  }
  return sample == samples && samples > 0;
}

}  // namespace

bool ReadFrameTrack(const std::uint8_t* stbl, std::size_t size, FrameTrack* track) {
  *track = {};
  if (size < 8 || ReadTables(stbl, size, track)) return track->Has();
  *track = {};
  return false;
}

std::int32_t FrameAt(const FrameTrack& track, std::int32_t time, std::int32_t duration) {
  const auto count = static_cast<std::int64_t>(track.offsets.size());
  if (count == 0 || time <= 0 || duration <= 0) return 0;
  const std::int64_t index = std::int64_t{time} * count / duration;
  return static_cast<std::int32_t>(index < count ? index : count - 1);
}

bool DecodeFrame(const std::string& path, const FrameTrack& track, std::int32_t index, DecodedFrame* frame) {
  if (index < 0 || static_cast<std::size_t>(index) >= track.offsets.size()) return false;
  const std::int64_t rowBytes = (std::int64_t{track.width} * 3 + 3) / 4 * 4;
  if (rowBytes * track.height > kLargestFrameBytes) return false;
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> data(track.sizes[static_cast<std::size_t>(index)]);
  in.seekg(track.offsets[static_cast<std::size_t>(index)]);
  if (!in || !in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()))) return false;
  const std::intptr_t codec = OpenDefaultComponent(Tag("dcmp"), track.codec);
  if (codec == 0) return false;
  frame->width = track.width;
  frame->height = track.height;
  frame->rowBytes = static_cast<std::int32_t>(rowBytes);
  frame->pixels.assign(static_cast<std::size_t>(rowBytes * track.height), 0);
  KnDecompressPrepare prepare{};
  prepare.description = track.description.data();
  prepare.descriptionSize = static_cast<std::int32_t>(track.description.size());
  prepare.width = track.width;
  prepare.height = track.height;
  prepare.depth = track.depth;
  prepare.outputMode = 11;  // blue, green, red: the order of a 24-bit device-independent bitmap
  prepare.outputKind = 1;   // rows straight into our memory
  prepare.pixelBytes = 3;
  KnDecompressCall call{};
  call.data = data.data();
  call.size = static_cast<std::int32_t>(data.size());
  call.destination = frame->pixels.data();
  call.rowBytes = frame->rowBytes;
  call.area = {0, 0, track.width, track.height};
  const std::intptr_t prepareArgs[1] = {reinterpret_cast<std::intptr_t>(&prepare)};
  const std::intptr_t callArgs[2] = {reinterpret_cast<std::intptr_t>(&call), 0};
  const bool decoded =
      CallInstance(codec, kDcPrepare, prepareArgs, 1) == 0 && CallInstance(codec, kDcDecompress, callArgs, 2) == 0;
  CloseComponent(codec);
  return decoded;
}

}  // namespace kn

#include "kn_movie.h"

namespace kn {

const DecodedFrame* CurrentFrame(StandardController& controller) {
  const Movie* movie = controller.movie;
  if (movie == nullptr || !movie->frames.Has()) return nullptr;
  const std::int32_t index = FrameAt(movie->frames, movie->time, movie->duration);
  if (index != controller.pictureIndex) {
    controller.pictureIndex = index;
    if (!DecodeFrame(movie->path, movie->frames, index, &controller.picture)) controller.picture = {};
  }
  return controller.picture.pixels.empty() ? nullptr : &controller.picture;
}

void PlayOrStop(StandardController& controller, bool play) {
  controller.rate = play ? 0x10000 : 0;
  controller.pending = 0;
  if (play && controller.movie != nullptr && controller.movie->time >= controller.movie->duration)
    controller.movie->time = 0;
}

}  // namespace kn
