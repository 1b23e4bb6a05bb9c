#include "afx_object.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

CRuntimeClass* registryHead = nullptr;
UINT failureCountdown = 0;
UINT allocationCount = 0;
int liveAllocations = 0;

CMemoryException memoryException;
CResourceException resourceException;

}  // namespace

CRuntimeClass CObject::rtcInfo = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr, nullptr};
static const AfxClassRegistration afxRegistration_CObject(RUNTIME_CLASS(CObject));

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)

AfxClassRegistration::AfxClassRegistration(CRuntimeClass* runtimeClass) {
  runtimeClass->m_pNextClass = registryHead;
  registryHead = runtimeClass;
}

CObject* CRuntimeClass::CreateObject() {
  if (m_pfnCreateObject == nullptr) return nullptr;
  try {
    return m_pfnCreateObject();
  } catch (CMemoryException* e) {
    e->Delete();
    return nullptr;
  }
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
  for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass) {
    if (c == base) return TRUE;
  }
  return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR className) {
  if (className == nullptr) return nullptr;
  for (CRuntimeClass* c = registryHead; c != nullptr; c = c->m_pNextClass) {
    if (std::strcmp(c->m_lpszClassName, className) == 0) return c;
  }
  return nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCSTR className) {
  CRuntimeClass* c = FromName(className);
  return c == nullptr ? nullptr : c->CreateObject();
}

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CObject::IsKindOf(const CRuntimeClass* runtimeClass) const {
  return GetRuntimeClass()->IsDerivedFrom(runtimeClass);
}

void* CObject::operator new(std::size_t size) { return afx_detail::Allocate(size); }

void CObject::operator delete(void* memory) noexcept { afx_detail::Free(memory); }

void AfxThrowMemoryException() { throw &memoryException; }

void AfxThrowResourceException() { throw &resourceException; }

void AfxFailAllocationAfter(UINT countdown) { failureCountdown = countdown; }

UINT AfxAllocationCount() { return allocationCount; }

int AfxLiveAllocations() { return liveAllocations; }

namespace afx_detail {

void* Allocate(std::size_t bytes) {
  ++allocationCount;
  if (failureCountdown != 0 && --failureCountdown == 0) AfxThrowMemoryException();
  void* memory = std::malloc(bytes == 0 ? 1 : bytes);
  if (memory == nullptr) AfxThrowMemoryException();
  ++liveAllocations;
  return memory;
}

void Free(void* memory) noexcept {
  if (memory != nullptr) --liveAllocations;
  std::free(memory);
}

void Fail(const char* what) {
  std::fprintf(stderr, "framework: %s\n", what);
  std::fflush(stderr);
  std::abort();
}

}  // namespace afx_detail
