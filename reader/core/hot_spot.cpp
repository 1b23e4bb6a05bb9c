#include "core/hot_spot.h"

#include "core/content_file.h"

bool HotSpotCursor::ReadByte(u8& value) {
  if (Remaining() < 1) return false;
  value = *at_++;
  return true;
}

bool HotSpotCursor::ReadWord(u16& value) {
  if (Remaining() < 2) return false;
  value = ContentU16(at_);
  at_ += 2;
  return true;
}

bool HotSpotCursor::ReadText(u16 length, CString& text) {
  if (Remaining() < length) return false;
  text = length ? CString(reinterpret_cast<const char*>(at_), length) : CString();
  at_ += length;
  return true;
}

namespace {

bool ReadRect(HotSpotCursor& cursor, RECT& rect) {
  u16 left, top, right, bottom;
  if (!cursor.ReadWord(left) || !cursor.ReadWord(top) || !cursor.ReadWord(right) || !cursor.ReadWord(bottom))
    return false;
  rect = {left, top, right, bottom};
  return true;
}

bool InRect(const RECT& rect, int x, int y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

}  // namespace

BOOL CHotSpot::Read(HotSpotCursor& cursor) { return cursor.ReadWord(m_id) ? TRUE : FALSE; }

BOOL HotSpotPolygon::Read(HotSpotCursor& cursor) {
  u16 count;
  if (!cursor.ReadWord(count) || cursor.Remaining() / 4 < count) return FALSE;
  points_.resize(count);
  for (POINT& point : points_) {
    u16 x = 0, y = 0;
    cursor.ReadWord(x);
    cursor.ReadWord(y);
    point = {x, y};
  }
  return TRUE;
}

bool HotSpotPolygon::Contains(int x, int y) const {
  // Even-odd rule: count the edges that a ray from the pixel's centre to the
  // right crosses. Coordinates are doubled so the centre is whole.
  const long long px = 2ll * x + 1, py = 2ll * y + 1;
  bool inside = false;
  const size_t count = points_.size();
  for (size_t i = 0, j = count - 1; i < count; j = i++) {
    const long long xi = 2ll * points_[i].x, yi = 2ll * points_[i].y;
    const long long xj = 2ll * points_[j].x, yj = 2ll * points_[j].y;
    if ((yi > py) == (yj > py)) continue;
    // The edge's x at the ray's height, compared without division.
    const long long dy = yj - yi;
    const long long lhs = (px - xi) * dy, rhs = (xj - xi) * (py - yi);
    if (dy > 0 ? lhs < rhs : lhs > rhs) inside = !inside;
  }
  return inside;
}

BOOL CRectHotSpot::HitTest(int x, int y, char key) {
  return (InRect(m_rect, x, y) || (key != 0 && key == m_key)) ? TRUE : FALSE;
}

BOOL CRectHotSpot::Read(HotSpotCursor& cursor) {
  u8 key;
  if (!CHotSpot::Read(cursor) || !cursor.ReadByte(key) || !ReadRect(cursor, m_rect)) return FALSE;
  m_key = static_cast<char>(key);
  return TRUE;
}

BOOL CPolyRectHotSpot::HitTest(int x, int y, char) {
  return (m_polygon.Contains(x, y) || InRect(m_rect, x, y)) ? TRUE : FALSE;
}

BOOL CPolyRectHotSpot::Read(HotSpotCursor& cursor) {
  return (CHotSpot::Read(cursor) && m_polygon.Read(cursor) && ReadRect(cursor, m_rect)) ? TRUE : FALSE;
}

BOOL CPolyHotSpot::HitTest(int x, int y, char) { return m_polygon.Contains(x, y) ? TRUE : FALSE; }

BOOL CPolyHotSpot::Read(HotSpotCursor& cursor) {
  u16 length;
  return (CHotSpot::Read(cursor) && cursor.ReadWord(length) && cursor.ReadText(length, m_label) &&
          m_polygon.Read(cursor))
             ? TRUE
             : FALSE;
}

BOOL CKeyHotSpot::HitTest(int, int, char key) { return (key != 0 && key == m_key) ? TRUE : FALSE; }

BOOL CKeyHotSpot::Read(HotSpotCursor& cursor) {
  u8 key;
  u16 length;
  if (!CHotSpot::Read(cursor) || !cursor.ReadByte(key) || !cursor.ReadWord(length) || !cursor.ReadText(length, m_label))
    return FALSE;
  m_key = static_cast<char>(key);
  return TRUE;
}

CHotSpot* NewHotSpot(int regionKind) {
  switch (regionKind) {
    case 1: return new CRectHotSpot;
    case 2: return new CPolyRectHotSpot;
    case 3: return new CPolyHotSpot;
    case 4: return new CKeyHotSpot;
    default: return nullptr;
  }
}

void RemoveHotSpots(CObArray& list) {
  for (int i = 0; i < list.GetSize(); ++i) delete list[i];
  list.RemoveAll();
}

BOOL ReadHotSpots(int regionKind, const u8* data, u32 size, CObArray& list) {
  RemoveHotSpots(list);
  HotSpotCursor cursor(data, size);
  u16 count;
  if (regionKind < 1 || regionKind > 4 || !cursor.ReadWord(count)) return FALSE;
  for (u16 i = 0; i < count; ++i) {
    CHotSpot* spot = NewHotSpot(regionKind);
    if (!spot->Read(cursor)) {
      delete spot;
      RemoveHotSpots(list);
      return FALSE;
    }
    list.Add(spot);
  }
  return TRUE;
}
