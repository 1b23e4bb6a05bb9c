// The plug-in's module: its instance handle (kept on load), its registered
// idle message, the screen output state shared by its components and their
// locked memory.
#pragma once

#include <windows.h>

#include <cstddef>

HMODULE GetPluginModule();
void SetPluginModule(HMODULE module);

// Moveable global memory, zero-filled and locked for the block's life (the
// components' instance records, tile canvases); null when short. Freeing
// null does nothing.
void* AllocateLocked(std::size_t bytes);
void FreeLocked(void* block);
