// The plug-in's host tables pointed at the stand-in media host's portable
// core, for the native tests and fuzzers: a test then replaces single
// entries (memory, KNW.INI values, resources) as it needs.
#pragma once

#include <cstdint>

#include "kn_host.h"
#include "pano_host.h"

namespace panotest {

// Starts the stand-in host afresh and installs its services, this build's
// default system services and the host's two entries.
inline void UseStandInHost() {
  kn::InitializeHost();
  pano::Host() =
      pano::HostServices{kn::GetMemory, kn::FreeMemory, kn::ReallocateMemory, kn::Flip16, kn::Flip32, kn::Flip32Many};
  pano::InstallDefaultSystem();
  pano::SetMediaEntry(kn::MediaEntry);
  pano::SetManagerEntry(kn::ManagerEntry);
}

// The largest block the fuzzers' small host hands out.
constexpr std::int32_t kSmallHostBlock = 4 << 20;

// The stand-in host with little memory, for the fuzzers: no single block
// above 4 MB and 16 MB of address space for the canvas sizing, so that the
// frame of a large view is refused, not drawn, and every input stays cheap.
inline void UseSmallStandInHost() {
  UseStandInHost();
  pano::Host().getMemory = [](std::int32_t size) { return size > kSmallHostBlock ? nullptr : kn::GetMemory(size); };
  pano::System().availableVirtual = []() -> std::int64_t { return 16 << 20; };
}

}  // namespace panotest
