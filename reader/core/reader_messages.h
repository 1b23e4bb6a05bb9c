// What the screens, panels and the main frame share besides the private
// window messages (window_messages.h): the sound engine's notification codes,
// the screens' child ids and the main window's title.
#pragma once

#include "messages/window_messages.h"
#include "zorlre/re_types.h"

// Notification codes of the sound engine.
enum : u32 { SoundStarted = 9, SoundEnded = 10 };

// The screens' own child ids while they are not the frame's active view.
enum : unsigned {
  HomeScreenId = 106,
  BrowserScreenId = 101,
  DictionaryScreenId = 102,
  QuizScreenId = 103,
  TimelineScreenId = 104,
  MediaScreenId = 105,
};

// The main window's title, by which a second start and the updater find it.
constexpr const char* MainWindowTitle = "The Marovan & World Encyclopedia";
