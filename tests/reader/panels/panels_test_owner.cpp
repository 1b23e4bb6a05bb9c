#include "panels_test_owner.h"

#include <deque>

#include "panels/folder_dlgs.h"

namespace paneltest {

TestOwner::TestOwner() {
  CreateEx(0, nullptr, "panel owner", WS_OVERLAPPED | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 640, 480, nullptr, nullptr);
}

TestOwner::~TestOwner() { DestroyWindow(); }

namespace {

std::deque<DialogStep> g_steps;
int g_ran = 0;

BOOL CALLBACK ActOnDialog(HWND window, LPARAM) {
  auto* dialog = dynamic_cast<CFolderDialog*>(CWnd::FromHandlePermanent(window));
  if (dialog == nullptr || !::IsWindowVisible(window) || !::IsWindowEnabled(window)) return TRUE;
  DialogStep step = std::move(g_steps.front());
  g_steps.pop_front();
  ++g_ran;
  step(*dialog);
  return FALSE;
}

void CALLBACK OnStepTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_steps.empty()) ::EnumThreadWindows(::GetCurrentThreadId(), ActOnDialog, 0);
}

}  // namespace

int WithDialogSteps(std::vector<DialogStep> steps, const std::function<void()>& command) {
  g_steps.assign(steps.begin(), steps.end());
  g_ran = 0;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, OnStepTimer);
  command();
  ::KillTimer(nullptr, timer);
  g_steps.clear();
  return g_ran;
}

DialogStep TypeNameAndOk(const char* name) {
  const CString text(name);
  return [text](CDialog& dialog) {
    dialog.SetDlgItemText(IDC_FOLDER_NAME, text);
    dialog.PostMessage(WM_COMMAND, IDOK);
  };
}

DialogStep Cancel() {
  return [](CDialog& dialog) { dialog.PostMessage(WM_COMMAND, IDCANCEL); };
}

void Notify(CWnd& parent, UINT id, UINT code) {
  parent.SendMessage(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(::GetDlgItem(parent.m_hWnd, id)));
}

void Click(CWnd& parent, UINT id) { Notify(parent, id, BN_CLICKED); }

}  // namespace paneltest
