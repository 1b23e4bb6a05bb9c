#include "movie_reader.h"

#include <cstdint>
#include <cstring>

#include "movie_atoms.h"
#include "pano_host.h"
#include "pano_types.h"
#include "tile_canvas.h"

namespace pano {
namespace {

constexpr std::int32_t kDescriptionBytes = 152;
constexpr std::int64_t kMaxMovieAtom = 64 << 20;  // larger headers than this are refused

MovieFile* gFiles[kMaxMovieFiles];
int gFileCount = 0;

struct TrackInfo {
  const std::uint8_t* trak = nullptr;
  std::size_t size = 0;
  std::int32_t id = 0;
  std::uint32_t subtype = 0;
};

// Classifies one "trak": kept only with tkhd flag 2 and a media handler.
bool ClassifyTrack(const Atom& trak, TrackInfo* info) {
  if (!CheckAtomTree(trak.contents(), trak.contentsSize())) return false;
  const Atom tkhd = FindAtom(trak.contents(), trak.contentsSize(), Tag("tkhd"));
  const Atom mdia = FindAtom(trak.contents(), trak.contentsSize(), Tag("mdia"));
  if (tkhd.data == nullptr || tkhd.size < 92 || mdia.data == nullptr) return false;
  if ((Be32(tkhd.data + 8) & 0xFFFFFF & 2) == 0) return false;
  const Atom hdlr = FindAtom(mdia.contents(), mdia.contentsSize(), Tag("hdlr"));
  if (hdlr.data == nullptr || hdlr.size < 32) return false;
  if (LoadTag(hdlr.data + 12) != Tag("mhlr")) return false;
  info->trak = trak.data;
  info->size = trak.size;
  info->id = Be32s(tkhd.data + 20);
  info->subtype = LoadTag(hdlr.data + 16);
  return true;
}

// A panorama track's width or height (16.16): the display rectangle's side it
// rounds to must be a pixel at least and fit the node view.
bool SoundDisplaySide(std::int32_t fixed) { return ViewSideFits(RoundFixed(fixed)); }

void ConvertDescription(const std::uint8_t* d, PanoDescription* out) {
  out->size = Be32s(d);
  out->format = LoadTag(d + 4);
  for (int i = 0; i < 3; ++i) out->kept14[i] = Be16s(d + 14 + 2 * i);
  for (int i = 0; i < 8; ++i) out->imageTracks[i] = Be32s(d + 20 + 4 * i);
  out->hotSpotTrack = Be32s(d + 52);
  for (int i = 0; i < 7; ++i) out->kept56[i] = Be32s(d + 56 + 4 * i);
  out->kept84 = Be32s(d + 84);
  std::memcpy(out->raw88, d + 88, 4);
  out->panStart = Be32s(d + 92);
  out->panEnd = Be32s(d + 96);
  out->tiltTop = Be32s(d + 100);
  out->tiltBottom = Be32s(d + 104);
  out->fieldOfViewMin = Be32s(d + 108);
  out->fieldOfViewMax = Be32s(d + 112);
  out->pictureWidth = Be32s(d + 116);
  out->pictureHeight = Be32s(d + 120);
  out->kept124 = Be32s(d + 124);
  for (int i = 0; i < 4; ++i) out->kept128[i] = Be16s(d + 128 + 2 * i);
  out->hotSpotWidth = Be32s(d + 136);
  out->hotSpotHeight = Be32s(d + 140);
  for (int i = 0; i < 4; ++i) out->grid[i] = Be16s(d + 144 + 2 * i);
}

void FreePanoTrack(PanoTrack* track) {
  if (track == nullptr) return;
  HostFree(track->descriptions);
  FreeSampleTable(&track->samples);
  HostFree(track->buffer);
  HostFree(track->nodes);
  track->signature = 0;
  HostFree(track);
}

std::int32_t ReadPanoTrack(const TrackInfo& info, std::intptr_t file, PanoTrack** out) {
  const std::uint8_t* body = info.trak + 8;
  const std::size_t bodySize = info.size - 8;
  TrackAtoms atoms;
  if (!FindTrackAtoms(body, bodySize, &atoms)) return kErrMissing;
  const auto& [tkhd, mdhd, stbl, stsd] = atoms;
  if (mdhd.size < 32 || stsd.size < 16) return kErrAtomWalk;
  if (!SoundDisplaySide(Be32s(tkhd.data + 84)) || !SoundDisplaySide(Be32s(tkhd.data + 88))) return kErrAtomWalk;

  auto* track = static_cast<PanoTrack*>(HostAlloc(static_cast<std::int32_t>(sizeof(PanoTrack))));
  if (track == nullptr) return kErrMemory;
  track->signature = Tag("PANO");
  track->bufferedIndex = -1;
  track->file = file;
  track->width = Be32s(tkhd.data + 84);
  track->height = Be32s(tkhd.data + 88);
  track->timeScale = Be32s(mdhd.data + 20);

  const std::int32_t count = Be32s(stsd.data + 12);
  if (count < 0 || count > 32767 || static_cast<std::size_t>(count) > (stsd.size - 16) / kDescriptionBytes) {
    FreePanoTrack(track);
    return kErrAtomWalk;
  }
  track->descriptions = static_cast<PanoDescription*>(
      HostAlloc(static_cast<std::int32_t>(sizeof(PanoDescription)) * (count > 0 ? count : 1)));
  if (track->descriptions == nullptr) {
    FreePanoTrack(track);
    return kErrMemory;
  }
  track->descriptionCount = count;
  for (std::int32_t i = 0; i < count; ++i)
    ConvertDescription(stsd.data + 16 + kDescriptionBytes * i, &track->descriptions[i]);

  std::int32_t result = ReadSampleTable(stbl.contents(), stbl.contentsSize(), &track->samples);
  if (result != kOk) {
    FreePanoTrack(track);
    return result;
  }
  // A sample too large for any buffer is memory the host cannot give.
  if (track->samples.largest > INT32_MAX - 8) {
    FreePanoTrack(track);
    return kErrMemory;
  }
  track->buffer = static_cast<std::uint8_t*>(HostAlloc(track->samples.largest + 8));
  if (track->buffer == nullptr) {
    FreePanoTrack(track);
    return kErrMemory;
  }
  track->bufferSize = track->samples.largest + 8;

  const Atom pInf = FindAtomDeep(body, bodySize, Tag("pInf"));
  if (pInf.data != nullptr && pInf.size >= 56) {
    int length = static_cast<std::int8_t>(pInf.data[8]);
    if (length < 0 || length > 31) length = 31;
    std::memcpy(track->name, pInf.data + 9, static_cast<std::size_t>(length));
    track->name[length] = 0;
    track->info40 = Be32s(pInf.data + 40);
    track->info44 = Be32s(pInf.data + 44);
    std::int32_t nodes = Be16s(pInf.data + 54);
    const std::int32_t fits = static_cast<std::int32_t>((pInf.size - 56) / 8);
    if (nodes < 0) nodes = 0;
    if (nodes > fits) nodes = fits;  // a count beyond the atom reads only what is there
    track->nodes = static_cast<NodeEntryRef*>(
        HostAlloc(static_cast<std::int32_t>(sizeof(NodeEntryRef)) * (nodes > 0 ? nodes : 1)));
    if (track->nodes == nullptr) {
      FreePanoTrack(track);
      return kErrMemory;
    }
    for (std::int32_t i = 0; i < nodes; ++i) {
      track->nodes[i].id = Be32s(pInf.data + 56 + 8 * i);
      std::memcpy(&track->nodes[i].kept, pInf.data + 60 + 8 * i, 4);
    }
    track->nodeCount = static_cast<std::int16_t>(nodes);
  }
  *out = track;
  return kOk;
}

std::int32_t ClampedResolution(const PanoDescription& description) {
  std::int32_t resolution = System().profileInt("VR", "Resolution", 0);
  if (resolution < 0) resolution = 0;
  if (resolution > 7) resolution = 7;
  while (resolution > 0 && description.imageTracks[resolution] == 0) --resolution;
  return resolution;
}

void FreeMovieFile(MovieFile* file) {
  ImageTrackReaderClose(file->image);
  ImageTrackReaderClose(file->hotSpots);
  FreePanoTrack(file->pano);
  HostFree(file->colorTable);
  if (file->hostValue != 0) CallMedia(kn::kKnDisposeReference, {file->hostValue});
  file->signature = 0;
  HostFree(file);
}

bool DecodeNode(PanoTrack* track, std::int32_t size) {
  DecodedNode node{};
  bool haveHeader = false;
  const bool walked = WalkAtoms(track->buffer, static_cast<std::size_t>(size), [&](const Atom& atom) {
    auto table = [&](NodeTable* t, int entryBytes) {
      if (atom.size < 12) return;
      std::int32_t count = Be16s(atom.data + 10);
      const std::int32_t fits = static_cast<std::int32_t>((atom.size - 12) / static_cast<std::size_t>(entryBytes));
      if (count < 0) count = 0;
      if (count > fits) count = fits;
      t->count = count;
      t->first = atom.data + 12;
    };
    if (atom.type == Tag("pHdr") && atom.size >= 64) {
      const std::uint8_t* h = atom.data;
      node.header.size = Be32s(h);
      node.header.type = LoadTag(h + 4);
      for (int i = 0; i < 10; ++i) node.header.words[i] = Be32s(h + 8 + 4 * i);
      node.header.word48 = Be16s(h + 48);
      std::memcpy(node.header.kept50, h + 50, 6);
      node.header.word56 = Be32s(h + 56);
      node.header.word60 = Be32s(h + 60);
      haveHeader = true;
    } else if (atom.type == Tag("pHot")) {
      table(&node.hotSpots, kHotSpotEntryBytes);
    } else if (atom.type == Tag("pLnk")) {
      table(&node.links, kLinkEntryBytes);
    } else if (atom.type == Tag("pNav")) {
      table(&node.navigation, kNavEntryBytes);
    } else if (atom.type == Tag("pStl")) {
      table(&node.stills, kStillEntryBytes);
    } else if (atom.type == Tag("strT")) {
      node.strings = atom.data;
      node.stringsSize = static_cast<std::int32_t>(atom.size);
    }
    return true;
  });
  if (!walked || !haveHeader) return false;
  track->node = node;
  return true;
}

}  // namespace

std::int32_t ReaderModeForScreen(std::int32_t screenMode, std::int32_t screenDepth) {
  switch (screenMode) {
    case kModePalette: return kMode555;
    case kMode555:
    case kMode565:
    case kModeRgb24:
    case kModeBgr24: return screenMode;
    default: return screenDepth == 16 ? kMode555 : kModeBgr24;
  }
}

std::int32_t MovieFileRead(std::intptr_t file, std::int32_t screenOutputMode, std::int32_t screenDepth,
                           MovieFile** out) {
  *out = nullptr;
  const std::int64_t fileSize = System().fileSize(file);
  if (fileSize < 8) return kErrMissing;

  // The top-level atoms, read header by header; the "moov" contents whole.
  std::uint8_t* moov = nullptr;
  std::size_t moovSize = 0;
  std::int64_t at = 0;
  while (at < fileSize) {
    std::uint8_t header[8];
    if (fileSize - at < 8 || System().readAt(file, at, header, 8) != 8) break;
    const std::uint32_t size = Be32(header);
    if (size < 8 || size > fileSize - at) {
      HostFree(moov);
      return kErrAtomWalk;
    }
    if (LoadTag(header + 4) == Tag("moov") && moov == nullptr) {
      if (size > kMaxMovieAtom) return kErrMemory;
      moovSize = size - 8;
      moov = static_cast<std::uint8_t*>(HostAlloc(static_cast<std::int32_t>(moovSize)));
      if (moov == nullptr) return kErrMemory;
      if (System().readAt(file, at + 8, moov, static_cast<std::int32_t>(moovSize)) !=
          static_cast<std::int64_t>(moovSize)) {
        HostFree(moov);
        return kErrBadFile;
      }
    }
    at += size;
  }
  if (moov == nullptr) return kErrAtomWalk;

  auto* movie = static_cast<MovieFile*>(HostAlloc(static_cast<std::int32_t>(sizeof(MovieFile))));
  if (movie == nullptr) {
    HostFree(moov);
    return kErrMemory;
  }
  movie->file = file;
  movie->process = System().processId();
  TrackInfo panoTrack;
  TrackInfo images[64];
  int imageCount = 0;
  bool mvhdShort = false;
  const bool walked = WalkAtoms(moov, moovSize, [&](const Atom& atom) {
    if (atom.type == Tag("mvhd")) {
      mvhdShort = atom.size < 108;
    } else if (atom.type == Tag("ctab") && movie->colorTable == nullptr) {
      movie->colorTable = static_cast<std::uint8_t*>(HostAlloc(static_cast<std::int32_t>(atom.contentsSize())));
      if (movie->colorTable != nullptr) {
        std::memcpy(movie->colorTable, atom.contents(), atom.contentsSize());
        const std::size_t entries = atom.contentsSize() / 8;
        movie->colorCount = static_cast<std::int32_t>(entries > 256 ? 256 : entries);
      }
    } else if (atom.type == Tag("trak")) {
      TrackInfo info;
      if (ClassifyTrack(atom, &info)) {
        if (info.subtype == Tag("STpn") && panoTrack.trak == nullptr) panoTrack = info;
        if (info.subtype == Tag("vide") && imageCount < 64) images[imageCount++] = info;
      }
    }
    return true;
  });
  std::int32_t result = kOk;
  if (!walked || mvhdShort) result = kErrAtomWalk;
  if (result == kOk && panoTrack.trak == nullptr) result = kErrMissing;
  if (result == kOk) result = ReadPanoTrack(panoTrack, file, &movie->pano) == kOk ? kOk : kErrMakeTable;
  if (result == kOk && movie->pano->descriptionCount < 1) result = kErrMissing;
  const TrackInfo* imageTrack = nullptr;
  const TrackInfo* hotTrack = nullptr;
  if (result == kOk) {
    const PanoDescription& description = movie->pano->descriptions[0];
    movie->pano->resolution = ClampedResolution(description);
    const std::int32_t imageId = description.imageTracks[movie->pano->resolution];
    for (int i = 0; i < imageCount; ++i) {
      if (imageId != 0 && images[i].id == imageId && imageTrack == nullptr) imageTrack = &images[i];
      if (description.hotSpotTrack != 0 && images[i].id == description.hotSpotTrack && hotTrack == nullptr)
        hotTrack = &images[i];
    }
    if (imageTrack == nullptr || (description.hotSpotTrack != 0 && hotTrack == nullptr)) result = kErrMissing;
  }
  if (result == kOk) {
    const std::int32_t readerMode = ReaderModeForScreen(screenOutputMode, screenDepth);
    if (ImageTrackReaderOpen(imageTrack->trak, imageTrack->size, readerMode, file, &movie->image) != kOk) {
      result = kErrMakeTable;
    } else if (hotTrack != nullptr &&
               ImageTrackReaderOpen(hotTrack->trak, hotTrack->size, kModePalette, file, &movie->hotSpots) != kOk) {
      result = kErrMakeTable;
    }
  }
  // A picture that makes no tile grid is refused here rather than when its
  // first node is shown; so is a hot-spot grid beyond a node's tiles.
  if (result == kOk) {
    const PanoDescription& description = movie->pano->descriptions[0];
    int tileRows = 0, tilesPerRow = 0;
    if (!PictureTileGrid(description, movie->image, &tileRows, &tilesPerRow) ||
        (movie->hotSpots != nullptr && !TileGridFits(description.grid[1], description.grid[2]))) {
      result = kErrMakeTable;
    }
  }
  HostFree(moov);
  if (result != kOk) {
    movie->file = -1;
    FreeMovieFile(movie);
    return result;
  }
  movie->display = kn::KnRect{0, 0, RoundFixed(movie->pano->width), RoundFixed(movie->pano->height)};
  movie->signature = Tag("MOVP");
  *out = movie;
  return kOk;
}

bool PictureTileGrid(const PanoDescription& description, const ImageTrackReader* image, int* tileRows,
                     int* tilesPerRow) {
  *tileRows = *tilesPerRow = 0;
  if (image == nullptr || image->descriptionCount < 1) return false;
  const ImageDescription& tile = image->decompressors[0]->description;
  if (tile.width <= 0 || tile.height <= 0) return false;
  *tileRows = description.pictureWidth / tile.height;
  *tilesPerRow = description.pictureHeight / tile.width;
  return TileGridFits(*tileRows, *tilesPerRow);
}

bool IsMovieFile(const MovieFile* file) {
  for (int i = 0; i < gFileCount; ++i) {
    if (gFiles[i] == file) {
      return System().isWritable(file, sizeof *file) && file->signature == Tag("MOVP") &&
             file->process == System().processId();
    }
  }
  return false;
}

int MovieFileCount() { return gFileCount; }

MovieFile* MovieFileOpen(std::intptr_t movieOrFile, bool create, std::int32_t screenOutputMode,
                         std::int32_t screenDepth, std::int32_t* error) {
  *error = kOk;
  auto* asFile = reinterpret_cast<MovieFile*>(movieOrFile);
  if (IsMovieFile(asFile)) {
    ++asFile->shares;
    return asFile;
  }
  for (int i = 0; i < gFileCount; ++i) {
    if (gFiles[i]->movie == movieOrFile) {
      ++gFiles[i]->shares;
      return gFiles[i];
    }
  }
  if (!create || gFileCount >= kMaxMovieFiles) {
    *error = kErrBadFile;
    return nullptr;
  }
  char path[260] = {};
  if (CallMedia(kn::kKnGetMovieFilePath, {movieOrFile, reinterpret_cast<std::intptr_t>(path), 260}) != 0 ||
      path[0] == 0) {
    *error = kErrBadFile;
    return nullptr;
  }
  const std::intptr_t handle = System().openFile(path);
  if (handle == -1) {
    *error = kErrBadFile;
    return nullptr;
  }
  MovieFile* file = nullptr;
  *error = MovieFileRead(handle, screenOutputMode, screenDepth, &file);
  if (*error != kOk) {
    System().closeFile(handle);
    return nullptr;
  }
  MovieFileAdopt(file, movieOrFile);
  return file;
}

bool MovieFileAdopt(MovieFile* file, std::intptr_t movie) {
  if (gFileCount >= kMaxMovieFiles) return false;
  file->movie = movie;
  file->shares = 1;
  gFiles[gFileCount++] = file;
  return true;
}

void MovieFileDiscard(MovieFile* file) {
  if (file == nullptr) return;
  System().closeFile(file->file);
  FreeMovieFile(file);
}

std::int32_t MovieFileClose(MovieFile* file) {
  int slot = -1;
  for (int i = 0; i < gFileCount; ++i) {
    if (gFiles[i] == file) slot = i;
  }
  if (slot < 0) return kErrBadFile;
  if (--file->shares > 0) return kOk;
  for (int i = slot; i + 1 < gFileCount; ++i) gFiles[i] = gFiles[i + 1];
  gFiles[--gFileCount] = nullptr;
  const bool closed = System().closeFile(file->file);
  FreeMovieFile(file);
  return closed ? kOk : kErrBadFile;
}

bool MovieFileGetDisplayRect(const MovieFile* file, kn::KnRect* rect) {
  if (!IsMovieFile(file)) return false;
  *rect = file->display;
  return true;
}

bool MovieFileSetDisplayRect(MovieFile* file, const kn::KnRect& rect) {
  if (!IsMovieFile(file) || rect.right < rect.left || rect.bottom < rect.top) return false;
  file->display = rect;
  return true;
}

std::int32_t MovieFileNodeIndex(const MovieFile* file, std::int32_t nodeId) {
  if (!IsMovieFile(file)) return 1;
  for (std::int32_t i = 0; i < file->pano->nodeCount; ++i) {
    if (file->pano->nodes[i].id >= nodeId) return i + 1;
  }
  return 1;
}

std::int32_t MovieFileNodeId(const MovieFile* file, std::int32_t nodeId) {
  if (!IsMovieFile(file) || file->pano->nodeCount == 0) return nodeId;
  return file->pano->nodes[MovieFileNodeIndex(file, nodeId) - 1].id;
}

const PanoDescription* MovieFileDescription(const MovieFile* file) {
  if (!IsMovieFile(file) || file->pano->descriptionCount < 1) return nullptr;
  return &file->pano->descriptions[0];
}

std::int32_t MovieFileGetNode(MovieFile* file, std::int32_t nodeIndex, DecodedNode* copy) {
  if (!IsMovieFile(file)) return kErrBadFile;
  PanoTrack* track = file->pano;
  if (nodeIndex < 1 || nodeIndex > track->samples.count) return kErrNodeInfo;
  const SampleRecord& record = track->samples.records[nodeIndex - 1];
  if (track->bufferedIndex != nodeIndex - 1) {
    track->bufferedIndex = -1;
    if (record.size > track->bufferSize ||
        System().readAt(track->file, record.offset, track->buffer, record.size) != record.size ||
        !DecodeNode(track, record.size)) {
      return kErrNodeInfo;
    }
    track->bufferedIndex = nodeIndex - 1;
  }
  if (copy != nullptr) *copy = track->node;
  return kOk;
}

ImageTrackReader* MovieFileImageReader(const MovieFile* file) { return IsMovieFile(file) ? file->image : nullptr; }
ImageTrackReader* MovieFileHotSpotReader(const MovieFile* file) { return IsMovieFile(file) ? file->hotSpots : nullptr; }

void NodeString(const DecodedNode& node, std::int32_t offset, char* out, std::size_t size) {
  if (size == 0) return;
  out[0] = 0;
  if (node.strings == nullptr || offset < 8 || offset >= node.stringsSize) return;
  std::size_t length = node.strings[offset];
  if (length > static_cast<std::size_t>(node.stringsSize - offset - 1))
    length = static_cast<std::size_t>(node.stringsSize - offset - 1);
  if (length > size - 1) length = size - 1;
  std::memcpy(out, node.strings + offset + 1, length);
  out[length] = 0;
}

}  // namespace pano
