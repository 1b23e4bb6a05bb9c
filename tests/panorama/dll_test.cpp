// The plug-in DLL as the media architecture loads it: its registration, the
// selector dispatch, both controllers through the stand-in host, and a view
// rendered into a window whose pixels are read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "kn_api.h"
#include "pano_controller.h"
#include "panorama/panorama_movie.h"
#include "temp_dir.h"

namespace {

namespace bp = builder::panorama;
using pano::HotSpotRecord;
using pano::MoveRecord;

using Identify = std::int32_t (*)(kn::KnComponentRegistration**);
using Entry = std::intptr_t (*)(std::int32_t, const std::intptr_t*, std::int32_t);
using Manager = std::intptr_t (*)(std::int32_t, std::int32_t, const std::intptr_t*, std::int32_t);
using Component = std::intptr_t (*)(std::int16_t, const std::intptr_t*, std::int32_t);
using Start = std::int32_t (*)();
using Stop = void (*)();
using FreeBlock = void (*)(void*);

constexpr std::intptr_t kUnknown = static_cast<std::int32_t>(0x80008002u);

template <class F>
F Proc(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The panorama's picture: red tells the line (x / 2), green the row (2 y).
bp::Rgb Colour(int x, int y) { return bp::Rgb{static_cast<std::uint8_t>(x / 2), static_cast<std::uint8_t>(2 * y), 40}; }

bp::PanoramaMovie Panorama() {
  bp::PanoramaMovie movie;
  movie.viewWidth = 80;
  movie.viewHeight = 60;
  movie.pictureWidth = 512;
  movie.pictureHeight = 128;
  movie.tileWidth = 64;
  movie.linesPerTile = 64;
  movie.hotSpotTrack = true;
  for (int n = 0; n < 2; ++n) {
    bp::Node node;
    node.id = 10 + n;
    node.name = n == 0 ? "Hall" : "Garden";
    node.defaultZoom = bp::Degrees(40);
    node.defaultPan = bp::Degrees(180);
    node.picture = Colour;
    node.hotSpotPicture = [](int x, int) -> std::uint8_t { return x >= 224 && x < 288 ? 5 : 0; };
    bp::HotSpot spot;
    spot.id = 5;
    spot.type = "link";
    spot.target = 1;
    spot.name = "Door";
    node.hotSpots.push_back(spot);
    node.links.push_back(bp::Link{1, 11 - n, bp::Degrees(90), 0, 0});
    movie.nodes.push_back(node);
  }
  return movie;
}

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    media_ = LoadLibraryA("KNIM32.DLL");
    manager_ = LoadLibraryA("KNCM32.DLL");
    ASSERT_NE(media_, nullptr);
    ASSERT_NE(manager_, nullptr);
    entry_ = Proc<Entry>(media_, "_EntryPoint");
    managerEntry_ = Proc<Manager>(manager_, "_EntryPoint");
    ASSERT_EQ(Proc<Start>(manager_, "_KncmInitialize")(), 0);
  }
  void TearDown() override {
    for (std::intptr_t c : controllers_) Media(kn::kKnDisposeController, {c});
    for (std::intptr_t m : movies_) Media(kn::kKnDisposeMovie, {m});
    Proc<Stop>(manager_, "_KncmTerminate")();
    if (window_ != nullptr) DestroyWindow(window_);
    FreeLibrary(manager_);
    FreeLibrary(media_);
  }
  std::intptr_t Media(std::int32_t selector, std::initializer_list<std::intptr_t> args) {
    return entry_(selector, args.begin(), static_cast<std::int32_t>(args.size()));
  }
  std::intptr_t Call(std::intptr_t controller, std::int16_t selector, std::initializer_list<std::intptr_t> params) {
    std::vector<std::intptr_t> args = {controller};
    args.insert(args.end(), params.begin(), params.end());
    return managerEntry_(kn::kGroupController, selector, args.data(), static_cast<std::int32_t>(args.size()));
  }
  std::intptr_t Action(std::intptr_t controller, std::int32_t action, std::intptr_t parameter) {
    return Media(kn::kKnControllerAction, {controller, action, parameter});
  }
  std::intptr_t OpenMovie(const builder::Bytes& bytes, const std::string& name) {
    const std::string path = dir_.File(name);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::intptr_t reference = 0, movie = 0;
    EXPECT_EQ(Media(kn::kKnOpenMovieFile,
                    {reinterpret_cast<std::intptr_t>(path.c_str()), reinterpret_cast<std::intptr_t>(&reference), 0}),
              0);
    EXPECT_EQ(Media(kn::kKnNewMovieFromFile, {reinterpret_cast<std::intptr_t>(&movie), reference, 0, 0, 0, 0}), 0);
    Media(kn::kKnCloseMovieFile, {reference});
    movies_.push_back(movie);
    return movie;
  }
  HWND Window() {
    if (window_ == nullptr) {
      window_ =
          CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 150, nullptr, nullptr, nullptr, nullptr);
    }
    return window_;
  }
  std::intptr_t Controller(std::intptr_t movie, RECT rect) {
    const std::intptr_t c = Media(kn::kKnNewMovieController, {movie, reinterpret_cast<std::intptr_t>(&rect), 3,
                                                              reinterpret_cast<std::intptr_t>(Window())});
    if (c != 0) controllers_.push_back(c);
    return c;
  }
  std::int32_t Out32(std::intptr_t controller, std::int32_t action) {
    std::int32_t value = -12345;
    Action(controller, action, reinterpret_cast<std::intptr_t>(&value));
    return value;
  }

  HMODULE media_ = nullptr, manager_ = nullptr;
  Entry entry_ = nullptr;
  Manager managerEntry_ = nullptr;
  HWND window_ = nullptr;
  TempDir dir_;
  std::vector<std::intptr_t> controllers_, movies_;
};

