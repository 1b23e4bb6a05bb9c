// REFRESH32's application object: runs the updater dialog as its main window;
// the program ends when the dialog does.
#pragma once

#include "framework.h"

class CUpdaterApp : public CWinApp {
 public:
  CUpdaterApp();
  BOOL InitInstance() override;
};
