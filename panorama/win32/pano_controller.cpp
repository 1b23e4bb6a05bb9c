// The panorama controller ("play"/"STpn"): mouse drags, arrow keys, Shift and
// Control become pan, tilt and zoom of the node view; hot spots are hovered
// and clicked; every action it does not handle goes to the standard controller.
#include "pano_controller.h"

#include <cstring>

#include "controller_math.h"
#include "dispatch.h"
#include "node_view.h"
#include "pano_host.h"
#include "pano_types.h"
#include "plugin_module.h"
#include "screen_output.h"

namespace pano {
namespace {

struct PanoInstance : ControllerRecord {
  HPALETTE palette;
  bool dragRunning, buttonHeld, cursorShown;
  bool rolloverEnabled;
  RolloverProc rollover;
  std::int32_t lastHovered;
  NodeView* view;
  std::uint32_t options;
  std::int32_t dragState;  // 1 pan, 2 zoom, 3 hot-spot click, 4 hot spot pressed
  POINT press;
  DWORD pressTime;
  HotSpotInfo hotSpot;
  std::uint32_t lastEventType;
  std::int32_t lastEventValue;
  std::uint32_t chosenQuality;
  bool refineLater;
  bool panZoomStarted;
  HWND previousCapture;
};

InstanceTable gTable;
bool gModuleStarted = false;
HCURSOR gInside[25];
HCURSOR gOutside[26];
HCURSOR gHotSpot[15];
HCURSOR gZoom[10];
HCURSOR gArrow = nullptr;
HPALETTE gSharedPalette = nullptr;

constexpr std::int32_t kHalfDegree = 0x8000;

std::intptr_t StartModule() {
  if (gModuleStarted) return kOk;
  if (!InitScreenOutput()) return kErrNotStarted;
  IdleMessage();
  HMODULE module = GetPluginModule();
  auto load = [&](int id) { return LoadCursorA(module, MAKEINTRESOURCEA(id)); };
  for (int i = 0; i < 25; ++i) gInside[i] = load(510 + i);
  gOutside[0] = nullptr;
  for (int i = 1; i <= 24; ++i) gOutside[i] = load(540 + i);
  gOutside[25] = load(480);
  for (int i = 0; i < 15; ++i) gHotSpot[i] = load(481 + i);
  for (int i = 0; i < 10; ++i) gZoom[i] = load(500 + i);
  for (HCURSOR c : gInside) {
    if (c == nullptr) return kErrNotStarted;
  }
  gArrow = LoadCursor(nullptr, IDC_ARROW);
  HDC screen = GetDC(nullptr);
  const bool palettes =
      (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0 && GetDeviceCaps(screen, SIZEPALETTE) == 256;
  ReleaseDC(nullptr, screen);
  if (palettes) {
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(800), MAKEINTRESOURCEA(10));
    if (resource != nullptr) {
      const auto* palette = static_cast<const LOGPALETTE*>(LockResource(LoadResource(module, resource)));
      if (palette != nullptr) gSharedPalette = CreatePalette(palette);
    }
  }
  gModuleStarted = true;
  return kOk;
}

void ReleasePalette(PanoInstance* p) {
  if (p->palette == nullptr) return;
  UnrealizeObject(p->palette);
  if (p->palette != gSharedPalette) DeleteObject(p->palette);
  p->palette = nullptr;
}

void Purge(InstanceHead* head) {
  auto* p = static_cast<PanoInstance*>(reinterpret_cast<ControllerRecord*>(head));
  NodeViewClose(p->view);
  p->view = nullptr;
  ReleasePalette(p);
}

std::intptr_t DoAction(PanoInstance* p, std::int32_t action, std::intptr_t parameter);

// Actions the controller sends itself reach only the filter and the standard controller.
void Notify(PanoInstance* p, std::int32_t action, std::intptr_t parameter) {
  if (p->filter != nullptr && p->filter(p->component, action, parameter, p->filterReference) != 0) return;
  Standard(p->standard, kn::kMcDoAction, {action, parameter});
}

void Redraw(PanoInstance* p, std::uint32_t quality) {
  if (p->view == nullptr) return;
  NodeViewSetQuality(p->view, quality);
  if (p->view->engine != nullptr) WarpUpdate(p->view->engine);
}

std::uint32_t Quality(const PanoInstance* p) { return p->chosenQuality != 0 ? p->chosenQuality : 768; }

void SetCursorId(HCURSOR cursor) {
  if (cursor != nullptr) SetCursor(cursor);
}

HCURSOR HotSpotCursor(const HotSpotInfo& info, int state) {
  if (info.words[1] != 0) {
    HCURSOR own = LoadCursorA(GetPluginModule(), MAKEINTRESOURCEA(info.words[1]));
    if (own != nullptr) return own;
  }
  int kind = 4;
  if (info.type == Tag("link")) kind = 0;
  if (info.type == Tag("navg")) kind = 1;
  if (info.type == Tag("stil")) kind = 2;
  if (info.type == Tag("misc")) kind = 3;
  return gHotSpot[3 * kind + state];
}

bool ViewRect(PanoInstance* p, RECT* screen) {
  if (p->view == nullptr || p->view->engine == nullptr || p->window == nullptr) return false;
  const kn::KnRect& r = p->view->engine->windowRect;
  *screen = RECT{r.left, r.top, r.right, r.bottom};
  MapWindowPoints(p->window, nullptr, reinterpret_cast<POINT*>(screen), 2);
  return true;
}

void LookUpHotSpot(PanoInstance* p, std::int32_t id) {
  NodeViewHotSpotInfo(p->view, id, Tag("link"), &p->hotSpot);
  if (p->hotSpot.index < 0) NodeViewHotSpotInfo(p->view, id, Tag("!lnk"), &p->hotSpot);
}

std::int32_t HitTest(PanoInstance* p, POINT client) {
  if (p->view == nullptr) return 255;
  const kn::KnRect& r = p->view->engine != nullptr ? p->view->engine->windowRect : kn::KnRect{};
  // A caller's point can lie anywhere: the offset is held, and the engine
  // takes a point outside the view to its edge.
  const std::int32_t id = NodeViewHotSpotAt(p->view, PointOffset(client.x, r.left), PointOffset(client.y, r.top));
  return id == 0 ? 255 : id;
}

void GoToNode(PanoInstance* p, std::int32_t node) {
  const std::int32_t current = NodeViewCurrentNodeId(p->view);
  if (node != current) Notify(p, 4112, current);
  NodeViewGoToNode(p->view, node, nullptr, nullptr, nullptr);
  p->lastEventType = Tag("jump");
  p->lastEventValue = NodeViewCurrentNodeId(p->view);
}

void MoveBy(PanoInstance* p, std::int32_t panDelta, std::int32_t tiltDelta) {
  MoveRecord move{static_cast<std::int32_t>(p->chosenQuality != 0 ? p->chosenQuality : 256), panDelta, tiltDelta};
  DoAction(p, 4104, reinterpret_cast<std::intptr_t>(&move));
  if (p->chosenQuality == 0) {
    NodeViewSetQuality(p->view, 768);
    p->refineLater = true;
  }
}

// One step of a drag (press, move, release, or idle while the button is held).
void DragStep(PanoInstance* p, UINT message) {
  const bool shift = GetKeyState(VK_SHIFT) < 0, control = GetKeyState(VK_CONTROL) < 0;
  if (shift || control) return;
  RECT view{};
  if (!ViewRect(p, &view)) return;
  // The view's size is held to 16 bits; its screen place can still be anywhere.
  const std::int64_t width = std::int64_t{view.right} - view.left, height = std::int64_t{view.bottom} - view.top;
  if (!ViewSideFits(width) || !ViewSideFits(height)) return;
  const int w = static_cast<int>(width), h = static_cast<int>(height);
  POINT cursor{};
  GetCursorPos(&cursor);
  if (message == WM_LBUTTONDOWN) {
    p->press = cursor;
    p->pressTime = GetTickCount();
    POINT client = cursor;
    ScreenToClient(p->window, &client);
    const std::int32_t id = HitTest(p, client);
    p->dragState = 1;
    if (id != 0 && id != 255) {
      LookUpHotSpot(p, id);
      if (p->hotSpot.index < 0) {
        std::memset(&p->hotSpot, 0, sizeof p->hotSpot);
        p->hotSpot.type = Tag("undf");
      }
      p->hotSpot.id = static_cast<std::int16_t>(id);
      SetCursorId(HotSpotCursor(p->hotSpot, 1));
      p->dragState = 4;
    }
    return;
  }
  const int movedX = PointOffset(cursor.x, p->press.x), movedY = PointOffset(cursor.y, p->press.y);
  if (p->dragState == 4) {
    if (movedX > 2 || movedX < -2 || movedY > 2 || movedY < -2) {
      p->dragState = 1;
    } else if (message == WM_LBUTTONUP) {
      p->dragState = 3;
    } else if (TicksSince(GetTickCount(), p->pressTime) >= 500) {
      p->dragState = 1;
    } else {
      return;
    }
  }
  if (p->dragState == 3) {
    p->lastEventType = p->hotSpot.type;
    p->lastEventValue = p->hotSpot.id;
    SetCursorId(HotSpotCursor(p->hotSpot, 2));
    if (p->hotSpot.type == Tag("link")) {
      HotSpotInfo info = p->hotSpot;
      if (NodeViewFollowLink(p->view, info.id) == kOk) {
        p->lastEventType = Tag("jump");
        p->lastEventValue = NodeViewCurrentNodeId(p->view);
      }
      DoAction(p, 4099, 0);
    }
    p->dragState = 0;
    return;
  }
  if (message == WM_LBUTTONUP) {
    p->dragState = 0;
    return;
  }
  if (!p->panZoomStarted) {
    Notify(p, 4110, 0);
    p->panZoomStarted = true;
  }
  const int dx = DragOffset(movedX, w * 3 / 4);
  const int dy = DragOffset(PointOffset(p->press.y, cursor.y), h * 3 / 4);
  const std::uint32_t limits = NodeViewLimitFlags(p->view);
  int index = 0;
  if (dx != 0) index = (dx > 0 ? 3 : 1) + ((dx > 0 ? limits & 2 : limits & 1) != 0 ? 1 : 0);
  if (dx != 0 && dy * 10 / dx > 23) index = 0;
  if (dx != 0 && -dy * 10 / dx > 23) index = 0;
  if (dy != 0 && (dx * 10 / dy < 24 && -dx * 10 / dy < 24)) {
    index = 2 * index + 15 - (dy < 0 ? 10 : 0) + ((dy > 0 ? limits & 4 : limits & 8) != 0 ? 1 : 0);
  }
  if (index > 24) index = 24;
  const bool inside = PtInRect(&view, cursor) != 0;
  SetCursorId(inside ? gInside[index] : gOutside[index > 25 ? 25 : index]);
  if (index != 0)
    MoveBy(p, static_cast<std::int32_t>(static_cast<std::int64_t>(dx) * 2 * 65536 / w),
           static_cast<std::int32_t>(static_cast<std::int64_t>(dy) * 2 * 65536 / h));
}

void Idle(PanoInstance* p) {
  if (p->view == nullptr || p->window == nullptr) return;
  const bool shift = GetKeyState(VK_SHIFT) < 0, control = GetKeyState(VK_CONTROL) < 0;
  if (p->dragRunning && !shift && !control) DragStep(p, IdleMessage());
  RECT view{};
  POINT cursor{};
  GetCursorPos(&cursor);
  const bool over = ViewRect(p, &view) && PtInRect(&view, cursor) != 0;
  if (shift || control) {
    if (!over) {
      NodeViewIdle(p->view);
      return;
    }
    if (!p->panZoomStarted) {
      Notify(p, 4110, 0);
      p->panZoomStarted = true;
    }
    const std::uint32_t limits = NodeViewLimitFlags(p->view);
    if (shift && control) {
      SetCursorId(gZoom[2]);
      return;
    }
    const bool in = shift;
    const bool atLimit = (limits & (in ? 0x10u : 0x20u)) != 0;
    SetCursorId(gZoom[atLimit ? (in ? 3 : 4) : (in ? 0 : 1)]);
    if (!atLimit) {
      ZoomRecord zoom{static_cast<std::int32_t>(p->chosenQuality != 0 ? p->chosenQuality : 256),
                      in ? -kHalfDegree : kHalfDegree};
      DoAction(p, 4105, reinterpret_cast<std::intptr_t>(&zoom));
      if (p->chosenQuality == 0) {
        NodeViewSetQuality(p->view, 768);
        p->refineLater = true;
      }
    }
  } else if (over && p->cursorShown) {
    POINT client = cursor;
    ScreenToClient(p->window, &client);
    const std::int32_t id = HitTest(p, client);
    if (id < 255 && id != p->lastHovered) {
      p->lastHovered = id;
      if (p->rolloverEnabled && p->rollover != nullptr) p->rollover(id);
    }
    if (id != 0 && id != 255) {
      LookUpHotSpot(p, id);
      SetCursorId(HotSpotCursor(p->hotSpot, 0));
    } else {
      SetCursorId(gOutside[25]);
    }
  }
  if (!GetAsyncKeyState(VK_LBUTTON) && !shift && !control) p->panZoomStarted = false;
  if (p->refineLater) {
    DoAction(p, 4099, 0);
  } else if (!(p->buttonHeld && over) && GetInputState() == 0) {
    NodeViewIdle(p->view);
  }
}

std::intptr_t Keys(PanoInstance* p, const EventRecord* event) {
  if (event == nullptr || event->message != WM_KEYDOWN) return 0;
  const std::uint32_t limits = NodeViewLimitFlags(p->view);
  std::int32_t pan = 0, tilt = 0;
  switch (event->wParam) {
    case VK_LEFT: pan = (limits & 1) != 0 ? 0 : -kHalfDegree; break;
    case VK_RIGHT: pan = (limits & 2) != 0 ? 0 : kHalfDegree; break;
    case VK_UP: tilt = (limits & 4) != 0 ? 0 : kHalfDegree; break;
    case VK_DOWN: tilt = (limits & 8) != 0 ? 0 : -kHalfDegree; break;
    default: return 0;
  }
  if (pan != 0 || tilt != 0) {
    MoveRecord move{static_cast<std::int32_t>(Quality(p)), pan, tilt};
    DoAction(p, 4104, reinterpret_cast<std::intptr_t>(&move));
  }
  return 1;
}

std::intptr_t DoAction(PanoInstance* p, std::int32_t action, std::intptr_t parameter) {
  if (p->filter != nullptr && p->filter(p->component, action, parameter, p->filterReference) != 0) return 0;
  auto out32 = [&](std::int32_t value) {
    if (parameter != 0) *reinterpret_cast<std::int32_t*>(parameter) = value;
    return 0;
  };
  NodeView* view = p->view;
  switch (action) {
    case 1:
      if (p->movie == 0) break;
      Idle(p);
      return 0;
    case 2:
    case 4115: Redraw(p, Quality(p)); return 0;
    case 3:
      p->flags |= 0x20;
      p->state = 0;
      return 0;
    case 4: p->flags &= ~0x20u; return 0;
    case 6:
      if (p->movie == 0) break;
      if (Keys(p, reinterpret_cast<const EventRecord*>(parameter)) != 0) return 0;
      break;
    case 8: return 0;
    case 15:
      if (parameter != 0) *reinterpret_cast<std::int16_t*>(parameter) = 0;
      return 0;
    case 22:
    case 24:
    case 35:
    case 41:
    case 42: return out32(0);
    case 32: p->flags = parameter != 0 ? p->flags | 2 : p->flags & ~2u; return 0;
    case 33: return out32((p->flags & 2) != 0 ? 1 : 0);
    case 38:
      p->options = static_cast<std::uint32_t>(parameter);
      if ((p->options & 0x100) != 0 && GetOutputMode() == kModePalette) {
        if (p->palette == nullptr) p->palette = gSharedPalette;
      } else {
        ReleasePalette(p);
      }
      return 0;
    case 39: return out32(static_cast<std::int32_t>(p->options | (p->palette != nullptr ? 0x100 : 0)));
    case 4096: {
      const auto* point = reinterpret_cast<const POINT*>(parameter);
      if (view == nullptr || point == nullptr) return 0;
      const std::int32_t before = NodeViewCurrentNodeId(view);
      const std::int32_t id = HitTest(p, *point);
      HotSpotInfo info;
      NodeViewHotSpotInfo(view, id, Tag("link"), &info);
      if (id != 255 && info.index >= 0) {
        NodeViewFollowLink(view, id);
        Redraw(p, Quality(p));
      }
      const std::int32_t after = NodeViewCurrentNodeId(view);
      p->lastEventType = after != before ? Tag("jump") : Tag("hots");
      p->lastEventValue = after != before ? after : id;
      return 0;
    }
    case 4097:
      ShowCursorUntil(parameter != 0);
      p->cursorShown = parameter != 0;
      return 0;
    case 4099:
      Redraw(p, 768);
      p->refineLater = false;
      return 0;
    case 4100:
    case 4155: {
      auto* record = reinterpret_cast<HotSpotRecord*>(parameter);
      if (record == nullptr || view == nullptr) return 0;
      HotSpotInfo info;
      NodeViewHotSpotInfo(view, record->id, action == 4155 ? Tag("any ") : record->type, &info);
      record->id = info.id;
      record->type = info.type;
      std::memcpy(record->words, info.words, sizeof record->words);
      const std::size_t length = std::strlen(info.name);
      record->name[0] = static_cast<char>(length);
      std::memcpy(record->name + 1, info.name, length < 62 ? length : 62);
      record->pan = NodeViewGetPan(view);
      record->tilt = NodeViewGetTilt(view);
      return 0;
    }
    case 4101:
      p->lastEventType = Tag("navg");
      p->lastEventValue = static_cast<std::int16_t>(parameter);
      return 0;
    case 4102:
      if (view != nullptr) GoToNode(p, static_cast<std::int32_t>(parameter));
      return 0;
    case 4103:
      p->lastEventType = Tag("hots");
      p->lastEventValue = static_cast<std::int16_t>(parameter);
      return 0;
    case 4104: {
      const auto* move = reinterpret_cast<const MoveRecord*>(parameter);
      if (move != nullptr && view != nullptr)
        NodeViewRelativeMove(view, static_cast<std::uint32_t>(move->quality), move->panDelta, move->tiltDelta);
      return 0;
    }
    case 4105: {
      const auto* zoom = reinterpret_cast<const ZoomRecord*>(parameter);
      if (zoom != nullptr && view != nullptr)
        NodeViewRelativeZoom(view, static_cast<std::uint32_t>(zoom->quality), zoom->zoomDelta);
      return 0;
    }
    case 4107: {
      const auto* point = reinterpret_cast<const POINT*>(parameter);
      return point == nullptr ? 255 : HitTest(p, *point);
    }
    case 4108:
      if (parameter != 0) {
        auto* out = reinterpret_cast<std::int32_t*>(parameter);
        out[0] = static_cast<std::int32_t>(p->lastEventType);
        out[1] = p->lastEventValue;
      }
      return 0;
    case 4109:
      if (view != nullptr) NodeViewIdle(view);
      return 0;
    case 4113:
      if (view == nullptr) return 0;
      Notify(p, 4112, NodeViewCurrentNodeId(view));
      NodeViewGoToNode(view, static_cast<std::int32_t>(parameter), nullptr, nullptr, nullptr);
      return 0;
    case 4114: return out32(static_cast<std::int32_t>(view != nullptr ? NodeViewLimitFlags(view) : 0));
    case 4118: return out32(p->lastHovered);
    case 4121:
      p->chosenQuality = static_cast<std::uint32_t>(parameter);
      if (view != nullptr) NodeViewSetQuality(view, p->chosenQuality != 0 ? p->chosenQuality : 768);
      return 0;
    case 4122: return out32(static_cast<std::int32_t>(p->chosenQuality));
    case 4144:
      p->rolloverEnabled = parameter != 0;
      p->lastEventType = 0;
      p->lastEventValue = 0;
      return 0;
    case 4145: return out32(p->rolloverEnabled ? 1 : 0);
    case 4146: return out32(view != nullptr ? NodeViewCurrentNodeId(view) : 0);
    case 4147: {
      auto* out = reinterpret_cast<char*>(parameter);
      if (out == nullptr) return 0;
      char name[256] = {};
      if (view != nullptr) NodeViewNodeName(view, name, sizeof name);
      const std::size_t length = std::strlen(name);
      out[0] = static_cast<char>(length);
      std::memcpy(out + 1, name, length);
      return 0;
    }
    case 4148:
      p->rollover = reinterpret_cast<RolloverProc>(parameter);
      p->lastHovered = -1;
      return 0;
    case 4149: return out32(view != nullptr ? NodeViewGetPan(view) : 0);
    case 4150: return out32(view != nullptr ? NodeViewGetTilt(view) : 0);
    case 4151: return out32(view != nullptr ? NodeViewGetZoom(view) : 0);
    case 4152:
      if (view != nullptr) NodeViewSetPan(view, static_cast<std::int32_t>(parameter));
      return 0;
    case 4153:
      if (view != nullptr) NodeViewSetTilt(view, static_cast<std::int32_t>(parameter));
      return 0;
    case 4154:
      if (view != nullptr) NodeViewSetZoom(view, static_cast<std::int32_t>(parameter));
      return 0;
    case 4156: {
      auto* record = reinterpret_cast<AnglesAtPoint*>(parameter);
      if (record == nullptr || view == nullptr || view->engine == nullptr) return 0;
      NodeViewPointToSource(view, record->point.x, record->point.y, &record->x, &record->y);
      NodeViewPointToAngles(view, record->point.x, record->point.y, &record->pan, &record->tilt);
      return 0;
    }
    case 4157: {
      auto* record = reinterpret_cast<NavigationRecord*>(parameter);
      if (view == nullptr) return 0;
      if (record == nullptr) return -50;
      kn::KnRect rect{};
      const std::int32_t result = NodeViewNavigation(view, record->id, record->words, &rect);
      record->rect = RECT{rect.left, rect.top, rect.right, rect.bottom};
      return result;
    }
    case 4158:
      if (parameter != 0) *reinterpret_cast<std::int16_t*>(parameter) = view != nullptr ? NodeViewGetWarpMode(view) : 0;
      return 0;
    case 4159:
      if (view != nullptr) NodeViewSetWarpMode(view, static_cast<std::int16_t>(parameter));
      return 0;
    default: break;
  }
  return Standard(p->standard, kn::kMcDoAction, {action, parameter});
}

// The selectors this controller answers its own way (dispatch.h checks the
// record first).
std::intptr_t Close(PanoInstance* p, const Params&) {
  if (p == nullptr) return 0;
  if (p->standard != 0) CallManager(kn::kGroupManager, kn::kCmClose, {p->standard});
  SetCursor(gArrow);
  NodeViewClose(p->view);
  ReleasePalette(p);
  RemoveInstance(gTable, p);
  if (p->head.thread != nullptr) CloseHandle(p->head.thread);
  FreeLocked(p);
  return 0;
}

std::intptr_t SetMovie(PanoInstance* p, std::intptr_t movie, HWND window, std::intptr_t x, std::intptr_t y);
std::intptr_t SetBounds(PanoInstance* p, const RECT* rect, std::intptr_t flags);

std::intptr_t Activate(PanoInstance* p, const Params& param) {
  Standard(p->standard, kn::kMcActivate, {param(0), param(1)});
  return DoAction(p, param(1) != 0 ? 3 : 4, 0);
}

std::intptr_t GetBox(PanoInstance* p, const Params& param) {
  auto* rect = reinterpret_cast<RECT*>(param(0));
  if (rect == nullptr) return 0;
  *rect = RECT{0, 0, 0, 0};
  if (p->view != nullptr && p->view->engine != nullptr) {
    const kn::KnRect& r = p->view->engine->windowRect;
    *rect = RECT{r.left, r.top, r.right, r.bottom};
  }
  return 0;
}

std::intptr_t GetTime(PanoInstance*, const Params& param) {
  if (auto* out = reinterpret_cast<std::int32_t*>(param(0))) *out = 0;
  return 0;
}

std::intptr_t IdleSelector(PanoInstance* p, const Params&) { return DoAction(p, 1, 0); }

std::intptr_t Message(PanoInstance* p, const Params& param) {
  const HWND window = reinterpret_cast<HWND>(param(0));
  const UINT message = static_cast<UINT>(param(1));
  const WPARAM wParam = static_cast<WPARAM>(param(2));
  const LPARAM lParam = static_cast<LPARAM>(param(3));
  if (message == WM_KEYDOWN) {
    if (p->movie != 0 && (p->flags & 2) != 0 && (p->flags & 0x20) != 0) {
      EventRecord event{window, message, wParam, lParam, static_cast<DWORD>(GetMessageTime())};
      DoAction(p, 6, reinterpret_cast<std::intptr_t>(&event));
    }
    return 0;
  }
  if (message == WM_PAINT) {
    DoAction(p, 2, 0);
    return 0;
  }
  if (message == WM_MOUSEMOVE) return (p->flags & 0x20) != 0 ? 1 : 0;
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) {
    if (p->dragRunning) {
      if (p->previousCapture != nullptr) {
        SetCapture(p->previousCapture);
      } else {
        ReleaseCapture();
      }
      p->dragRunning = p->buttonHeld = false;
      DragStep(p, message);
      if (message == WM_LBUTTONUP) return 1;
    }
    if (message == WM_LBUTTONDOWN && (p->flags & 0x20) != 0 && p->movie != 0) {
      p->previousCapture = SetCapture(p->window);
      p->buttonHeld = p->dragRunning = true;
      DragStep(p, message);
    }
    return 1;
  }
  if (message == IdleMessage()) {
    if ((p->flags & 0x20) != 0) DoAction(p, 1, 0);
    Standard(p->standard, kn::kMcMessage, {param(0), param(1), param(2), param(3)});
    return 0;
  }
  return 0;
}

std::intptr_t Bounds(PanoInstance* p, const Params& param) {
  return SetBounds(p, reinterpret_cast<const RECT*>(param(0)), param(2));
}

std::intptr_t Detach(PanoInstance* p, const Params&) {
  p->movie = 0;
  NodeViewClose(p->view);
  p->view = nullptr;
  ReleasePalette(p);
  return Standard(p->standard, kn::kMcDetach, {});
}

std::intptr_t ResetMovie(PanoInstance* p, const Params& param) { return SetMovie(p, param(0), p->window, 0, 0); }

// Create has no record yet: its words are the new component instance, the
// movie, the bounds, a word not read and the window.
std::intptr_t Create(PanoInstance*, const Params& param) {
  auto* p = static_cast<PanoInstance*>(AllocateLocked(sizeof(PanoInstance)));
  if (p == nullptr) return kErrCreate;
  std::intptr_t standard = 0;
  if (const std::intptr_t error = CreateStandard(param, &standard); error != 0) {
    FreeLocked(p);
    return error;
  }
  AdoptRecord(p, standard, param);
  p->lastHovered = -1;
  p->cursorShown = true;
  const auto* rect = reinterpret_cast<const RECT*>(param(1));
  const HWND window = reinterpret_cast<HWND>(param(3));
  const std::intptr_t result =
      SetMovie(p, param(0), window, rect != nullptr ? rect->left : 0, rect != nullptr ? rect->top : 0);
  if (result != 0) return result;
  // Without bounds the view keeps the movie's own rectangle.
  return rect != nullptr ? SetBounds(p, rect, 0) : 0;
}

std::intptr_t SetMovie(PanoInstance* p, std::intptr_t movie, HWND window, std::intptr_t x, std::intptr_t y) {
  if (p->movie != 0) {
    p->movie = 0;
    NodeViewClose(p->view);
    p->view = nullptr;
    Standard(p->standard, kn::kMcDetach, {});
  }
  const std::intptr_t attached =
      Standard(p->standard, kn::kMcSetMovie, {movie, reinterpret_cast<std::intptr_t>(window), x, y});
  if (attached != 0) return attached;
  std::int32_t error = 0;
  p->view = NodeViewOpen(movie, GetOutputMode(), GetScreenDepth(), &error);
  if (p->view == nullptr) return kErrMissing;
  p->movie = movie;
  p->window = window;
  NodeViewSetWindow(p->view, reinterpret_cast<std::intptr_t>(window), IsWindow(window) != 0);
  RegisterInstance(gTable, &p->head, window, Purge);
  p->palette = nullptr;
  if ((p->options & 0x100) != 0) DoAction(p, 38, static_cast<std::intptr_t>(p->options));
  // The movie's own rectangle at (x, y); a place past an int's end is refused
  // and the movie is not attached.
  kn::KnRect size{}, placed{};
  NodeViewGetDisplayRect(p->view, &size);
  std::intptr_t bounded = PlaceView(x, y, size, &placed);
  if (bounded == kOk) {
    const RECT bounds{placed.left, placed.top, placed.right, placed.bottom};
    bounded = SetBounds(p, &bounds, 2);
  }
  if (bounded != kOk) {
    p->movie = 0;
    NodeViewClose(p->view);
    p->view = nullptr;
    Standard(p->standard, kn::kMcDetach, {});
    return bounded;
  }
  p->lastHovered = -1;
  DoAction(p, 4113, 1);
  return 0;
}

// The view's rectangle from the caller's (controller_math.h AdjustBounds):
// one the view cannot keep is refused with kErrParam and the view keeps its own.
std::intptr_t SetBounds(PanoInstance* p, const RECT* given, std::intptr_t flags) {
  if (given == nullptr || p->view == nullptr) return 0;
  kn::KnRect own{}, result{};
  NodeViewGetDisplayRect(p->view, &own);
  const std::int32_t adjusted =
      AdjustBounds(kn::KnRect{given->left, given->top, given->right, given->bottom}, own, flags, &result);
  if (adjusted != kOk) return adjusted;
  if (!NodeViewSetDisplayRect(p->view, result)) return kErrMemory;
  DoAction(p, 4099, 0);
  return 0;
}

const Component<PanoInstance> kPanoramaComponent = {gTable, StartModule, DoAction,     SetMovie, Activate,
                                                    GetBox, GetTime,     IdleSelector, Message,  Bounds,
                                                    Detach, Create,      ResetMovie,   Close,    true};

}  // namespace

std::intptr_t PanoramaSelector(std::int16_t selector, const std::intptr_t* args, std::int32_t count) {
  return Dispatch(kPanoramaComponent, selector, args, count);
}

}  // namespace pano
