#include "kn_components.h"

#include <cstring>
#include <set>
#include <vector>

#include "kn_host.h"

namespace kn {
namespace {

struct Registered {
  KnComponentDescriptor descriptor;
  std::string fileName;
};
std::vector<Registered> gComponents;
std::set<ComponentInstance*> gInstances;

ComponentInstance* AsInstance(std::intptr_t instance) {
  auto* p = reinterpret_cast<ComponentInstance*>(instance);
  return gInstances.count(p) != 0 ? p : nullptr;
}

bool Matches(const KnComponentDescriptor& d, std::uint32_t type, std::uint32_t subtype) {
  std::uint32_t dType, dSubtype;
  std::memcpy(&dType, d.type, 4);
  std::memcpy(&dSubtype, d.subtype, 4);
  return (type == 0 || dType == type) && (subtype == 0 || dSubtype == subtype);
}

}  // namespace

std::int32_t RegisterComponent(const KnComponentDescriptor& descriptor, const char* fileName) {
  if (descriptor.entry == nullptr) return 0;
  gComponents.push_back(Registered{descriptor, fileName != nullptr ? fileName : ""});
  return static_cast<std::int32_t>(gComponents.size());
}

void ForgetComponents() {
  for (ComponentInstance* instance : std::set<ComponentInstance*>(gInstances)) {
    CloseComponent(reinterpret_cast<std::intptr_t>(instance));
  }
  gComponents.clear();
}

std::int32_t FindNextComponent(std::int32_t previous, std::uint32_t type, std::uint32_t subtype) {
  for (std::size_t i = previous < 0 ? 0 : static_cast<std::size_t>(previous); i < gComponents.size(); ++i) {
    if (Matches(gComponents[i].descriptor, type, subtype)) return static_cast<std::int32_t>(i + 1);
  }
  return 0;
}

std::intptr_t OpenComponent(std::int32_t component) {
  if (component < 1 || static_cast<std::size_t>(component) > gComponents.size()) return 0;
  auto* instance = new ComponentInstance{component, 0};
  gInstances.insert(instance);
  const std::intptr_t args[3] = {0, 0, reinterpret_cast<std::intptr_t>(instance)};
  if (gComponents[static_cast<std::size_t>(component - 1)].descriptor.entry(-1, args, 3) != 0) {
    gInstances.erase(instance);
    delete instance;
    return 0;
  }
  return reinterpret_cast<std::intptr_t>(instance);
}

std::intptr_t OpenDefaultComponent(std::uint32_t type, std::uint32_t subtype) {
  const std::int32_t component = FindNextComponent(0, type, subtype);
  return component == 0 ? 0 : OpenComponent(component);
}

void CloseComponent(std::intptr_t handle) {
  ComponentInstance* instance = AsInstance(handle);
  if (instance == nullptr) return;
  const std::intptr_t args[3] = {0, 0, instance->storage};
  gComponents[static_cast<std::size_t>(instance->component - 1)].descriptor.entry(-2, args, 3);
  gInstances.erase(instance);
  delete instance;
}

std::intptr_t CallInstance(std::intptr_t handle, std::int16_t selector, const std::intptr_t* params,
                           std::int32_t count) {
  ComponentInstance* instance = AsInstance(handle);
  if (instance == nullptr) return static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80008002u));
  std::intptr_t args[16] = {0, 0, selector == 21 ? handle : instance->storage};
  if (count > 13) count = 13;
  for (std::int32_t i = 0; i < count; ++i) args[3 + i] = params[i];
  return gComponents[static_cast<std::size_t>(instance->component - 1)].descriptor.entry(selector, args, 3 + count);
}

