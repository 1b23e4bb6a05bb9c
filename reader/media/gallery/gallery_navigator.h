// CGalleryNavigator: the media gallery's way through its items. It holds
// the current item, the back list, and the set that Next, Previous and the
// slide show walk (every item with an article, or the subject panel's shown
// set while a slide show runs from it); the gallery routes the Back, Next,
// Previous and Slide Show commands here and shows what it moves to.
//
// A media item is the 0-based rank of its article among the set articles of
// Mult.bit; NoItem (4095) means that none has been shown yet.
#pragma once

#include "core/bit_string.h"
#include "framework.h"
#include "media/gallery/gallery_part.h"

class CGalleryNavigator : public CCmdTarget {
 public:
  static constexpr int NoItem = 4095;
  static constexpr UINT SlideTimer = 1;

  explicit CGalleryNavigator(GalleryPartOwner& view) : m_view(view) {}

  // Starts over: no item, nothing to go back to, no slide show.
  void Reset();
  int GetItem() const { return m_item; }
  // The article of the current item (0 when none).
  int CurrentArticle() const;
  const CWordArray& GetBackList() const { return m_backList; }
  const CBitString& GetSelection() const { return m_selection; }
  BOOL IsSlideShowRunning() const { return m_slideTimer != 0; }

  // Shows item `index`: pop 0 pushes the current one on the back list, pop 1
  // drops the last back-list entry.
  void GoTo(int index, int pop);
  // Shows `item` with the current one pushed on the back list.
  void MoveTo(int item);
  // Shows the first item: `item` unless one is shown already.
  void ShowFirst(int item);
  // The slide show's timer went off: the next item of the set.
  void OnSlideTimer();
  void StopSlideShow();
  // The timer stops and starts again (Preferences may change the delay); the
  // slide show stays on.
  void PauseSlideShow();
  void ResumeSlideShow();

 protected:
  void PushCurrent();
  void SetBackEnabled(BOOL enable);
  void SelectAll();
  void StartTimer();

  void OnBack();
  void OnUpdateBack(CCmdUI* pCmdUI);
  void OnNext();
  void OnPrevious();
  void OnSlideShow();
  DECLARE_MESSAGE_MAP()

 private:
  GalleryPartOwner& m_view;
  int m_item = NoItem;
  CWordArray m_backList;
  CBitString m_selection;
  UINT m_slideTimer = 0;
  BOOL m_bSlideShow = FALSE;  // the running mark (kept while Preferences runs)
};
