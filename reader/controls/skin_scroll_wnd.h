// Two plain child windows with the skinned scroll bar that scroll their
// content themselves: CSkinScrollWnd shows one tall bitmap (the dictionary's
// pronunciation key) and scrolls it by pixels; CListWnd is a scrolling column
// of bitmap sliders, one per string, scrolled by rows.
#pragma once

#include "controls/skin_bar_host.h"
#include "controls/slider_wnd.h"

// What the pronunciation-key window needs of the dictionary screen above it.
class CDictionaryModeSource {
 public:
  virtual ~CDictionaryModeSource() = default;
  virtual int GetDictionaryMode() = 0;
};

// Scrolls by pixels: a tenth of the window a line, three quarters a page.
class CSkinScrollWnd : public CWnd, public CSkinBarHost {
 public:
  CSkinScrollWnd();
  BOOL Create(const RECT& rect, CWnd* parent, UINT controlId);
  int Scroll(int code, int position) override;
  int SetPosition(int newPos, BOOL redraw) override;
  UINT GetContentId() const { return m_contentId; }
  CSize GetContentSize() const { return m_contentSize; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  CBitmap m_content;
  CSize m_contentSize;
  UINT m_contentId = 0;
};

class CListWnd : public CWnd, public CSkinBarHost {
 public:
  CListWnd();
  ~CListWnd() override;
  BOOL Create(const RECT& rect, CWnd* parent, UINT controlId, const CStringArray& strings, int type);
  int SetPosition(int newPos, BOOL redraw) override;
  int GetCount() const { return m_sliders.GetSize(); }
  CSliderWnd* GetSlider(int index) const { return static_cast<CSliderWnd*>(m_sliders[index]); }
  int GetRowHeight() const { return m_rowHeight; }
  int GetRowsPerPage() const { return m_bar.m_page; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void DeleteSliders();

  int m_type = 0;
  CPtrArray m_sliders;
  int m_rowHeight = 0;
};