std::intptr_t ManagerEntry(std::int32_t group, std::int32_t selector, const std::intptr_t* args, std::int32_t count) {
  auto arg = [&](int i) -> std::intptr_t { return i < count ? args[i] : 0; };
  if (group != kGroupManager) {
    // A call to a component instance: args[0] is the instance.
    if (count < 1) return static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80008002u));
    return CallInstance(args[0], static_cast<std::int16_t>(selector), args + 1, count - 1);
  }
  switch (selector) {
    case kCmFindNext:
      return FindNextComponent(static_cast<std::int32_t>(arg(0)), static_cast<std::uint32_t>(arg(1)),
                               static_cast<std::uint32_t>(arg(2)));
    case kCmDescribe: {
      const std::int32_t component = static_cast<std::int32_t>(arg(0));
      auto* out = reinterpret_cast<KnComponentDescription*>(arg(1));
      if (component < 1 || static_cast<std::size_t>(component) > gComponents.size() || out == nullptr) return -2004;
      const KnComponentDescriptor& d = gComponents[static_cast<std::size_t>(component - 1)].descriptor;
      std::memcpy(&out->type, d.type, 4);
      std::memcpy(&out->subtype, d.subtype, 4);
      std::memcpy(&out->manufacturer, d.manufacturer, 4);
      out->flags = d.flags;
      out->flagsMask = d.flagsMask;
      out->version = d.reserved[0];
      return 0;
    }
    case kCmOpen: return OpenComponent(static_cast<std::int32_t>(arg(0)));
    case kCmClose: CloseComponent(arg(0)); return 0;
    case kCmGetStorage: {
      ComponentInstance* instance = AsInstance(arg(0));
      return instance == nullptr ? 0 : instance->storage;
    }
    case kCmSetStorage: {
      ComponentInstance* instance = AsInstance(arg(0));
      if (instance == nullptr) return -2004;
      instance->storage = arg(1);
      return 0;
    }
    case kCmInstanceVersion: {
      ComponentInstance* instance = AsInstance(arg(0));
      return instance == nullptr
                 ? 0
                 : gComponents[static_cast<std::size_t>(instance->component - 1)].descriptor.reserved[0];
    }
    case kCmFileName: {
      const std::int32_t component = static_cast<std::int32_t>(arg(0));
      auto* buffer = reinterpret_cast<char*>(arg(1));
      const std::intptr_t size = arg(2);
      if (component < 1 || static_cast<std::size_t>(component) > gComponents.size() || buffer == nullptr || size <= 0)
        return 0;
      const std::string& name = gComponents[static_cast<std::size_t>(component - 1)].fileName;
      const std::size_t n =
          name.size() < static_cast<std::size_t>(size - 1) ? name.size() : static_cast<std::size_t>(size - 1);
      std::memcpy(buffer, name.data(), n);
      buffer[n] = 0;
      return static_cast<std::intptr_t>(n);
    }
    case kCmCount: {
      std::int32_t n = 0;
      for (const Registered& r : gComponents) n += Matches(r.descriptor, static_cast<std::uint32_t>(arg(0)), 0) ? 1 : 0;
      return n;
    }
    case kCmOpenDefault:
      return OpenDefaultComponent(static_cast<std::uint32_t>(arg(0)), static_cast<std::uint32_t>(arg(1)));
    default: return static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80008002u));
  }
}

void RegisterBuiltInComponents(KnComponentProc standardController) {
  // Both are the media library's own, version 1.0.
  const auto registerBuiltIn = [](const char* type, const char* subtype, KnComponentProc entry) {
    KnComponentDescriptor descriptor{};
    std::memcpy(descriptor.type, type, 4);
    std::memcpy(descriptor.subtype, subtype, 4);
    std::memcpy(descriptor.manufacturer, "knra", 4);
    descriptor.entry = entry;
    descriptor.reserved[0] = 0x10000;
    RegisterComponent(descriptor, "KNIM32.DLL");
  };
  registerBuiltIn("play", "std ", standardController);
  registerBuiltIn("dcmp", "knrl", RunLengthCodecEntry);
}

}  // namespace kn
