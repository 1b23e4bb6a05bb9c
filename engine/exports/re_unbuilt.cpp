// Exports whose operations are not built yet. Each fails (8) and reports
// nothing: none may claim work it did not do.
#include "zorlre32.h"

RE_EXPORT u32 RE_CALL REsearch(void*, u16, u16) { return ReFail; }
RE_EXPORT u32 RE_CALL REconqry(void*, void*, void*, u16, u16) { return ReFail; }
