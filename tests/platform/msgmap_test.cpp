// Message maps: window messages reach their handlers with decoded arguments,
// derived maps come before base maps, ranges and private messages dispatch,
// unhandled messages reach the window's own procedure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_app.h"
#include "ui_harness.h"

namespace {

constexpr UINT WM_PRIVATE = 0x3731;

// "text" followed by the numbers, space-separated.
std::string Said(const char* text, long long a) {
  std::string said = text;
  said += ' ';
  said += std::to_string(a);
  return said;
}
std::string Said(const char* text, long long a, long long b) {
  std::string said = Said(text, a);
  said += ' ';
  said += std::to_string(b);
  return said;
}

class CBaseWnd : public CWnd {
 public:
  std::vector<std::string> log;

 protected:
  void OnTimer(UINT nIDEvent) { log.push_back(Said("base timer", nIDEvent)); }
  void OnLButtonDown(UINT, CPoint) { log.push_back("base down"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
ON_WM_TIMER()
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
 public:
  CPoint lastPoint;
  CSize lastSize;
  int created = 0;
  HBRUSH ctlBrush = nullptr;

 protected:
  int OnCreate(LPCREATESTRUCT cs) {
    ++created;
    log.push_back(std::string("create ").append(cs->lpszName == nullptr ? "" : cs->lpszName));
    return CBaseWnd::OnCreate(cs);
  }
  void OnLButtonDown(UINT nFlags, CPoint point) {
    lastPoint = point;
    log.push_back(Said("derived down", nFlags & MK_CONTROL ? 1 : 0));
    CBaseWnd::OnLButtonDown(nFlags, point);
  }
  void OnSize(UINT, int cx, int cy) { lastSize = CSize(cx, cy); }
  LRESULT OnPrivate(WPARAM wParam, LPARAM lParam) {
    log.push_back(Said("private", static_cast<long long>(wParam), lParam));
    return 77;
  }
  void OnHistory(UINT id) { log.push_back(Said("history", id)); }
  void OnButton() { log.push_back("button"); }
  void OnListChange() { log.push_back("list change"); }
  void OnNotifyTest(NMHDR* header, LRESULT* result) {
    log.push_back(Said("notify", static_cast<int>(header->code)));
    *result = 5;
  }
  HBRUSH OnCtlColor(CDC*, CWnd*, UINT nCtlColor) {
    log.push_back(Said("ctlcolor", nCtlColor));
    return ctlBrush;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
ON_WM_CREATE()
ON_WM_LBUTTONDOWN()
ON_WM_SIZE()
ON_WM_CTLCOLOR()
ON_MESSAGE(WM_PRIVATE, OnPrivate)
ON_COMMAND_RANGE(8500, 8998, OnHistory)
ON_BN_CLICKED(10, OnButton)
ON_LBN_SELCHANGE(11, OnListChange)
ON_NOTIFY(-402, 12, OnNotifyTest)
END_MESSAGE_MAP()

class MessageMaps : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "probe", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
  }
  void TearDown() override {
    wnd.DestroyWindow();
    ui::PumpUntilIdle();
  }
  CDerivedWnd wnd;
};

TEST_F(MessageMaps, CreationMessagesReachTheObject) {
  EXPECT_EQ(wnd.created, 1);
  ASSERT_FALSE(wnd.log.empty());
  EXPECT_EQ(wnd.log.front(), "create probe");
  EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
}

TEST_F(MessageMaps, HandlersGetDecodedArgumentsAndDerivedComesFirst) {
  wnd.log.clear();
  wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(-5, 40));
  EXPECT_EQ(wnd.lastPoint, CPoint(-5, 40));  // signed coordinates
  ASSERT_EQ(wnd.log.size(), 2u);
  EXPECT_EQ(wnd.log[0], "derived down 1");
  EXPECT_EQ(wnd.log[1], "base down");  // chained explicitly

  wnd.SendMessage(WM_TIMER, 7);
  EXPECT_EQ(wnd.log.back(), "base timer 7");  // found in the base map

  wnd.MoveWindow(0, 0, 320, 240);
  CRect client;
  wnd.GetClientRect(&client);
  EXPECT_EQ(wnd.lastSize, client.Size());
}

TEST_F(MessageMaps, PrivateMessagesAndTheirResults) {
  EXPECT_EQ(wnd.SendMessage(WM_PRIVATE, 3, -1), 77);
  EXPECT_EQ(wnd.log.back(), "private 3 -1");
  wnd.PostMessage(WM_PRIVATE, 4, 5);
  ui::PumpUntilIdle();
  EXPECT_EQ(wnd.log.back(), "private 4 5");
}

TEST_F(MessageMaps, CommandRangesControlNotificationsAndNotify) {
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(8500, 0));
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(8998, 0));
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(8999, 0));  // outside the range
  CButton button;
  ASSERT_TRUE(button.Create("B", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 40, 20), &wnd, 10));
  button.SendMessage(BM_CLICK);
  // A list box notification with the same id as a command is not the command.
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(11, LBN_SELCHANGE), reinterpret_cast<LPARAM>(button.m_hWnd));
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(11, LBN_DBLCLK), reinterpret_cast<LPARAM>(button.m_hWnd));
  NMHDR header = {button.m_hWnd, 12, static_cast<UINT>(-402)};
  EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 12, reinterpret_cast<LPARAM>(&header)), 5);
  header.code = static_cast<UINT>(-401);  // no handler: result 0
  EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 12, reinterpret_cast<LPARAM>(&header)), 0);

  const std::vector<std::string> expected = {"history 8500", "history 8998", "button", "list change", "notify -402"};
  std::vector<std::string> tail(wnd.log.end() - 5, wnd.log.end());
  EXPECT_EQ(tail, expected);
}

