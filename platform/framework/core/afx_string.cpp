#include "afx_string.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

char FoldUpper(char ch) { return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch; }
char FoldLower(char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch; }
bool IsTrimSpace(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f'; }

int Clamp(int value, int low, int high) { return std::min(std::max(value, low), high); }

// The first text with the second appended.
template <typename Second>
CString Joined(CString first, const Second& second) {
  first += second;
  return first;
}

}  // namespace

CString::CString(LPCTSTR text) {
  if (text != nullptr) text_.assign(text);
}

CString::CString(LPCTSTR text, int length) {
  if (text != nullptr && length > 0) text_.assign(text, static_cast<std::size_t>(length));
}

CString::CString(TCHAR ch, int repeat) {
  if (repeat > 0) text_.assign(static_cast<std::size_t>(repeat), ch);
}

CString& CString::operator=(LPCTSTR text) {
  if (text == nullptr) {
    text_.clear();
  } else {
    text_.assign(text);  // safe when text points into text_
  }
  return *this;
}

CString& CString::operator=(TCHAR ch) {
  text_.assign(1, ch);
  return *this;
}

void CString::Empty() {
  text_.clear();
  text_.shrink_to_fit();
}

TCHAR CString::GetAt(int index) const {
  if (index < 0 || index >= GetLength()) afx_detail::Fail("CString index out of range");
  return text_[static_cast<std::size_t>(index)];
}

void CString::SetAt(int index, TCHAR ch) {
  if (index < 0 || index >= GetLength()) afx_detail::Fail("CString index out of range");
  text_[static_cast<std::size_t>(index)] = ch;
}

CString& CString::operator+=(const CString& text) {
  text_.append(text.text_);
  return *this;
}

CString& CString::operator+=(LPCTSTR text) {
  if (text != nullptr) text_.append(text);
  return *this;
}

CString& CString::operator+=(TCHAR ch) {
  text_.push_back(ch);
  return *this;
}

int CString::Compare(LPCTSTR text) const { return std::strcmp(text_.c_str(), text == nullptr ? "" : text); }

int CString::CompareNoCase(LPCTSTR text) const {
  const unsigned char* a = reinterpret_cast<const unsigned char*>(text_.c_str());
  const unsigned char* b = reinterpret_cast<const unsigned char*>(text == nullptr ? "" : text);
  for (;; ++a, ++b) {
    const int ca = static_cast<unsigned char>(FoldLower(static_cast<char>(*a)));
    const int cb = static_cast<unsigned char>(FoldLower(static_cast<char>(*b)));
    if (ca != cb || ca == 0) return ca - cb;
  }
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
  count = Clamp(count, 0, GetLength());
  return Mid(GetLength() - count, count);
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  first = Clamp(first, 0, GetLength());
  count = Clamp(count, 0, GetLength() - first);
  return CString(text_.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
}

int CString::Find(TCHAR ch, int start) const {
  if (start < 0 || start >= GetLength()) return -1;
  const std::size_t at = text_.find(ch, static_cast<std::size_t>(start));
  return at == Storage::npos ? -1 : static_cast<int>(at);
}

int CString::Find(LPCTSTR sub, int start) const {
  if (sub == nullptr || start < 0 || start > GetLength()) return -1;
  const std::size_t at = text_.find(sub, static_cast<std::size_t>(start));
  return at == Storage::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(TCHAR ch) const {
  const std::size_t at = text_.rfind(ch);
  return at == Storage::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(LPCTSTR chars) const {
  if (chars == nullptr || *chars == '\0') return -1;
  const std::size_t at = text_.find_first_of(chars);
  return at == Storage::npos ? -1 : static_cast<int>(at);
}

void CString::MakeUpper() { std::transform(text_.begin(), text_.end(), text_.begin(), FoldUpper); }

void CString::MakeLower() { std::transform(text_.begin(), text_.end(), text_.begin(), FoldLower); }

void CString::MakeReverse() { std::reverse(text_.begin(), text_.end()); }

void CString::TrimLeft() {
  const auto first = std::find_if_not(text_.begin(), text_.end(), IsTrimSpace);
  text_.erase(text_.begin(), first);
}

void CString::TrimLeft(TCHAR ch) {
  const auto first = std::find_if_not(text_.begin(), text_.end(), [ch](char c) { return c == ch; });
  text_.erase(text_.begin(), first);
}

void CString::TrimRight() {
  while (!text_.empty() && IsTrimSpace(text_.back())) text_.pop_back();
}

void CString::TrimRight(TCHAR ch) {
  while (!text_.empty() && text_.back() == ch) text_.pop_back();
}

void CString::Format(LPCTSTR format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void CString::FormatV(LPCTSTR format, va_list args) {
  if (format == nullptr) {
    text_.clear();
    return;
  }
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length < 0) {
    text_.clear();
    return;
  }
  Storage result(static_cast<std::size_t>(length), '\0');
  std::vsnprintf(result.data(), static_cast<std::size_t>(length) + 1, format, args);
  text_ = std::move(result);
}

LPTSTR CString::GetBuffer(int minLength) {
  minLength = std::max(minLength, GetLength());
  text_.resize(static_cast<std::size_t>(minLength), '\0');
  return text_.data();
}

LPTSTR CString::GetBufferSetLength(int length) {
  length = std::max(length, 0);
  text_.resize(static_cast<std::size_t>(length), '\0');
  return text_.data();
}

void CString::ReleaseBuffer(int newLength) {
  const int size = GetLength();
  if (newLength < 0) {
    // The writer may have used the terminator slot too: look no further.
    const void* end = std::memchr(text_.data(), '\0', static_cast<std::size_t>(size));
    newLength = end == nullptr ? size : static_cast<int>(static_cast<const char*>(end) - text_.data());
  }
  text_.resize(static_cast<std::size_t>(Clamp(newLength, 0, size)));
}

CString operator+(const CString& a, const CString& b) { return Joined(a, b); }
CString operator+(const CString& a, LPCTSTR b) { return Joined(a, b); }
CString operator+(LPCTSTR a, const CString& b) { return Joined(CString(a), b); }
CString operator+(const CString& a, TCHAR b) { return Joined(a, b); }
CString operator+(TCHAR a, const CString& b) { return Joined(CString(a, 1), b); }
