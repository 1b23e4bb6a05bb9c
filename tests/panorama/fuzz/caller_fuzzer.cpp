// The doors through which a caller of the two controllers sets a view's place
// and size, points at it, turns it and steps it, driven by any values: over a
// builder-made panorama or object movie, the input's commands (see
// caller_commands.h) go through the core functions the win32 controllers
// call, on a tick count the input sets anywhere in 0..2^32-1. Nothing may
// read or write out of bounds or overflow, the object movie's loop frame
// stays in its loop, and the stand-in standard controller's box stays one it
// can keep.
#include <cstdint>
#include <cstring>
#include <string>

#include "../stand_in_host.h"
#include "caller_commands.h"
#include "controller_math.h"
#include "fuzz_files.h"
#include "kn_components.h"
#include "kn_host.h"
#include "kn_movie.h"
#include "node_view.h"
#include "pano_host.h"
#include "pano_types.h"
#include "seed_movies.h"

namespace {

using callerfuzz::Reader;

std::string gPaths[callerfuzz::kMovies];

void Install() {
  static bool done = false;
  if (done) return;
  done = true;
  // Little memory, as the movie fuzzer's: the frame of a view up to 32767
  // pixels a side is refused, not drawn.
  panotest::UseSmallStandInHost();
  for (int i = 0; i < callerfuzz::kMovies; ++i) {
    const builder::Bytes bytes =
        i == callerfuzz::kObjectMovie ? panoseeds::SeedObjectMovie() : panoseeds::SeedPanorama(i);
    const std::string name = "C" + std::to_string(i) + ".MOV";
    WriteFuzzFile(name, bytes.data(), bytes.size());
    gPaths[i] = FuzzDirectory() + name;
  }
}

kn::KnRect ReadRect(Reader& in) {
  const std::int32_t left = in.Value(), top = in.Value(), right = in.Value();
  return kn::KnRect{left, top, right, in.Value()};
}

// The panorama controller's commands on its node view (null for an object movie).
void PanoramaCommand(pano::NodeView* view, callerfuzz::Command command, Reader& in) {
  using namespace pano;
  WarpEngine* e = view != nullptr ? view->engine : nullptr;
  switch (command) {
    case callerfuzz::kBounds: {  // SetBounds
      const kn::KnRect given = ReadRect(in);
      const std::int32_t flags = in.Value();
      kn::KnRect own{}, result{};
      if (view == nullptr || !NodeViewGetDisplayRect(view, &own)) return;
      if (AdjustBounds(given, own, flags, &result) == kOk) NodeViewSetDisplayRect(view, result);
      return;
    }
    case callerfuzz::kPlace: {  // SetMovie's rectangle at (x, y)
      const std::int32_t x = in.Value(), y = in.Value();
      kn::KnRect own{}, placed{}, result{};
      if (view == nullptr || !NodeViewGetDisplayRect(view, &own)) return;
      if (PlaceView(x, y, own, &placed) == kOk && AdjustBounds(placed, own, 2, &result) == kOk)
        NodeViewSetDisplayRect(view, result);
      return;
    }
    case callerfuzz::kHitTest: {  // HitTest, actions 4096 and 4107
      const std::int32_t x = in.Value(), y = in.Value();
      if (view == nullptr) return;
      const kn::KnRect r = e != nullptr ? e->windowRect : kn::KnRect{};
      NodeViewHotSpotAt(view, PointOffset(x, r.left), PointOffset(y, r.top));
      return;
    }
    case callerfuzz::kPointAngles: {  // action 4156
      const std::int32_t x = in.Value(), y = in.Value();
      if (e == nullptr) return;
      std::int32_t line = 0, row = 0, pan = 0, tilt = 0;
      NodeViewPointToSource(view, x, y, &line, &row);
      NodeViewPointToAngles(view, x, y, &pan, &tilt);
      return;
    }
    case callerfuzz::kSetAngles: {  // actions 4152 to 4154
      const std::uint8_t which = in.Byte() % 3;
      const std::int32_t value = in.Value();
      if (view == nullptr) return;
      if (which == 0) NodeViewSetPan(view, value);
      if (which == 1) NodeViewSetTilt(view, value);
      if (which == 2) NodeViewSetZoom(view, value);
      NodeViewGetPan(view);
      NodeViewGetTilt(view);
      NodeViewGetZoom(view);
      return;
    }
    case callerfuzz::kRelative: {  // actions 4104 and 4105
      const std::int32_t pan = in.Value(), tilt = in.Value(), zoom = in.Value();
      const auto quality = static_cast<std::uint32_t>(in.Value());
      if (view == nullptr) return;
      NodeViewRelativeMove(view, quality, pan, tilt);
      NodeViewRelativeZoom(view, quality, zoom);
      return;
    }
    case callerfuzz::kGoToNode: {  // actions 4102 and 4113, a link's angles
      const std::int32_t node = in.Value();
      std::int32_t pan = in.Value(), tilt = in.Value(), zoom = in.Value();
      const std::uint8_t given = in.Byte();
      if (view == nullptr) return;
      NodeViewGoToNode(view, node, (given & 1) != 0 ? &pan : nullptr, (given & 2) != 0 ? &tilt : nullptr,
                       (given & 4) != 0 ? &zoom : nullptr);
      return;
    }
    case callerfuzz::kDrag: {  // DragStep: offsets held to three quarters of the view, the move they make
      const std::int32_t pressX = in.Value(), pressY = in.Value(), x = in.Value(), y = in.Value();
      if (e == nullptr) return;
      const kn::KnRect& r = e->windowRect;
      const std::int64_t width = std::int64_t{r.right} - r.left, height = std::int64_t{r.bottom} - r.top;
      if (!ViewSideFits(width) || !ViewSideFits(height)) return;
      const int w = static_cast<int>(width), h = static_cast<int>(height);
      const int dx = DragOffset(PointOffset(x, pressX), w * 3 / 4);
      const int dy = DragOffset(PointOffset(pressY, y), h * 3 / 4);
      NodeViewRelativeMove(view, 256, static_cast<std::int32_t>(std::int64_t{dx} * 2 * 65536 / w),
                           static_cast<std::int32_t>(std::int64_t{dy} * 2 * 65536 / h));
      return;
    }
    case callerfuzz::kRender: {
      const auto quality = static_cast<std::uint32_t>(in.Value());
      // Frames of small views only: a large one costs milliseconds an input.
      if (e == nullptr || std::int32_t{e->width} * e->height > 64 * 64) return;
      WarpSetQuality(e, quality);
      std::uint32_t rowBytes = 0;
      WarpRenderFrame(e, &rowBytes);
      return;
    }
    case callerfuzz::kNavigation: {  // action 4157
      const std::int32_t id = in.Value();
      if (view == nullptr) return;
      std::int32_t words[3] = {};
      kn::KnRect rect{};
      NodeViewNavigation(view, id, words, &rect);
      return;
    }
    default: return;
  }
}

// The object controller's record, as far as its arithmetic goes.
struct ObjectState {
  pano::ObjectNavigation navigation{};
  double pan = 0, tilt = 0;
  int column = 0, row = 0;
  std::int32_t loopFrame = 0;
  std::uint32_t lastLoop = 0, lastStep = 0;
};

// ShowFrame: the viewpoint of the angles, the loop step, the frame's time.
void ShowFrame(ObjectState& o, std::uint32_t now, std::intptr_t standard) {
  int column = 0, row = 0;
  pano::ObjectAnglesToColumnRow(o.navigation, o.pan, o.tilt, &column, &row);
  if (pano::ObjectLoopStep(o.navigation.loopCount, o.navigation.loopSpeed, now, &o.lastLoop, &o.loopFrame) &&
      (o.loopFrame < 0 || o.loopFrame >= o.navigation.loopCount))
    __builtin_trap();  // a step lands inside the loop
  if (column != o.column || row != o.row) o.loopFrame = 0;
  o.column = column;
  o.row = row;
  const std::intptr_t go[2] = {kn::kMcActionGoToTime, pano::ObjectFrameTime(o.navigation, column, row, o.loopFrame)};
  kn::CallInstance(standard, kn::kMcDoAction, go, 2);
}

void ObjectCommand(ObjectState& o, callerfuzz::Command command, Reader& in, std::uint32_t now, std::intptr_t movie,
                   std::intptr_t standard) {
  using namespace pano;
  kn::KnRect box{};
  const std::intptr_t boxArgs[2] = {movie, reinterpret_cast<std::intptr_t>(&box)};
  kn::MediaEntry(kn::kKnGetMovieBox, boxArgs, 2);
  switch (command) {
    case callerfuzz::kObjectAngles: {  // actions 10000 to 10003
      o.pan = in.Value() / 65536.0;
      o.tilt = in.Value() / 65536.0;
      ClampObjectAngles(o.navigation, &o.pan, &o.tilt);
      Whole32(o.pan * 65536);
      Whole32(o.tilt * 65536);
      break;
    }
    case callerfuzz::kObjectLoop: {
      const auto count = static_cast<std::int16_t>(in.Value());
      o.navigation.loopCount = count < 1 ? std::int16_t{1} : count;
      o.navigation.loopSpeed = static_cast<std::int16_t>(in.Value());
      break;
    }
    case callerfuzz::kObjectCentre: {  // the centre rule, action 10007 and a held button
      const std::int32_t x = in.Value(), y = in.Value();
      ObjectStep step{};
      if (ObjectCentreStep(box, x, y, now, &o.lastStep, &step)) {
        o.pan += step.pan;
        o.tilt += step.tilt;
      }
      break;
    }
    case callerfuzz::kObjectEdge: {  // the edge rule
      const std::int32_t fromX = in.Value(), fromY = in.Value(), x = in.Value(), y = in.Value();
      ObjectStep step{};
      if (ObjectEdgeStep(box, o.navigation.fieldOfView, fromX, fromY, x, y, (in.Byte() & 1) != 0, &step)) {
        o.pan += step.pan;
        o.tilt += step.tilt;
      }
      break;
    }
    case callerfuzz::kObjectGrid: {  // actions 10010, 10016 and 10018, the arrow keys
      int columnStep = 0, rowStep = 0;
      ObjectDirectionStep(static_cast<std::int16_t>(in.Value()), &columnStep, &rowStep);
      ObjectColumnRowToAngles(o.navigation, o.column + columnStep, o.row + rowStep, &o.pan, &o.tilt);
      ClampObjectAngles(o.navigation, &o.pan, &o.tilt);
      ObjectColumnRowToAngles(o.navigation, static_cast<std::int16_t>(in.Value()),
                              static_cast<std::int16_t>(in.Value()), &o.pan, &o.tilt);
      break;
    }
    case callerfuzz::kObjectRecord: {  // a caller's whole navigation record, any bytes
      std::uint8_t record[sizeof o.navigation];
      for (std::uint8_t& byte : record) byte = in.Byte();
      std::memcpy(&o.navigation, record, sizeof record);
      HoldObjectNavigation(&o.navigation);
      break;
    }
    case callerfuzz::kStandardBounds: {  // the object controller's bounds, held by the standard controller
      kn::KnRect rect = ReadRect(in);
      const std::intptr_t set[1] = {reinterpret_cast<std::intptr_t>(&rect)};
      kn::CallInstance(standard, kn::kMcSetBounds, set, 1);
      kn::KnRect kept{};
      const std::intptr_t get[1] = {reinterpret_cast<std::intptr_t>(&kept)};
      kn::CallInstance(standard, kn::kMcGetBox, get, 1);
      if (!kn::BoxFits(kept)) __builtin_trap();
      return;
    }
    default: return;
  }
  ClampObjectAngles(o.navigation, &o.pan, &o.tilt);
  ShowFrame(o, now, standard);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Install();
  Reader in(data, size);
  const int which = in.Byte() % callerfuzz::kMovies;
  std::intptr_t reference = 0, movie = 0;
  if (kn::OpenMovieFile(gPaths[which].c_str(), &reference) != 0) __builtin_trap();
  const std::int32_t opened = kn::NewMovieFromFile(&movie, reference);
  kn::CloseMovieFile(reference);
  if (opened != 0) __builtin_trap();  // the builder's movies always open

  // The stand-in's standard controller over the movie, in the movie's box.
  kn::KnRect box{};
  const std::intptr_t boxArgs[2] = {movie, reinterpret_cast<std::intptr_t>(&box)};
  kn::MediaEntry(kn::kKnGetMovieBox, boxArgs, 2);
  const std::intptr_t standard = kn::OpenDefaultComponent(kn::Tag("play"), kn::Tag("std "));
  const std::intptr_t create[4] = {movie, reinterpret_cast<std::intptr_t>(&box), 8, 0};
  if (standard == 0 || kn::CallInstance(standard, kn::kMcCreate, create, 4) != 0) __builtin_trap();

  // The object controller's navigation: the movie's NAVG, else the defaults.
  ObjectState object;
  const kn::Movie* m = kn::AsMovie(movie);
  const auto navigation = m->userData.find(kn::Tag("NAVG"));
  if (navigation != m->userData.end() && !navigation->second.empty()) {
    const std::vector<std::uint8_t>& item = navigation->second.front();
    pano::ReadObjectNavigation(item.data(), static_cast<std::int32_t>(item.size()), &object.navigation);
  } else {
    pano::DefaultObjectNavigation(m->duration, m->frameCount, &object.navigation);
  }

  pano::NodeView* view = nullptr;
  if (which != callerfuzz::kObjectMovie) {
    std::int32_t error = 0;
    view = pano::NodeViewOpen(movie, pano::kModeDib, 32, &error);
    if (view == nullptr) __builtin_trap();
    pano::NodeViewGoToNode(view, 0, nullptr, nullptr, nullptr);
  }

  std::uint32_t now = 0;
  for (int steps = 0; !in.done() && steps < 256; ++steps) {
    const auto command = static_cast<callerfuzz::Command>(in.Byte() % callerfuzz::kCommands);
    if (command == callerfuzz::kClock) {
      const bool set = (in.Byte() & 1) == 0;
      const auto ticks = static_cast<std::uint32_t>(in.Value());
      now = set ? ticks : now + ticks;  // unsigned: the count wraps as the system's does
    } else if (command < callerfuzz::kClock) {
      PanoramaCommand(view, command, in);
    } else {
      ObjectCommand(object, command, in, now, movie, standard);
    }
  }

  pano::NodeViewClose(view);
  kn::CloseComponent(standard);
  kn::DisposeMovie(movie);
  return 0;
}
