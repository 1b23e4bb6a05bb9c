#include "media/gallery/gallery_navigator.h"

#include <algorithm>

#include "controls/od_button.h"
#include "core/reader_context.h"
#include "media/gallery/gallery_tools.h"
#include "media/media_logic.h"
#include "reader/media_ids.h"
#include "settings/settings.h"

BEGIN_MESSAGE_MAP(CGalleryNavigator, CCmdTarget)
ON_COMMAND(ID_MEDIA_BACK, OnBack)
ON_BN_CLICKED(IDC_MEDIA_BACK, OnBack)
ON_UPDATE_COMMAND_UI(ID_MEDIA_BACK, OnUpdateBack)
ON_COMMAND(ID_MEDIA_REWIND, OnPrevious)
ON_BN_CLICKED(IDC_MEDIA_PREVIOUS, OnPrevious)
ON_COMMAND(ID_MEDIA_SLIDE_SHOW, OnSlideShow)
ON_BN_CLICKED(IDC_MEDIA_SLIDE_SHOW, OnSlideShow)
ON_COMMAND(ID_MEDIA_FORWARD, OnNext)
ON_BN_CLICKED(IDC_MEDIA_NEXT, OnNext)
END_MESSAGE_MAP()

void CGalleryNavigator::Reset() {
  SelectAll();
  m_item = NoItem;
  m_slideTimer = 0;
  m_bSlideShow = FALSE;
}

void CGalleryNavigator::SelectAll() {
  m_selection = Reader().m_multBits;
  m_selection.And(Reader().m_allArticles);
}

int CGalleryNavigator::CurrentArticle() const {
  if (m_item < 0 || m_item == NoItem) return 0;
  const int article = Reader().m_multBits.GetAt(m_item + 1);
  return article > 0 ? article : 0;
}

void CGalleryNavigator::SetBackEnabled(BOOL enable) {
  m_view.GetButton(IDC_MEDIA_BACK).EnableWindow(enable);
  m_view.EnableMenu(ID_MEDIA_BACK, enable);
}

void CGalleryNavigator::PushCurrent() {
  // Before the first item there is nothing to go back to (the gallery opened
  // from another screen shows that screen's item first).
  if (m_item == NoItem) return;
  m_backList.Add(static_cast<WORD>(m_item));
  SetBackEnabled(TRUE);
}

void CGalleryNavigator::GoTo(int index, int pop) {
  if (pop == 0) {
    PushCurrent();
  } else if (m_backList.GetSize() > 0) {
    m_backList.RemoveAt(m_backList.GetSize() - 1);
    if (m_backList.GetSize() == 0) SetBackEnabled(FALSE);
  }
  m_item = index;
  m_view.ShowCurrentItem();
}

void CGalleryNavigator::MoveTo(int item) {
  PushCurrent();
  m_item = item;
  m_view.ShowCurrentItem();
}

void CGalleryNavigator::ShowFirst(int item) {
  if (m_item == NoItem) m_item = item;
  m_view.ShowCurrentItem();
}

void CGalleryNavigator::OnBack() {
  if (m_backList.GetSize() == 0) return;
  GoTo(m_backList[m_backList.GetSize() - 1], 1);
}

void CGalleryNavigator::OnUpdateBack(CCmdUI* pCmdUI) { pCmdUI->Enable(m_backList.GetSize() > 0); }

void CGalleryNavigator::OnNext() {
  StopSlideShow();
  const int next = media_logic::NextItem(Reader().m_multBits, m_selection, CurrentArticle());
  if (next >= 0) MoveTo(next);
}

void CGalleryNavigator::OnPrevious() {
  StopSlideShow();
  const int previous = media_logic::PreviousItem(Reader().m_multBits, m_selection, CurrentArticle());
  if (previous >= 0) MoveTo(previous);
}

void CGalleryNavigator::OnSlideTimer() {
  const int next = media_logic::NextItem(Reader().m_multBits, m_selection, CurrentArticle());
  if (next >= 0) MoveTo(next);
}

void CGalleryNavigator::StartTimer() {
  const int delay = GetSettingInt(InstallationOptions, "SlideShowDelay", 5, SettingsIniName);
  m_slideTimer =
      static_cast<UINT>(m_view.View().SetTimer(SlideTimer, static_cast<UINT>(std::max(delay, 1)) * 1000u, nullptr));
}

void CGalleryNavigator::PauseSlideShow() {
  if (m_slideTimer) m_view.View().KillTimer(SlideTimer);
  m_slideTimer = 0;
}

void CGalleryNavigator::ResumeSlideShow() {
  if (m_bSlideShow) StartTimer();
}

void CGalleryNavigator::StopSlideShow() {
  if (!m_bSlideShow && !m_slideTimer) return;
  PauseSlideShow();
  m_bSlideShow = FALSE;
  SelectAll();
  m_view.SetButtonBitmap(IDC_MEDIA_SLIDE_SHOW, IDB_SLIDE_SHOW);
  m_view.SetMenuText(ID_MEDIA_SLIDE_SHOW, "&Slide Show");
}

void CGalleryNavigator::OnSlideShow() {
  if (!Reader().GetDatabase(1).OpenMediaData()) return;
  if (m_bSlideShow) {
    StopSlideShow();
    return;
  }
  m_view.SetButtonBitmap(IDC_MEDIA_SLIDE_SHOW, IDB_SLIDE_SHOW_RUNNING);
  m_view.SetMenuText(ID_MEDIA_SLIDE_SHOW, "Stop &Slide Show");
  if (!m_view.GetTools().GetShownSet(m_selection)) SelectAll();
  m_bSlideShow = TRUE;
  const int next = media_logic::NextItem(Reader().m_multBits, m_selection, CurrentArticle());
  if (next >= 0) MoveTo(next);
  StartTimer();
  BYTE type = 0;
  WORD sound = 0xFFFF;
  CString title;
  CDWordArray articles;
  if (m_view.ReadItem(m_item, type, sound, title, articles) && type == 1 && sound != 0xFFFF && !m_view.IsSoundPlaying())
    m_view.View().PostMessage(WM_COMMAND, ID_MEDIA_SOUND);
}
