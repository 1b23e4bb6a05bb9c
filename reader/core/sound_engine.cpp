#include "core/sound_engine.h"

#include <mmsystem.h>

#include "pnen3230.h"

namespace {

class StreamingSound final : public SoundEngine {
 public:
  long Setup(HINSTANCE* instance, DWORD* engine) override { return RaSetup(instance, engine, 0); }
  long RegisterNotifyWnd(DWORD engine, HWND window, UINT message) override {
    return RaRegisterNotifyWnd(engine, window, message, -1);
  }
  long Open(DWORD engine, const char* file) override { return RaOpen(engine, 0, file, 1, 0); }
  long Begin(DWORD engine) override { return RaBegin(engine); }
  long Close(DWORD engine) override { return RaClose(engine); }
  long Shutdown(DWORD engine) override { return RaShutdown(engine); }
};

SoundEngine* g_engine = nullptr;
SystemSoundCall g_systemSound = nullptr;

}  // namespace

SoundEngine& TheSoundEngine() {
  static StreamingSound sound;
  return g_engine ? *g_engine : sound;
}

void UseSoundEngine(SoundEngine* engine) { g_engine = engine; }

BOOL PlaySystemSound(const char* file, SystemSoundMode mode) {
  if (g_systemSound) return g_systemSound(file, mode);
  // A missing file plays nothing rather than the system's default sound.
  const UINT flags = SND_ASYNC | SND_NODEFAULT | (mode == SystemSoundMode::Looping ? SND_LOOP : 0);
  return ::sndPlaySoundA(file, flags);
}

void UseSystemSound(SystemSoundCall call) { g_systemSound = call; }
