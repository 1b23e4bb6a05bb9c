// Internals of the conjugation engine shared by its loading, analysis and
// table building.
#pragma once

#include "in_api.h"
#include "in_load.h"

constexpr u32 InTableHeaderSize = 512;
constexpr u32 InTagRecordSize = 11;
constexpr u32 InEndingRecordSize = 6;  // rule, offset of the reversed ending, offset of the replacement

// Flag of header byte 14 of the .ram file beside those of in_load.h.
enum : u8 { InFlagRuleCheck = 0x08 };

// INinit once its context is there: loads the .ram tables and opens the .dsk
// file named in the context. 0, or 8 with the context's error code set and
// everything freed.
u32 InLoadTableData(InTableContext* context);
// INterm: frees the tables and the table records and closes the .dsk file.
void InCloseTableData(InTableContext* context);
// INflect once its arguments are there and the context's mode is one of
// InModeFill, InModeBuild and InModeReady: in InModeReady the tables of
// `word`, in the other two modes the analysis alone. InBuilt, or another
// result code.
u32 InBuildTables(const char* word, InTableContext* context);

// Frees the table records of the table area.
void InFreeTableRecords(InTableContext* context);

// Reads .dsk record `index` into the record buffer; false (error code 1010) on failure.
bool InReadRecord(InTableContext* context, u32 index);
