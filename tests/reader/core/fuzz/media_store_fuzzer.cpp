// The media index, media data and category index files from untrusted bytes,
// and the same bytes as a .bit file.
#include <cstdint>
#include <cstring>

#include "content/media_phrases.h"
#include "core/content_db.h"
#include "core/program_data.h"
#include "core/working_directory.h"
#include "fuzz_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::uint8_t* mmx = nullptr;
  const std::uint8_t* mmd = nullptr;
  std::size_t mmxSize = 0, mmdSize = 0;
  const std::uint8_t* whole = data;
  const std::size_t wholeSize = size;
  if (!SplitFuzzInput(data, size, &mmx, &mmxSize) || !SplitFuzzInput(data, size, &mmd, &mmdSize)) return 0;
  WriteFuzzFile("F.MMX", mmx, mmxSize);
  WriteFuzzFile("F.MMD", mmd, mmdSize);
  WriteFuzzFile("F.CTX", data, size);
  WriteFuzzFile("F.BIT", whole, wholeSize);
  SetWorkingDirectory(FuzzDirectory().c_str());
  const builder::Bytes& phrases = builder::MediaPhraseResource();
  RegisterProgramData(CContentDb::PhraseResourceId, phrases.data(), static_cast<u32>(phrases.size()));

  CContentDb db;
  std::strcpy(db.m_multimediaPath, FuzzDirectory().c_str());
  std::strcpy(db.m_mmxFile, "F.MMX");
  std::strcpy(db.m_mmdFile, "F.MMD");
  std::strcpy(db.m_ctxFile, "F.CTX");
  CCategoryList list;
  CBitString set(64, FALSE);
  CString title, path, text;
  if (db.OpenMediaIndex() && db.OpenMediaData()) {
    db.ReadCategories(list);
    for (int n = -1; n < 6; ++n) db.ReadCategorySet(n, set);
    BYTE type;
    WORD sound;
    CDWordArray related;
    BYTE unpacked[600];
    for (UINT item = 0; item < 4; ++item) {
      db.ReadMediaList(item, type, sound, title, related);
      db.ReadMediaFileRecord(item, path, text);
      db.ReadSoundRecord(item, path);
      db.ReadPacked(static_cast<int>(item * 5), unpacked, sizeof unpacked);
    }
  }
  db.ReadContextCategories(list);
  for (int k = -1; k < 4; ++k) db.ReadContextSet(k, title, set);
  WORD second;
  for (int a = 0; a < 4; ++a) db.GetEntryCategory(a, &second);

  const ContentFile file = ContentOpen((FuzzDirectory() + "F.BIT").c_str());
  CBitString read;
  if (read.Read(file)) read.Or(set).Not().GetAt(3);
  ContentClose(file);
  return 0;
}