TEST(PluginRegistrationTest, IdentifyHandsOutTwoControllers) {
  HMODULE plugin = LoadLibraryA("KNVRW32.DLL");
  ASSERT_NE(plugin, nullptr);
  kn::KnComponentRegistration* record = nullptr;
  EXPECT_EQ(Proc<Identify>(plugin, "THNGIDENTIFY2")(&record), 0x676E6874);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->version, 0x00010000);
  EXPECT_EQ(record->count, 2);
  EXPECT_EQ(std::memcmp(record->descriptors[0].type, "play", 4), 0);
  EXPECT_EQ(std::memcmp(record->descriptors[0].subtype, "STpn", 4), 0);
  EXPECT_EQ(std::memcmp(record->descriptors[0].manufacturer, "wzq ", 4), 0);
  EXPECT_EQ(std::memcmp(record->descriptors[1].subtype, "stna", 4), 0);
  Proc<FreeBlock>(GetModuleHandleA("KNIM32.DLL"), "FreeMemory")(record);

  for (const char* name : {"PanoCtlDispatch", "ObjCtlDispatch"}) {
    Component dispatch = Proc<Component>(plugin, name);
    ASSERT_NE(dispatch, nullptr);
    const std::intptr_t none[3] = {0, 0, 0};
    EXPECT_EQ(dispatch(23, none, 3), kUnknown) << name;
    EXPECT_EQ(dispatch(-7, none, 3), kUnknown) << name;
    EXPECT_EQ(dispatch(-4, none, 3), 0x1003) << name;  // product version 1.0.3.7
    // A record that is not in the table: refused, unless the plug-in calls itself.
    std::vector<std::uint8_t> fake(512, 0);
    const std::intptr_t record = reinterpret_cast<std::intptr_t>(fake.data());
    const std::intptr_t outside[4] = {0, 0, record, 77};
    EXPECT_EQ(dispatch(20, outside, 4), 0x8002) << name;
    EXPECT_EQ(dispatch(7, outside, 3), 0) << name;
    EXPECT_EQ(dispatch(11, outside, 3), 0) << name;
    const std::intptr_t own[4] = {-1, 0, record, 77};
    EXPECT_EQ(dispatch(20, own, 4), 0) << name;
    EXPECT_EQ(dispatch(8, own, 3), 77) << name;
  }
  FreeLibrary(plugin);
}

