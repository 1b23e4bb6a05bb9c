// Pictures of the media store decoded from their packed records, and the hot
// spots that come with them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "content/media_phrases.h"
#include "content/media_store_file.h"
#include "content/sample_content.h"
#include "core/content_db.h"
#include "core/hot_spot.h"
#include "core/picture_record.h"
#include "core/program_data.h"
#include "reader/picture_regions.h"
#include "temp_dir.h"

namespace {

builder::Picture MakePicture(u16 width, u16 height, u8 bits) {
  builder::Picture picture;
  picture.width = width;
  picture.height = height;
  picture.bitsPerPixel = bits;
  picture.caption = "A caption";
  for (u32 c = 0; c < (1u << bits); ++c) picture.colours.push_back(c * 0x010203u);
  for (u32 i = 0; i < static_cast<u32>(width) * height; ++i)
    picture.pixels.push_back(static_cast<u8>((i * 7 + 3) % (1u << bits)));
  return picture;
}

PictureRecord Decode(const builder::Bytes& record, bool withRegions = true) {
  PictureRecord picture;
  EXPECT_TRUE(DecodePictureRecord(record.data(), static_cast<u32>(record.size()), withRegions, picture));
  return picture;
}

TEST(PictureRecords, TwoHundredFiftySixColoursAreUnfilteredButTheLastByte) {
  u8 bytes[8] = {1, 1, 1, 1, 1, 1, 1, 9};
  UndoDeltaFilter(bytes, FALSE, 8);
  const u8 restored[8] = {1, 2, 3, 4, 5, 6, 7, 9};
  EXPECT_EQ(std::memcmp(bytes, restored, 8), 0);

  // 2 x 2 at stride 4: the builder's filter and the reader's undo agree.
  const builder::Picture source = MakePicture(2, 2, 8);
  const PictureRecord picture = Decode(builder::PictureRecord(source));
  ASSERT_EQ(picture.pixels.size(), 8u);
  EXPECT_EQ(picture.pixels[0], source.pixels[2]);  // bottom row first
  EXPECT_EQ(picture.pixels[1], source.pixels[3]);
  EXPECT_EQ(picture.pixels[4], source.pixels[0]);
  EXPECT_EQ(picture.pixels[5], source.pixels[1]);
  EXPECT_STREQ(picture.caption, "A caption");
}

// An unpacked record written out by hand from its layout.
TEST(PictureRecords, AHandWrittenRecordWithItsRegions) {
  // clang-format off
  const std::string bytes(
      "\x01"              // type 1
      "\x03\x00"          // T: a caption of 3 bytes
      "\x0A\x00"          // width 10
      "\x02\x00"          // height 2
      "\x04\x00"          // row stride 4
      "\x01"              // 1 bit a pixel: 2 colours
      "\x01\x00"          // region kind 1: rectangles, the pixels are the mask
      "\x31\x00\x00\x00"  // size of the whole record: 49
      "\x00"              // not used
      "Sky"
      "\x10\x20\x30\x00" "\x40\x50\x60\x00"  // 2 colours: blue, green, red, unused
      "\x80\x00\x00\x00"  // the bottom row
      "\xC0\x40\x00\x00"  // the top row
      "\x01\x00"          // one hot spot:
      "\x07\x00" "k"      //   id 7, key k
      "\x00\x00" "\x00\x00" "\x02\x00" "\x01\x00",  // left, top, right, bottom
      49);
  // clang-format on
  PictureRecord picture;
  ASSERT_TRUE(DecodePictureRecord(reinterpret_cast<const u8*>(bytes.data()), 49, true, picture));
  EXPECT_EQ(picture.header.type, 1);
  EXPECT_EQ(picture.header.width, 10);
  EXPECT_EQ(picture.header.height, 2);
  EXPECT_EQ(picture.header.stride, 4);
  EXPECT_EQ(picture.header.bitsPerPixel, 1);
  EXPECT_STREQ(picture.caption, "Sky");
  EXPECT_EQ(picture.colours, (std::vector<u8>{0x10, 0x20, 0x30, 0, 0x40, 0x50, 0x60, 0}));
  EXPECT_EQ(picture.pixels, (std::vector<u8>{0x80, 0, 0, 0, 0xC0, 0x40, 0, 0}));  // not filtered
  EXPECT_EQ(picture.mask, picture.pixels);
  // A 1-bit picture is drawn white and black, whatever colours it stores.
  const std::vector<u8> dib = BuildPackedDib(picture);
  const u8 whiteBlack[8] = {255, 255, 255, 0, 0, 0, 0, 0};
  ASSERT_EQ(dib.size(), 40u + 8 + 8);
  EXPECT_EQ(std::memcmp(dib.data() + 40, whiteBlack, 8), 0);
  CObArray spots;
  ASSERT_TRUE(ReadHotSpots(1, picture.regions.data(), static_cast<u32>(picture.regions.size()), spots));
  ASSERT_EQ(spots.GetSize(), 1);
  auto* spot = static_cast<CHotSpot*>(spots[0]);
  EXPECT_EQ(spot->GetId(), 7);
  EXPECT_TRUE(spot->HitTest(1, 0, 0));
  EXPECT_FALSE(spot->HitTest(2, 0, 0));
  EXPECT_TRUE(spot->HitTest(9, 1, 'k'));
  RemoveHotSpots(spots);
}

TEST(PictureRecords, SixteenColoursAreStoredAsTheyAre) {
  const builder::Picture source = MakePicture(5, 3, 4);
  const builder::Bytes record = builder::PictureRecord(source);
  const PictureRecord picture = Decode(record);
  const u32 pixelsAt = 17 + static_cast<u32>(source.caption.size()) + 64;
  EXPECT_EQ(picture.pixels, std::vector<u8>(record.begin() + pixelsAt, record.end()));
  EXPECT_TRUE(picture.mask.empty());
}

TEST(PictureRecords, PackedBitmapAndPalette) {
  const PictureRecord mono = Decode(builder::PictureRecord(MakePicture(9, 2, 1)));
  const std::vector<u8> dib = BuildPackedDib(mono);
  ASSERT_EQ(dib.size(), 40u + 8 + 2 * 4);
  EXPECT_EQ(dib[14], 1);  // bits
  const u8 whiteBlack[8] = {255, 255, 255, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(dib.data() + 40, whiteBlack, 8), 0);
  EXPECT_EQ(PaletteColours(mono), std::vector<u8>(6, 0));

  const PictureRecord colour = Decode(builder::PictureRecord(MakePicture(3, 1, 8)));
  const std::vector<u8> rgb = PaletteColours(colour);
  ASSERT_EQ(rgb.size(), 3u * 256);
  EXPECT_EQ(rgb[3 * 5], 5);  // colour 5 is 0x050A0F: red 5, green 10, blue 15
  EXPECT_EQ(rgb[3 * 5 + 1], 10);
  EXPECT_EQ(rgb[3 * 5 + 2], 15);
}

TEST(PictureRecords, RegionMasksAndHotSpots) {
  const builder::Picture source = MakePicture(4, 4, 8);
  builder::PictureRegions rects;
  rects.kind = 1;
  rects.spots = {{7, 'k', 0, 0, 2, 2, {}, ""}, {8, 'm', 2, 2, 4, 4, {}, ""}};
  const PictureRecord kind1 = Decode(builder::PictureRecordWithRegions(source, rects));
  EXPECT_EQ(kind1.header.regionKind, 1);
  EXPECT_EQ(kind1.mask, kind1.pixels);  // the colour index is the region
  CObArray spots;
  ASSERT_TRUE(ReadHotSpots(1, kind1.regions.data(), static_cast<u32>(kind1.regions.size()), spots));
  ASSERT_EQ(spots.GetSize(), 2);
  auto* first = static_cast<CHotSpot*>(spots[0]);
  EXPECT_EQ(first->GetId(), 7);
  EXPECT_TRUE(first->HitTest(1, 1, 0));
  EXPECT_FALSE(first->HitTest(2, 2, 0));
  EXPECT_TRUE(first->HitTest(100, 100, 'k'));  // its key hits too
  EXPECT_EQ(first->GetLabel(), nullptr);
  RemoveHotSpots(spots);

  builder::PictureRegions masked;
  masked.kind = 4;
  masked.mask.assign(16, 0);
  masked.mask[0] = 3;
  masked.spots = {{9, 'q', 0, 0, 0, 0, {}, "Queen"}};
  const PictureRecord kind4 = Decode(builder::PictureRecordWithRegions(source, masked));
  ASSERT_EQ(kind4.mask.size(), 16u);
  EXPECT_EQ(kind4.mask[12], 3);  // the top row is stored last
  ASSERT_TRUE(ReadHotSpots(4, kind4.regions.data(), static_cast<u32>(kind4.regions.size()), spots));
  auto* key = static_cast<CHotSpot*>(spots[0]);
  EXPECT_FALSE(key->HitTest(0, 0, 0));  // a key area never answers a click
  EXPECT_TRUE(key->HitTest(0, 0, 'q'));
  EXPECT_STREQ(*key->GetLabel(), "Queen");
  RemoveHotSpots(spots);

  // Without asking for the regions only the picture is decoded.
  EXPECT_TRUE(Decode(builder::PictureRecordWithRegions(source, masked), false).regions.empty());
  builder::PictureRegions none;
  none.kind = 2;
  const PictureRecord kind2 = Decode(builder::PictureRecordWithRegions(source, none));
  EXPECT_TRUE(kind2.mask.empty());
}

TEST(PictureRecords, DamagedHeadersAreRefused) {
  builder::Bytes record = builder::PictureRecord(MakePicture(4, 2, 8));
  PictureRecord picture;
  EXPECT_FALSE(DecodePictureRecord(record.data(), static_cast<u32>(record.size()) - 1, false, picture));
  builder::Bytes badStride = record;
  badStride[7] = 2;  // narrower than the rows
  EXPECT_FALSE(DecodePictureRecord(badStride.data(), static_cast<u32>(badStride.size()), false, picture));
  builder::Bytes badBits = record;
  badBits[9] = 3;
  EXPECT_FALSE(DecodePictureRecord(badBits.data(), static_cast<u32>(badBits.size()), false, picture));
  builder::Bytes huge = record;
  huge[3] = huge[4] = huge[5] = huge[6] = 0xFF;  // 65535 x 65535
  huge[7] = 0xFC;
  huge[8] = 0xFF;
  EXPECT_FALSE(DecodePictureRecord(huge.data(), static_cast<u32>(huge.size()), false, picture));
}

TEST(HotSpots, PolygonsByTheEvenOddRule) {
  // A square with a square hole (two rings traced as one polygon) and its
  // bounding rectangle elsewhere.
  builder::PictureRegions rings;
  rings.kind = 2;
  rings.spots = {
      {1, 0, 20, 20, 22, 22, {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {3, 3}, {7, 3}, {7, 7}, {3, 7}, {3, 3}}, ""}};
  const PictureRecord picture = Decode(builder::PictureRecordWithRegions(MakePicture(30, 30, 8), rings));
  CObArray spots;
  ASSERT_TRUE(ReadHotSpots(2, picture.regions.data(), static_cast<u32>(picture.regions.size()), spots));
  auto* spot = static_cast<CHotSpot*>(spots[0]);
  EXPECT_TRUE(spot->HitTest(1, 1, 0));
  EXPECT_FALSE(spot->HitTest(5, 5, 0));  // inside the hole
  EXPECT_FALSE(spot->HitTest(11, 5, 0));
  EXPECT_TRUE(spot->HitTest(21, 21, 'x'));  // the rectangle, the key ignored
  RemoveHotSpots(spots);

  builder::PictureRegions labelled;
  labelled.kind = 3;
  labelled.spots = {{2, 0, 0, 0, 0, 0, {{0, 0}, {8, 0}, {0, 8}}, ""}};
  const PictureRecord triangle = Decode(builder::PictureRecordWithRegions(MakePicture(10, 10, 4), labelled));
  ASSERT_TRUE(ReadHotSpots(3, triangle.regions.data(), static_cast<u32>(triangle.regions.size()), spots));
  spot = static_cast<CHotSpot*>(spots[0]);
  EXPECT_TRUE(spot->HitTest(1, 1, 0));
  EXPECT_FALSE(spot->HitTest(6, 6, 0));
  ASSERT_NE(spot->GetLabel(), nullptr);
  EXPECT_TRUE(spot->GetLabel()->IsEmpty());  // a label of length 0
  RemoveHotSpots(spots);
}

// The hot-spot records of kinds 2 to 4, written out by hand.
TEST(HotSpots, HandWrittenRecordsOfEachKind) {
  // clang-format off
  const std::string polygon(
      "\x01\x00"  // one area
      "\x02\x00"  // id 2
      "\x03\x00" "\x00\x00\x00\x00" "\x08\x00\x00\x00" "\x00\x00\x08\x00"  // 3 points
      "\x14\x00" "\x14\x00" "\x16\x00" "\x16\x00",                         // its rectangle
      2 + 2 + 2 + 12 + 8);
  const std::string labelled(
      "\x01\x00"         // one area
      "\x03\x00"         // id 3
      "\x04\x00" "Moon"  // its label
      "\x03\x00" "\x00\x00\x00\x00" "\x08\x00\x00\x00" "\x00\x00\x08\x00",  // 3 points
      2 + 2 + 2 + 4 + 2 + 12);
  const std::string keys(
      "\x02\x00"                         // two keys
      "\x04\x00" "q" "\x05\x00" "Queen"  // id 4, key q, its label
      "\x05\x00" "k" "\x00\x00",         // id 5, key k, no label
      2 + 2 + 1 + 2 + 5 + 2 + 1 + 2);
  // clang-format on
  const auto read = [](int kind, const std::string& records, CObArray& spots) {
    return ReadHotSpots(kind, reinterpret_cast<const u8*>(records.data()), static_cast<u32>(records.size()), spots);
  };
  CObArray spots;
  ASSERT_TRUE(read(2, polygon, spots));
  ASSERT_EQ(spots.GetSize(), 1);
  auto* spot = static_cast<CHotSpot*>(spots[0]);
  EXPECT_EQ(spot->GetId(), 2);
  EXPECT_TRUE(spot->HitTest(1, 1, 0));
  EXPECT_FALSE(spot->HitTest(6, 6, 0));
  EXPECT_TRUE(spot->HitTest(21, 21, 0));  // inside the rectangle
  EXPECT_EQ(spot->GetLabel(), nullptr);
  RemoveHotSpots(spots);

  ASSERT_TRUE(read(3, labelled, spots));
  spot = static_cast<CHotSpot*>(spots[0]);
  EXPECT_EQ(spot->GetId(), 3);
  EXPECT_TRUE(spot->HitTest(1, 1, 0));
  ASSERT_NE(spot->GetLabel(), nullptr);
  EXPECT_STREQ(*spot->GetLabel(), "Moon");
  RemoveHotSpots(spots);

  ASSERT_TRUE(read(4, keys, spots));
  ASSERT_EQ(spots.GetSize(), 2);
  spot = static_cast<CHotSpot*>(spots[0]);
  EXPECT_EQ(spot->GetId(), 4);
  EXPECT_TRUE(spot->HitTest(0, 0, 'q'));
  EXPECT_FALSE(spot->HitTest(0, 0, 'k'));
  EXPECT_STREQ(*spot->GetLabel(), "Queen");
  spot = static_cast<CHotSpot*>(spots[1]);
  EXPECT_TRUE(spot->HitTest(0, 0, 'k'));
  ASSERT_NE(spot->GetLabel(), nullptr);
  EXPECT_TRUE(spot->GetLabel()->IsEmpty());
  RemoveHotSpots(spots);
}

TEST(HotSpots, RecordsThatRunPastTheirDataAreRefused) {
  const u8 rect[] = {1, 0, 5, 0, 'k', 0, 0, 0, 0, 4, 0, 4};  // count 1, one byte short
  CObArray spots;
  EXPECT_FALSE(ReadHotSpots(1, rect, sizeof rect, spots));
  EXPECT_EQ(spots.GetSize(), 0);
  const u8 polygon[] = {1, 0, 5, 0, 0xFF, 0xFF, 1, 0, 1, 0};  // 65535 points claimed
  EXPECT_FALSE(ReadHotSpots(2, polygon, sizeof polygon, spots));
  const u8 label[] = {1, 0, 5, 0, 'k', 50, 0, 'a'};  // a label of 50 bytes with 1 there
  EXPECT_FALSE(ReadHotSpots(4, label, sizeof label, spots));
  EXPECT_FALSE(ReadHotSpots(5, label, sizeof label, spots));
  EXPECT_FALSE(ReadHotSpots(1, rect, 1, spots));
}

// Pictures read through a content database's media store.
class StoredPictures : public testing::Test {
 protected:
  void SetUp() override {
    const builder::Bytes& phrases = builder::MediaPhraseResource();
    RegisterProgramData(CContentDb::PhraseResourceId, phrases.data(), static_cast<u32>(phrases.size()));
    builder::MediaStore store;
    builder::MediaItem packed;
    packed.item = {1, 1, 0xFFFF, "Packed", {}};
    builder::PictureRegions regions;
    regions.kind = 1;
    regions.spots = {{3, 'a', 1, 1, 3, 3, {}, ""}};
    packed.data = builder::PictureRecordWithRegions(MakePicture(6, 5, 8), regions);
    packed.packed = true;
    builder::MediaItem sound;
    sound.item = {2, 5, 0xFFFF, "Sound", {}};
    sound.data = builder::MediaFileRecord(5, "S.WAV", "");
    store.items = {packed, sound};
    store.categories = {{1, "", {}}, {1, "", {}}};
    const builder::MediaStoreFiles files = builder::BuildMediaStore(store);
    dir.Write("M.MMX", std::string(files.mmx.begin(), files.mmx.end()));
    dir.Write("M.MMD", std::string(files.mmd.begin(), files.mmd.end()));
    std::strcpy(db.m_multimediaPath, dir.path().c_str());
    std::strcpy(db.m_mmxFile, "M.MMX");
    std::strcpy(db.m_mmdFile, "M.MMD");
    ASSERT_TRUE(db.OpenMediaIndex() && db.OpenMediaData());
  }
  void TearDown() override { RegisterProgramData(CContentDb::PhraseResourceId, nullptr, 0); }

