// The buttons along the bottom band of the gallery, the timeline and the
// quiz that lead to another screen. They have the same ids on every screen.
#pragma once

#include "core/reader_shell.h"
#include "framework.h"

namespace media {

// Shows the screen of screen button `id`; FALSE when `id` is no screen
// button or the button of `own`, the screen it is pressed on.
BOOL SwitchScreen(UINT id, Screen own);

}  // namespace media
