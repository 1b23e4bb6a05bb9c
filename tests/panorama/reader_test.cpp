// The movie reader: the file's atoms, the panorama track's tables, the
// choice of image tracks, node samples and the table of open file objects.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "movie_reader.h"
#include "pano_fixture.h"
#include "pano_types.h"

namespace panotest {
namespace {

using namespace pano;

class ReaderTest : public PanoHostTest {
 protected:
  std::int32_t Read(const builder::Bytes& bytes, MovieFile** file) {
    const std::string path = WriteFile(bytes, "read.mov");
    const std::intptr_t handle = System().openFile(path.c_str());
    const std::int32_t result = MovieFileRead(handle, kModeDib, 32, file);
    if (result != kOk) System().closeFile(handle);
    return result;
  }
};

TEST_F(ReaderTest, ShortFilesBadAtomsAndMissingPartsFail) {
  MovieFile* file = nullptr;
  EXPECT_EQ(Read(builder::Bytes(7, 0), &file), kErrMissing);
  builder::Bytes badSize = {0, 0, 0, 4, 'm', 'o', 'o', 'v', 0, 0, 0, 0};
  EXPECT_EQ(Read(badSize, &file), kErrAtomWalk);
  builder::Bytes noMovie = {0, 0, 0, 8, 'f', 'r', 'e', 'e'};
  EXPECT_EQ(Read(noMovie, &file), kErrAtomWalk);
  bp::PanoramaMovie disabled = SmallPanorama();
  disabled.flagsWithoutEnabled = true;  // every track lacks flag 2: none is kept
  EXPECT_EQ(Read(bp::BuildPanoramaMovie(disabled), &file), kErrMissing);
  builder::Bytes missingTrack = bp::BuildPanoramaMovie(SmallPanorama());
  const long stsd = FindAtom(missingTrack, "stsd");
  missingTrack[static_cast<std::size_t>(stsd) + 16 + 55] = 7;  // a hot-spot track that is not there
  EXPECT_EQ(Read(missingTrack, &file), kErrMissing);
  EXPECT_EQ(kn::LiveBlocks(), blocksAtStart_);
}

TEST_F(ReaderTest, ReadsTheDescriptionNameNodesAndDisplayRectangle) {
  bp::PanoramaMovie movie = SmallPanorama(3);
  movie.name = "Courtyard";
  MovieFile* file = nullptr;
  ASSERT_EQ(Read(bp::BuildPanoramaMovie(movie), &file), kOk);
  ASSERT_TRUE(MovieFileAdopt(file, 0));
  EXPECT_STREQ(file->pano->name, "Courtyard");
  EXPECT_EQ(file->pano->nodeCount, 3);
  kn::KnRect rect{};
  ASSERT_TRUE(MovieFileGetDisplayRect(file, &rect));
  EXPECT_EQ(rect.right, 64);
  EXPECT_EQ(rect.bottom, 48);
  EXPECT_FALSE(MovieFileSetDisplayRect(file, kn::KnRect{10, 0, 5, 10}));
  const PanoDescription* d = MovieFileDescription(file);
  EXPECT_EQ(d->pictureWidth, 512);
  EXPECT_EQ(d->grid[1], 8);
  EXPECT_EQ(d->grid[2], 2);
  // Node IDs 100, 101, 102: the first ID at least the one sought.
  EXPECT_EQ(MovieFileNodeIndex(file, 101), 2);
  EXPECT_EQ(MovieFileNodeIndex(file, 50), 1);
  EXPECT_EQ(MovieFileNodeIndex(file, 500), 1);
  EXPECT_EQ(MovieFileNodeId(file, 0), 100);
  DecodedNode node;
  ASSERT_EQ(MovieFileGetNode(file, 3, &node), kOk);
  EXPECT_EQ(node.header.words[kHdrNodeId], 102);
  EXPECT_EQ(MovieFileGetNode(file, 4, &node), kErrNodeInfo);
  EXPECT_EQ(MovieFileClose(file), kOk);
  EXPECT_EQ(kn::LiveBlocks(), blocksAtStart_);
}

TEST_F(ReaderTest, ResolutionStepsDownToATrackThatExists) {
  bp::PanoramaMovie movie = SmallPanorama();
  movie.resolutionTracks = {5, 6, 0, 0};
  SetProfile("VR", "Resolution", 3);
  MovieFile* file = nullptr;
  ASSERT_EQ(Read(bp::BuildPanoramaMovie(movie), &file), kOk);
  EXPECT_EQ(file->pano->resolution, 1);
  MovieFileDiscard(file);
}

TEST_F(ReaderTest, LongNamesAndOversizedCountsReadOnlyWhatIsThere) {
  bp::PanoramaMovie movie = SmallPanorama(2);
  movie.name = std::string(40, 'x');
  builder::Bytes bytes = bp::BuildPanoramaMovie(movie);
  const long info = FindAtom(bytes, "pInf");
  ASSERT_GT(info, 0);
  bytes[static_cast<std::size_t>(info) + 8] = 200;    // name length
  bytes[static_cast<std::size_t>(info) + 54] = 0x7F;  // node count far beyond the atom
  const long hot = FindAtom(bytes, "pHot");
  bytes[static_cast<std::size_t>(hot) + 10] = 0x40;  // 16384+ hot spots in an empty table
  MovieFile* file = nullptr;
  ASSERT_EQ(Read(bytes, &file), kOk);
  ASSERT_TRUE(MovieFileAdopt(file, 0));
  EXPECT_EQ(std::strlen(file->pano->name), 31u);
  EXPECT_EQ(file->pano->nodeCount, 2);
  DecodedNode node;
  ASSERT_EQ(MovieFileGetNode(file, 1, &node), kOk);
  EXPECT_EQ(node.hotSpots.count, 0);
  MovieFileClose(file);
}

TEST_F(ReaderTest, SampleTablesMustFitTheirAtomsAndCoverTheSamples) {
  MovieFile* file = nullptr;
  builder::Bytes chunks = bp::BuildPanoramaMovie(SmallPanorama());
  const long stco = FindAtom(chunks, "stco");
  chunks[static_cast<std::size_t>(stco) + 14] = 0x10;  // a chunk count far beyond the atom
  EXPECT_EQ(Read(chunks, &file), kErrMakeTable);
  builder::Bytes sizes = bp::BuildPanoramaMovie(SmallPanorama());
  const long stsz = FindAtom(sizes, "stsz");
  sizes[static_cast<std::size_t>(stsz) + 18] = 0x10;  // more samples than sizes
  EXPECT_EQ(Read(sizes, &file), kErrMakeTable);
  builder::Bytes runs = bp::BuildPanoramaMovie(SmallPanorama());
  const long stsc = FindAtom(runs, "stsc");
  runs[static_cast<std::size_t>(stsc) + 23] = 0;  // no samples per chunk: nothing covers the samples
  EXPECT_EQ(Read(runs, &file), kErrMakeTable);
  EXPECT_EQ(kn::LiveBlocks(), blocksAtStart_);
}

TEST_F(ReaderTest, ASampleTooLargeForAnyBufferFailsTheTrack) {
  MovieFile* file = nullptr;
  builder::Bytes movie = bp::BuildPanoramaMovie(SmallPanorama());
  // Every track's last sample 2^31 - 1 bytes long ("stsz": +16 the sample
  // count, sizes from +20): the panorama track's buffer, a sample and 8
  // bytes, cannot be had (its size was an int overflow), and the panorama
  // track's tables fail as a whole.
  const std::string tag = "stsz";
  for (auto at = std::search(movie.begin(), movie.end(), tag.begin(), tag.end()); at != movie.end();
       at = std::search(at + 1, movie.end(), tag.begin(), tag.end())) {
    const auto atom = static_cast<std::size_t>(at - movie.begin()) - 4;
    const std::size_t count = movie[atom + 18] << 8 | movie[atom + 19];
    const std::size_t last = atom + 20 + 4 * (count - 1);
    for (int i = 0; i < 4; ++i) movie[last + i] = i == 0 ? 0x7F : 0xFF;
  }
  EXPECT_EQ(Read(movie, &file), kErrMakeTable);
  EXPECT_EQ(kn::LiveBlocks(), blocksAtStart_);
}

TEST_F(ReaderTest, ColourTableKeepsAtMost256Entries) {
  builder::Bytes bytes = bp::BuildPanoramaMovie(SmallPanorama());
  const long moov = FindAtom(bytes, "moov");
  ASSERT_GT(moov, 0);
  builder::ByteWriter ctab;
  ctab.U32be(3000);
  ctab.Append(std::string_view("ctab"));
  ctab.Zeros(2992);
  bytes.insert(bytes.end(), ctab.bytes().begin(), ctab.bytes().end());
  const std::uint32_t size = static_cast<std::uint32_t>(bytes.size() - static_cast<std::size_t>(moov));
  for (int i = 0; i < 4; ++i)
    bytes[static_cast<std::size_t>(moov) + i] = static_cast<std::uint8_t>(size >> (24 - 8 * i));
  MovieFile* file = nullptr;
  ASSERT_EQ(Read(bytes, &file), kOk);
  EXPECT_EQ(file->colorCount, 256);
  MovieFileDiscard(file);
}

TEST_F(ReaderTest, SixteenOpenFileObjectsAtMost) {
  const builder::Bytes bytes = bp::BuildPanoramaMovie(SmallPanorama());
  std::intptr_t movies[17];
  for (int i = 0; i < 17; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "m%d.mov", i);
    movies[i] = OpenMovie(bytes, name);
  }
  MovieFile* files[16];
  std::int32_t error = 0;
  for (int i = 0; i < 16; ++i) {
    files[i] = MovieFileOpen(movies[i], true, kModeDib, 32, &error);
    ASSERT_NE(files[i], nullptr) << i;
  }
  EXPECT_EQ(MovieFileOpen(movies[16], true, kModeDib, 32, &error), nullptr);
  EXPECT_EQ(error, kErrBadFile);
  // The same movie, or the file object itself, finds the open one.
  EXPECT_EQ(MovieFileOpen(movies[3], true, kModeDib, 32, &error), files[3]);
  EXPECT_EQ(MovieFileOpen(reinterpret_cast<std::intptr_t>(files[5]), false, kModeDib, 32, &error), files[5]);
  EXPECT_EQ(MovieFileClose(files[0]), kOk);
  EXPECT_EQ(MovieFileCount(), 15);
  EXPECT_EQ(MovieFileOpen(movies[5], false, kModeDib, 32, &error), files[5]);  // later slots moved up
  for (int i = 1; i < 16; ++i) MovieFileClose(files[i]);
  EXPECT_EQ(MovieFileCount(), 2);  // the two opened again hold a share each
  MovieFileClose(files[3]);
  MovieFileClose(files[5]);
  MovieFileClose(files[5]);
  EXPECT_EQ(MovieFileCount(), 0);
  EXPECT_EQ(MovieFileClose(files[1]), kErrBadFile);
}

}  // namespace
}  // namespace panotest

namespace panotest {
namespace {

using namespace pano;

class ReaderMemoryTest : public PanoHostTest {};

// Memory running out at any allocation of a read leaves nothing behind.
TEST_F(ReaderMemoryTest, EveryFailedAllocationUnwinds) {
  bp::PanoramaMovie movie = SmallPanorama(2);
  movie.hotSpotTrack = true;
  const std::string path = WriteFile(bp::BuildPanoramaMovie(movie), "memory.mov");
  int failures = 0;
  for (int n = 0; n < 200; ++n) {
    const std::intptr_t handle = System().openFile(path.c_str());
    kn::FailMemoryAfter(n);
    MovieFile* file = nullptr;
    const std::int32_t result = MovieFileRead(handle, kModeDib, 32, &file);
    kn::FailMemoryAfter(-1);
    if (result == kOk) {
      MovieFileDiscard(file);
      break;
    }
    ++failures;
    System().closeFile(handle);
    EXPECT_TRUE(result == kErrMemory || result == kErrMakeTable) << n << ": " << result;
    EXPECT_EQ(kn::LiveBlocks(), blocksAtStart_) << n;
  }
  EXPECT_GT(failures, 5);
}

}  // namespace
}  // namespace panotest
