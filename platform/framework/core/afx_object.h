// The root class of the framework with its run-time class information, dynamic
// creation by class, and the exceptions the framework raises when memory or a
// resource cannot be had.
#pragma once

#include <cstddef>

#include "afx_types.h"

class CObject;

// What the framework knows of a class at run time: its name, its base, and for
// dynamically creatable classes a factory. Every class declared with one of the
// DECLARE_ macros below is entered in a list that FromName searches.
struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;                   // 0xFFFF unless the class gives one
  CObject* (*m_pfnCreateObject)();  // null: not dynamically creatable
  CRuntimeClass* m_pBaseClass;      // null for CObject
  CRuntimeClass* m_pNextClass;      // the registry list

  // A new object of the class, or null when the class cannot be created
  // dynamically or memory runs out.
  CObject* CreateObject();
  BOOL IsDerivedFrom(const CRuntimeClass* base) const;

  // The registered class of this name (exact, case-sensitive), or null.
  static CRuntimeClass* FromName(LPCSTR className);
  static CObject* CreateObject(LPCSTR className);
};

// Puts a class in the registry list; one static instance per class.
struct AfxClassRegistration {
  explicit AfxClassRegistration(CRuntimeClass* runtimeClass);
};

#define RUNTIME_CLASS(class_name) (&class_name::rtcInfo)

#define DECLARE_DYNAMIC(class_name) \
 public:                            \
  static CRuntimeClass rtcInfo;     \
  CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define AFX_IMPLEMENT_RUNTIME(class_name, base_name, schema, factory)                                         \
  CRuntimeClass class_name::rtcInfo = {                                                                       \
      #class_name, static_cast<int>(sizeof(class_name)), schema, factory, RUNTIME_CLASS(base_name), nullptr}; \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }                    \
  static const AfxClassRegistration afxRegistration_##class_name(RUNTIME_CLASS(class_name));

#define IMPLEMENT_DYNAMIC(class_name, base_name) AFX_IMPLEMENT_RUNTIME(class_name, base_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_name)               \
  CObject* class_name::CreateObject() { return new class_name; } \
  AFX_IMPLEMENT_RUNTIME(class_name, base_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_name, schema)          \
  CObject* class_name::CreateObject() { return new class_name; } \
  AFX_IMPLEMENT_RUNTIME(class_name, base_name, schema, class_name::CreateObject)

class CObject {
 public:
  static CRuntimeClass rtcInfo;

  virtual ~CObject() = default;
  virtual CRuntimeClass* GetRuntimeClass() const;
  BOOL IsKindOf(const CRuntimeClass* runtimeClass) const;

  // Framework objects come from the framework's allocator: a failure raises
  // the memory exception (see AfxFailAllocationAfter for tests).
  static void* operator new(std::size_t size);
  static void* operator new(std::size_t, void* place) noexcept { return place; }
  static void operator delete(void* memory) noexcept;
  static void operator delete(void*, void*) noexcept {}

 protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};

// A new object of a run-time class that must be T or derive from it; null,
// with nothing left behind, when there is no class, it makes no object or
// it makes another kind.
template <class T>
T* AfxCreateObjectOf(CRuntimeClass* runtimeClass) {
  CObject* created = runtimeClass == nullptr ? nullptr : runtimeClass->CreateObject();
  if (created != nullptr && !created->IsKindOf(RUNTIME_CLASS(T))) {
    delete created;
    return nullptr;
  }
  return static_cast<T*>(created);
}

// Exceptions are thrown as pointers and released with Delete(), so a handler
// catches `CException*` (or a derived pointer) and calls e->Delete().
class CException : public CObject {
  DECLARE_DYNAMIC(CException)
 public:
  // Releases the exception after it was handled. The framework's own
  // exceptions are preallocated (memory may be short), so this frees nothing.
  virtual void Delete() {}

 protected:
  CException() = default;
};

class CMemoryException : public CException {
  DECLARE_DYNAMIC(CMemoryException)
 public:
  CMemoryException() = default;
};

class CResourceException : public CException {
  DECLARE_DYNAMIC(CResourceException)
 public:
  CResourceException() = default;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowResourceException();

// Test hook: the allocation that comes `countdown` framework allocations from
// now fails (1 = the next one); 0 switches failures off. Covers strings,
// arrays and objects derived from CObject.
void AfxFailAllocationAfter(UINT countdown);
// Framework allocations made since start, and those not yet freed (tests
// size their failure sweeps and look for leaks with them).
UINT AfxAllocationCount();
int AfxLiveAllocations();

namespace afx_detail {

// Allocates through the failure hook; raises the memory exception on failure.
void* Allocate(std::size_t bytes);
void Free(void* memory) noexcept;

// Allocator for the standard containers behind CString and the arrays.
template <class T>
struct Allocator {
  using value_type = T;
  Allocator() = default;
  template <class U>
  Allocator(const Allocator<U>&) noexcept {}
  T* allocate(std::size_t count) {
    if (count > static_cast<std::size_t>(-1) / sizeof(T)) AfxThrowMemoryException();
    return static_cast<T*>(Allocate(count * sizeof(T)));
  }
  void deallocate(T* memory, std::size_t) noexcept { Free(memory); }
  template <class U>
  bool operator==(const Allocator<U>&) const noexcept {
    return true;
  }
};

// A misuse the caller could not recover from (an index outside an array):
// reports it and ends the program rather than touch memory it does not own.
[[noreturn]] void Fail(const char* what);

}  // namespace afx_detail
