// What the tool windows' tests share: a plain owner window that records what
// the windows ask of their screen, and a driver for the modal folder dialogs
// that acts on the dialog that is open while a window's command runs.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "app_fixture.h"
#include "panels/panel_owner.h"

namespace paneltest {

// A visible top-level window with a client area like a screen's.
class TestOwner : public CWnd, public PanelOwner, public OutlineOwner {
 public:
  TestOwner();
  ~TestOwner() override;
  void ShowArticle(int article) override { shown.push_back(article); }
  void GoToMediaItem(int item) override { mediaItems.push_back(item); }
  void PrintBookmarkFolder(int folder, BOOL preview) override { printed.emplace_back(folder, preview != FALSE); }
  void LinkOutlineEntry(int index) override { links.push_back(index); }

  std::vector<int> shown, mediaItems, links;
  std::vector<std::pair<int, bool>> printed;
};

// The panel rectangle the tests create the windows in (owner coordinates).
const CRect kPanel(2, 49, 211, 440);

// Runs `command` while each step, in turn, acts on the modal dialog that is
// active (enabled) at the time; the number of steps that ran.
using DialogStep = std::function<void(CDialog&)>;
int WithDialogSteps(std::vector<DialogStep> steps, const std::function<void()>& command);
// Steps: type a name into the folder name dialog and press OK; cancel.
DialogStep TypeNameAndOk(const char* name);
DialogStep Cancel();

// Sends a control's notification to its parent as the control would.
void Notify(CWnd& parent, UINT id, UINT code);
void Click(CWnd& parent, UINT id);

}  // namespace paneltest
