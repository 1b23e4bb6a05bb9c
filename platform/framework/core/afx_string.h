// CString: a growable text of single-byte characters with value semantics.
// Case operations fold ASCII letters only, so results do not depend on the
// C library's locale. Pass a CString to printf-style functions as (LPCTSTR)s.
#pragma once

#include <cstdarg>
#include <string>

#include "afx_object.h"
#include "afx_types.h"

#if defined(__MINGW_PRINTF_FORMAT)
#define AFX_PRINTF_FORMAT(fmt, args) __attribute__((format(__MINGW_PRINTF_FORMAT, fmt, args)))
#else
#define AFX_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#endif

class CString {
 public:
  CString() = default;
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  CString(LPCTSTR text);  // null is the empty text
  CString(LPCTSTR text, int length);
  CString(TCHAR ch, int repeat = 1);

  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  CString& operator=(LPCTSTR text);
  CString& operator=(TCHAR ch);

  int GetLength() const { return static_cast<int>(text_.size()); }
  BOOL IsEmpty() const { return text_.empty(); }
  void Empty();
  operator LPCTSTR() const { return text_.c_str(); }

  TCHAR GetAt(int index) const;
  TCHAR operator[](int index) const { return GetAt(index); }
  void SetAt(int index, TCHAR ch);

  CString& operator+=(const CString& text);
  CString& operator+=(LPCTSTR text);
  CString& operator+=(TCHAR ch);

  // Byte-wise comparison: <0, 0, >0. CompareNoCase folds ASCII letters.
  int Compare(LPCTSTR text) const;
  int CompareNoCase(LPCTSTR text) const;

  // Parts of the text; counts and positions outside it are clamped.
  CString Left(int count) const;
  CString Right(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;

  // Positions are 0-based; -1 means not found.
  int Find(TCHAR ch) const { return Find(ch, 0); }
  int Find(TCHAR ch, int start) const;
  int Find(LPCTSTR sub) const { return Find(sub, 0); }
  int Find(LPCTSTR sub, int start) const;
  int ReverseFind(TCHAR ch) const;
  int FindOneOf(LPCTSTR chars) const;

  void MakeUpper();
  void MakeLower();
  void MakeReverse();
  // Without an argument these remove spaces, tabs and line ends.
  void TrimLeft();
  void TrimLeft(TCHAR ch);
  void TrimRight();
  void TrimRight(TCHAR ch);

  void Format(LPCTSTR format, ...) AFX_PRINTF_FORMAT(2, 3);
  void FormatV(LPCTSTR format, va_list args);

  // Direct access for C-style writers: the buffer holds at least minLength
  // characters plus the terminator and keeps the current text. ReleaseBuffer
  // sets the length (-1: up to the first NUL within the buffer).
  LPTSTR GetBuffer(int minLength);
  LPTSTR GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);

#if defined(_WIN32)
  // Loads a string resource of the resource module; FALSE (and empty text)
  // when it does not exist.
  BOOL LoadString(UINT id);
#endif

 private:
  using Storage = std::basic_string<char, std::char_traits<char>, afx_detail::Allocator<char>>;
  explicit CString(Storage text) : text_(std::move(text)) {}

  Storage text_;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCTSTR b);
CString operator+(LPCTSTR a, const CString& b);
CString operator+(const CString& a, TCHAR b);
CString operator+(TCHAR a, const CString& b);

inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, LPCTSTR b) { return a.Compare(b) == 0; }
inline bool operator==(LPCTSTR a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, LPCTSTR b) { return a.Compare(b) != 0; }
inline bool operator!=(LPCTSTR a, const CString& b) { return b.Compare(a) != 0; }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator<(const CString& a, LPCTSTR b) { return a.Compare(b) < 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
inline bool operator>(const CString& a, LPCTSTR b) { return a.Compare(b) > 0; }
inline bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
inline bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
