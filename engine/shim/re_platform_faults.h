// Allocation accounting shared by both platform implementations.
#pragma once

#include "re_types.h"

// True when the allocation about to be made must fail (fault injection).
bool ReAllocationShouldFail();
void ReNoteAllocated();
void ReNoteFreed();
