// Where the encyclopedia screen meets the windows of the other screens and
// of the tool panels. Each function is the one place a window class of its
// own module is named; until that module is part of the program the
// function makes nothing and says so by its result.
#include "browser.h"
#include "main_frame.h"
#include "veldrix_app.h"

CBrowser::ToolMaker CBrowser::s_toolMaker = nullptr;

BOOL CBrowser::CreateToolWindow(const ToolRequest& request) {
  std::unique_ptr<CWnd>& tool = m_tools[static_cast<int>(request.kind)];
  if (tool && tool->m_hWnd) tool->DestroyWindow();
  if (!MakeToolWindow(request, tool) || !tool || !tool->m_hWnd) return FALSE;
  tool->MoveWindow(m_panel);
  tool->ShowWindow(SW_SHOW);
  return TRUE;
}

// Makes (on first use) the object of the requested window and creates its
// window in the panel rectangle with this screen as owner and the request's
// mode, articles, terms and text. The windows: results (template 3005),
// contents and subjects (2056), bookmark list (1085), Boolean search (2001),
// Smart Search (4051), Tuner (1037), article list (1115), word find (3009),
// media items and outline (4064). None of their classes is part of this
// module yet.
BOOL CBrowser::MakeToolWindow(const ToolRequest& request, std::unique_ptr<CWnd>& tool) {
  if (s_toolMaker) return s_toolMaker(this, request, tool);
  return FALSE;
}

// The folder chooser of the bookmark windows: TRUE with the chosen folder
// after OK.
BOOL CBrowser::ChooseFolder(int& folder) {
  folder = -1;
  return FALSE;
}

// The selected articles of the results window, else of the contents and
// subjects window, else of the article list panel (the first that is open).
BOOL CBrowser::GetSelectedArticles(CBitString& articles) {
  articles.Clear();
  return FALSE;
}

// The timeline and dictionary screens show an article after the switch.
void CBrowser::ShowOnTimeline(int article) {
  (void)article;
  if (CMainFrame* frame = GetVeldrixApp().GetMainFrame()) frame->ShowTimeline();
}

void CBrowser::ShowInDictionary(int article) {
  (void)article;
  if (CMainFrame* frame = GetVeldrixApp().GetMainFrame()) frame->ShowDictionary();
}
