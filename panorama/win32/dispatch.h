// The selector dispatch both controllers run through. Each controller gives
// its record type, its DoAction and set-movie, and the handlers of the
// selectors whose work is its own; the selectors both answer alike, the
// validity check and the negative selectors live here once.
#pragma once

#include "components.h"

namespace pano {

template <class Instance>
using Handler = std::intptr_t (*)(Instance* record, const Params& param);

// A controller: its instance table, module start, DoAction and set movie,
// then the handlers of the selectors whose work is its own.
template <class Instance>
struct Component {
  InstanceTable& instances;
  std::intptr_t (*start)();  // starts the module on the first open: kOk or an error
  std::intptr_t (*doAction)(Instance* record, std::int32_t action, std::intptr_t parameter);
  std::intptr_t (*setMovie)(Instance* record, std::intptr_t movie, HWND window, std::intptr_t x, std::intptr_t y);
  Handler<Instance> activate;    // 0
  Handler<Instance> getBox;      // 4
  Handler<Instance> getTime;     // 6
  Handler<Instance> idle;        // 9
  Handler<Instance> message;     // 11
  Handler<Instance> bounds;      // 14
  Handler<Instance> detach;      // 15
  Handler<Instance> create;      // 21
  Handler<Instance> resetMovie;  // 22
  Handler<Instance> close;       // -2
  bool timeUnchecked;            // selector 6 runs without the validity check
};

// Runs one call of a component: selectors 0 to 22, and -1 open, -2 close,
// -3 can do, -4 version, -5 and -6 reserved; any other is unknown. Every
// positive handler but 3, 21 and (where the component says so) 6 checks its
// record first, unless the plug-in calls itself; a record that fails is
// answered 0x8002, or 0 by 6, 7, 11 and close.
template <class Instance>
std::intptr_t Dispatch(const Component<Instance>& c, std::int16_t selector, const std::intptr_t* args,
                       std::int32_t count) {
  const Params param(args, count);
  auto* p = reinterpret_cast<Instance*>(param.Word(2));
  const auto checked = [&](std::intptr_t refused, auto work) -> std::intptr_t {
    if (param.Word(0) != kOwnCall && !IsValidInstance(c.instances, p, sizeof(Instance))) return refused;
    return work();
  };
  const auto run = [&](Handler<Instance> handler) {
    return checked(kInvalidInstance, [&] { return handler(p, param); });
  };
  const auto runOrZero = [&](Handler<Instance> handler) { return checked(0, [&] { return handler(p, param); }); };
  switch (selector) {
    case 0: return run(c.activate);
    case 1:
      return checked(kInvalidInstance, [&] { return c.doAction(p, static_cast<std::int32_t>(param(0)), param(1)); });
    case 2: return checked(kInvalidInstance, [&] { return c.doAction(p, 2, 0); });
    case 3: return 0;
    case 4: return run(c.getBox);
    case 5:
      return checked(kInvalidInstance, [&] {
        if (auto* out = reinterpret_cast<std::int32_t*>(param(0))) *out = p->state;
        return 0;
      });
    case 6: return c.timeUnchecked ? c.getTime(p, param) : runOrZero(c.getTime);
    case 7: return checked(0, [&] { return p->movie; });
    case 8: return checked(kInvalidInstance, [&] { return p->value; });
    case 9: return run(c.idle);
    case 10: return checked(kInvalidInstance, [&] { return p->flags2; });
    case 11: return runOrZero(c.message);
    case 12:
      // The key and its modifiers as the event record of action 6, a key-up with modifier bit 0x8000.
      return checked(kInvalidInstance, [&] {
        const UINT message = (param(1) & 0x8000) != 0 ? WM_KEYUP : WM_KEYDOWN;
        EventRecord event{p->window, message, static_cast<WPARAM>(param(0)), static_cast<LPARAM>(param(1)),
                          static_cast<DWORD>(GetMessageTime())};
        return c.doAction(p, 6, reinterpret_cast<std::intptr_t>(&event));
      });
    case 13:
      return checked(kInvalidInstance, [&] {
        const std::intptr_t result = c.setMovie(p, param(0), reinterpret_cast<HWND>(param(1)), param(2), param(3));
        p->value = 1;
        return result;
      });
    case 14: return run(c.bounds);
    case 15: return run(c.detach);
    case 16:
      return checked(kInvalidInstance, [&] {
        p->filter = reinterpret_cast<ActionFilter>(param(0));
        p->filterReference = param(1);
        return 0;
      });
    case 17:
    case 18: return checked(kInvalidInstance, [] { return 0; });
    case 19:
      return checked(kInvalidInstance,
                     [&] { return c.setMovie(p, param(0), reinterpret_cast<HWND>(param(1)), param(2), param(3)); });
    case 20:
      return checked(kInvalidInstance, [&] {
        p->value = static_cast<std::int32_t>(param(0));
        return 0;
      });
    case 21: return c.create(p, param);
    case 22: return run(c.resetMovie);
    case -1:
      if (c.start() != kOk) return kErrNotStarted;
      return TableFull(c.instances) ? kErrTableFull : kOk;
    case -2: return runOrZero(c.close);
    case -3:
    case -5:
    case -6: return 0;
    case -4: return ModuleVersion();
    default: return kUnknownSelector;
  }
}

}  // namespace pano
