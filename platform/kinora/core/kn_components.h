// The component manager's registry and instances (inside the stand-in host).
#pragma once

#include <cstdint>
#include <string>

#include "kn_api.h"

namespace kn {

struct ComponentInstance {
  std::int32_t component;  // index from 1
  std::intptr_t storage;
};

// Calls a component instance's entry with a selector and its parameters
// (the manager puts the leading words and the storage in front).
std::intptr_t CallInstance(std::intptr_t instance, std::int16_t selector, const std::intptr_t* params,
                           std::int32_t count);
std::intptr_t OpenComponent(std::int32_t component);
std::intptr_t OpenDefaultComponent(std::uint32_t type, std::uint32_t subtype);
void CloseComponent(std::intptr_t instance);
std::int32_t FindNextComponent(std::int32_t previous, std::uint32_t type, std::uint32_t subtype);
void ForgetComponents();
// Registers the components the host itself provides, with the given entry
// as its standard controller.
void RegisterBuiltInComponents(KnComponentProc standardController);

// Built-in component entries.
std::intptr_t StandardControllerEntry(std::int16_t selector, const std::intptr_t* args, std::int32_t count);
std::intptr_t RunLengthCodecEntry(std::int16_t selector, const std::intptr_t* args, std::int32_t count);

}  // namespace kn