// Every selector that takes a record checks it: one outside the table is
// refused with 0x8002, except where the answer is 0 (3 and the panorama's 6
// check nothing; 6, 7, 11 and close answer 0; -3, -5 and -6 do nothing).
TEST(PluginRegistrationTest, EachSelectorAnswersARecordOutsideTheTable) {
  HMODULE plugin = LoadLibraryA("KNVRW32.DLL");
  ASSERT_NE(plugin, nullptr);
  std::vector<std::uint8_t> fake(512, 0);
  const std::intptr_t outside[3] = {0, 0, reinterpret_cast<std::intptr_t>(fake.data())};
  for (const char* name : {"PanoCtlDispatch", "ObjCtlDispatch"}) {
    Component dispatch = Proc<Component>(plugin, name);
    ASSERT_NE(dispatch, nullptr);
    for (std::int16_t selector = -6; selector <= 22; ++selector) {
      if (selector == -1 || selector == -4 || selector == 21) continue;  // open, version and create take no record
      const bool zero = selector < 0 || selector == 3 || selector == 6 || selector == 7 || selector == 11;
      EXPECT_EQ(dispatch(selector, outside, 3), zero ? 0 : 0x8002) << name << " selector " << selector;
    }
  }
  FreeLibrary(plugin);
}

TEST_F(PluginTest, PanoramaControllerActions) {
  const std::intptr_t movie = OpenMovie(bp::BuildPanoramaMovie(Panorama()), "pano.mov");
  const std::intptr_t c = Controller(movie, RECT{0, 0, 80, 60});
  ASSERT_NE(c, 0);
  EXPECT_EQ(Out32(c, 4146), 10);
  EXPECT_NEAR(Out32(c, 4149) / 65536.0, 180.0, 0.5);
  EXPECT_NEAR(Out32(c, 4151) / 65536.0, 40.0, 0.5);
  char name[256] = {};
  Action(c, 4147, reinterpret_cast<std::intptr_t>(name));
  EXPECT_EQ(std::string(name + 1, static_cast<std::size_t>(name[0])), "Hall");
  Action(c, 4152, bp::Degrees(100));
  EXPECT_NEAR(Out32(c, 4149) / 65536.0, 100.0, 0.5);
  std::int16_t mode = 0;
  Action(c, 4158, reinterpret_cast<std::intptr_t>(&mode));
  EXPECT_EQ(mode, 2);
  Action(c, 4121, 0);
  EXPECT_EQ(Out32(c, 4122), 0);

  // The hot spot under the centre, by ID and type.
  Action(c, 4152, bp::Degrees(180));
  POINT centre{40, 30};
  EXPECT_EQ(Action(c, 4107, reinterpret_cast<std::intptr_t>(&centre)), 5);
  POINT edge{2, 30};
  Action(c, 4152, bp::Degrees(20));
  EXPECT_EQ(Action(c, 4107, reinterpret_cast<std::intptr_t>(&edge)), 255);
  HotSpotRecord info{};
  info.id = 5;
  Action(c, 4155, reinterpret_cast<std::intptr_t>(&info));
  EXPECT_EQ(std::memcmp(&info.type, "link", 4), 0);
  EXPECT_EQ(std::string(info.name + 1, static_cast<std::size_t>(info.name[0])), "Door");

  // Clicking the hot spot follows its link.
  Action(c, 4152, bp::Degrees(180));
  Action(c, 4096, reinterpret_cast<std::intptr_t>(&centre));
  std::int32_t event[2] = {};
  Action(c, 4108, reinterpret_cast<std::intptr_t>(event));
  EXPECT_EQ(std::memcmp(&event[0], "jump", 4), 0);
  EXPECT_EQ(event[1], 11);
  EXPECT_NEAR(Out32(c, 4149) / 65536.0, 90.0, 0.5);
  Action(c, 4102, 10);
  EXPECT_EQ(Out32(c, 4146), 10);

  // Keys: the pan-left limit does nothing but the key still counts as handled.
  MoveRecord none{};
  (void)none;
  Action(c, 32, 1);
  const std::int32_t before = Out32(c, 4149);
  const std::intptr_t key[2] = {VK_RIGHT, 0};
  EXPECT_EQ(Call(c, 12, {key[0], key[1]}), 0);
  EXPECT_NE(Out32(c, 4149), before);
}

