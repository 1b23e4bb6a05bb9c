// CVeldrixDoc: the one document of the reader, shared by all six screens. It
// has no data of its own; closing the main window asks it whether to end the
// program, and on the way out the bookmarks are saved.
#pragma once

#include "framework.h"

class CVeldrixDoc : public CDocument {
  DECLARE_DYNCREATE(CVeldrixDoc)
 public:
  BOOL SaveModified() override;
};
