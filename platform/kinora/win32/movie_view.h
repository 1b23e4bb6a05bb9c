// KNIM32's standard controller: the core's one with a clock and a picture on
// the movie's window (see movie_view.cpp).
#pragma once

#include <cstdint>

std::intptr_t WindowedControllerEntry(std::int16_t selector, const std::intptr_t* args, std::int32_t count);
