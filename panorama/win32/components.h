// What the two controller components share: the handler convention, the
// instance tables, the validity check, the common part of their records and
// calls to the standard controller. dispatch.h runs their selectors.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>

#include "kn_api.h"
#include "pano_controller.h"
#include "pano_types.h"

namespace pano {

// The head every instance record starts with.
struct InstanceHead {
  HWND topLevel;
  HANDLE thread;  // a real handle of the registering thread
  DWORD threadId;
};

constexpr int kInstanceSlots = 64;
struct InstanceTable {
  InstanceHead* slots[kInstanceSlots];
  int highWater;
};

bool InTable(const InstanceTable& table, const void* record);
// The validity check of the positive handlers.
bool IsValidInstance(const InstanceTable& table, const void* record, std::size_t size);
// Registers the record for the calling thread; purge(record) releases what a
// dropped record owns.
void RegisterInstance(InstanceTable& table, InstanceHead* record, HWND window, void (*purge)(InstanceHead*));
void RemoveInstance(InstanceTable& table, const void* record);
bool TableFull(const InstanceTable& table);
bool ThreadGone(const InstanceHead* record);

// Calls the standard controller's operation n.
std::intptr_t Standard(std::intptr_t controller, std::int16_t selector, std::initializer_list<std::intptr_t> params);

// Shows or hides the cursor until the display count crosses zero.
void ShowCursorUntil(bool show);

// The -4 version selector: product version of this module as 0xMmNb or -1.
std::intptr_t ModuleVersion();

// The registered idle message ("Kinora Idle Event").
UINT IdleMessage();

// The two components' entry points.
std::intptr_t PanoramaSelector(std::int16_t selector, const std::intptr_t* args, std::int32_t count);
std::intptr_t ObjectSelector(std::int16_t selector, const std::intptr_t* args, std::int32_t count);
void EndObjectModule();

// Argument access.
inline std::intptr_t Arg(const std::intptr_t* args, std::int32_t count, int i) { return i < count ? args[i] : 0; }

// The words of a handler's call: args[0] the leading word (kOwnCall when the
// plug-in calls its own handler), args[1] unused, args[2] the instance record
// (create: the new component instance), then the selector's parameters, which
// `param(i)` reads (0 past the end).
constexpr std::intptr_t kOwnCall = -1;
class Params {
 public:
  Params(const std::intptr_t* args, std::int32_t count) : args_(args), count_(count) {}
  std::intptr_t Word(int i) const { return Arg(args_, count_, i); }
  std::intptr_t operator()(int i) const { return Word(3 + i); }

 private:
  const std::intptr_t* args_;
  std::int32_t count_;
};

// The start of both controllers' instance records: what the selectors both
// answer alike read and write.
struct ControllerRecord {
  InstanceHead head;
  std::intptr_t component;  // the component instance the record belongs to
  std::intptr_t standard;   // the standard controller, which gets what we do not handle
  std::intptr_t movie;      // the attached movie, or 0
  HWND window;              // the movie's window
  ActionFilter filter;      // selector 16
  std::intptr_t filterReference;
  std::int32_t state;   // selector 5
  std::uint32_t flags;  // 0x20 active, 2 keys allowed
  std::int32_t flags2;  // selector 10
  std::int32_t value;   // selectors 8 and 20
};

// Create's first steps, the same in both: open the standard controller and
// have it create itself for the call's movie, rectangle (option 8) and
// window. Returns 0 with the controller in *standard; kErrCreate when there
// is none; or the standard controller's own error, that controller closed.
std::intptr_t CreateStandard(const Params& param, std::intptr_t* standard);
// Makes `record` the storage of the call's new component instance, with its
// standard controller, active, second flag word 1.
void AdoptRecord(ControllerRecord* record, std::intptr_t standard, const Params& param);

}  // namespace pano