TEST_F(MessageMaps, EveryControlColourMessageReachesOneHandlerWithItsKind) {
  CBrush brush(RGB(1, 2, 3));
  wnd.ctlBrush = brush;
  HDC dc = ::GetDC(wnd.m_hWnd);
  EXPECT_EQ(wnd.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc)),
            reinterpret_cast<LRESULT>(brush.m_hObject));
  EXPECT_EQ(wnd.log.back(), Said("ctlcolor", CTLCOLOR_STATIC));
  wnd.SendMessage(WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc));
  EXPECT_EQ(wnd.log.back(), Said("ctlcolor", CTLCOLOR_LISTBOX));
  ::ReleaseDC(wnd.m_hWnd, dc);
}

TEST_F(MessageMaps, UnhandledMessagesGoToTheWindowProcedure) {
  wnd.SetWindowText("changed");
  CString text;
  wnd.GetWindowText(text);
  EXPECT_STREQ(text, "changed");  // WM_SETTEXT / WM_GETTEXT by DefWindowProc
}

// A subclassed control keeps its own behaviour and gets our handlers first.
class CCountingEdit : public CEdit {
 public:
  int chars = 0;

 protected:
  void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    ++chars;
    if (nChar != 'x') CEdit::OnChar(nChar, nRepCnt, nFlags);  // swallow 'x'
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountingEdit, CEdit)
ON_WM_CHAR()
END_MESSAGE_MAP()

TEST_F(MessageMaps, SubclassedControlKeepsItsBehaviourAndUnsubclassRestoresIt) {
  HWND edit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, wnd.m_hWnd,
                                reinterpret_cast<HMENU>(20), nullptr, nullptr);
  CCountingEdit counting;
  ASSERT_TRUE(counting.SubclassDlgItem(20, &wnd));
  EXPECT_FALSE(CCountingEdit().SubclassWindow(edit));  // already has an object
  for (char ch : std::string("axb")) counting.SendMessage(WM_CHAR, ch, 1);
  CString text;
  counting.GetWindowText(text);
  EXPECT_STREQ(text, "ab");
  EXPECT_EQ(counting.chars, 3);
  EXPECT_EQ(counting.UnsubclassWindow(), edit);
  ::SendMessageA(edit, WM_CHAR, 'x', 1);
  EXPECT_EQ(counting.chars, 3);
  ::GetWindowTextA(edit, text.GetBuffer(10), 10);
  text.ReleaseBuffer();
  EXPECT_STREQ(text, "abx");
  EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
}

class CSelfDeleting : public CWnd {
 public:
  static int deleted;
  ~CSelfDeleting() override { ++deleted; }
  void PostNcDestroy() override { delete this; }
};
int CSelfDeleting::deleted = 0;

class CFailingCreate : public CSelfDeleting {
 protected:
  int OnCreate(LPCREATESTRUCT) { return -1; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFailingCreate, CSelfDeleting)
ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(MessageMapLifetime, DestroyedWindowsDetachAndMayDeleteTheirObject) {
  CSelfDeleting::deleted = 0;
  auto* wnd = new CSelfDeleting;
  ASSERT_TRUE(wnd->CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  HWND hWnd = wnd->m_hWnd;
  wnd->DestroyWindow();
  EXPECT_EQ(CSelfDeleting::deleted, 1);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);

  // A window that refuses WM_CREATE is destroyed and its object cleaned up once.
  auto* failing = new CFailingCreate;
  EXPECT_FALSE(failing->CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  EXPECT_EQ(CSelfDeleting::deleted, 2);

  // A temporary object for a foreign window is dropped at idle time.
  HWND foreign = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  CWnd* temporary = CWnd::FromHandle(foreign);
  EXPECT_EQ(CWnd::FromHandle(foreign), temporary);
  EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
  AfxDeleteTempMaps();
  EXPECT_TRUE(::IsWindow(foreign));  // dropping the object leaves the window
  ::DestroyWindow(foreign);
}

class CThrowing : public CWnd {
 protected:
  LRESULT OnPrivate(WPARAM, LPARAM) { AfxThrowMemoryException(); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowing, CWnd)
ON_MESSAGE(WM_PRIVATE, OnPrivate)
END_MESSAGE_MAP()

TEST(MessageMapLifetime, ExceptionInAHandlerIsReportedAndStopsThere) {
  ui::MessageBoxAnswers answers;
  CThrowing wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  EXPECT_EQ(wnd.SendMessage(WM_PRIVATE), 0);
  ASSERT_EQ(answers.boxes().size(), 1u);
  EXPECT_EQ(answers.boxes()[0].text, "Out of memory.");
  EXPECT_EQ(answers.boxes()[0].caption, "Framework Tests");
}

}  // namespace
