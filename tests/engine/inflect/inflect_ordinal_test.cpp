// The six inflection exports called through ZORLRE32.DLL's ordinals, with
// their stdcall signatures, on built sample files.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "in_api.h"
#include "inflect/inflect_samples.h"
#include "packed.h"
#include "temp_dir.h"

namespace {

using InitForms = u32(__stdcall*)(u32, InFormContext*, const char*);
using TermForms = u32(__stdcall*)(InFormContext*);
using InflectForms = u32(__stdcall*)(const char*, InFormContext*);
using InitTables = u32(__stdcall*)(InTableContext*);
using TermTables = u32(__stdcall*)(InTableContext*);
using Flect = u32(__stdcall*)(const char*, InTableContext*);

class InflectOrdinals : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = LoadLibraryA("ZORLRE32.DLL");
    ASSERT_NE(library_, nullptr);
    builder::inflect::WriteSampleInflection(dir_.path());
  }
  void TearDown() override {
    if (library_) FreeLibrary(library_);
  }
  template <class Function>
  Function Entry(int ordinal) {
    FARPROC entry = GetProcAddress(library_, MAKEINTRESOURCEA(ordinal));
    EXPECT_NE(entry, nullptr) << ordinal;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(entry));
  }

  HMODULE library_ = nullptr;
  TempDir dir_;
};

TEST_F(InflectOrdinals, WordFormsThroughOrdinals16To18) {
  auto context = std::make_unique<InFormContext>();
  ASSERT_EQ(Entry<InitForms>(16)(16, context.get(), dir_.path().c_str()), 0u);
  context->lemmaLookup = 1;
  auto inflect = Entry<InflectForms>(18);
  ASSERT_EQ(inflect("walked", context.get()), 0u);
  ASSERT_EQ(PACKED(context->formCount), 2);
  EXPECT_STREQ(context->forms[0], "walk");
  context->formCount = 0;
  EXPECT_EQ(inflect("cities", context.get()), 0u);
  EXPECT_STREQ(context->forms[0], "city");
  EXPECT_EQ(Entry<TermForms>(17)(context.get()), 0u);
  EXPECT_EQ(PACKED(context->presence), nullptr);
  EXPECT_EQ(Entry<InitForms>(16)(16, context.get(), "no such directory\\"), 8u);
}

TEST_F(InflectOrdinals, TablesThroughOrdinals19To21) {
  auto context = std::make_unique<InTableContext>();
  std::strcpy(context->ramDirectory, dir_.path().c_str());
  std::strcpy(context->dskDirectory, dir_.path().c_str());
  char ram[] = "infrb005.ram";
  char dsk[] = "infrb005.dsk";
  context->ramName = ram;
  context->dskName = dsk;
  ASSERT_EQ(Entry<InitTables>(19)(context.get()), 0u);
  EXPECT_EQ(PACKED(context->descriptorPresent), 1);
  EXPECT_EQ(PACKED(context->flags) & 0xA0, 0xA0);

  context->mode = InModeReady;
  context->labelLanguage = InFrench;
  ASSERT_EQ(Entry<Flect>(21)("aimons", context.get()), 2u);
  const InTableRecord& table = *context->tables[0];
  EXPECT_STREQ(table.word, "aimer");
  ASSERT_EQ(PACKED(table.lineCount), 15);
  EXPECT_STREQ(table.lines[7].text, "Pass\xE9 compos\xE9");
  EXPECT_STREQ(table.lines[7].cells[0].text, "j'ai ");
  EXPECT_STREQ(table.lines[7].cells[0].forms[0], "aim\xE9");
  EXPECT_STREQ(table.titles[0].forms[0], "aimer");

  context->mode = InModeReady;
  EXPECT_EQ(Entry<Flect>(21)("xyzzy", context.get()), 3u);
  EXPECT_EQ(Entry<TermTables>(20)(context.get()), 0u);
  EXPECT_EQ(PACKED(context->dskOpen), 0);
  EXPECT_EQ(Entry<InitTables>(19)(nullptr), 4u);
}

}  // namespace