std::intptr_t gFiltered = 0;
std::intptr_t Filter(std::intptr_t, std::int32_t action, std::intptr_t, std::intptr_t reference) {
  if (action != 4107) return 0;
  gFiltered = reference;
  return 1;
}

TEST_F(PluginTest, ActionFilterTakesActionsFirst) {
  const std::intptr_t movie = OpenMovie(bp::BuildPanoramaMovie(Panorama()), "filter.mov");
  const std::intptr_t c = Controller(movie, RECT{0, 0, 80, 60});
  ASSERT_NE(c, 0);
  EXPECT_EQ(Call(c, 16, {reinterpret_cast<std::intptr_t>(&Filter), 42}), 0);
  POINT centre{40, 30};
  EXPECT_EQ(Action(c, 4107, reinterpret_cast<std::intptr_t>(&centre)), 0);
  EXPECT_EQ(gFiltered, 42);
}

TEST_F(PluginTest, RendersTheViewIntoTheWindow) {
  const std::intptr_t movie = OpenMovie(bp::BuildPanoramaMovie(Panorama()), "render.mov");
  const std::intptr_t c = Controller(movie, RECT{0, 0, 80, 60});
  ASSERT_NE(c, 0);
  for (const double degrees : {90.0, 200.0}) {
    Action(c, 4152, bp::Degrees(degrees));
    EXPECT_EQ(Media(kn::kKnControllerMessage, {c, reinterpret_cast<std::intptr_t>(Window()), WM_PAINT, 0, 0}), 0);
    HDC dc = GetDC(Window());
    const COLORREF centre = GetPixel(dc, 40, 30);
    const COLORREF outside = GetPixel(dc, 150, 100);
    ReleaseDC(Window(), dc);
    const int line = static_cast<int>(degrees / 360 * 512);
    EXPECT_NEAR(GetRValue(centre), line / 2, 3) << degrees;
    EXPECT_NEAR(GetGValue(centre), 128, 6) << degrees;
    EXPECT_EQ(GetBValue(centre), 40) << degrees;
    EXPECT_NE(outside, centre);  // nothing drawn beyond the view
  }
}