  TempDir dir;
  CContentDb db;
};

TEST_F(StoredPictures, PackedPictureWithItsRegions) {
  short width = 0;
  WORD height = 0;
  ASSERT_TRUE(db.PeekPicture(0, width, height));
  EXPECT_EQ(width, 6);
  EXPECT_EQ(height, 5);
  PictureRecord picture;
  ASSERT_TRUE(db.ReadPictureRecord(0, picture, TRUE));
  EXPECT_EQ(picture.header.regionKind, 1);
  CObArray spots;
  ASSERT_TRUE(ReadHotSpots(1, picture.regions.data(), static_cast<u32>(picture.regions.size()), spots));
  EXPECT_EQ(spots.GetSize(), 1);
  RemoveHotSpots(spots);
  EXPECT_TRUE(db.ReadPictureRecord(0, picture, FALSE));
  EXPECT_TRUE(picture.regions.empty());
  // A sound record is no picture; an item past the store is none either.
  EXPECT_FALSE(db.PeekPicture(1, width, height));
  EXPECT_FALSE(db.ReadPictureRecord(1, picture, FALSE));
  EXPECT_FALSE(db.ReadPictureRecord(2, picture, FALSE));
  PictureHeader header;
  CString caption;
  std::vector<u8> palette, bitmap;
  EXPECT_FALSE(db.ReadPlainPicture(0, header, caption, palette, bitmap));
}

// The sample content's media store: the comet's picture leads by its hot
// spots to the items of the night sky and the eruption.
TEST(SamplePictures, TheCometsHotSpotsLeadToOtherItems) {
  const builder::Bytes& phrases = builder::MediaPhraseResource();
  RegisterProgramData(CContentDb::PhraseResourceId, phrases.data(), static_cast<u32>(phrases.size()));
  TempDir dir;
  builder::WriteContentSample(dir.path());
  CContentDb db;
  std::strcpy(db.m_multimediaPath, dir.path().c_str());
  std::strcpy(db.m_mmxFile, "MAROVA.MMX");
  std::strcpy(db.m_mmdFile, "MAROVA.MMD");
  ASSERT_TRUE(db.OpenMediaIndex() && db.OpenMediaData());
  const auto titleOf = [&](UINT item) {
    BYTE type = 0;
    WORD sound = 0;
    CString title;
    CDWordArray related;
    return db.ReadMediaList(item, type, sound, title, related) >= 0 ? std::string(static_cast<const char*>(title))
                                                                    : std::string("?");
  };
  std::vector<std::string> pictured;
  for (UINT item = 0; item < 5; ++item) {
    PictureRecord picture;
    if (!db.ReadPictureRecord(item, picture, TRUE) || picture.header.regionKind == 0) continue;
    pictured.push_back(titleOf(item));
    EXPECT_EQ(picture.header.regionKind, 1);
    CObArray spots;
    ASSERT_TRUE(ReadHotSpots(1, picture.regions.data(), static_cast<u32>(picture.regions.size()), spots));
    ASSERT_EQ(spots.GetSize(), 2);
    EXPECT_EQ(titleOf(static_cast<CHotSpot*>(spots[0])->GetId()), "The night sky");
    EXPECT_EQ(titleOf(static_cast<CHotSpot*>(spots[1])->GetId()), "An eruption");
    EXPECT_TRUE(static_cast<CHotSpot*>(spots[0])->HitTest(1, 1, 0));
    EXPECT_TRUE(static_cast<CHotSpot*>(spots[1])->HitTest(100, 100, 'e'));
    RemoveHotSpots(spots);
  }
  EXPECT_EQ(pictured, std::vector<std::string>{"A comet's tail"});
  db.CloseMediaFiles();
  RegisterProgramData(CContentDb::PhraseResourceId, nullptr, 0);
}

}  // namespace
