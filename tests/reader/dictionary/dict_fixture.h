// The dictionary screen in the running program on the sample content.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "dictionary/dict_view.h"
#include "search/spell_alt_dlg.h"

// Rectangles in failure messages.
inline void PrintTo(const CRect& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace dicttest {

// Answers the spelling dialogs that come up, one scripted step per visible
// dialog (Ignore once the steps run out), and records the words they showed.
class SpellAnswers {
 public:
  struct Step {
    UINT button;
    const char* replacement = nullptr;  // typed into the replacement box first
  };
  explicit SpellAnswers(std::vector<Step> steps = {}) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 20, &SpellAnswers::Tick);
  }
  ~SpellAnswers() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  const std::vector<std::string>& words() const { return words_; }

 private:
  static BOOL CALLBACK Find(HWND window, LPARAM found) {
    auto* dialog = dynamic_cast<CSpellAltDlg*>(CWnd::FromHandlePermanent(window));
    if (dialog == nullptr || !::IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<CSpellAltDlg**>(found) = dialog;
    return FALSE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    SpellAnswers* self = current_;
    CSpellAltDlg* dialog = nullptr;
    if (self == nullptr) return;
    ::EnumThreadWindows(::GetCurrentThreadId(), &SpellAnswers::Find, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) return;
    const Step step = self->next_ < self->steps_.size() ? self->steps_[self->next_++] : Step{CSpellAltDlg::kIgnore};
    if (step.replacement != nullptr) dialog->SetDlgItemText(CSpellAltDlg::kReplacementBox, step.replacement);
    self->words_.emplace_back(dialog->m_word);
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(step.button, BN_CLICKED),
                        reinterpret_cast<LPARAM>(dialog->GetDlgItem(static_cast<int>(step.button))->GetSafeHwnd()));
  }

  static inline SpellAnswers* current_ = nullptr;
  std::vector<Step> steps_;
  size_t next_ = 0;
  std::vector<std::string> words_;
  UINT_PTR timer_ = 0;
};

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
