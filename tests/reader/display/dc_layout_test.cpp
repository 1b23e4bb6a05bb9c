// Line breaking measured with a real font on a memory device context.
#include <windows.h>

#include "framework.h"
#include "model_fixture.h"

namespace displaytest {
namespace {

class DcHost : public FixedHost {
 public:
  DcHost() {
    m_dc.CreateCompatibleDC(nullptr);
    LOGFONT face{};
    face.lfHeight = -13;
    face.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpyA(face.lfFaceName, "Arial");
    m_normal.CreateFontIndirect(&face);
    face.lfWeight = FW_BOLD;
    m_bold.CreateFontIndirect(&face);
  }
  Extent Measure(int style, const char* text, int length) override {
    CFont* old = m_dc.SelectObject(style == kStyleBold ? &m_bold : &m_normal);
    const CSize size = m_dc.GetTextExtent(text, length);
    m_dc.SelectObject(old);
    return Extent{size.cx, size.cy};
  }
  int Width(const std::string& text, int style = kStyleNormal) {
    return Measure(style, text.data(), static_cast<int>(text.size())).width;
  }

 private:
  CDC m_dc;
  CFont m_normal;
  CFont m_bold;
};

TEST(DcLayout, LinesHoldTheWordsThatFitTheirWidth) {
  DcHost host;
  TextModel model;
  ASSERT_TRUE(model.Reset());
  std::vector<Tok> words;
  const char* text[] = {"The",    "reference", "library",    "shows", "articles", "with",   "highlighted", "search",
                        "terms,", "cross",     "references", "and",   "notes",    "beside", "the",         "lines."};
  for (int round = 0; round < 4; ++round) {
    for (const char* word : text) words.push_back(W(word, round == 2 ? kFormatBold : 0));
  }
  Chunk chunk(words);
  ASSERT_TRUE(model.AddChunk(chunk.tokens(), chunk.count(), host, LayoutWidths{260, 1}));
  const int available = 260 - 10;
  ASSERT_GT(model.LineCount(), 3);
  for (int l = 0; l < model.LineCount(); ++l) {
    const Line& line = model.GetLine(l);
    int sum = 0;
    for (int r = line.firstRun; r < line.firstRun + line.runCount; ++r) {
      EXPECT_EQ(model.GetRun(r).width, host.Width(model.RunString(r), model.GetRun(r).style));
      sum += model.GetRun(r).width;
    }
    EXPECT_EQ(line.width, sum);
    EXPECT_LE(line.width, available) << l;
    // The first word of the next line would not have fitted.
    if (l + 1 < model.LineCount()) {
      const int next = model.GetLine(l + 1).firstRun;
      EXPECT_GT(line.width + model.GetRun(next).width, available) << l;
    }
    EXPECT_EQ(line.height, host.Measure(kStyleNormal, " ", 1).height);
  }
}

}  // namespace
}  // namespace displaytest
