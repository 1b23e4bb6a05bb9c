// The dictionary screen in the running program on the sample content.
#pragma once

#include <ostream>

#include "app_fixture.h"
#include "dict_view.h"

// Rectangles in failure messages.
inline void PrintTo(const CRect& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace dicttest {

class DictScreen : public apptest::ReaderApp {
 protected:
  void SetUp() override;
  // Settings the test wants before the program starts.
  virtual void Prepare() {}
  // The screen's button of that id is there and enabled.
  bool Enabled(UINT id);
  // Sends a command (menu item or button) to the screen.
  void Command(UINT id);
  // A panel's rectangle in the screen's client coordinates.
  CRect PanelRect(CWnd& panel) const;
  std::vector<std::string> Lines(CListBox& list) const;
  // Types a word into the edit (its change notification runs).
  void Type(const char* word);
  // Switches the mode through its menu command.
  void Mode(UINT menuItem) { Command(menuItem); }
  // The rect of one of the left column's places R0 to R5.
  CRect Place(int index) const { return dict->Layout().panels[index]; }
  CDict* dict = nullptr;
};

}  // namespace dicttest
