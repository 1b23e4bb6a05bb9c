#include "media/print_job.h"

#include "display/preview_view.h"

namespace media {

void PrintOrPreview(CView& view, BOOL preview) {
  if (!preview) {
    view.OnFilePrint();
    return;
  }
  auto* state = new CPrintPreviewState;
  if (!view.DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, &view, RUNTIME_CLASS(CQVEPreviewView), state)) {
    delete state;
    AfxMessageBox(AFX_IDP_COMMAND_FAILURE);
  }
}

int DrawPageHeader(CDC* dc, const CRect& page, const CString& title, UINT pageNumber, int textHeight, int gap) {
  dc->SetTextAlign(TA_LEFT | TA_TOP);
  dc->TextOut(page.left, page.top, title);
  CString number;
  number.Format("Page %u", pageNumber);
  dc->SetTextAlign(TA_RIGHT | TA_TOP);
  dc->TextOut(page.right, page.top, number);
  dc->SetTextAlign(TA_LEFT | TA_TOP);
  const int rule = page.top + textHeight + gap;
  dc->MoveTo(page.left, rule);
  dc->LineTo(page.right, rule);
  return rule;
}

}  // namespace media
