// The movie reader over arbitrary files: reading, every node, and the node
// view's first node with a rendered frame, what three of its points show and
// where its navigation hot spots lie must never read or write out of bounds.
// The input is the [VR] values of KNW.INI the plug-in reads (int32
// "Resolution" and "MaxCacheRows", little-endian), then the movie file. The
// stand-in media host's own reading of a movie file runs on it too.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "../stand_in_host.h"
#include "fuzz_files.h"
#include "fuzz_mutation.h"
#include "kn_host.h"
#include "kn_movie.h"
#include "movie_reader.h"
#include "node_view.h"
#include "pano_host.h"
#include "pano_types.h"

namespace {

// Host memory handles are held to the small host's block limit.
std::intptr_t SmallMedia(std::int32_t selector, const std::intptr_t* args, std::int32_t count) {
  if ((selector == kn::kKnSetHandleSize && count >= 2 && args[1] > panotest::kSmallHostBlock) ||
      (selector == kn::kKnNewHandle && count >= 1 && args[0] > panotest::kSmallHostBlock)) {
    return selector == kn::kKnNewHandle ? 0 : -108;
  }
  return kn::MediaEntry(selector, args, count);
}

// The [VR] values of the current input.
std::int32_t g_resolution = 0, g_maxCacheRows = 0;
std::int32_t ProfileValues(const char* section, const char* key, std::int32_t fallback) {
  if (std::strcmp(section, "VR") != 0) return fallback;
  if (std::strcmp(key, "Resolution") == 0) return g_resolution;
  if (std::strcmp(key, "MaxCacheRows") == 0) return g_maxCacheRows;
  return fallback;
}

void Install() {
  static bool done = false;
  if (done) return;
  done = true;
  panotest::UseSmallStandInHost();
  pano::System().profileInt = ProfileValues;
  pano::SetMediaEntry(SmallMedia);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Install();
  if (size < 8) return 0;
  std::memcpy(&g_resolution, data, 4);
  std::memcpy(&g_maxCacheRows, data + 4, 4);
  WriteFuzzFile("F.MOV", data + 8, size - 8);
  const std::string path = FuzzDirectory() + "F.MOV";
  // The host reads the same file for its own records (box, duration,
  // frames, user data, which controller fits).
  {
    kn::Movie movie;
    kn::ReadMovie(path, &movie);
  }
  const std::intptr_t handle = pano::System().openFile(path.c_str());
  pano::MovieFile* file = nullptr;
  if (pano::MovieFileRead(handle, pano::kModeDib, 32, &file) != pano::kOk) {
    pano::System().closeFile(handle);
    return 0;
  }
  pano::MovieFileAdopt(file, 0);
  for (std::int32_t node = 1; node <= file->pano->samples.count && node <= 8; ++node) {
    pano::MovieFileGetNode(file, node, nullptr);
  }
  // The node view over the same file object: load, render one small frame.
  auto* view = static_cast<pano::NodeView*>(pano::HostAlloc(sizeof(pano::NodeView)));
  view->file = file;
  view->outputMode = pano::kModeDib;
  view->screenDepth = 32;
  view->width = 32;
  view->height = 24;
  if (pano::NodeViewGoToNode(view, 0, nullptr, nullptr, nullptr) == pano::kOk) {
    std::uint32_t rowBytes = 0;
    pano::WarpRenderFrame(view->engine, &rowBytes);
    // What points of the view show: picture position, angles, hot spot.
    for (const int corner : {0, 1, 2}) {
      const int x = corner * 31 / 2, y = corner * 23 / 2;
      std::int32_t line = 0, row = 0, pan = 0, tilt = 0;
      pano::NodeViewPointToSource(view, x, y, &line, &row);
      pano::NodeViewPointToAngles(view, x, y, &pan, &tilt);
      pano::NodeViewHotSpotAt(view, x, y);
    }
    // Where the node's navigation hot spots' picture points lie in the view.
    const pano::NodeTable& spots = view->node.hotSpots;
    for (int i = 0; i < spots.count && i < 8; ++i) {
      std::int32_t words[3] = {};
      kn::KnRect rect{};
      pano::NodeViewNavigation(view, pano::Be16s(spots.first + pano::kHotSpotEntryBytes * i), words, &rect);
    }
  }
  pano::NodeViewClose(view);  // closes the file object too
  return 0;
}

// Structure-aware mutation. A random byte change rarely survives the atom
// walk (sizes must add up exactly), so half the mutations work on the
// movie's atoms: one atom's size, type or one of its fields changes, or the
// atom is removed or copied after itself with its ancestors' sizes made to
// agree. The other half are libFuzzer's own.
namespace {

struct Atom {
  std::size_t at;
  std::uint32_t size;
  int parent;  // index of the enclosing atom, -1 at the top
};

bool IsContainer(const std::uint8_t* type) {
  static const char* const kContainers[] = {"moov", "trak", "edts", "mdia", "minf",
                                            "gmhd", "dinf", "stbl", "STpn", "imag"};
  for (const char* name : kContainers)
    if (std::memcmp(type, name, 4) == 0) return true;
  return false;
}

void Walk(const std::uint8_t* data, std::size_t begin, std::size_t end, int parent, std::vector<Atom>& atoms) {
  std::size_t at = begin;
  while (at + 8 <= end && atoms.size() < 512) {
    const std::uint32_t size = fuzzmut::GetBe32(data + at);
    if (size < 8 || size > end - at) return;
    atoms.push_back({at, size, parent});
    if (IsContainer(data + at + 4)) Walk(data, at + 8, at + size, static_cast<int>(atoms.size()) - 1, atoms);
    at += size;
  }
}

// Adds `delta` to the sizes of the atom's ancestors.
void Resize(std::uint8_t* data, const std::vector<Atom>& atoms, int parent, std::int64_t delta) {
  for (int i = parent; i >= 0; i = atoms[i].parent)
    fuzzmut::PutBe32(data + atoms[i].at, static_cast<std::uint32_t>(atoms[i].size + delta));
}

std::size_t MutateAtom(std::uint8_t* data, std::size_t size, std::size_t maxSize, fuzzmut::Random& random) {
  constexpr std::size_t kPrefix = 8;  // the KNW.INI values
  std::vector<Atom> atoms;
  Walk(data, kPrefix, size, -1, atoms);
  if (atoms.empty()) return 0;
  const Atom& atom = atoms[fuzzmut::Below(random, static_cast<std::uint32_t>(atoms.size()))];
  std::uint8_t* head = data + atom.at;
  static const char* const kTypes[] = {"moov", "trak", "tkhd", "mdia", "mdhd", "hdlr", "minf", "stbl", "stsd",
                                       "stsc", "stco", "stsz", "pInf", "STpn", "gmhd", "ctab", "mvhd", "free"};
  switch (fuzzmut::Below(random, 6)) {
    case 0: {  // its size
      const std::uint32_t rest = static_cast<std::uint32_t>(size - atom.at);
      fuzzmut::PutBe32(head, fuzzmut::Interesting(random, atom.size, rest, true));
      return size;
    }
    case 1:  // its type
      std::memcpy(head + 4, kTypes[fuzzmut::Below(random, sizeof kTypes / sizeof kTypes[0])], 4);
      return size;
    case 2:
    case 3: {  // a 32-bit or 16-bit field of its contents
      if (atom.size < 10) return 0;
      const bool wide = fuzzmut::Below(random, 2) == 0 && atom.size >= 12;
      const std::uint32_t room = atom.size - 8 - (wide ? 4 : 2);
      std::uint8_t* field = head + 8 + 2 * fuzzmut::Below(random, room / 2 + 1);
      const std::uint32_t current = wide ? fuzzmut::GetBe32(field) : fuzzmut::GetBe16(field);
      const std::uint32_t value = fuzzmut::Interesting(random, current, atom.size, wide);
      if (wide)
        fuzzmut::PutBe32(field, value);
      else
        fuzzmut::PutBe16(field, static_cast<std::uint16_t>(value));
      return size;
    }
    case 4: {  // removed
      std::memmove(head, head + atom.size, size - atom.at - atom.size);
      Resize(data, atoms, atom.parent, -static_cast<std::int64_t>(atom.size));
      return size - atom.size;
    }
    default: {  // copied after itself
      if (size + atom.size > maxSize) return 0;
      const std::size_t end = atom.at + atom.size;
      std::memmove(data + end + atom.size, data + end, size - end);
      std::memmove(data + end, head, atom.size);
      Resize(data, atoms, atom.parent, atom.size);
      return size + atom.size;
    }
  }
}

}  // namespace

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
  fuzzmut::Random random(seed);
  if (size > 8 && fuzzmut::Below(random, 2) == 0) {
    if (const std::size_t mutated = MutateAtom(data, size, maxSize, random)) return mutated;
  }
  return LLVMFuzzerMutate(data, size, maxSize);
}
