// CViewPicture: the media screen's view, made by the main frame on first use (child id 105, clipping its children).
// This is the screen's start: it takes its place in the frame, shows the background, accepts the messages the frame
// sends it, goes to an item, plays an item's sound and takes a picture's palette; the media gallery grows from here.
#pragma once

#include "framework.h"
#include "reader_screen.h"

class CViewPicture : public CView, public ReaderScreen {
  DECLARE_DYNCREATE(CViewPicture)
 public:
  void OnDraw(CDC* pDC) override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

  // Shows item n of the media list (0-based); `flags` is 0.
  void GoToItem(int item, int flags);
  int GetCurrentItem() const { return m_item; }
  // The sound command: plays the current item's sound, or stops the one playing.
  void OnSound();
  BOOL IsSoundPlaying() const { return m_bSoundPlaying; }
  // Takes a new picture's palette and hands it to the view's children.
  void SetPalette(CPalette* palette);
  CPalette* GetPalette() const { return m_pPalette; }

 protected:
  LRESULT OnBitsChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowResults(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowContents(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowBookmarks(WPARAM wParam, LPARAM lParam);
  LRESULT OnFontsChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CMenu m_menu;
  int m_item = 4095;  // none shown yet
  BOOL m_bSoundPlaying = FALSE;
  CPalette* m_pPalette = nullptr;
};
