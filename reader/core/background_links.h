// Back.bin (working directory, little-endian): which media item shows each
// background picture. u16 N (at most 100), then N pairs of u16 background
// picture record and u16 media item number.
#pragma once

#include "zorlre/re_types.h"

enum class BackgroundLink { FileMissing, NotListed, Found };

// The media item of the first pair whose picture record is `record`. A file
// shorter than its count says holds the pairs it has.
BackgroundLink FindBackgroundItem(const char* path, u16 record, u16* item);
