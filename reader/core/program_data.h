// Data resources (RCDATA) of the program's own module. A resource registered
// here takes the place of the module's own: natively no program has resources,
// and tests hand in the tables they build.
#pragma once

#include "zorlre/re_types.h"

// The bytes of data resource `id`; false when there is none.
bool FindProgramData(int id, const u8** data, u32* size);
// Registers (or, with null data, withdraws) a stand-in for resource `id`.
void RegisterProgramData(int id, const u8* data, u32 size);
