// The streaming-sound engine as the main frame uses it (pnen3230.dll, linked
// at load time). Tests put an engine of their own in its place.
#pragma once

#include <windows.h>

class SoundEngine {
 public:
  virtual ~SoundEngine() = default;
  // Each returns 0 on success.
  virtual long Setup(HINSTANCE* instance, DWORD* engine) = 0;
  virtual long RegisterNotifyWnd(DWORD engine, HWND window, UINT message) = 0;
  virtual long Open(DWORD engine, const char* file) = 0;
  virtual long Begin(DWORD engine) = 0;
  virtual long Close(DWORD engine) = 0;
  virtual long Shutdown(DWORD engine) = 0;
};

SoundEngine& TheSoundEngine();
void UseSoundEngine(SoundEngine* engine);
