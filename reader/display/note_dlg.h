// CNoteDlg: shows and edits the text of one note of a formatted-text display,
// in the colours and button bitmaps of that display's skin (encyclopedia,
// timeline, or else the dictionary), headed "Article Note" and the title of
// the entry its screen shows.
#pragma once

#include "controls/flat_edit.h"
#include "controls/note_icon.h"
#include "controls/od_button.h"
#include "controls/skin_static.h"
#include "display/display_dialog.h"
#include "framework.h"

class CNoteDlg : public CDisplayDialog {
 public:
  // Controls of the template.
  enum : UINT {
    kTitle = 4184,
    kEdit = 2112,
    kErase = 4183,
    kOk = 4237,
    kCancel = 4235,
    kClose = 1083,
  };
  // The dialog template.
  static constexpr UINT kTemplate = 1080;
  static constexpr int kBandHeight = 23;

  explicit CNoteDlg(CWnd* parent);

  // Runs the dialog over `rect` (screen coordinates) for the note of `icon`.
  INT_PTR DoModalAt(const CRect& rect, CNoteIcon* icon);
  // The skin the dialog of a note icon takes: its display's, the
  // dictionary's without one.
  static int SkinOf(CNoteIcon* icon);
  int GetSkin() const { return m_skin; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnErase();
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  DECLARE_MESSAGE_MAP()

  CRect m_anchor;
  CNoteIcon* m_icon = nullptr;
  int m_skin = kSkinDictionary;
  CODButton m_close;
  CODButton m_erase;
  CODButton m_ok;
  CODButton m_cancel;
  CFlatEdit m_edit;
  CSkinStatic m_title;
};
