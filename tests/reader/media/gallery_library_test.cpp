// The media gallery on a slice of the reference library (its gallery made
// from xplanet-images by the native content builder, which alone can read
// JPEG pictures; see CMakeLists.txt), with the stand-in media library and the
// panorama plug-in in the system folder, as a user meets them: the maps and
// their hot spots, the panorama dragged, zoomed and its hot spot followed,
// the globe turned, the movie played and stopped, the intro, and the
// pictures each draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "browser/browser.h"
#include "core/media_library.h"
#include "dictionary/dict_view.h"
#include "display/text_model.h"
#include "home/splash_view.h"
#include "media/gallery/media_dlg.h"
#include "media/gallery/picture_view.h"
#include "media/movie_wnd.h"
#include "reader/media_ids.h"

namespace {

using apptest::App;

// What a picture of a window holds: how much of it is drawn (not black),
// and how much of that is the sea's blue.
struct Look {
  double drawn = 0, blue = 0, brightness = 0;
};

Look LookAt(const ui::Picture& picture, RECT area) {
  Look look;
  long count = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      const COLORREF c = picture.At(x, y);
      const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
      ++count;
      if (r + g + b > 30) look.drawn += 1;
      if (b > r + 18 && b + 8 >= g) look.blue += 1;
      look.brightness += (r + g + b) / 3.0;
    }
  if (count > 0) {
    look.drawn /= count;
    look.blue /= count;
    look.brightness /= count;
  }
  return look;
}

RECT ClientOf(HWND window) {
  RECT r{};
  ::GetClientRect(window, &r);
  return r;
}

