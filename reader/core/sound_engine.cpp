#include "sound_engine.h"

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

}  // namespace

SoundEngine& TheSoundEngine() {
  static StreamingSound sound;
  return g_engine ? *g_engine : sound;
}

void UseSoundEngine(SoundEngine* engine) { g_engine = engine; }