TEST_F(PluginTest, WindowMessagesBoundsAndActivation) {
  const std::intptr_t movie = OpenMovie(bp::BuildPanoramaMovie(Panorama()), "messages.mov");
  const std::intptr_t c = Controller(movie, RECT{0, 0, 80, 60});
  ASSERT_NE(c, 0);
  const std::intptr_t window = reinterpret_cast<std::intptr_t>(Window());
  // Keys reach the view only with flag 2 (action 32) on an active controller.
  const std::int32_t start = Out32(c, 4149);
  EXPECT_EQ(Call(c, 11, {window, WM_KEYDOWN, VK_LEFT, 0}), 0);
  EXPECT_EQ(Out32(c, 4149), start);
  Action(c, 32, 1);
  EXPECT_EQ(Out32(c, 33), 1);
  Call(c, 11, {window, WM_KEYDOWN, VK_LEFT, 0});
  EXPECT_NE(Out32(c, 4149), start);
  EXPECT_EQ(Call(c, 11, {window, WM_MOUSEMOVE, 0, 0}), 1);
  EXPECT_EQ(Call(c, 0, {0, 0}), 0);  // deactivate
  EXPECT_EQ(Call(c, 11, {window, WM_MOUSEMOVE, 0, 0}), 0);
  Call(c, 0, {0, 1});

  // Bounds: centred in a larger rectangle, cut evenly in a smaller one, or at its corner.
  RECT given{0, 0, 200, 150}, box{};
  Call(c, 14, {reinterpret_cast<std::intptr_t>(&given), 0, 0});
  Call(c, 4, {reinterpret_cast<std::intptr_t>(&box)});
  EXPECT_EQ(box.left, 60);
  EXPECT_EQ(box.top, 45);
  EXPECT_EQ(box.right, 140);
  Call(c, 14, {reinterpret_cast<std::intptr_t>(&given), 0, 1});
  Call(c, 4, {reinterpret_cast<std::intptr_t>(&box)});
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.bottom, 60);
  RECT small{0, 0, 40, 40};
  Call(c, 14, {reinterpret_cast<std::intptr_t>(&small), 0, 0});
  Call(c, 4, {reinterpret_cast<std::intptr_t>(&box)});
  EXPECT_EQ(box.right - box.left, 40);
  EXPECT_EQ(box.bottom - box.top, 30);
  EXPECT_EQ(box.top, 5);

  // Detached, the controller has no movie and draws nothing.
  Call(c, 15, {});
  EXPECT_EQ(Call(c, 7, {}), 0);
  EXPECT_EQ(Call(c, 2, {}), 0);
}

// The view keeps 1..32767 pixels a side. Bounds with flag 2 past that (40,000
// and 65,535 wide, one spanning more than an int, none at all) are refused
// with the bad-parameter error and the view keeps its box; without flag 2 the
// view's own size is centred in, or put at the corner of, any rectangle.
// Caller points anywhere in an int's range hit-test and map to angles.
TEST_F(PluginTest, BoundsAViewCannotKeepAreRefused) {
  const std::intptr_t movie = OpenMovie(bp::BuildPanoramaMovie(Panorama()), "bounds.mov");
  const std::intptr_t c = Controller(movie, RECT{0, 0, 80, 60});
  ASSERT_NE(c, 0);
  const auto bounds = [&](RECT rect, std::intptr_t flags) {
    return Call(c, 14, {reinterpret_cast<std::intptr_t>(&rect), 0, flags});
  };
  const auto box = [&] {
    RECT now{};
    Call(c, 4, {reinterpret_cast<std::intptr_t>(&now)});
    return std::vector<LONG>{now.left, now.top, now.right, now.bottom};
  };
  for (const RECT refused : {RECT{0, 0, 40000, 60}, RECT{0, 0, 65535, 60}, RECT{-2000000000, 0, 2000000000, 60},
                             RECT{0, 0, 32768, 60}, RECT{0, 0, 0, 60}}) {
    EXPECT_EQ(bounds(refused, 2), -50) << refused.right;
    EXPECT_EQ(box(), (std::vector<LONG>{0, 0, 80, 60}));
    POINT point{5, 5};
    Action(c, 4107, reinterpret_cast<std::intptr_t>(&point));
  }
  const RECT spanning{-2000000000, -2000000000, 2000000000, 2000000000};
  EXPECT_EQ(bounds(spanning, 0), 0);
  EXPECT_EQ(box(), (std::vector<LONG>{-40, -30, 40, 30}));
  EXPECT_EQ(bounds(spanning, 1), 0);
  EXPECT_EQ(box(), (std::vector<LONG>{-2000000000, -2000000000, -1999999920, -1999999940}));
  EXPECT_EQ(bounds(RECT{0, 0, 1, 1000}, 0), -50);  // cut to no height
  EXPECT_EQ(bounds(RECT{0, 0, 32767, 60}, 2), 0);
  EXPECT_EQ(bounds(RECT{0, 0, 80, 60}, 2), 0);

  for (const POINT distant : {POINT{INT32_MIN, INT32_MAX}, POINT{INT32_MAX, INT32_MIN}}) {
    POINT point = distant;
    const std::intptr_t id = Action(c, 4107, reinterpret_cast<std::intptr_t>(&point));
    EXPECT_TRUE(id == 255 || id == 5) << id;
    pano::AnglesAtPoint angles{};
    angles.point = distant;
    EXPECT_EQ(Action(c, 4156, reinterpret_cast<std::intptr_t>(&angles)), 0);
  }

  // A movie set at a place whose rectangle would reach past an int is not attached.
  const std::intptr_t window = reinterpret_cast<std::intptr_t>(Window());
  EXPECT_EQ(Call(c, 19, {movie, window, INT32_MAX - 40, 0}), -50);
  EXPECT_EQ(Call(c, 7, {}), 0);
  EXPECT_EQ(Call(c, 19, {movie, window, 10, 20}), 0);
  EXPECT_EQ(box(), (std::vector<LONG>{10, 20, 90, 80}));
  // The stand-in's standard controller holds its box too: no controller for a box past it.
  EXPECT_EQ(Controller(movie, RECT{0, 0, 40000, 60}), 0);
}

