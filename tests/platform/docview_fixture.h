// Opens the sample document on the first template (as a program's start does)
// and closes it again after the test.
#pragma once

#include <gtest/gtest.h>

#include "sample_docview.h"
#include "ui_harness.h"

class DocView : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterSampleTemplates();
    Trace().clear();
    TestApp().OnFileNew();
    frame = static_cast<CSampleFrame*>(AfxGetMainWnd());
    ASSERT_NE(frame, nullptr);
    doc = static_cast<CSampleDoc*>(frame->GetActiveDocument());
    ASSERT_NE(doc, nullptr);
    ui::PumpUntilIdle();
  }
  void TearDown() override {
    if (AfxGetMainWnd() != nullptr) {
      doc->m_bAllowClose = TRUE;
      AfxGetMainWnd()->SendMessage(WM_CLOSE);
    }
    ui::PumpUntilIdle();
    ui::TakeQuitCount();
    EXPECT_EQ(CSampleDoc::live, 0);
  }
  CSampleFrame* frame = nullptr;
  CSampleDoc* doc = nullptr;
};
