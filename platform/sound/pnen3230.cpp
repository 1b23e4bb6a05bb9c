// Our stand-in for the streaming-sound engine: plays WAVE files through the
// system's sound calls and reports the start and the end of a sound to the
// registered window. The length of a sound comes from its file's header, so
// the end is reported on time also where no sound device plays it.
#include "pnen3230.h"

#include <mmsystem.h>

#include <fstream>
#include <map>
#include <string>

namespace {

struct Engine {
  HWND timerWindow = nullptr;
  HWND notifyWindow = nullptr;
  UINT notifyMessage = 0;
  std::string file;
  DWORD milliseconds = 0;
  bool open = false;
  bool playing = false;
};

std::map<RaHandle, Engine>& Engines() {
  static std::map<RaHandle, Engine> engines;
  return engines;
}
RaHandle g_nextHandle = 1;
constexpr UINT_PTR EndTimer = 1;
constexpr const char* TimerClass = "VeldrixSoundEngineTimer";

Engine* Find(RaHandle handle) {
  auto found = Engines().find(handle);
  return found == Engines().end() ? nullptr : &found->second;
}

void Notify(RaHandle handle, const Engine& engine, UINT code) {
  if (engine.notifyWindow) ::PostMessageA(engine.notifyWindow, engine.notifyMessage, code, handle);
}

void Stop(Engine& engine) {
  if (engine.playing) ::PlaySoundA(nullptr, nullptr, 0);
  if (engine.timerWindow) ::KillTimer(engine.timerWindow, EndTimer);
  engine.playing = false;
}

LRESULT CALLBACK TimerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == EndTimer) {
    const auto handle = static_cast<RaHandle>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (Engine* engine = Find(handle)) {
      Stop(*engine);
      Notify(handle, *engine, RaNotifyEnded);
    }
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&TimerProc), &module);
  return module;
}

DWORD Little32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<DWORD>(p[3]) << 24; }

// The playing time of a RIFF WAVE file: its data bytes over its bytes per
// second. False when the file is not one.
bool WaveLength(const std::string& path, DWORD* milliseconds) {
  std::ifstream in(path, std::ios::binary);
  unsigned char head[12];
  if (!in.read(reinterpret_cast<char*>(head), sizeof head) || std::string(reinterpret_cast<char*>(head), 4) != "RIFF" ||
      std::string(reinterpret_cast<char*>(head + 8), 4) != "WAVE")
    return false;
  DWORD bytesPerSecond = 0;
  for (unsigned char chunk[8]; in.read(reinterpret_cast<char*>(chunk), sizeof chunk);) {
    const std::string id(reinterpret_cast<char*>(chunk), 4);
    const DWORD size = Little32(chunk + 4);
    if (id == "fmt " && size >= 16) {
      unsigned char format[16];
      if (!in.read(reinterpret_cast<char*>(format), sizeof format)) return false;
      bytesPerSecond = Little32(format + 8);
      in.seekg(static_cast<std::streamoff>(size - 16 + (size & 1)), std::ios::cur);
    } else if (id == "data") {
      if (bytesPerSecond == 0) return false;
      *milliseconds = static_cast<DWORD>(static_cast<unsigned long long>(size) * 1000 / bytesPerSecond);
      return true;
    } else {
      in.seekg(static_cast<std::streamoff>(size + (size & 1)), std::ios::cur);
    }
  }
  return false;
}

}  // namespace

extern "C" {

LONG __cdecl RaSetup(HINSTANCE*, RaHandle* engine, LONG) {
  if (!engine) return RaErrBadEngine;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = TimerProc;
  windowClass.hInstance = ThisModule();
  windowClass.lpszClassName = TimerClass;
  ::RegisterClassA(&windowClass);  // fails harmlessly when already registered
  HWND window = ::CreateWindowExA(0, TimerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ThisModule(), nullptr);
  if (!window) return RaErrSystem;
  const RaHandle handle = g_nextHandle++;
  ::SetWindowLongPtrA(window, GWLP_USERDATA, static_cast<LONG_PTR>(handle));
  Engines()[handle].timerWindow = window;
  *engine = handle;
  return RaOk;
}

LONG __cdecl RaRegisterNotifyWnd(RaHandle handle, HWND window, UINT message, LONG) {
  Engine* engine = Find(handle);
  if (!engine) return RaErrBadEngine;
  if (!::IsWindow(window)) return RaErrNoWindow;
  engine->notifyWindow = window;
  engine->notifyMessage = message;
  return RaOk;
}

LONG __cdecl RaOpen(RaHandle handle, LONG, const char* fileName, LONG, LONG) {
  Engine* engine = Find(handle);
  if (!engine) return RaErrBadEngine;
  Stop(*engine);
  engine->open = false;
  DWORD length = 0;
  if (!fileName || !WaveLength(fileName, &length)) return RaErrFile;
  engine->file = fileName;
  engine->milliseconds = length;
  engine->open = true;
  return RaOk;
}

LONG __cdecl RaBegin(RaHandle handle) {
  Engine* engine = Find(handle);
  if (!engine) return RaErrBadEngine;
  if (!engine->open) return RaErrNotOpen;
  Stop(*engine);
  // Without a sound device nothing is heard, but the sound still takes its time.
  ::PlaySoundA(engine->file.c_str(), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT);
  engine->playing = true;
  ::SetTimer(engine->timerWindow, EndTimer, engine->milliseconds ? engine->milliseconds : 1, nullptr);
  Notify(handle, *engine, RaNotifyStarted);
  return RaOk;
}

LONG __cdecl RaClose(RaHandle handle) {
  Engine* engine = Find(handle);
  if (!engine) return RaErrBadEngine;
  Stop(*engine);
  engine->open = false;
  return RaOk;
}

LONG __cdecl RaShutdown(RaHandle handle) {
  Engine* engine = Find(handle);
  if (!engine) return RaErrBadEngine;
  Stop(*engine);
  if (engine->timerWindow) ::DestroyWindow(engine->timerWindow);
  Engines().erase(handle);
  return RaOk;
}
}