class GalleryOnTheLibrary : public apptest::ReaderApp {
 protected:
  void SetUp() override {
    ReaderApp::SetUp();
    CopyLibrary();
    UseMediaLibrary(nullptr);  // the system's: the stand-in with the plug-in
    char program[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string folder(program);
    folder.erase(folder.find_last_of('\\') + 1);
    char system[MAX_PATH] = "";
    ::GetSystemDirectoryA(system, MAX_PATH);
    for (const char* name : {"KNIM32.DLL", "KNCM32.DLL", "KNVRW32.DLL"}) {
      const std::string target = std::string(system) + "\\" + name;
      ASSERT_TRUE(::CopyFileA((folder + name).c_str(), target.c_str(), FALSE)) << target;
      copied_.push_back(target);
    }
    settings.Set("Installation Options", "ShowIntro", "0");
    // The plug-in draws its frames into the window's DC (as a device-
    // independent bitmap) rather than through the video hardware onto the
    // screen, which Wine's null driver keeps apart from the windows' pictures.
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    knwIni_ = std::string(windows) + "\\KNW.INI";
    ASSERT_TRUE(::WritePrivateProfileStringA("Video 32", "Optimize", "DIB", knwIni_.c_str()));
  }
  void TearDown() override {
    ReaderApp::TearDown();
    ::DeleteFileA(knwIni_.c_str());
    for (const std::string& file : copied_) ::DeleteFileA(file.c_str());
  }
  // The library's files over the sample's.
  void CopyLibrary() {
    const std::string from = GALLERY_LIBRARY_DIR;
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA((from + "\\*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE) << from << ": the library slice is missing (its setup test builds it)";
    int files = 0;
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      ASSERT_TRUE(::CopyFileA((from + "\\" + found.cFileName).c_str(), File(found.cFileName).c_str(), FALSE));
      ++files;
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    ASSERT_GT(files, 30);
  }
  CViewPicture* OpenGallery() {
    if (!Start() || !Frame()->ShowMedia()) return nullptr;
    ui::PumpUntilIdle();
    return dynamic_cast<CViewPicture*>(Frame()->GetScreen(Screen::Media));
  }
  // The item whose media list title is `title`, or -1.
  static int ItemTitled(CViewPicture* view, const char* title) {
    const int count = App().m_multBits.GetSetCount();
    for (int item = 0; item < count; ++item) {
      BYTE type = 0;
      WORD sound = 0;
      CString text;
      CDWordArray articles;
      if (view->ReadItem(item, type, sound, text, articles) && text == title) return item;
    }
    return -1;
  }
  static void Command(CWnd* target, UINT id) {
    target->SendMessage(WM_COMMAND, id);
    ui::PumpUntilIdle();
  }
  static void Show(CViewPicture* view, int item) {
    view->GoToItem(item, 0);
    ui::PumpUntilIdle();
  }
  static ui::Picture Shot(HWND window, const char* name) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ui::PumpUntilIdle();
    const ui::Picture picture = ui::Capture(window);
    ui::SavePng(picture, name);
    return picture;
  }
  // Holds a key down while the movie window idles (the panorama zooms while Shift or Ctrl is held).
  static void HoldKey(WORD key, int milliseconds) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    ::SendInput(1, &input, sizeof input);
    ui::PumpFor(milliseconds);
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(1, &input, sizeof input);
    ui::PumpFor(50);
  }

  std::vector<std::string> copied_;
  std::string knwIni_;
};

TEST_F(GalleryOnTheLibrary, TheMapsShowTheWorldAndTheirHotSpotsLeadToTheContinents) {
  CViewPicture* view = OpenGallery();
  ASSERT_NE(view, nullptr);
  // The gallery opens on its first item, the day map, drawn whole.
  EXPECT_EQ(view->GetCurrentItem(), 0);
  EXPECT_EQ(view->GetTitle(), CString("The Earth by day"));
  CPictureWnd& picture = view->GetPictureWindow();
  ASSERT_TRUE(::IsWindow(picture.m_hWnd));
  const RECT client = ClientOf(picture.m_hWnd);
  EXPECT_GE(client.right, 600);
  EXPECT_GE(client.bottom, 300);
  const ui::Picture day = Shot(Frame()->m_hWnd, "gallery_library_day_map");
  const ui::Picture map = Shot(picture.m_hWnd, "gallery_library_day_map_picture");
  // Most of it drawn; the oceans' blue a good part of it, as on the map (the
  // poles' ice is white, the land green and brown).
  const Look whole = LookAt(map, client);
  EXPECT_GT(whole.drawn, 0.95);
  EXPECT_GT(whole.blue, 0.35);
  EXPECT_LT(whole.blue, 0.8);
  // The Pacific's middle (longitude -150, the equator) is blue, the Sahara's (10 E, 22 N) is not.
  const auto at = [&](double longitude, double latitude) {
    return POINT{static_cast<LONG>((longitude + 180) / 360 * client.right),
                 static_cast<LONG>((90 - latitude) / 180 * client.bottom)};
  };
  const POINT pacific = at(-150, 0), sahara = at(10, 22);
  EXPECT_GT(LookAt(map, {pacific.x - 5, pacific.y - 5, pacific.x + 5, pacific.y + 5}).blue, 0.9);
  EXPECT_LT(LookAt(map, {sahara.x - 5, sahara.y - 5, sahara.x + 5, sahara.y + 5}).blue, 0.1);

  // A click on Africa shows Africa's map; its Go To Article leads to the
  // dictionary entries of the continent.
  picture.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at(20, 5).x, at(20, 5).y));
  ui::PumpUntilIdle();
  EXPECT_EQ(view->GetTitle(), CString("Africa"));
  const ui::Picture africa = Shot(view->GetPictureWindow().m_hWnd, "gallery_library_africa");
  EXPECT_GT(LookAt(africa, ClientOf(view->GetPictureWindow().m_hWnd)).drawn, 0.95);
  BYTE type = 0;
  WORD sound = 0;
  CString title;
  CDWordArray linked;
  ASSERT_TRUE(view->ReadItem(view->GetCurrentItem(), type, sound, title, linked));
  EXPECT_EQ(type, 4);
  ASSERT_EQ(linked.GetSize(), 2);  // "African" and "Continent"
  Command(view, ID_MEDIA_BACK);
  EXPECT_EQ(view->GetTitle(), CString("The Earth by day"));

  // Next and previous step through the library's items, the night map next.
  Command(view, ID_MEDIA_FORWARD);
  EXPECT_EQ(view->GetTitle(), CString("The Earth by night"));
  const ui::Picture night = Shot(view->GetPictureWindow().m_hWnd, "gallery_library_night_map");
  EXPECT_LT(LookAt(night, ClientOf(view->GetPictureWindow().m_hWnd)).brightness, 30);
  Command(view, ID_MEDIA_REWIND);
  EXPECT_EQ(view->GetTitle(), CString("The Earth by day"));
  (void)day;
}

