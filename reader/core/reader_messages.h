// What the screens, panels and the main frame share besides the private
// window messages (window_messages.h): the sound engine's notification codes
// and the main window's title.
#pragma once

#include "messages/window_messages.h"
#include "zorlre/re_types.h"

// Notification codes of the sound engine.
enum : u32 { SoundStarted = 9, SoundEnded = 10 };

// The main window's title, by which a second start and the updater find it.
constexpr const char* MainWindowTitle = "The Marovan & World Encyclopedia";
