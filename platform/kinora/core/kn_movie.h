// Movies of the stand-in host: what it reads of a movie file (box, duration,
// frames, user data, which controller fits) and the standard controller's
// record.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "kn_api.h"
#include "kn_frames.h"

namespace kn {

struct Movie {
  std::uint32_t signature = Tag("KMOV");
  std::string path;
  std::int32_t timeScale = 600;
  std::int32_t duration = 0;
  std::int32_t frameCount = 0;
  KnRect box{};
  std::int32_t time = 0;
  bool active = false;
  std::map<std::uint32_t, std::vector<std::vector<std::uint8_t>>> userData;
  std::uint32_t controllerSubtype = 0;  // "STpn", "stna" or 0 for the standard controller
  FrameTrack frames;                    // of the first image track, when it has samples to show
};

// A box's edges lie in 0..32767 (the screens and the panorama view keep
// 16-bit sides), right of and below its left and top; an empty box (a
// movie of sound alone) fits.
constexpr std::int32_t kMaxBoxSide = 32767;
bool BoxFits(const KnRect& box);

Movie* AsMovie(std::intptr_t movie);
// Disposes every movie and file reference still open (host shutdown).
void ForgetMovies();
// Parses a movie file's header atoms; false when it is no movie, or a
// track's size makes no box.
bool ReadMovie(const std::string& path, Movie* movie);

struct StandardController {
  Movie* movie = nullptr;
  std::intptr_t window = 0;
  KnRect bounds{};
  std::int32_t rate = 0;  // 16.16, 0 when stopped
  std::int32_t state = 0;
  std::intptr_t self = 0;    // the component instance
  std::int64_t pending = 0;  // movie time units x 1000 not yet a whole unit
  // The control bar under the movie (play and stop, the time played), unless
  // the controller was made with flag 8 (as a named file's is).
  bool bar = false;
  DecodedFrame picture;  // the frame last decoded
  std::int32_t pictureIndex = -1;
};

// The control bar's height, below the movie's box inside the controller's bounds.
constexpr std::int32_t kControlBarHeight = 18;
constexpr std::int32_t kControllerFlagNoBar = 8;

// The frame the controller's movie shows at its time, decoded when it
// changed; nullptr when the movie has no frames or the frame cannot be read.
const DecodedFrame* CurrentFrame(StandardController& controller);
// Play from where the movie stands (from the start when it stands at the end) or stop.
void PlayOrStop(StandardController& controller, bool play);

// Moves a playing controller's movie on by `milliseconds` at its rate; at the
// movie's end it stops there. True when this step reached the end.
bool AdvanceStandardController(StandardController& controller, std::int32_t milliseconds);

}  // namespace kn
