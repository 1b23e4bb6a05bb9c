// Screen output: decides once how frames reach the display (output mode,
// optional video-hardware component) and draws the warp engine's frames.
#pragma once

#include <windows.h>

#include <cstdint>

namespace pano {

bool InitScreenOutput();  // 1 success, 0 no display context or test bitmap
bool ScreenOutputStarted();
std::int32_t GetOutputMode();
std::int32_t GetFrameDepth();
std::int32_t GetScreenDepth();
std::int32_t FindVideoHardware(bool preferredOnly);
std::int32_t BlitView(HDC dc, const std::uint8_t* pixels, int depth, int width, int height, int rowBytes);
HDC GetClippedDC(HWND window, const RECT& rect);
bool IsPointUnobscured(HWND window, POINT point);
// Installs the warp engine's presenter (frames into windows through BlitView).
void InstallPresenter();

}  // namespace pano
