// The framework's growable arrays: CByteArray, CWordArray, CDWordArray,
// CUIntArray, CPtrArray, CObArray and CStringArray. Indexes are 0-based ints;
// an index outside the array ends the program with a message (see
// afx_detail::Fail) instead of reading or writing memory it does not own.
// Growing the array (SetSize, InsertAt, SetAtGrow) fills new slots with zero
// (empty strings); running out of memory raises the memory exception.
#pragma once

#include <vector>

#include "afx_object.h"
#include "afx_string.h"
#include "afx_types.h"

namespace afx_detail {

template <class T, class Arg>
class TypedArray : public CObject {
 public:
  int GetSize() const { return static_cast<int>(items_.size()); }
  int GetCount() const { return GetSize(); }
  int GetUpperBound() const { return GetSize() - 1; }
  BOOL IsEmpty() const { return items_.empty(); }

  // growBy is accepted for the usual signature; growth is amortised anyway.
  void SetSize(int newSize, int growBy = -1) {
    (void)growBy;
    if (newSize < 0) Fail("negative array size");
    items_.resize(static_cast<std::size_t>(newSize), T());
  }
  void RemoveAll() { Storage().swap(items_); }
  void FreeExtra() { items_.shrink_to_fit(); }

  Arg GetAt(int index) const { return items_[Checked(index)]; }
  void SetAt(int index, Arg value) { items_[Checked(index)] = value; }
  T& ElementAt(int index) { return items_[Checked(index)]; }
  T& operator[](int index) { return ElementAt(index); }
  Arg operator[](int index) const { return GetAt(index); }
  T* GetData() { return items_.data(); }
  const T* GetData() const { return items_.data(); }

  // Grows the array to take index when needed.
  void SetAtGrow(int index, Arg value) {
    if (index < 0) Fail("negative array index");
    if (index >= GetSize()) SetSize(index + 1);
    items_[static_cast<std::size_t>(index)] = value;
  }
  // Appends and returns the new element's index.
  int Add(Arg value) {
    items_.push_back(value);
    return GetSize() - 1;
  }
  // Appends the other array; returns the index of its first element here.
  int Append(const TypedArray& other) {
    const int first = GetSize();
    items_.insert(items_.end(), other.items_.begin(), other.items_.end());
    return first;
  }
  void Copy(const TypedArray& other) {
    if (this != &other) items_ = other.items_;
  }
  // Inserts count copies of value before index; an index past the end grows
  // the array up to it first.
  void InsertAt(int index, Arg value, int count = 1) {
    if (index < 0 || count < 0) Fail("negative array index or count");
    if (index > GetSize()) SetSize(index);
    items_.insert(items_.begin() + index, static_cast<std::size_t>(count), value);
  }
  void InsertAt(int startIndex, const TypedArray* other) {
    if (startIndex < 0) Fail("negative array index");
    if (other == nullptr || other->IsEmpty()) return;
    if (startIndex > GetSize()) SetSize(startIndex);
    const Storage copy(other->items_);  // other may be this array
    items_.insert(items_.begin() + startIndex, copy.begin(), copy.end());
  }
  void RemoveAt(int index, int count = 1) {
    if (index < 0 || count < 0 || count > GetSize() - index) Fail("array removal out of range");
    items_.erase(items_.begin() + index, items_.begin() + index + count);
  }

 private:
  using Storage = std::vector<T, Allocator<T>>;

  std::size_t Checked(int index) const {
    if (index < 0 || index >= GetSize()) Fail("array index out of range");
    return static_cast<std::size_t>(index);
  }

  Storage items_;
};

}  // namespace afx_detail

class CByteArray : public afx_detail::TypedArray<BYTE, BYTE> {};
class CWordArray : public afx_detail::TypedArray<WORD, WORD> {};
class CDWordArray : public afx_detail::TypedArray<DWORD, DWORD> {};
class CUIntArray : public afx_detail::TypedArray<UINT, UINT> {};
class CPtrArray : public afx_detail::TypedArray<void*, void*> {};
class CObArray : public afx_detail::TypedArray<CObject*, CObject*> {};
class CStringArray : public afx_detail::TypedArray<CString, const CString&> {};
