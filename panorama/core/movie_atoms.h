// Walking the atoms of a movie file held in memory: an atom is a big-endian
// int32 size (header included), a four-character type and its contents.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace pano {

struct Atom {
  std::uint32_t type = 0;
  const std::uint8_t* data = nullptr;  // the atom's first byte (its size field)
  std::size_t size = 0;                // header included
  const std::uint8_t* contents() const { return data + 8; }
  std::size_t contentsSize() const { return size - 8; }
};

bool IsContainerAtom(std::uint32_t type);

// Calls visit(const Atom&) for each atom of the region; false when a size is
// below 8 or the atoms do not fill the region exactly. visit may return false
// to stop early (the walk then reports success).
template <typename Visit>
bool WalkAtoms(const std::uint8_t* data, std::size_t size, Visit visit);

// Checks that every container atom below the region walks too.
bool CheckAtomTree(const std::uint8_t* data, std::size_t size, int depth = 0);

// The first atom of a type directly in the region (an empty atom when none).
Atom FindAtom(const std::uint8_t* data, std::size_t size, std::uint32_t type);
// Searches the region and its containers, depth first, for an atom of a type.
Atom FindAtomDeep(const std::uint8_t* data, std::size_t size, std::uint32_t type, int depth = 0);

std::uint32_t AtomSizeAt(const std::uint8_t* p);

// The atoms a track's media is read from, found below its "trak" contents:
// the track header, the media header, the sample table and its descriptions.
struct TrackAtoms {
  Atom tkhd, mdhd, stbl, stsd;
};
// False when any of them is missing.
bool FindTrackAtoms(const std::uint8_t* body, std::size_t size, TrackAtoms* atoms);

template <typename Visit>
bool WalkAtoms(const std::uint8_t* data, std::size_t size, Visit visit) {
  std::size_t at = 0;
  while (at < size) {
    if (size - at < 8) return false;
    const std::uint32_t atomSize = AtomSizeAt(data + at);
    if (atomSize < 8 || atomSize > size - at) return false;
    Atom atom;
    atom.data = data + at;
    atom.size = atomSize;
    std::uint32_t type;
    std::memcpy(&type, data + at + 4, 4);
    atom.type = type;
    if (!visit(atom)) return true;
    at += atomSize;
  }
  return true;
}

}  // namespace pano
