// Shows an article on the screen that owns its kind, after switching to that
// screen: a media item (Mult) on the media gallery as its rank among the
// media articles, a timeline event (Tml) on the timeline, a dictionary entry
// (Vorn) on the dictionary, any other article on the encyclopedia.
#pragma once

#include "framework.h"
#include "panels/panel_logic.h"

namespace panels {

// The kind of an article of the running program's content (KindOfArticle
// over its media, timeline and dictionary sets).
ItemKind KindOfArticle(int article);
// The rank of a media article among the media articles (its item index).
int MediaItemOf(int article);
// FALSE when the screen cannot be shown (after its own message) or does not
// take items.
BOOL ShowOnItsScreen(int article);
// Switches to the screen of `kind` and shows `item` there.
BOOL ShowOnScreen(ItemKind kind, int item);

}  // namespace panels
