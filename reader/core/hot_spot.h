// Hot spots: the clickable areas of a picture of the media store. A picture
// carries records of one shape, named by its region kind, after its pixel
// block (little-endian, no alignment):
//   1 rectangle: u16 id; byte key; u16 left, top, right, bottom
//   2 polygon with rectangle: u16 id; u16 n; n x (u16 x, u16 y); u16 left, top, right, bottom
//   3 labelled polygon: u16 id; u16 L; L label bytes; u16 n; n x (u16 x, u16 y)
//   4 key with label: u16 id; byte key; u16 L; L label bytes
// Coordinates are picture pixels. Polygons are filled by the even-odd rule.
#pragma once

#include <vector>

#include "afx_core.h"
#include "zorlre/re_types.h"

#if defined(_WIN32)
#include "framework.h"
#endif

// A read position in a picture's hot-spot records that never passes their end.
class HotSpotCursor {
 public:
  HotSpotCursor(const u8* data, u32 size) : at_(data), end_(data + size) {}
  bool ReadByte(u8& value);
  bool ReadWord(u16& value);
  bool ReadText(u16 length, CString& text);
  u32 Remaining() const { return static_cast<u32>(end_ - at_); }

 private:
  const u8* at_;
  const u8* end_;
};

class CHotSpot : public CObject {
 public:
  // TRUE when a click at (x, y) or the key press `key` hits the area.
  virtual BOOL HitTest(int x, int y, char key) = 0;
#if defined(_WIN32)
  // Marks the area on the picture; a second call takes the mark off. An
  // area reached by its key alone has no mark.
  virtual void Highlight(CDC*) {}
#endif
  // The area's label, or null for shapes without one.
  virtual CString* GetLabel() { return nullptr; }
  // Reads the record at the cursor (the id, then the shape's fields). FALSE
  // when the record runs past the end of the data.
  virtual BOOL Read(HotSpotCursor& cursor);

  WORD GetId() const { return m_id; }

 protected:
  WORD m_id = 0;
};

// An area of any polygon: the points and the even-odd test of a pixel.
class HotSpotPolygon {
 public:
  BOOL Read(HotSpotCursor& cursor);
  // The pixel (x, y) lies inside when its centre does.
  bool Contains(int x, int y) const;
  const std::vector<POINT>& Points() const { return points_; }

 private:
  std::vector<POINT> points_;
};

class CRectHotSpot : public CHotSpot {
 public:
  BOOL HitTest(int x, int y, char key) override;
#if defined(_WIN32)
  void Highlight(CDC* dc) override;
#endif
  BOOL Read(HotSpotCursor& cursor) override;

 private:
  char m_key = 0;
  RECT m_rect = {0, 0, 0, 0};
};

// The areas drawn as a polygon: marked by a frame around it.
class CPolygonHotSpot : public CHotSpot {
 public:
#if defined(_WIN32)
  void Highlight(CDC* dc) override;
#endif

 protected:
  HotSpotPolygon m_polygon;
};

class CPolyRectHotSpot : public CPolygonHotSpot {
 public:
  BOOL HitTest(int x, int y, char key) override;
  BOOL Read(HotSpotCursor& cursor) override;

 private:
  RECT m_rect = {0, 0, 0, 0};
};

class CPolyHotSpot : public CPolygonHotSpot {
 public:
  BOOL HitTest(int x, int y, char key) override;
  CString* GetLabel() override { return &m_label; }
  BOOL Read(HotSpotCursor& cursor) override;

 private:
  CString m_label;
};

class CKeyHotSpot : public CHotSpot {
 public:
  BOOL HitTest(int x, int y, char key) override;
  CString* GetLabel() override { return &m_label; }
  BOOL Read(HotSpotCursor& cursor) override;

 private:
  char m_key = 0;
  CString m_label;
};

// A new hot spot of the region kind's class (1-4), or null for another kind.
CHotSpot* NewHotSpot(int regionKind);
// Deletes every hot spot of the list and empties it.
void RemoveHotSpots(CObArray& list);
// Reads the u16 count and the records of a picture's regions into the list
// (emptied first), in order. FALSE, with the list empty, when the records run
// past the data.
BOOL ReadHotSpots(int regionKind, const u8* data, u32 size, CObArray& list);
