// What the two controller components share: the handler convention, the
// instance tables, the validity check and calls to the standard controller.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>

#include "kn_api.h"

namespace pano {

// args[0] leading word (-1 = our own call), args[1] unused, args[2] the
// instance record, then the selector's parameters.
using Handler = std::intptr_t (*)(const std::intptr_t* args, std::int32_t count);
constexpr std::intptr_t kOwnCall = -1;

struct ComponentTable {
  Handler positive[23];
  Handler negative[6];
};
std::intptr_t Dispatch(const ComponentTable& table, std::int16_t selector, const std::intptr_t* args,
                       std::int32_t count);

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

void* AllocateInstance(std::size_t size);
void FreeInstance(void* record);
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

// The two components.
extern const ComponentTable kPanoramaComponent;
extern const ComponentTable kObjectComponent;
void EndObjectModule();

// Argument access.
inline std::intptr_t Arg(const std::intptr_t* args, std::int32_t count, int i) { return i < count ? args[i] : 0; }

}  // namespace pano