TEST_F(GalleryOnTheLibrary, ThePanoramaIsReachedByTheVrFilterAndIsDraggedZoomedAndFollowed) {
  CViewPicture* view = OpenGallery();
  ASSERT_NE(view, nullptr);
  // The media-by-subject panel's VR filter lists the panorama and the globe.
  Command(view, ID_MEDIA_SUBJECTS);
  CMediaDlg& panel = view->GetSubjectPanel();
  ASSERT_TRUE(::IsWindow(panel.m_hWnd));
  panel.ToggleFilter(IDC_FILTER_CLICKABLES);
  ui::PumpUntilIdle();
  // The clickable maps (day and night) and the two VRs.
  EXPECT_EQ(panel.GetShownSet().GetSetCount(), 4);
  const int item = ItemTitled(view, "The Earth around you");
  ASSERT_GE(item, 0);
  const int article = App().m_multBits.GetAt(item + 1);
  EXPECT_TRUE(panel.GetShownSet().Test(article));
  panel.GetTitles().SelectArticle(article);
  panel.ShowTitle();
  ui::PumpUntilIdle();
  ASSERT_EQ(view->GetTitle(), CString("The Earth around you"));
  ASSERT_TRUE(view->IsMovieCurrent());
  CMovieWnd& movie = view->GetMovieWindow();
  ASSERT_TRUE(movie.HasMovie());
  EXPECT_TRUE(view->GetButton(IDC_MEDIA_HOW_VR).IsWindowVisible());
  const HWND window = movie.m_hWnd;
  const RECT client = ClientOf(window);
  ui::PumpFor(300);
  // The window shows the panorama's own rectangle, not its whole picture.
  EXPECT_EQ(client.right, 560);
  EXPECT_EQ(client.bottom, 300);
  const ui::Picture first = Shot(window, "gallery_library_panorama");
  // It opens toward Africa and Europe: land and sea, drawn over the whole view.
  const Look ahead = LookAt(first, client);
  EXPECT_GT(ahead.drawn, 0.97);
  EXPECT_GT(ahead.blue, 0.1);
  EXPECT_LT(ahead.blue, 0.75);

  // A drag to the left turns the view: other lines come in.
  const POINT middle = {client.right / 2, client.bottom / 2};
  ui::MoveMouse(window, middle);
  ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(middle.x, middle.y));
  for (int step = 1; step <= 12; ++step) {
    ui::MoveMouse(window, {middle.x - 10 * step, middle.y});
    ::SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(middle.x - 10 * step, middle.y));
    ui::PumpFor(60);
  }
  ::SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(middle.x - 120, middle.y));
  ui::PumpFor(200);
  const ui::Picture dragged = Shot(window, "gallery_library_panorama_dragged");
  int changed = 0;
  for (int y = 0; y < client.bottom; y += 4)
    for (int x = 0; x < client.right; x += 4) changed += first.At(x, y) != dragged.At(x, y) ? 1 : 0;
  EXPECT_GT(changed, client.right * client.bottom / 16 / 2);
  EXPECT_GT(LookAt(dragged, client).drawn, 0.97);

  // Shift held over the view zooms in: the view's middle spreads out, so the
  // picture changes while the middle pixel's neighbourhood stays alike.
  ui::MoveMouse(window, middle);
  HoldKey(VK_SHIFT, 600);
  const ui::Picture zoomed = Shot(window, "gallery_library_panorama_zoomed");
  changed = 0;
  for (int y = 0; y < client.bottom; y += 4)
    for (int x = 0; x < client.right; x += 4) changed += dragged.At(x, y) != zoomed.At(x, y) ? 1 : 0;
  EXPECT_GT(changed, client.right * client.bottom / 16 / 3);

  // A click on a continent or an ocean at the middle follows its hot spot
  // to the night: the view goes dark but for the lights.
  ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(middle.x, middle.y));
  ::SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(middle.x, middle.y));
  ui::PumpFor(300);
  const ui::Picture night = Shot(window, "gallery_library_panorama_night");
  EXPECT_LT(LookAt(night, client).brightness, LookAt(zoomed, client).brightness / 3);
}

