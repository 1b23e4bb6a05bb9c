// One REFRESH32 at a time. The reader starts the updater each time its
// command is chosen; a second run would take the first one's temporary
// directory for one a killed run left, and both would install at once.
#pragma once

#include <windows.h>

class CSingleRun {
 public:
  // Takes the updater's named mutex; the system lets it go when the program
  // ends, however it ends.
  CSingleRun();
  ~CSingleRun();
  CSingleRun(const CSingleRun&) = delete;
  CSingleRun& operator=(const CSingleRun&) = delete;
  // False when another run holds the mutex (or an object of its name that is
  // no mutex stands in the way).
  bool Alone() const { return m_bAlone; }

 private:
  HANDLE m_hMutex;
  bool m_bAlone;
};
