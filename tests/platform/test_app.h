// The application object of the framework tests, and a helper that destroys a
// window the test made if the test left it behind.
#pragma once

#include "framework.h"
#include "sample/sample_ids.h"

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("Framework Tests") {}
  // A "printer" for previews and print jobs: a memory DC of this page size,
  // or none (like a machine without printers) when the size is empty.
  CSize m_printerPage = CSize(0, 0);
  BOOL CreatePrinterDC(CDC& dc) override;
  // What the start and the end of the program did (AfxWinMain).
  BOOL m_bInitResult = TRUE;
  int m_nInits = 0, m_nExits = 0, m_nIdles = 0;
  BOOL InitInstance() override {
    ++m_nInits;
    return m_bInitResult;
  }
  int ExitInstance() override {
    ++m_nExits;
    return 3;
  }
  BOOL m_bQuitWhenIdle = FALSE;
  BOOL OnIdle(LONG lCount) override {
    if (lCount == 0) ++m_nIdles;
    if (m_bQuitWhenIdle) {
      m_bQuitWhenIdle = FALSE;
      ::PostQuitMessage(0);
    }
    return CWinApp::OnIdle(lCount);
  }
  // Records the commands that reach the application.
  CUIntArray m_commands;
  void OnAppAbout() { m_commands.Add(ID_APP_ABOUT); }
  void OnSampleSecond() { m_commands.Add(ID_SAMPLE_SECOND); }
  DECLARE_MESSAGE_MAP()
};

CTestApp& TestApp();

// A memory DC of the given size with a white bitmap selected (the caller
// deletes both: DeleteMemoryDC).
HDC CreateMemoryDC(int width, int height);
void DeleteMemoryDC(HDC dc);
