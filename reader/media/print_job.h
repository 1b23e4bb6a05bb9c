// What the media screens' printers share: starting the job (printed, or
// previewed in the reader's preview view) and the page header.
#pragma once

#include "framework.h"

namespace media {

// Prints the view's pages through the class library's loop, or previews
// them; a preview that cannot start says so.
void PrintOrPreview(CView& view, BOOL preview);

// The page header: `title` at the left of the page's top, "Page n" at its
// right, and a rule `gap` below text `textHeight` high; gives back the
// rule's y. The text is aligned left and top afterwards.
int DrawPageHeader(CDC* dc, const CRect& page, const CString& title, UINT pageNumber, int textHeight, int gap);

}  // namespace media
