#include "afx_resource.h"

namespace {
HINSTANCE resourceModule = nullptr;
HINSTANCE instanceModule = nullptr;
}  // namespace

HINSTANCE AfxGetResourceHandle() { return resourceModule != nullptr ? resourceModule : AfxGetInstanceHandle(); }
void AfxSetResourceHandle(HINSTANCE module) { resourceModule = module; }
HINSTANCE AfxGetInstanceHandle() { return instanceModule != nullptr ? instanceModule : ::GetModuleHandleA(nullptr); }
void AfxSetInstanceHandle(HINSTANCE module) { instanceModule = module; }
