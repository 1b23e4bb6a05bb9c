// The plug-in's module: its instance handle (kept on load), its registered
// idle message and the screen output state shared by its components.
#pragma once

#include <windows.h>

HMODULE GetPluginModule();
void SetPluginModule(HMODULE module);
