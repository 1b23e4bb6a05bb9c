// Internals of the conjugation engine shared by its loading, analysis and
// table building.
#pragma once

#include "in_api.h"

constexpr u32 InTableHeaderSize = 512;
constexpr u32 InTagRecordSize = 11;
constexpr u32 InEndingRecordSize = 6;  // rule, offset of the reversed ending, offset of the replacement

enum : u8 { InFlagTableA = 0x80, InFlagEndings = 0x20, InFlagRuleCheck = 0x08 };

// Frees the table records of the table area.
void InFreeTableRecords(InTableContext* context);

// Reads .dsk record `index` into the record buffer; false (error code 1010) on failure.
bool InReadRecord(InTableContext* context, u32 index);
