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

// The system's own sound call (sndPlaySound, asynchronous), for sounds that
// no screen follows to their end: the quiz's applause and the credits of the
// About box. The end of a streaming engine's sound goes to the media screen,
// which would take it for the end of its own. A null file stops the sound.
// Tests put a recorder in the call's place.
enum class SystemSoundMode { Once, Looping };
using SystemSoundCall = BOOL (*)(const char* file, SystemSoundMode mode);
BOOL PlaySystemSound(const char* file, SystemSoundMode mode);
void UseSystemSound(SystemSoundCall call);
