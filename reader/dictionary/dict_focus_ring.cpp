#include "dictionary/dict_focus_ring.h"

#include <initializer_list>
#include <vector>

#include "dictionary/dict_panels.h"
#include "dictionary/dict_shared_windows.h"

BEGIN_MESSAGE_MAP(CDictFocusRing, CCmdTarget)
ON_COMMAND(ID_NEXT_PANE, OnNext)
ON_COMMAND(ID_PREV_PANE, OnPrevious)
ON_UPDATE_COMMAND_UI(ID_NEXT_PANE, OnUpdate)
ON_UPDATE_COMMAND_UI(ID_PREV_PANE, OnUpdate)
END_MESSAGE_MAP()

void CDictFocusRing::OnNext() { Cycle(TRUE); }

void CDictFocusRing::OnPrevious() { Cycle(FALSE); }

void CDictFocusRing::OnUpdate(CCmdUI* cmdUI) {
  const HWND focus = ::GetFocus();
  const HWND view = m_view.View().m_hWnd;
  cmdUI->Enable(focus != nullptr && (focus == view || ::IsChild(view, focus)));
}

void CDictFocusRing::Cycle(BOOL forward) {
  std::vector<CWnd*> ring;
  CDictSharedWindows& shared = m_view.SharedWindows();
  CDictPanels& panels = m_view.Panels();
  // The first open shared window, else the key or Tenses panel.
  for (CWnd* window : std::initializer_list<CWnd*>{&shared.Subjects(), &shared.SmartSearch(), &shared.Boolean(),
                                                   &shared.Bookmarks(), &shared.Results(), &shared.Tuner()})
    if (window->GetSafeHwnd() != nullptr && ::IsWindow(window->GetSafeHwnd())) {
      ring.push_back(window);
      break;
    }
  if (ring.empty())
    for (CWordListDlg* panel : {&panels.Of(dict::kKeyPanel), &panels.Of(dict::kTensesPanel)})
      if (panel->IsOpen()) {
        ring.push_back(panel);
        break;
      }
  if (ring.empty())
    for (CWordListDlg* panel :
         {&panels.Of(dict::kHeadwordsPanel), &panels.Of(dict::kSynonymsPanel), &panels.Of(dict::kAlternativesPanel)})
      if (panel->IsOpen()) ring.push_back(panel);
  const HWND focus = ::GetFocus();
  int at = -1;  // -1: the screen itself
  for (std::size_t i = 0; i < ring.size(); ++i)
    if (focus == ring[i]->m_hWnd || ::IsChild(ring[i]->m_hWnd, focus)) at = static_cast<int>(i);
  const int count = static_cast<int>(ring.size());
  int next = forward ? at + 1 : (at < 0 ? count - 1 : at - 1);
  if (next >= count) next = -1;
  if (next < 0) {
    m_view.View().SetFocus();
  } else {
    ring[static_cast<std::size_t>(next)]->SetFocus();
  }
}