// The object controller's steps from caller points at an int's ends, and its
// bounds held by the standard controller.
TEST_F(PluginTest, ObjectControllerStepsFromPointsAtAnIntsEnds) {
  bp::ObjectMovie object;
  object.columns = 36;
  object.rows = 3;
  object.frameWidth = 160;
  object.frameHeight = 120;
  object.frame = [](int frame, int, int) { return bp::Rgb{static_cast<std::uint8_t>(frame), 0, 0}; };
  const std::intptr_t movie = OpenMovie(bp::BuildObjectMovie(object), "far.mov");
  const std::intptr_t c = Controller(movie, RECT{0, 0, 160, 120});
  ASSERT_NE(c, 0);
  // The first step (1 ms) from far left: the centre rule's largest step, 34
  // degrees, taken off the pan of 0 and wrapped into the turn.
  POINT point{INT32_MIN, 60};
  EXPECT_EQ(Action(c, 10007, reinterpret_cast<std::intptr_t>(&point)), 1);
  std::int32_t pan = 0;
  Action(c, 10002, reinterpret_cast<std::intptr_t>(&pan));
  EXPECT_NEAR(pan / 65536.0, 326.0, 0.01);
  point = POINT{INT32_MAX, INT32_MIN};
  EXPECT_EQ(Action(c, 10007, reinterpret_cast<std::intptr_t>(&point)), 1);
  Action(c, 10002, reinterpret_cast<std::intptr_t>(&pan));
  EXPECT_GE(pan, 326 << 16);
  EXPECT_LE(pan, 360 << 16);
  RECT wide{0, 0, 40000, 120};
  EXPECT_EQ(Call(c, 14, {reinterpret_cast<std::intptr_t>(&wide), 0, 0}), -50);
  RECT fits{0, 0, 320, 240};
  EXPECT_EQ(Call(c, 14, {reinterpret_cast<std::intptr_t>(&fits), 0, 0}), 0);
  EXPECT_EQ(Controller(movie, wide), 0);
}

