#include "kn_movie.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <set>

#include "kn_components.h"
#include "kn_host.h"

namespace kn {
namespace {

std::set<Movie*> gMovies;
std::set<std::string*> gReferences;

std::uint32_t Be32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}
std::uint32_t TagAt(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// Calls visit(type, data, size) for each atom of a region; stops on a bad size.
template <typename Visit>
bool Walk(const std::uint8_t* data, std::size_t size, Visit visit) {
  std::size_t at = 0;
  while (at + 8 <= size) {
    const std::uint32_t atomSize = Be32(data + at);
    if (atomSize < 8 || atomSize > size - at) return false;
    visit(TagAt(data + at + 4), data + at, static_cast<std::size_t>(atomSize));
    at += atomSize;
  }
  return at == size;
}

const std::uint8_t* Child(const std::uint8_t* atom, std::size_t size, std::uint32_t type, std::size_t* childSize) {
  const std::uint8_t* found = nullptr;
  Walk(atom + 8, size - 8, [&](std::uint32_t t, const std::uint8_t* d, std::size_t s) {
    if (t == type && found == nullptr) {
      found = d;
      *childSize = s;
    }
  });
  return found;
}

// An edge of a movie's box: 0 to kMaxBoxSide.
bool BoxEdgeFits(std::int64_t edge) { return edge >= 0 && edge <= kMaxBoxSide; }

// A track's width or height (16.16, signed) rounded to pixels, in 64 bits;
// false for a side no box can have: below 0 or past 32767 pixels.
bool BoxSide(const std::uint8_t* fixed, std::int32_t* side) {
  const std::int64_t rounded = (std::int64_t{static_cast<std::int32_t>(Be32(fixed))} + 0x8000) >> 16;
  *side = static_cast<std::int32_t>(rounded);
  return BoxEdgeFits(rounded);
}

// Takes a track's size into the movie's box and notes its controller and
// frames; false when its size makes no box.
bool ReadTrack(const std::uint8_t* trak, std::size_t size, Movie* movie) {
  std::size_t tkhdSize = 0, mdiaSize = 0, hdlrSize = 0, minfSize = 0, stblSize = 0, stszSize = 0;
  const std::uint8_t* tkhd = Child(trak, size, Tag("tkhd"), &tkhdSize);
  const std::uint8_t* mdia = Child(trak, size, Tag("mdia"), &mdiaSize);
  std::int32_t width = 0, height = 0;
  if (tkhd != nullptr && tkhdSize >= 92) {
    if (!BoxSide(tkhd + 84, &width) || !BoxSide(tkhd + 88, &height)) return false;
    // A panorama shows its panorama track's rectangle: its image tracks
    // (the whole picture) are no part of the box.
    if (movie->controllerSubtype != Tag("STpn")) {
      if (width > movie->box.right) movie->box.right = width;
      if (height > movie->box.bottom) movie->box.bottom = height;
    }
  }
  if (mdia == nullptr) return true;
  const std::uint8_t* hdlr = Child(mdia, mdiaSize, Tag("hdlr"), &hdlrSize);
  if (hdlr == nullptr || hdlrSize < 24) return true;
  const std::uint32_t subtype = TagAt(hdlr + 16);
  if (subtype == Tag("STpn") && movie->controllerSubtype != Tag("STpn")) {
    movie->controllerSubtype = Tag("STpn");
    movie->box = {0, 0, width, height};
  }
  if (subtype != Tag("vide") || movie->frameCount != 0) return true;
  const std::uint8_t* minf = Child(mdia, mdiaSize, Tag("minf"), &minfSize);
  const std::uint8_t* stbl = minf != nullptr ? Child(minf, minfSize, Tag("stbl"), &stblSize) : nullptr;
  const std::uint8_t* stsz = stbl != nullptr ? Child(stbl, stblSize, Tag("stsz"), &stszSize) : nullptr;
  if (stsz != nullptr && stszSize >= 20) movie->frameCount = static_cast<std::int32_t>(Be32(stsz + 16));
  if (stbl != nullptr) ReadFrameTrack(stbl, stblSize, &movie->frames);  // a movie without frames shows none
  return true;
}

}  // namespace

bool BoxFits(const KnRect& box) {
  return BoxEdgeFits(box.left) && BoxEdgeFits(box.top) && BoxEdgeFits(box.right) && BoxEdgeFits(box.bottom) &&
         box.right >= box.left && box.bottom >= box.top;
}

Movie* AsMovie(std::intptr_t movie) {
  auto* p = reinterpret_cast<Movie*>(movie);
  return gMovies.count(p) != 0 ? p : nullptr;
}

bool ReadMovie(const std::string& path, Movie* movie) {
  // Read in one piece: a byte at a time through stream iterators costs more
  // than the walk itself.
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  const std::streamoff length = in ? static_cast<std::streamoff>(in.tellg()) : -1;
  if (length < 0) return false;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
  in.seekg(0);
  if (length > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), length)) return false;
  bool found = false, sized = true;
  Walk(bytes.data(), bytes.size(), [&](std::uint32_t type, const std::uint8_t* moov, std::size_t size) {
    if (type != Tag("moov") || found) return;
    found = true;
    Walk(moov + 8, size - 8, [&](std::uint32_t t, const std::uint8_t* d, std::size_t s) {
      if (t == Tag("mvhd") && s >= 28) {
        movie->timeScale = static_cast<std::int32_t>(Be32(d + 20));
        movie->duration = static_cast<std::int32_t>(Be32(d + 24));
      } else if (t == Tag("trak")) {
        if (!ReadTrack(d, s, movie)) sized = false;
      } else if (t == Tag("udta")) {
        Walk(d + 8, s - 8, [&](std::uint32_t item, const std::uint8_t* u, std::size_t us) {
          movie->userData[item].emplace_back(u + 8, u + us);
        });
      }
    });
  });
  if (!found || !sized) return false;
  movie->path = path;
  if (movie->controllerSubtype == 0 && movie->userData.count(Tag("NAVG")) != 0) movie->controllerSubtype = Tag("stna");
  return true;
}

