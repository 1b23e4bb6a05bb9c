#include "dictionary/dict_modes.h"

#include "controls/flat_edit.h"
#include "controls/od_button.h"
#include "controls/plain_list_box.h"
#include "controls/scroll_list_box.h"
#include "dictionary/dict_panels.h"
#include "dictionary/dict_shared_windows.h"
#include "display/display.h"
#include "panels/command_routing.h"
#include "panels/tool_panel_host.h"
#include "reader/dictionary_ids.h"

namespace {

struct ModeInfo {
  UINT menuItem;
  UINT button;
  UINT lookUpBitmap;
};

constexpr ModeInfo kModes[dict::kModeCount] = {
    {ID_DICT_MODE_THESAURUS, IDC_DICT_THESAURUS, IDB_DICT_LOOK_UP_THESAURUS},
    {ID_DICT_MODE_FRENCH_ENGLISH, IDC_DICT_FRENCH_ENGLISH, IDB_DICT_TRANSLATE},
    {ID_DICT_MODE_ENGLISH_FRENCH, IDC_DICT_ENGLISH_FRENCH, IDB_DICT_TRANSLATE},
    {ID_DICT_MODE_DICTIONARY, IDC_DICT_DICTIONARY, IDB_DICT_LOOK_UP},
    {ID_DICT_MODE_DICTIONARY_THESAURUS, IDC_DICT_DICTIONARY_THESAURUS, IDB_DICT_LOOK_UP},
    {ID_DICT_MODE_CONTENTS, IDC_DICT_CONTENTS, 0},
    {ID_DICT_MODE_SMART, IDC_DICT_SMART_SEARCH, 0},
    {ID_DICT_MODE_BOOLEAN, IDC_DICT_BOOLEAN_SEARCH, 0},
    {ID_DICT_BOOKMARK_LIST, IDC_DICT_BOOKMARKS, 0},
};

int ModeOfCommand(UINT id) {
  for (int mode = 0; mode < dict::kModeCount; ++mode)
    if (kModes[mode].menuItem == id || kModes[mode].button == id) return mode;
  return -1;
}

}  // namespace

// The mode table names every command: a mode's button and menu item switch
// to it (Contents and the bookmark list open through the tool panel host,
// which opens them on every screen), and the menu item is checked in its mode.
BOOL CDictModes::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  const int mode = ModeOfCommand(nID);
  if (mode < 0) return FALSE;
  if (nCode == CN_UPDATE_COMMAND_UI) {
    if (kModes[mode].menuItem != nID) return FALSE;
    if (pHandlerInfo == nullptr) {
      auto* cmdUI = static_cast<CCmdUI*>(pExtra);
      cmdUI->m_bContinueRouting = FALSE;
      cmdUI->SetCheck(mode == m_mode);
      return !cmdUI->m_bContinueRouting;
    }
  } else if (nCode != CN_COMMAND) {
    return FALSE;
  }
  if (panels::AnswerHandlerQuery(this, pHandlerInfo)) return TRUE;
  ToolPanelHost* host = GetToolPanelHost();
  if (mode == dict::kContents) {
    if (host != nullptr) host->OpenContents();
  } else if (mode == dict::kBookmarks) {
    if (host != nullptr) host->OpenBookmarks();
  } else if (mode <= dict::kDictionaryThesaurus) {
    Switch(mode);
  } else {
    SwitchShared(mode);
  }
  return TRUE;
}

void CDictModes::Apply() {
  ApplyButtons();
  ShowControls();
}

void CDictModes::ApplyButtons() {
  const int current = m_mode;
  for (int mode = 0; mode < dict::kModeCount; ++mode) {
    CODButton* button = m_view.Button(kModes[mode].button);
    if (button == nullptr) continue;
    if (mode <= dict::kDictionaryThesaurus) {
      button->EnableWindow(mode != current);
    } else {
      button->SetCheck(mode == current ? 1 : 0);
    }
  }
  m_view.EnablePrintSave(FALSE);
}

