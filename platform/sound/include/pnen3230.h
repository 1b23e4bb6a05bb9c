// The streaming-sound engine pnen3230.dll as the reader calls it: set up an
// engine, name the window that gets its notifications, open a sound file,
// begin playing it, close it and shut the engine down. Every call returns 0
// on success. Notifications are posted to the registered window with the
// registered message, the notification code in wParam and the engine in
// lParam: 9 when a sound has started playing, 10 when it has played to its
// end (a sound closed before its end reports nothing).
#pragma once

#include <windows.h>

extern "C" {

using RaHandle = DWORD;

enum : UINT { RaNotifyStarted = 9, RaNotifyEnded = 10 };
enum : LONG { RaOk = 0, RaErrBadEngine = 1, RaErrNoWindow = 2, RaErrFile = 3, RaErrNotOpen = 4, RaErrSystem = 5 };

// Makes an engine for the program instance; its handle goes to *engine.
LONG __cdecl RaSetup(HINSTANCE* instance, RaHandle* engine, LONG reserved);
// Notifications go to `window` as `message`; reserved is -1.
LONG __cdecl RaRegisterNotifyWnd(RaHandle engine, HWND window, UINT message, LONG reserved);
// Opens a sound file (a RIFF WAVE file); flags 1. Closes the one open before.
LONG __cdecl RaOpen(RaHandle engine, LONG reserved, const char* fileName, LONG flags, LONG reserved2);
// Plays the open file from its start.
LONG __cdecl RaBegin(RaHandle engine);
// Stops playing and closes the file.
LONG __cdecl RaClose(RaHandle engine);
LONG __cdecl RaShutdown(RaHandle engine);
}
