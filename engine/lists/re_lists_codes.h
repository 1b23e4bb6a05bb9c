// Codes and modules of the entry lists, the entry-text parser and the string
// tables, beside the general ones of re_status.h.
#pragma once

#include "re_types.h"

// Function codes of REstrtab: the first or the second string of a record.
enum : u16 { ReFnFirstString = 145, ReFnSecondString = 110 };
// Function codes of REetpar: sub-items of every slot, or of the current one.
enum : u16 { ReFnParseAll = 500, ReFnParseCurrent = 510 };

enum ReListsModule : u16 {
  ReModHeadwords = 450,     // REentlst 240: the headword lookup
  ReModTitles = 460,        // titles of the entry-list slots
  ReModPages = 810,         // REentlst 230: pages of the current subset
  ReModTermAnalysis = 850,  // the term analysis after a failed lookup
  ReModEtParWork = 900,     // REetpar: reading and parsing
};

enum ReListsCode : i16 {
  ReErrHeadwordWildcard = -301,  // '*' or '?' in a headword
  ReErrHeadwordLong = -302,      // word longer than the database's longest word
  ReErrHeadwordEmpty = -303,     // empty word
  ReCodeNoBaseForm = -304,       // an index member could not be decoded / no base form
  ReWarnSlotsFull = -305,        // all slots full / no slots
  ReErrMatchMode = -306,         // match mode 2 on a synonym database, or unknown
  ReWarnEnded = -352,            // the list or the entry has ended
  ReCodeHeldOver = -337,         // an entry waits for the next page
  ReErrNoTitle = -211,           // a title could not be cut
  ReErrHeadwords = -466,         // REentlst 240 failed
  ReErrPage = -468,              // REentlst 230 failed
  ReErrPaging = -490,            // paging not started or not set up
  ReWarnVersion = -417,          // string table of another version
  ReErrNotFound = -456,          // string not found, or the look-up failed
};