TEST_F(GalleryOnTheLibrary, TheGlobeTurnsAndTheMovieOfTheEarthPlaysAndStops) {
  CViewPicture* view = OpenGallery();
  ASSERT_NE(view, nullptr);
  Show(view, ItemTitled(view, "A globe to turn"));
  ASSERT_TRUE(view->IsMovieCurrent());
  CMovieWnd& globe = view->GetMovieWindow();
  ASSERT_TRUE(globe.HasMovie());
  HWND window = globe.m_hWnd;
  RECT client = ClientOf(window);
  const POINT middle = {client.right / 2, client.bottom / 2};
  ui::PumpFor(200);
  // Three angles: as it opens, and after two drags to the right.
  std::vector<ui::Picture> angles = {Shot(window, "gallery_library_globe_1")};
  for (int turn = 2; turn <= 3; ++turn) {
    ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(middle.x, middle.y));
    for (int step = 1; step <= 8; ++step) {
      ui::MoveMouse(window, {middle.x + 8 * step, middle.y});
      ::SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(middle.x + 8 * step, middle.y));
      ui::PumpFor(40);
    }
    ::SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(middle.x + 64, middle.y));
    ui::PumpFor(200);
    angles.push_back(Shot(window, ("gallery_library_globe_" + std::to_string(turn)).c_str()));
  }
  for (const ui::Picture& angle : angles) {
    const Look look = LookAt(angle, client);
    EXPECT_GT(look.drawn, 0.45);  // the disc, on black (its side away from the light dark)
    EXPECT_LT(look.drawn, 0.9);
  }
  EXPECT_NE(angles[0].At(middle.x, middle.y), angles[2].At(middle.x, middle.y));

  // The movie: its first frame, then frames that move while it plays, its
  // bar's button stops it, and it stands still.
  Show(view, ItemTitled(view, "The Earth turning"));
  ASSERT_TRUE(view->IsMovieCurrent());
  CMovieWnd& movie = view->GetMovieWindow();
  ASSERT_TRUE(movie.HasMovie());
  window = movie.m_hWnd;
  client = ClientOf(window);
  EXPECT_EQ(client.bottom - client.top, 240 + 18);  // the frames and the control bar
  ui::PumpFor(300);
  EXPECT_TRUE(movie.IsStarted());
  const ui::Picture playing = Shot(window, "gallery_library_movie_playing");
  ui::PumpFor(700);
  const ui::Picture later = Shot(window, "gallery_library_movie_later");
  const RECT frame = {0, 0, client.right, 240};
  EXPECT_GT(LookAt(playing, frame).drawn, 0.5);
  int moved = 0;
  for (int y = 0; y < 240; y += 2)
    for (int x = 0; x < client.right; x += 2) moved += playing.At(x, y) != later.At(x, y) ? 1 : 0;
  EXPECT_GT(moved, 1000);
  // The bar's button (at its left) stops it; another click plays it on.
  ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 240 + 9));
  ui::PumpFor(100);
  std::int32_t state = 0;
  std::intptr_t stateArgs[2] = {movie.GetController(), reinterpret_cast<std::intptr_t>(&state)};
  TheMediaLibrary().Call(53, stateArgs, 2);
  EXPECT_EQ(state & 0x40, 0);
  const ui::Picture stopped = Shot(window, "gallery_library_movie_stopped");
  ui::PumpFor(400);
  const ui::Picture still = Shot(window, "gallery_library_movie_still");
  EXPECT_EQ(std::vector<std::uint32_t>(stopped.rgb.begin(), stopped.rgb.end()),
            std::vector<std::uint32_t>(still.rgb.begin(), still.rgb.end()));
  ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 240 + 9));
  ui::PumpFor(100);
  TheMediaLibrary().Call(53, stateArgs, 2);
  EXPECT_NE(state & 0x40, 0);
  // The gallery's stop (as leaving the screen sends) stops it too.
  movie.SendMessage(0x7EF);
  TheMediaLibrary().Call(53, stateArgs, 2);
  EXPECT_EQ(state & 0x40, 0);

  // The sound item shows its picture and plays its narration.
  Show(view, ItemTitled(view, "A day on the Earth, told"));
  EXPECT_FALSE(view->IsMovieCurrent());
  EXPECT_TRUE(view->GetButton(IDC_MEDIA_SOUND).IsWindowEnabled());
  const ui::Picture told = Shot(view->GetPictureWindow().m_hWnd, "gallery_library_sound_item");
  EXPECT_GT(LookAt(told, ClientOf(view->GetPictureWindow().m_hWnd)).drawn, 0.2);
  Command(view, ID_MEDIA_SOUND);
  EXPECT_TRUE(view->IsSoundPlaying());
  ASSERT_FALSE(sound.calls.empty());
}

