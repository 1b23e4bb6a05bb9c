// Public interface of the engine library ZORLRE32: its exports, bound by ordinal.
// Every retrieval export takes a caller-owned control block (made by REmemory),
// a function code and an action code, and returns 0, 4 or 8 with the detail in
// the block's ReStatusBlock. The inflection exports keep their state in the
// caller's own context and return plain codes.
#pragma once

#include "in_api.h"
#include "re_blocks.h"
#include "re_status.h"
#include "re_types.h"

RE_EXPORT u32 RE_CALL REapp(void* block, u16 function, u16 action);                           // ordinal 2
RE_EXPORT u32 RE_CALL REdb(void* block, u16 function, u16 action);                            // ordinal 3
RE_EXPORT u32 RE_CALL REidxlst(void* block, u16 function, u16 action);                        // ordinal 4
RE_EXPORT u32 RE_CALL REentlst(void* block, u16 function, u16 action);                        // ordinal 5
RE_EXPORT u32 RE_CALL REentry(void* block, u16 function, u16 action);                         // ordinal 6
RE_EXPORT u32 RE_CALL REsearch(void* block, u16 function, u16 action);                        // ordinal 7
RE_EXPORT u32 RE_CALL REstrtab(void* block, u16 function, u16 action);                        // ordinal 8
RE_EXPORT u32 RE_CALL REmemory(void** block, void* parent, u16 type, u16 action, u16 count);  // ordinal 9
RE_EXPORT u32 RE_CALL REetpar(void* block, u16 function, u16 action);                         // ordinal 10
RE_EXPORT u32 RE_CALL REtoken(void* block, u16 function, u16 action);                         // ordinal 11
RE_EXPORT u32 RE_CALL REPDdb(void* block, u16 function, u16 action);                          // ordinal 12
RE_EXPORT u32 RE_CALL REPDedit(void* block, u16 function, u16 action);                        // ordinal 13
RE_EXPORT u32 RE_CALL REconqry(void* dbBlock, void* rankRecord, void* searchBlock, u16 mode,
                               u16 action);                                     // ordinal 14
RE_EXPORT u32 RE_CALL REcontable(void* dbBlock, u32* hitTable, u32* hitCount);  // ordinal 15

RE_EXPORT u32 RE_CALL INinitX(u32 reserved, InFormContext* context, const char* directory);  // ordinal 16
RE_EXPORT u32 RE_CALL INtermX(InFormContext* context);                                       // ordinal 17
RE_EXPORT u32 RE_CALL INinflectX(const char* word, InFormContext* context);                  // ordinal 18
RE_EXPORT u32 RE_CALL INinit(InTableContext* context);                                       // ordinal 19
RE_EXPORT u32 RE_CALL INterm(InTableContext* context);                                       // ordinal 20
RE_EXPORT u32 RE_CALL INflect(const char* word, InTableContext* context);                    // ordinal 21
