// ReaderContext: what the screens, panels and search windows share of the
// running reader: its content, its look, and the folders and bookmarks. The
// application object is this context (it opens and closes each part); the
// others reach it through Reader() and never name the application.
#pragma once

#include "core/reader_bookmarks.h"
#include "core/reader_content.h"
#include "core/reader_look.h"

class ReaderContext : public ReaderContent, public ReaderLook, public ReaderBookmarks {
 public:
  // The one context of the program: Reader() gives it from now on.
  ReaderContext();
  ~ReaderContext() override;
};

// The context of the running program; the screens are made only after it.
ReaderContext& Reader();
