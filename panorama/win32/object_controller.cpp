// The object-movie controller ("play"/"stna"): a grid of viewpoints, columns
// for the pan angle and rows for the tilt angle, each optionally a loop of
// frames. Angles and steps become frame times for the standard controller.
#include <cmath>
#include <cstring>

#include "controller_math.h"
#include "dispatch.h"
#include "pano_controller.h"
#include "pano_host.h"
#include "pano_types.h"
#include "plugin_module.h"

namespace pano {
namespace {

struct ObjectInstance : ControllerRecord {
  bool buttonHeld;
  bool cursorHidden;
  ObjectNavigation navigation;
  double panRange, tiltRange;
  double pan, tilt;  // degrees
  std::int32_t frameCount;
  std::int32_t timeScale;
  std::int16_t column, row;
  bool needsRedraw, firstFrame;
  std::int32_t lastFrame;
  std::int32_t loopFrame;
  std::uint32_t lastLoop, lastStep;  // tick counts
  std::int32_t stored10015;
  POINT lastPoint;
  HWND previousCapture;
};

InstanceTable gTable;
bool gModuleStarted = false;
HCURSOR gCursors[101];

std::intptr_t StartModule() {
  if (gModuleStarted) return kOk;
  IdleMessage();
  for (int i = 0; i < 101; ++i) {
    gCursors[i] = LoadCursorA(GetPluginModule(), MAKEINTRESOURCEA(128 + i));
    if (gCursors[i] == nullptr) return kErrNotStarted;
  }
  gModuleStarted = true;
  return kOk;
}

void Clamp(ObjectInstance* o) { ClampObjectAngles(o->navigation, &o->pan, &o->tilt); }

// Moves the movie to the frame of the current angles (and loop frame).
void ShowFrame(ObjectInstance* o, bool force) {
  int column = 0, row = 0;
  ObjectAnglesToColumnRow(o->navigation, o->pan, o->tilt, &column, &row);
  bool loopDue =
      ObjectLoopStep(o->navigation.loopCount, o->navigation.loopSpeed, GetTickCount(), &o->lastLoop, &o->loopFrame);
  if (column != o->column || row != o->row) {
    o->loopFrame = 0;  // a new viewpoint starts its loop over
    loopDue = true;
  }
  if (!force && !loopDue && o->lastFrame >= 0) return;
  o->column = static_cast<std::int16_t>(column);
  o->row = static_cast<std::int16_t>(row);
  const std::int32_t time = ObjectFrameTime(o->navigation, column, row, o->loopFrame);
  o->lastFrame = time;
  Standard(o->standard, kn::kMcDoAction, {kn::kMcActionGoToTime, time});
}

void SetColumnRow(ObjectInstance* o, int column, int row) {
  ObjectColumnRowToAngles(o->navigation, column, row, &o->pan, &o->tilt);
  Clamp(o);
}

bool CursorInBox(ObjectInstance* o, POINT* client) {
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(o->window, &cursor);
  if (client != nullptr) *client = cursor;
  kn::KnRect box{};
  CallMedia(kn::kKnGetMovieBox, {o->movie, reinterpret_cast<std::intptr_t>(&box)});
  return cursor.x >= box.left && cursor.x < box.right && cursor.y >= box.top && cursor.y < box.bottom;
}

// One step of the centre rule toward a point (client coordinates).
void CentreStep(ObjectInstance* o, POINT point) {
  kn::KnRect box{};
  CallMedia(kn::kKnGetMovieBox, {o->movie, reinterpret_cast<std::intptr_t>(&box)});
  ObjectStep step{};
  if (!ObjectCentreStep(box, point.x, point.y, GetTickCount(), &o->lastStep, &step)) return;
  o->pan += step.pan;
  o->tilt += step.tilt;
  const int cursor = 83 + step.direction + (o->buttonHeld ? 9 : 0);
  SetCursor(gCursors[cursor > 100 ? 100 : cursor]);
  Clamp(o);
  ShowFrame(o, false);
}

// The edge rule: a press inside the inset box grabs the object.
void EdgeStep(ObjectInstance* o, POINT point) {
  kn::KnRect box{};
  CallMedia(kn::kKnGetMovieBox, {o->movie, reinterpret_cast<std::intptr_t>(&box)});
  const POINT from = o->lastPoint;
  o->lastPoint = point;
  ObjectStep step{};
  if (!ObjectEdgeStep(box, o->navigation.fieldOfView, from.x, from.y, point.x, point.y, GetKeyState(VK_SHIFT) < 0,
                      &step))
    return;
  o->pan += step.pan;
  o->tilt += step.tilt;
  Clamp(o);
  ShowFrame(o, false);
}

void DragStep(ObjectInstance* o, POINT point) {
  if (o->navigation.dragMode == 1) {
    EdgeStep(o, point);
  } else {
    CentreStep(o, point);
  }
}

std::intptr_t DoAction(ObjectInstance* o, std::int32_t action, std::intptr_t parameter) {
  if (o->filter != nullptr && o->filter(o->component, action, parameter, o->filterReference) != 0) return 0;
  auto passOn = [&] { return Standard(o->standard, kn::kMcDoAction, {action, parameter}); };
  switch (action) {
    case 1:
    case 10009:
      if (o->navigation.loopCount > 1 && o->movie != 0) ShowFrame(o, false);
      return passOn();
    case 3: o->flags |= 0x20; return passOn();
    case 4: o->flags &= ~0x20u; return passOn();
    case 6: {
      const auto* event = reinterpret_cast<const EventRecord*>(parameter);
      if (event != nullptr && event->message == WM_KEYDOWN && o->movie != 0 && CursorInBox(o, nullptr)) {
        int column = o->column, row = o->row;
        switch (event->wParam) {
          case VK_LEFT: --column; break;
          case VK_RIGHT: ++column; break;
          case VK_UP: --row; break;
          case VK_DOWN: ++row; break;
          default: return passOn();
        }
        SetColumnRow(o, column, row);
        ShowFrame(o, true);
        return 1;
      }
      return passOn();
    }
    case 10000:
      o->pan = static_cast<std::int32_t>(parameter) / 65536.0;
      Clamp(o);
      return 1;
    case 10001:
      o->tilt = static_cast<std::int32_t>(parameter) / 65536.0;
      Clamp(o);
      return 1;
    case 10002:
      if (parameter != 0) *reinterpret_cast<std::int32_t*>(parameter) = Whole32(o->pan * 65536);
      return 1;
    case 10003:
      if (parameter != 0) *reinterpret_cast<std::int32_t*>(parameter) = Whole32(o->tilt * 65536);
      return 1;
    case 10004:
      if (parameter != 0) {
        std::memcpy(&o->navigation, reinterpret_cast<const void*>(parameter), sizeof o->navigation);
        HoldObjectNavigation(&o->navigation);  // no column count of 0 to divide by
      }
      return 1;
    case 10005:
      if (parameter != 0) std::memcpy(reinterpret_cast<void*>(parameter), &o->navigation, sizeof o->navigation);
      return 1;
    case 10006: ShowFrame(o, true); return 1;
    case 10007: {
      const auto* point = reinterpret_cast<const POINT*>(parameter);
      if (point != nullptr) {
        o->lastPoint = *point;
        DragStep(o, *point);
      }
      ShowFrame(o, true);
      return 1;
    }
    case 10008: {
      POINT client{};
      for (int i = 0; i < 1000 && CursorInBox(o, &client) && GetAsyncKeyState(VK_LBUTTON) < 0; ++i) {
        DragStep(o, client);
        Sleep(10);
      }
      return 1;
    }
    case 10010: {
      int columnStep = 0, rowStep = 0;
      ObjectDirectionStep(static_cast<std::int16_t>(parameter), &columnStep, &rowStep);
      SetColumnRow(o, o->column + columnStep, o->row + rowStep);
      ShowFrame(o, true);
      return 1;
    }
    case 10011:
    case 10012:
    case 10013:
    case 10014: return 1;
    case 10015: o->stored10015 = static_cast<std::int32_t>(parameter); return 1;
    case 10016:
      SetColumnRow(o, static_cast<std::int16_t>(parameter), o->row);
      o->column = static_cast<std::int16_t>(parameter);
      return 1;
    case 10018:
      SetColumnRow(o, o->column, static_cast<std::int16_t>(parameter));
      o->row = static_cast<std::int16_t>(parameter);
      return 1;
    case 10017:
    case 10019: {
      int column = 0, row = 0;
      ObjectAnglesToColumnRow(o->navigation, o->pan, o->tilt, &column, &row);
      if (parameter != 0)
        *reinterpret_cast<std::int16_t*>(parameter) = static_cast<std::int16_t>(action == 10017 ? column : row);
      return 1;
    }
    case 10030: o->cursorHidden = parameter != 0; return passOn();
    case 10031:
      if (parameter != 0) *reinterpret_cast<std::int32_t*>(parameter) = o->cursorHidden ? 1 : 0;
      return passOn();
    case 10033: ShowCursorUntil(parameter != 0); return passOn();
    default: return passOn();
  }
}

void ReadNavigation(ObjectInstance* o) {
  const std::intptr_t list = CallMedia(kn::kKnGetMovieUserData, {o->movie});
  const kn::KnHandle handle = CallMedia(kn::kKnNewHandle, {0});
  bool found = false;
  if (handle != 0 && list != 0 &&
      CallMedia(kn::kKnGetUserDataItem, {list, handle, static_cast<std::intptr_t>(Tag("NAVG")), 1}) == 0) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(CallMedia(kn::kKnHandlePointer, {handle}));
    const std::int32_t size = static_cast<std::int32_t>(CallMedia(kn::kKnGetHandleSize, {handle}));
    if (data != nullptr) {
      ReadObjectNavigation(data, size, &o->navigation);
      found = true;
    }
  }
  if (handle != 0) CallMedia(kn::kKnDisposeHandle, {handle});
  if (!found) {
    DefaultObjectNavigation(static_cast<std::int32_t>(CallMedia(kn::kKnGetMovieDuration, {o->movie})),
                            static_cast<std::int32_t>(CallMedia(kn::kKnGetMovieFrameCount, {o->movie})),
                            &o->navigation);
  }
}

std::intptr_t SetMovie(ObjectInstance* o, std::intptr_t movie, HWND window, std::intptr_t x, std::intptr_t y) {
  if (o->movie != 0) {
    o->movie = 0;
    Standard(o->standard, kn::kMcDetach, {});
  }
  const std::intptr_t attached =
      Standard(o->standard, kn::kMcSetMovie, {movie, reinterpret_cast<std::intptr_t>(window), x, y});
  if (attached != 0) return attached;
  o->movie = movie;
  o->window = window;
  RegisterInstance(gTable, &o->head, window, nullptr);
  ReadNavigation(o);
  o->panRange = o->navigation.panEnd - o->navigation.panStart;
  o->tiltRange = o->navigation.tiltEnd - o->navigation.tiltStart;
  o->frameCount = static_cast<std::int32_t>(CallMedia(kn::kKnGetMovieFrameCount, {movie}));
  Clamp(o);
  int column = 0, row = 0;
  ObjectAnglesToColumnRow(o->navigation, o->pan, o->tilt, &column, &row);
  o->column = static_cast<std::int16_t>(column);
  o->row = static_cast<std::int16_t>(row);
  ShowFrame(o, true);
  return 0;
}

void Release(ObjectInstance* o) {
  if (o->standard != 0) CallManager(kn::kGroupManager, kn::kCmClose, {o->standard});
  RemoveInstance(gTable, o);
  if (o->head.thread != nullptr) CloseHandle(o->head.thread);
  FreeLocked(o);
}

// The selectors this controller answers its own way (dispatch.h checks the
// record first).
std::intptr_t Close(ObjectInstance* o, const Params&) {
  if (o == nullptr) return 0;
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  Release(o);
  return 0;
}

std::intptr_t Activate(ObjectInstance* o, const Params& param) {
  return Standard(o->standard, kn::kMcActivate, {param(0), param(1)});
}

std::intptr_t GetBox(ObjectInstance* o, const Params& param) {
  auto* rect = reinterpret_cast<kn::KnRect*>(param(0));
  if (rect == nullptr) return 0;
  *rect = kn::KnRect{};
  if (o->movie != 0) CallMedia(kn::kKnGetMovieBox, {o->movie, reinterpret_cast<std::intptr_t>(rect)});
  return 0;
}

std::intptr_t GetTime(ObjectInstance* o, const Params& param) {
  if (auto* out = reinterpret_cast<std::int32_t*>(param(0)))
    *out = static_cast<std::int32_t>(CallMedia(kn::kKnGetMovieTime, {o->movie}));
  return o->timeScale;
}

std::intptr_t Idle(ObjectInstance* o, const Params&) {
  if (o->navigation.loopCount > 1 && o->movie != 0) ShowFrame(o, false);
  POINT client{};
  if (o->movie != 0 && GetAsyncKeyState(VK_LBUTTON) >= 0 && CursorInBox(o, &client) && !o->cursorHidden) {
    SetCursor(gCursors[83]);
  }
  return 0;
}

std::intptr_t Message(ObjectInstance* o, const Params& param) {
  const HWND window = reinterpret_cast<HWND>(param(0));
  const UINT message = static_cast<UINT>(param(1));
  const WPARAM wParam = static_cast<WPARAM>(param(2));
  const LPARAM lParam = static_cast<LPARAM>(param(3));
  const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (message) {
    case WM_SHOWWINDOW:
      if (wParam != 0) DoAction(o, 10006, 0);
      break;
    case WM_PAINT: DoAction(o, 2, 0); break;
    case WM_MOUSEMOVE: return 1;
    case WM_KEYDOWN:
      if (o->movie != 0 && (o->flags & 2) != 0 && (o->flags & 0x20) != 0) {
        EventRecord event{window, message, wParam, lParam, static_cast<DWORD>(GetMessageTime())};
        if (DoAction(o, 6, reinterpret_cast<std::intptr_t>(&event)) == 1) return 1;
      }
      break;
    case WM_LBUTTONDOWN:
      if (o->movie != 0 && (o->flags & 0x20) != 0) {
        o->previousCapture = SetCapture(window);
        o->buttonHeld = true;
        o->state = 1;
        o->lastPoint = point;
        o->lastStep = 0;
        DragStep(o, point);
        return 1;
      }
      break;
    case WM_LBUTTONUP:
      if (o->buttonHeld) {
        if (o->previousCapture != nullptr)
          SetCapture(o->previousCapture);
        else
          ReleaseCapture();
        o->buttonHeld = false;
        o->state = 2;
        DragStep(o, point);
        return 1;
      }
      break;
    case WM_LBUTTONDBLCLK: return 1;
    default:
      if (message == IdleMessage()) {
        if (!o->buttonHeld && (o->flags & 0x20) != 0) {
          DoAction(o, 1, 0);
        } else if (o->buttonHeld) {
          POINT client{};
          CursorInBox(o, &client);
          DragStep(o, client);
        }
      }
      break;
  }
  return Standard(o->standard, kn::kMcMessage, {param(0), param(1), param(2), param(3)});
}

std::intptr_t Bounds(ObjectInstance* o, const Params& param) {
  return Standard(o->standard, kn::kMcSetBounds, {param(0), param(1), param(2)});
}

std::intptr_t Detach(ObjectInstance* o, const Params&) {
  o->movie = 0;
  return Standard(o->standard, kn::kMcDetach, {});
}

std::intptr_t ResetMovie(ObjectInstance* o, const Params& param) {
  SetMovie(o, param(0), o->window, 0, 0);
  return Standard(o->standard, kn::kMcSetMovie, {param(0), reinterpret_cast<std::intptr_t>(o->window)});
}

// Create has no record yet: its words are the new component instance, the
// movie, the bounds, a word not read and the window.
std::intptr_t Create(ObjectInstance*, const Params& param) {
  std::intptr_t standard = 0;
  if (const std::intptr_t error = CreateStandard(param, &standard); error != 0) return error;
  auto* o = static_cast<ObjectInstance*>(AllocateLocked(sizeof(ObjectInstance)));
  if (o == nullptr) {
    CallManager(kn::kGroupManager, kn::kCmClose, {standard});
    return kErrCreate;
  }
  AdoptRecord(o, standard, param);
  o->lastFrame = -1;
  o->firstFrame = true;
  o->timeScale = 600;
  const std::intptr_t result = SetMovie(o, param(0), reinterpret_cast<HWND>(param(3)), 0, 0);
  if (result != 0) return result;
  // The standard controller holds the box (a rectangle it cannot keep is refused).
  return Standard(standard, kn::kMcSetBounds, {param(1), 0, 0});
}

const Component<ObjectInstance> kObjectComponent = {gTable, StartModule, DoAction,   SetMovie, Activate,
                                                    GetBox, GetTime,     Idle,       Message,  Bounds,
                                                    Detach, Create,      ResetMovie, Close,    false};

}  // namespace

void EndObjectModule() {
  for (int i = 0; i < gTable.highWater; ++i) {
    if (gTable.slots[i] != nullptr)
      Release(static_cast<ObjectInstance*>(reinterpret_cast<ControllerRecord*>(gTable.slots[i])));
    gTable.slots[i] = nullptr;
  }
  if (gModuleStarted) {
    for (HCURSOR& cursor : gCursors) {
      if (cursor != nullptr) DestroyCursor(cursor);
      cursor = nullptr;
    }
  }
  gModuleStarted = false;
}

std::intptr_t ObjectSelector(std::int16_t selector, const std::intptr_t* args, std::int32_t count) {
  return Dispatch(kObjectComponent, selector, args, count);
}

}  // namespace pano