void CDictModes::ShowControls() {
  const int mode = m_mode;
  const bool wordModes = mode <= dict::kDictionaryThesaurus;
  const int wordShow = wordModes ? SW_SHOW : SW_HIDE;
  m_view.WordEdit().ShowWindow(wordShow);
  for (UINT id : {IDC_DICT_LOOK_UP, IDC_DICT_SEARCH, IDC_DICT_ANAGRAM, IDC_DICT_WILDCARD})
    if (CODButton* b = m_view.Button(id)) b->ShowWindow(wordShow);
  if (CODButton* conjugate = m_view.Button(IDC_DICT_CONJUGATE))
    conjugate->ShowWindow(mode == dict::kFrenchEnglish ? SW_SHOW : SW_HIDE);
  if (wordModes && kModes[mode].lookUpBitmap != 0) {
    if (CODButton* lookUp = m_view.Button(IDC_DICT_LOOK_UP)) lookUp->SetBitmap(kModes[mode].lookUpBitmap, TRUE);
  }
  m_view.ConjugationWindow().ShowWindow(SW_HIDE);
  CDisplay& display = m_view.Display();
  CDictListBox& thesaurus = m_view.ThesaurusList();
  const dict::ScreenLayout& layout = m_view.Layout();
  if (mode == dict::kThesaurus) {
    display.ShowWindow(SW_HIDE);
    thesaurus.ResetContent();
    thesaurus.MoveWindow(&layout.display);
    thesaurus.ShowWindow(SW_SHOW);
  } else if (mode == dict::kDictionaryThesaurus) {
    display.MoveWindow(&layout.upper);
    display.ShowWindow(SW_SHOW);
    thesaurus.ResetContent();
    thesaurus.MoveWindow(&layout.lower);
    thesaurus.ShowWindow(SW_SHOW);
  } else {
    thesaurus.ShowWindow(SW_HIDE);
    display.MoveWindow(&layout.display);
    display.ShowWindow(SW_SHOW);
  }
}

void CDictModes::Switch(int mode) {
  const int previous = m_mode;
  if (mode == previous) return;
  CWaitCursor wait;
  CView& view = m_view.View();
  view.SetRedraw(FALSE);
  if (mode == dict::kDictionary || mode == dict::kDictionaryThesaurus) {
    if (previous <= dict::kEnglishFrench) m_view.ClearEntry();
  } else {
    m_view.ClearEntry();  // stores the notes of a main-database entry first
  }
  m_mode = mode;
  ApplyButtons();
  m_view.SharedWindows().CloseAll(-1);
  m_view.Panels().CloseAll();
  m_view.Panels().OpenForMode(mode);
  ShowControls();
  view.SetRedraw(TRUE);
  view.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  m_view.UpdateWordButtons();
  m_view.WordEdit().SetFocus();
}

void CDictModes::SwitchShared(int mode) {
  CDictSharedWindows& shared = m_view.SharedWindows();
  if (shared.RefreshOpen(mode)) return;
  CWaitCursor wait;
  if (mode != m_mode) {
    if (m_mode < dict::kDictionary) m_view.ClearEntry();
    m_mode = mode;
    ApplyButtons();
    for (int word = 0; word <= dict::kDictionaryThesaurus; ++word)
      if (CODButton* button = m_view.Button(kModes[word].button)) button->EnableWindow(TRUE);
    shared.CloseAll(mode);
    m_view.Panels().CloseAll();
    ShowControls();
    CView& view = m_view.View();
    CFrameWnd* frame = view.GetParentFrame();
    if (frame != nullptr && frame->GetActiveView() == &view) {
      view.Invalidate();
      view.UpdateWindow();
    }
  }
  m_view.Panels().Close(dict::kKeyPanel);
  shared.Open(mode);
}
