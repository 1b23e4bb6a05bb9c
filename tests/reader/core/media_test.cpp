#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "content/media_phrases.h"
#include "core/content_db.h"
#include "core/program_data.h"
#include "temp_dir.h"

namespace {

using builder::Bytes;
using builder::ByteWriter;

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

const Bytes& Phrases() { return builder::MediaPhraseResource(); }

// A content database whose media files sit in a scratch directory.
class MediaFiles {
 public:
  MediaFiles() {
    RegisterProgramData(CContentDb::PhraseResourceId, Phrases().data(), static_cast<u32>(Phrases().size()));
    std::strcpy(db.m_multimediaPath, dir.path().c_str());
    std::strcpy(db.m_mmxFile, "M.MMX");
    std::strcpy(db.m_mmdFile, "M.MMD");
  }
  ~MediaFiles() { RegisterProgramData(CContentDb::PhraseResourceId, nullptr, 0); }

  bool Open(const std::string& mmx, const std::string& mmd) {
    dir.Write("M.MMX", mmx);
    dir.Write("M.MMD", mmd);
    return db.OpenMediaIndex() && db.OpenMediaData();
  }

  TempDir dir;
  CContentDb db;
};

u32 Phrase(int code, int field) {  // field 0: offset, 1: length
  const u32 at = 1311 + 1024 * field + 2 * code;
  return Phrases()[at] | Phrases()[at + 1] << 8;
}

TEST(MediaPhrases, ResourceHasItsTellingRowsAndEveryByte) {
  ASSERT_EQ(Phrases().size(), 3584u);
  EXPECT_EQ(Phrase(0, 1), 0u);
  ASSERT_EQ(Phrase(1, 1), 160u);
  for (u32 i = 0; i < 160; ++i) EXPECT_EQ(Phrases()[Phrase(1, 0) + i], 0) << i;
  ASSERT_EQ(Phrase(3, 1), 128u);
  for (u32 i = 0; i < 128; ++i) EXPECT_EQ(Phrases()[Phrase(3, 0) + i], i % 2 ? 0xFF : 0x01) << i;
  EXPECT_EQ(Phrases()[Phrase(256, 0)], 0xD3);
  EXPECT_EQ(Phrases()[Phrase(511, 0)], 0x93);
  std::vector<bool> single(256, false);
  for (int code = 0; code < 512; ++code) {
    EXPECT_LE(Phrase(code, 0) + Phrase(code, 1), 1311u) << code;
    if (Phrase(code, 1) == 1) single[Phrases()[Phrase(code, 0)]] = true;
  }
  for (int byte = 0; byte < 256; ++byte) EXPECT_TRUE(single[byte]) << byte;
}

TEST(MediaStore, PackedCodesSitAtNineBitsEach) {
  MediaFiles media;
  std::string mmd(20, '\0');
  mmd[1] = static_cast<char>(0x80);  // code 0 (bits 0-8) = 1: the 160 zero bytes
  mmd[10] = 0x40;                    // code 9 starts at byte 10, bit 1: 256 = 0xD3
  ASSERT_TRUE(media.Open(std::string(8, '\0'), mmd));
  BYTE out[8];
  std::memset(out, 0xAA, sizeof out);
  EXPECT_EQ(media.db.ReadPacked(0, out, 5), 1);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 6), std::string(5, '\0') + "\xAA");
  EXPECT_EQ(media.db.ReadPacked(9, out, 1), 1);
  EXPECT_EQ(out[0], 0xD3);
  // Codes 0 produce nothing: the stream ends before a byte comes.
  EXPECT_EQ(media.db.ReadPacked(10, out, 1), 0);
  EXPECT_EQ(media.db.ReadPacked(-1, out, 1), 0);
  EXPECT_EQ(media.db.ReadPacked(0x7FFFFFFF, out, 1), 0);  // 9 x code is past 32 bits
}