TEST_F(PluginTest, SixtyFifthInstanceIsRefused) {
  bp::PanoramaMovie small = Panorama();
  small.hotSpotTrack = false;
  const std::intptr_t movie = OpenMovie(bp::BuildPanoramaMovie(small), "many.mov");
  for (int i = 0; i < 64; ++i) ASSERT_NE(Controller(movie, RECT{0, 0, 80, 60}), 0) << i;
  EXPECT_EQ(Controller(movie, RECT{0, 0, 80, 60}), 0);
  HMODULE plugin = GetModuleHandleA("KNVRW32.DLL");
  const std::intptr_t none[3] = {0, 0, 0};
  EXPECT_EQ(Proc<Component>(plugin, "PanoCtlDispatch")(-1, none, 3), -2152);
  Media(kn::kKnDisposeController, {controllers_.back()});
  controllers_.pop_back();
  EXPECT_EQ(Proc<Component>(plugin, "PanoCtlDispatch")(-1, none, 3), 0);
}

TEST_F(PluginTest, ObjectControllerMovesAcrossTheGrid) {
  bp::ObjectMovie object;
  object.columns = 36;
  object.rows = 3;
  object.frameWidth = 16;
  object.frameHeight = 8;
  object.frame = [](int frame, int, int) { return bp::Rgb{static_cast<std::uint8_t>(frame), 0, 0}; };
  const std::intptr_t movie = OpenMovie(bp::BuildObjectMovie(object), "object.mov");
  const std::intptr_t c = Controller(movie, RECT{0, 0, 16, 8});
  ASSERT_NE(c, 0);
  EXPECT_EQ(Action(c, 10000, bp::Degrees(90)), 1);
  std::int16_t column = -1, row = -1;
  Action(c, 10017, reinterpret_cast<std::intptr_t>(&column));
  Action(c, 10019, reinterpret_cast<std::intptr_t>(&row));
  EXPECT_EQ(column, 9);
  Action(c, 10006, 0);
  EXPECT_EQ(Media(kn::kKnGetMovieTime, {movie}), 60 * (row * 36 + 9));
  // Column 36 wraps to 0 on a full turn; direction 350 moves one column left.
  Action(c, 10016, 36);
  Action(c, 10017, reinterpret_cast<std::intptr_t>(&column));
  EXPECT_EQ(column, 0);
  Action(c, 10010, 350);
  Action(c, 10017, reinterpret_cast<std::intptr_t>(&column));
  EXPECT_EQ(column, 35);
  std::int32_t pan = 0;
  Action(c, 10002, reinterpret_cast<std::intptr_t>(&pan));
  EXPECT_NEAR(pan / 65536.0, 350.0, 0.01);
  // A record a caller hands in with no columns or rows around the same full
  // turn is held to one viewpoint: a grid step has nothing to divide by.
  // The record begins with 16-bit words: columns, rows, a kept word and the
  // loop count (the buffer is larger than the record).
  std::int16_t record[64] = {};
  Action(c, 10005, reinterpret_cast<std::intptr_t>(record));
  record[0] = 0;
  record[1] = 0;
  record[3] = 0;
  EXPECT_EQ(Action(c, 10004, reinterpret_cast<std::intptr_t>(record)), 1);
  EXPECT_EQ(Action(c, 10010, 350), 1);
  EXPECT_EQ(Action(c, 10016, 36), 1);
  Action(c, 10005, reinterpret_cast<std::intptr_t>(record));
  EXPECT_EQ(record[0], 1);
  EXPECT_EQ(record[1], 1);
  EXPECT_EQ(record[3], 1);
  Action(c, 10017, reinterpret_cast<std::intptr_t>(&column));
  EXPECT_EQ(column, 0);
}

TEST_F(PluginTest, ControllerForAPlainMovieIsTheStandardOne) {
  bp::ObjectMovie plain;
  plain.withNavigation = false;
  plain.columns = 2;
  plain.rows = 1;
  const std::intptr_t movie = OpenMovie(bp::BuildObjectMovie(plain), "plain.mov");
  const std::intptr_t c = Controller(movie, RECT{0, 0, 64, 48});
  ASSERT_NE(c, 0);
  EXPECT_EQ(Action(c, 10000, bp::Degrees(90)), 0);  // not an object-movie action here
}

}  // namespace
