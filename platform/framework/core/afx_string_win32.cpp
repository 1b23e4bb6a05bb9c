// The resource side of CString, present only in the win32 tree.
#include "afx_resource.h"
#include "afx_string.h"

BOOL CString::LoadString(UINT id) {
  // A string table entry holds at most 4096 characters.
  for (int capacity = 256; capacity <= 8192; capacity *= 2) {
    Storage buffer(static_cast<std::size_t>(capacity), '\0');
    const int length = ::LoadStringA(AfxGetResourceHandle(), id, buffer.data(), capacity);
    if (length <= 0) {
      text_.clear();
      return FALSE;
    }
    if (length < capacity - 1) {
      buffer.resize(static_cast<std::size_t>(length));
      text_ = std::move(buffer);
      return TRUE;
    }
  }
  text_.clear();
  return FALSE;
}
