// The media screens under test: the reader on the sample content (see
// tests/reader/app/app_fixture.h) with a media library that plays movies of
// a given size, reports their state, and ends a movie when told.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "app_fixture.h"

namespace mediatest {

class MovieLibrary : public apptest::FakeMediaLibrary {
 public:
  struct Controller {
    std::int32_t rate = 0;
    bool ended = false;
  };
  std::intptr_t Call(std::int32_t selector, const std::intptr_t* args, std::int32_t count) override;
  // Ends every playing movie (its controller reports stopped from now on).
  void EndMovies();

  int movieWidth = 160, movieHeight = 120;
  // Whether a movie gives pictures of its frames (red, 8 x 8 pixels).
  bool givesFrames = false;
  int disposedPictures = 0;
  std::vector<std::string> opened;
  std::map<std::intptr_t, Controller> controllers;
  std::vector<std::pair<std::int32_t, std::intptr_t>> actions;
  int nextHandle = 100;
  int disposedMovies = 0, disposedControllers = 0;
};

class MediaScreens : public apptest::ReaderApp {
 protected:
  void SetUp() override;
  void TearDown() override;
  void StartWithMedia();
  void Command(CWnd* target, UINT id);
  int ItemOf(const std::string& title) const;

  MovieLibrary movies;
};

}  // namespace mediatest
