#include "test_app.h"

#include <gtest/gtest.h>

#include "ui_harness.h"

namespace {

CTestApp theApp;

const bool boxesFail = (ui::FailUnexpectedMessageBoxes(), true);

}  // namespace

CTestApp& TestApp() { return theApp; }

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_SAMPLE_SECOND, OnSampleSecond)
END_MESSAGE_MAP()

BOOL CTestApp::CreatePrinterDC(CDC& dc) {
  if (m_printerPage.cx <= 0 || m_printerPage.cy <= 0) return FALSE;
  return dc.Attach(CreateMemoryDC(m_printerPage.cx, m_printerPage.cy));
}

HDC CreateMemoryDC(int width, int height) {
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  ::ReleaseDC(nullptr, screen);
  ::SelectObject(dc, bitmap);
  ::PatBlt(dc, 0, 0, width, height, WHITENESS);
  return dc;
}

void DeleteMemoryDC(HDC dc) {
  HGDIOBJ bitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
  ::DeleteDC(dc);
  ::DeleteObject(bitmap);
}