std::int32_t OpenMovieFile(const char* path, std::intptr_t* reference) {
  if (path == nullptr || reference == nullptr) return -50;
  std::ifstream probe(path, std::ios::binary);
  if (!probe) return -43;  // file not found
  auto* name = new std::string(path);
  gReferences.insert(name);
  *reference = reinterpret_cast<std::intptr_t>(name);
  return 0;
}

void CloseMovieFile(std::intptr_t reference) {
  auto* name = reinterpret_cast<std::string*>(reference);
  if (gReferences.erase(name) != 0) delete name;
}

std::int32_t NewMovieFromFile(std::intptr_t* movie, std::intptr_t reference) {
  auto* name = reinterpret_cast<std::string*>(reference);
  if (movie == nullptr || gReferences.count(name) == 0) return -50;
  auto* m = new Movie;
  if (!ReadMovie(*name, m)) {
    delete m;
    return -2048;
  }
  gMovies.insert(m);
  *movie = reinterpret_cast<std::intptr_t>(m);
  return 0;
}

void DisposeMovie(std::intptr_t movie) {
  Movie* m = AsMovie(movie);
  if (m == nullptr) return;
  gMovies.erase(m);
  delete m;
}

void ForgetMovies() {
  for (Movie* movie : gMovies) delete movie;
  gMovies.clear();
  for (std::string* reference : gReferences) delete reference;
  gReferences.clear();
}

std::int32_t MovieTime(std::intptr_t movie) {
  Movie* m = AsMovie(movie);
  return m == nullptr ? 0 : m->time;
}

