#include "movie_atoms.h"

#include "pano_host.h"
#include "pano_types.h"

namespace pano {

namespace {
constexpr int kMaxDepth = 16;  // deeper nesting than any movie has is refused
}

std::uint32_t AtomSizeAt(const std::uint8_t* p) { return Be32(p); }

bool IsContainerAtom(std::uint32_t type) {
  static const std::uint32_t kContainers[] = {Tag("moov"), Tag("trak"), Tag("edts"), Tag("mdia"), Tag("minf"),
                                              Tag("gmhd"), Tag("dinf"), Tag("stbl"), Tag("STpn"), Tag("imag")};
  for (std::uint32_t container : kContainers) {
    if (type == container) return true;
  }
  return false;
}

bool CheckAtomTree(const std::uint8_t* data, std::size_t size, int depth) {
  if (depth > kMaxDepth) return false;
  bool nestedOk = true;
  const bool ok = WalkAtoms(data, size, [&](const Atom& atom) {
    if (IsContainerAtom(atom.type) && !CheckAtomTree(atom.contents(), atom.contentsSize(), depth + 1)) {
      nestedOk = false;
      return false;
    }
    return true;
  });
  return ok && nestedOk;
}

Atom FindAtom(const std::uint8_t* data, std::size_t size, std::uint32_t type) {
  Atom found;
  WalkAtoms(data, size, [&](const Atom& atom) {
    if (atom.type != type) return true;
    found = atom;
    return false;
  });
  return found;
}

Atom FindAtomDeep(const std::uint8_t* data, std::size_t size, std::uint32_t type, int depth) {
  Atom found;
  if (depth > kMaxDepth) return found;
  WalkAtoms(data, size, [&](const Atom& atom) {
    if (atom.type == type) {
      found = atom;
      return false;
    }
    if (IsContainerAtom(atom.type)) {
      found = FindAtomDeep(atom.contents(), atom.contentsSize(), type, depth + 1);
      if (found.data != nullptr) return false;
    }
    return true;
  });
  return found;
}

bool FindTrackAtoms(const std::uint8_t* body, std::size_t size, TrackAtoms* atoms) {
  atoms->tkhd = FindAtom(body, size, Tag("tkhd"));
  const Atom mdia = FindAtom(body, size, Tag("mdia"));
  if (atoms->tkhd.data == nullptr || mdia.data == nullptr) return false;
  atoms->mdhd = FindAtom(mdia.contents(), mdia.contentsSize(), Tag("mdhd"));
  const Atom minf = FindAtom(mdia.contents(), mdia.contentsSize(), Tag("minf"));
  if (atoms->mdhd.data == nullptr || minf.data == nullptr) return false;
  atoms->stbl = FindAtom(minf.contents(), minf.contentsSize(), Tag("stbl"));
  if (atoms->stbl.data == nullptr) return false;
  atoms->stsd = FindAtom(atoms->stbl.contents(), atoms->stbl.contentsSize(), Tag("stsd"));
  return atoms->stsd.data != nullptr;
}

}  // namespace pano
