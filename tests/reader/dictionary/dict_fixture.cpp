#include "dict_fixture.h"

namespace dicttest {

void DictScreen::SetUp() {
  apptest::ReaderApp::SetUp();
  Prepare();
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Frame()->ShowDictionary());
  ui::PumpUntilIdle();
  dict = dynamic_cast<CDict*>(Frame()->GetScreen(Screen::Dictionary));
  ASSERT_NE(dict, nullptr);
  boxes.Clear();
}

bool DictScreen::Enabled(UINT id) {
  CODButton* button = dict->Button(id);
  return button != nullptr && button->IsWindowEnabled();
}

void DictScreen::Command(UINT id) {
  dict->SendMessage(WM_COMMAND, id);
  ui::PumpUntilIdle();
}

CRect DictScreen::PanelRect(CWnd& panel) const {
  CRect rect;
  panel.GetWindowRect(&rect);
  dict->ScreenToClient(&rect);
  return rect;
}

std::vector<std::string> DictScreen::Lines(CListBox& list) const {
  std::vector<std::string> lines;
  for (int i = 0; i < list.GetCount(); ++i) {
    CString text;
    list.GetText(i, text);
    lines.emplace_back(text);
  }
  return lines;
}

void DictScreen::Type(const char* word) {
  dict->WordEdit().SetWindowText(word);
  ui::PumpUntilIdle();
}

}  // namespace dicttest