// A phrase table written out by hand: the pool at 0, the u16 offsets at
// 1311 and the u16 lengths at 2335, code c at 2c in both.
TEST(MediaStore, AHandWrittenPhraseTable) {
  MediaFiles media;
  Bytes table(3584, 0);
  const std::string pool = "hello";
  std::copy(pool.begin(), pool.end(), table.begin());
  table[1311 + 2 * 2] = 0;  // code 2: offset 0,
  table[2335 + 2 * 2] = 5;  //   length 5: "hello"
  table[1311 + 2 * 7] = 1;  // code 7: offset 1,
  table[2335 + 2 * 7] = 2;  //   length 2: "el" (phrases overlap in the pool)
  RegisterProgramData(CContentDb::PhraseResourceId, table.data(), static_cast<u32>(table.size()));
  // Codes 2, 7 and 0 from bit 0: 000000010 000000111 000000000.
  ASSERT_TRUE(media.Open(std::string(8, '\0'), std::string("\x01\x01\xC0\x00", 4)));
  BYTE out[8] = {};
  ASSERT_EQ(media.db.ReadPacked(0, out, 7), 1);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 7), "helloel");
  EXPECT_EQ(media.db.ReadPacked(0, out, 8), 0);  // code 0 gives nothing, and the stream ends
}

TEST(MediaStore, UnpacksAcrossSlicesAndFailsOnAShortStream) {
  Bytes first(10000), second(300);
  for (std::size_t i = 0; i < first.size(); ++i) first[i] = static_cast<u8>(i * 7919 >> 3);
  for (std::size_t i = 0; i < second.size(); ++i) second[i] = i < 200 ? 0 : static_cast<u8>(i);
  builder::MediaCodeStream stream;
  const u32 firstCode = stream.Append(first);
  const u32 secondCode = stream.Append(second);
  MediaFiles media;
  ASSERT_TRUE(media.Open(std::string(8, '\0'), Text(stream.bytes())));
  std::vector<BYTE> out(first.size());
  ASSERT_EQ(media.db.ReadPacked(static_cast<int>(firstCode), out.data(), static_cast<int>(first.size())), 1);
  EXPECT_TRUE(std::equal(first.begin(), first.end(), out.begin()));
  ASSERT_EQ(media.db.ReadPacked(static_cast<int>(secondCode), out.data(), 300), 1);
  EXPECT_TRUE(std::equal(second.begin(), second.end(), out.begin()));
  // Asking for more than the stream holds is a failure, not old buffer data.
  EXPECT_EQ(media.db.ReadPacked(static_cast<int>(secondCode), out.data(), 5000), 0);
}

TEST(MediaStore, OpenMediaDataNeedsNamesFileAndSoundPhraseTables) {
  MediaFiles media;
  media.dir.Write("M.MMD", "x");
  CContentDb& db = media.db;
  Bytes damaged = Phrases();
  damaged[1311 + 2 * 5 + 1] = 0xFF;  // code 5 starts past the pool
  RegisterProgramData(CContentDb::PhraseResourceId, damaged.data(), static_cast<u32>(damaged.size()));
  EXPECT_FALSE(db.OpenMediaData());
  RegisterProgramData(CContentDb::PhraseResourceId, Phrases().data(), 3000);
  EXPECT_FALSE(db.OpenMediaData());
  RegisterProgramData(CContentDb::PhraseResourceId, nullptr, 0);
  EXPECT_FALSE(db.OpenMediaData());
  RegisterProgramData(CContentDb::PhraseResourceId, Phrases().data(), static_cast<u32>(Phrases().size()));
  std::strcpy(db.m_mmdFile, "NONE.MMD");
  EXPECT_FALSE(db.OpenMediaData());
  std::strcpy(db.m_mmdFile, "M.MMD");
  db.m_multimediaPath[0] = '\0';
  EXPECT_FALSE(db.OpenMediaData());
  std::strcpy(db.m_multimediaPath, media.dir.path().c_str());
  EXPECT_TRUE(db.OpenMediaData());
  EXPECT_TRUE(db.OpenMediaData());
}

TEST(MediaStore, MediaIndexIsOptionalButMustOpenWhenNamed) {
  MediaFiles media;
  CContentDb& db = media.db;
  BYTE type = 0;
  WORD sound = 0;
  CString title;
  CDWordArray related;
  db.m_mmxFile[0] = '\0';  // no media store
  EXPECT_TRUE(db.OpenMediaIndex());
  EXPECT_EQ(db.ReadMediaList(0, type, sound, title, related), -1);
  std::strcpy(db.m_mmxFile, "M.MMX");
  EXPECT_FALSE(db.OpenMediaIndex());  // named but missing
  media.dir.Write("M.MMX", std::string(7, '\0'));
  EXPECT_FALSE(db.OpenMediaIndex());  // short of its header
  media.dir.Write("M.MMX", std::string(8, '\0'));
  EXPECT_TRUE(db.OpenMediaIndex());
}