TEST_F(GalleryOnTheLibrary, TheIntroPlaysTheEarthTurningAndTheEarthsEntryShowsItsMedia) {
  settings.Set("Installation Options", "ShowIntro", "1");
  ASSERT_TRUE(Start());
  auto* home = dynamic_cast<CSplash*>(Frame()->GetScreen(Screen::Home));
  ASSERT_NE(home, nullptr);
  CMovieWnd& intro = home->GetMovie();
  ASSERT_TRUE(intro.HasMovie());
  const RECT client = ClientOf(intro.m_hWnd);
  EXPECT_EQ(client.bottom, 240);  // the frames alone: a named file's movie has no bar
  ui::PumpFor(200);
  const ui::Picture a = Shot(intro.m_hWnd, "gallery_library_intro_1");
  ui::PumpFor(600);
  const ui::Picture b = Shot(intro.m_hWnd, "gallery_library_intro_2");
  EXPECT_GT(LookAt(a, client).drawn, 0.5);
  int moved = 0;
  for (std::size_t i = 0; i < a.rgb.size(); i += 3) moved += a.rgb[i] != b.rgb[i] ? 1 : 0;
  EXPECT_GT(moved, 500);

  // The dictionary's entry of the Earth shows the gallery's items in its text.
  ASSERT_TRUE(Frame()->ShowDictionary());
  ui::PumpUntilIdle();
  auto* dict = dynamic_cast<CDict*>(Frame()->GetScreen(Screen::Dictionary));
  ASSERT_NE(dict, nullptr);
  dict->WordEdit().SetWindowText("Earth");
  dict->LookUp(TRUE, FALSE, -1, nullptr);
  ui::PumpUntilIdle();
  const display::TextModel& model = dict->Display().Model();
  int objects = 0;
  for (int p = 0; p < model.ParagraphCount(); ++p) objects += model.GetParagraph(p).objectCount;
  EXPECT_EQ(objects, 6);
  Shot(Frame()->m_hWnd, "gallery_library_earth_entry");
}

}  // namespace