bool AdvanceStandardController(StandardController& controller, std::int32_t milliseconds) {
  Movie* movie = controller.movie;
  if (movie == nullptr || controller.rate <= 0 || milliseconds <= 0) return false;
  // Time units of the movie's scale, at the rate, with the remainder kept for
  // the next step. Scale, rate and step come from files and callers: a step
  // past 64 bits is past any movie's end, and a movie without a positive
  // scale cannot be timed, so it plays to its end at once.
  const std::int64_t perRate = std::int64_t{milliseconds} * movie->timeScale;  // below 2^62
  std::int64_t time = INT64_MAX;
  if (perRate > 0 && perRate <= (INT64_MAX - 1000) / controller.rate) {
    const std::int64_t scaled = controller.pending + perRate * controller.rate / 0x10000;
    controller.pending = scaled % 1000;
    time = std::int64_t{movie->time} + scaled / 1000;
  }
  if (time < movie->duration) {
    movie->time = static_cast<std::int32_t>(time);
    return false;
  }
  movie->time = movie->duration;
  controller.rate = 0;
  controller.pending = 0;
  return true;
}

// The host's own movie controller: keeps the movie's time, which its host
// moves on (AdvanceStandardController) while it plays; a movie played from
// its end starts again.
std::intptr_t StandardControllerEntry(std::int16_t selector, const std::intptr_t* args, std::int32_t count) {
  auto arg = [&](int i) -> std::intptr_t { return i < count ? args[i] : 0; };
  auto* self = reinterpret_cast<StandardController*>(arg(2));
  switch (selector) {
    case -1: return 0;  // open
    case -2: delete self; return 0;
    case -3:
    case -4: return 0;
    case kMcCreate: {
      const auto* rect = reinterpret_cast<const KnRect*>(arg(4));
      if (rect != nullptr && !BoxFits(*rect)) return -50;
      auto* controller = new StandardController;
      controller->self = arg(2);
      controller->movie = AsMovie(arg(3));
      if (rect != nullptr) controller->bounds = *rect;
      if ((arg(5) & kControllerFlagNoBar) == 0 && controller->bounds.bottom <= kMaxBoxSide - kControlBarHeight) {
        controller->bar = true;
        controller->bounds.bottom += kControlBarHeight;
      }
      controller->window = arg(6);
      const std::intptr_t set[2] = {arg(2), reinterpret_cast<std::intptr_t>(controller)};
      ManagerEntry(kGroupManager, kCmSetStorage, set, 2);
      return 0;
    }
    default: break;
  }
  if (self == nullptr) return static_cast<std::intptr_t>(static_cast<std::int32_t>(0x8002));
  switch (selector) {
    case kMcDoAction: {
      const std::intptr_t action = arg(3), parameter = arg(4);
      if (action == kMcActionGoToTime && self->movie != nullptr)
        self->movie->time = static_cast<std::int32_t>(parameter);
      if (action == kMcActionPlay) {
        self->rate = static_cast<std::int32_t>(parameter);
        self->pending = 0;
        if (self->rate != 0 && self->movie != nullptr && self->movie->time >= self->movie->duration)
          self->movie->time = 0;
      }
      if (action == kMcActionGoToTime) self->pending = 0;
      return 0;
    }
    case kMcGetBox:
      if (auto* rect = reinterpret_cast<KnRect*>(arg(3))) *rect = self->bounds;
      return 0;
    case kMcGetState:
      if (auto* out = reinterpret_cast<std::int32_t*>(arg(3))) *out = self->rate != 0 ? 0x40 : 0;
      return 0;
    case kMcGetTime: return self->movie != nullptr ? self->movie->time : 0;
    case kMcGetMovie: return reinterpret_cast<std::intptr_t>(self->movie);
    case kMcSetBounds:
      if (auto* rect = reinterpret_cast<const KnRect*>(arg(3))) {
        if (!BoxFits(*rect)) return -50;  // the box stays as it was
        self->bounds = *rect;
      }
      return 0;
    case kMcDetach: self->movie = nullptr; return 0;
    case kMcSetMovie:
      self->movie = AsMovie(arg(3));
      self->window = arg(4);
      return 0;
    default: return 0;
  }
}

}  // namespace kn
