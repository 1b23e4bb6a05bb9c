// Puts a chosen article on the screen that owns it: a media item on the media
// screen, a timeline event on the timeline, a dictionary entry on the
// dictionary, anything else on the encyclopedia screen. The main frame
// switches to that screen first.
#pragma once

#include "framework.h"

class CBitString;

// How the screen's text display then moves: not at all, to the first search
// hit below the top line (Boolean queries), or to the article's stored hit
// position (other queries, when it is not 0).
enum class HitStep { None, FirstHit, Position };

// FALSE when the screen could not be shown (its own message has been shown)
// or it takes no search entries.
BOOL OpenSearchEntry(int article, HitStep step, UINT position);
