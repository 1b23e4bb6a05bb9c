#include "single_run.h"

namespace {

constexpr const char* kMutexName = "REFRESH32 Internet updater";

}  // namespace

CSingleRun::CSingleRun()
    : m_hMutex(::CreateMutexA(nullptr, FALSE, kMutexName)),
      m_bAlone(m_hMutex != nullptr && ::GetLastError() != ERROR_ALREADY_EXISTS) {}

CSingleRun::~CSingleRun() {
  if (m_hMutex != nullptr) ::CloseHandle(m_hMutex);
}
