// What the content databases need of the application around them: message
// boxes, the search progress window with its stop request, the wait cursor,
// and the two facts of the application's data that the spelling help uses.
// The application installs itself; without a host the databases speak to
// nobody and never stop a search.
#pragma once

#include "zorlre/zorlre32.h"

class ContentDbHost {
 public:
  virtual ~ContentDbHost() = default;
  // A message box with the exclamation icon and OK.
  virtual void ShowMessage(const char* text) = 0;
  // The search progress window, hidden until the engine reports progress,
  // and the engine callback that drives it. BeginSearch clears the stop
  // request; SearchStopped tells whether the reader stopped the search.
  virtual void BeginSearch(const char* caption) = 0;
  virtual ReProgressCallback SearchProgress() = 0;
  virtual bool SearchStopped() = 0;
  virtual void EndSearch() = 0;
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;
  // Whether the main-database entry is a dictionary article (in Vorn.bit).
  virtual bool IsDictionaryEntry(u32 mainEntry) = 0;
  // Whether the spelling hash knows the word.
  virtual bool IsKnownSpelling(const char* word) = 0;
};

void SetContentDbHost(ContentDbHost* host);
ContentDbHost* GetContentDbHost();