// Item 0: a movie stored plain at byte 1000 with no text and 200 related
// entries; item 1: a sound whose file name fills its field without a NUL;
// item 2: a packed record.
std::pair<std::string, std::string> RecordFiles() {
  ByteWriter mmd;
  mmd.Zeros(1000);
  mmd.U8(6);
  mmd.U16le(0);
  mmd.Append(std::string("MOVIE.MOV\0\0\0\0\0", 14));
  mmd.U8(5);
  mmd.U16le(4);
  mmd.Append(std::string("ABCDEFGHIJKLMN"));
  mmd.Append(std::string("text"));
  ByteWriter mmx;
  mmx.U16le(3);
  mmx.U16le(0);
  mmx.U32le(0);
  mmx.U32le(static_cast<u32>(-1000));
  mmx.U32le(static_cast<u32>(-1017));
  mmx.U32le(0);
  const u32 records = 8 + 24;
  mmx.U32le(records);
  mmx.U32le(records + 10 + 5 + 800);
  mmx.U32le(0x7FFFFFF0);  // past the file
  mmx.U32le(42);
  mmx.U8(6);
  mmx.U16le(1);
  mmx.U8(200);
  mmx.U16le(5);
  mmx.Append(std::string("Movie"));
  for (u32 i = 0; i < 200; ++i) mmx.U32le(1000 + i);
  mmx.U32le(43);
  mmx.U8(5);
  mmx.U16le(0xFFFF);
  mmx.U8(0);
  mmx.U16le(0);
  return {Text(mmx.bytes()), Text(mmd.bytes())};
}

TEST(MediaStore, ReadsPlainRecordsAndItemRecords) {
  MediaFiles media;
  const auto [mmx, mmd] = RecordFiles();
  ASSERT_TRUE(media.Open(mmx, mmd));
  CString path, text = "old";
  ASSERT_EQ(media.db.ReadMediaFileRecord(0, path, text), 1);
  EXPECT_EQ(std::string(path), media.dir.path() + "MOVIE.MOV");
  EXPECT_EQ(std::string(text), "");
  EXPECT_EQ(media.db.ReadSoundRecord(0, path), 0);  // not a sound
  ASSERT_EQ(media.db.ReadSoundRecord(1, path), 1);
  EXPECT_EQ(std::string(path), media.dir.path() + "ABCDEFGHIJKLM");
  EXPECT_EQ(media.db.ReadMediaFileRecord(1, path, text), 0);
  EXPECT_EQ(media.db.ReadMediaFileRecord(2, path, text), 0);  // packed, not plain
  EXPECT_EQ(media.db.ReadMediaFileRecord(3, path, text), 0);  // past the items

  BYTE type = 0;
  WORD sound = 0;
  CString title;
  CDWordArray related;
  ASSERT_EQ(media.db.ReadMediaList(0, type, sound, title, related), 200);
  EXPECT_EQ(type, 6);
  EXPECT_EQ(sound, 1);
  EXPECT_EQ(std::string(title), "Movie");
  ASSERT_EQ(related.GetSize(), 200);
  EXPECT_EQ(related[199], 1199u);
  ASSERT_EQ(media.db.ReadMediaList(1, type, sound, title, related), 0);
  EXPECT_EQ(sound, 0xFFFF);
  EXPECT_EQ(related.GetSize(), 0);
  title = "kept";
  EXPECT_EQ(media.db.ReadMediaList(2, type, sound, title, related), -1);
  EXPECT_EQ(media.db.ReadMediaList(3, type, sound, title, related), -1);
  EXPECT_EQ(std::string(title), "kept");
  CContentDb closed;
  EXPECT_EQ(closed.ReadMediaList(0, type, sound, title, related), -1);
  EXPECT_EQ(closed.ReadSoundRecord(1, path), 0);
}

}  // namespace
