// The records that cross the panorama controller's actions (our layout of
// the parameters that the actions pass by address).
#pragma once

#include <windows.h>

#include <cstdint>

namespace pano {

struct EventRecord {
  HWND window;
  UINT message;
  WPARAM wParam;  // key code
  LPARAM lParam;  // modifiers
  DWORD time;
};

struct MoveRecord {  // action 4104
  std::int32_t quality, panDelta, tiltDelta;
};
struct ZoomRecord {  // action 4105
  std::int32_t quality, zoomDelta;
};
struct HotSpotRecord {  // actions 4100 and 4155 (in: id and type)
  std::int16_t id;
  std::uint32_t type;
  std::int32_t words[3];   // entry offsets 32, 36 (cursor resource), 40
  std::int32_t pan, tilt;  // view angles (4155)
  char name[64];           // length-prefixed
};
struct AnglesAtPoint {  // action 4156
  POINT point;
  std::int32_t x, y;       // the point's position in the picture, 16.16
  std::int32_t pan, tilt;  // 16.16 degrees
};
struct NavigationRecord {  // action 4157
  std::int16_t id;
  std::int32_t words[3];
  RECT rect;
};

using ActionFilter = std::intptr_t (*)(std::intptr_t component, std::int32_t action, std::intptr_t parameter,
                                       std::intptr_t reference);
using RolloverProc = void (*)(std::int32_t hotSpot);

}  // namespace pano
