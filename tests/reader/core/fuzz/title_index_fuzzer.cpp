// Title index files from untrusted bytes: the RAM file, then the DSK file.
#include <cstdint>

#include "core/typematic.h"
#include "core/working_directory.h"
#include "fuzz_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::uint8_t* ram = nullptr;
  std::size_t ramSize = 0;
  if (!SplitFuzzInput(data, size, &ram, &ramSize)) return 0;
  WriteFuzzFile("F.RAM", ram, ramSize);
  WriteFuzzFile("F.DSK", data, size);
  SetWorkingDirectory(FuzzDirectory().c_str());
  CTypematic index("F.RAM", "F.DSK");
  if (!index.Open()) return 0;
  char title[TitleBufferSize];
  for (int entry : {0, 1, 2, 3, 7, 100, 0xFFFFFF}) {
    int sought = entry;
    index.Lookup(nullptr, title, &sought, CTypematic::ByEntry);
  }
  int found = 0;
  for (const char* text : {"", "a", "Rock & Roll", "zz", "\xE9t\xE9 1"})
    index.Lookup(text, title, &found, CTypematic::ByText);
  return 0;
}
