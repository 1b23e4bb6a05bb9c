#include "display/display_services.h"

namespace {
CDisplayServices* g_services = nullptr;
}

void SetDisplayServices(CDisplayServices* services) { g_services = services; }

CDisplayServices& DisplayServices() {
  if (g_services == nullptr) AfxThrowResourceException();
  return *g_services;
}
