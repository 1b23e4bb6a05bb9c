// The plug-in's host tables pointed at the stand-in media host's portable
// core, for the native tests and fuzzers: a test then replaces single
// entries (memory, KNW.INI values, resources) as it needs.
#pragma once

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

}  // namespace panotest
