// ReaderShell: what the screens, panels and search windows ask of the
// program's main window: its screens. The main frame implements it; the
// others reach it through GetReaderShell() and never name the frame.
#pragma once

#include "framework.h"

enum class Screen { Home, Browser, Dictionary, Quiz, Timeline, Media, Count };

class ReaderShell {
 public:
  virtual ~ReaderShell() = default;

  // The screen's view, or null when it was not made yet.
  virtual CView* GetScreen(Screen screen) const = 0;
  // The view shown now, or null.
  virtual CView* GetActiveScreen() const = 0;
};

// The shell of the running program: its main window; null before the main
// window is made and after it has gone.
ReaderShell* GetReaderShell();
