// The status record of every control block, module numbers and general codes.
#pragma once

#include "re_types.h"

#pragma pack(push, 1)
struct ReStatusBlock {
  u32 status;       // 0 done, 4 warning, 8 failed
  i16 warning;      // warning reported (0 none)
  i16 error;        // first operation-level error (0 none)
  i16 handleError;  // first error of the lower layers (0 none)
  u16 module;       // layer or operation that reported (0 none)
};
#pragma pack(pop)
static_assert(sizeof(ReStatusBlock) == 12, "ReStatusBlock is read by position");

// Severity arguments of the recording operations.
enum : u16 { ReSevWarning = 4, ReSevError = 8 };

// Layers and operations, written into the module field.
enum ReModule : u16 {
  ReModApp = 130,
  ReModSessions = 160,
  ReModConTable = 180,
  ReModDb = 250,
  ReModHandles = 275,
  ReModEntList = 310,
  ReModEntry = 320,
  ReModComponents = 445,
  ReModIdxList = 470,
  ReModHeader = 500,
  ReModWorkRecord = 510,
  ReModSearch = 700,
  ReModStrTab = 755,
  ReModSubsetSetUp = 800,
  ReModSubsetApply = 820,
  ReModSubsetOfEntry = 840,
  ReModToken = 842,
  ReModEtPar = 890,
  ReModPdDb = 2222,
  ReModPdEdit = 2224,
};

// General codes shared by the entry points (operation level unless noted).
enum ReCode : i16 {
  ReErrFunction = -462,       // function code not known (warning in REapp, REdb)
  ReErrAction = -464,         // action code not known
  ReErrLock = -250,           // database handle could not be locked
  ReErrUnlock = -252,         // database handle could not be unlocked
  ReErrDbOpen = -254,         // database could not be opened
  ReErrDbClose = -256,        // a database could not be closed
  ReErrNoSession = -550,      // no session could be created
  ReErrSessionRemove = -552,  // session could not be removed
  ReWarnOptionMask = -416,    // option mask not accepted
  ReErrNoSelection = -103,    // no subset selection or result pointer given
  ReErrSubsets = -470,        // subsets could not be applied
  ReErrSelectionDb = -471,    // selection belongs to another database
  ReWarnNoSubsets = -451,     // database has no subsets
  ReErrEntryRange = -402,     // entry number outside the database
  ReWarnNothing = -350,       // nothing found
  ReCodeStopped = -900,       // stopped by the progress callback

  // Handle layer and container (handle-error field).
  ReErrSessionMemory = -230,
  ReErrHandleList = -240,
  ReErrHandleInvalid = -242,
  ReErrHandleReserved = -244,
  ReErrHandleNotLocked = -246,
  ReErrHandleLocked = -248,
  ReErrMemory = -100,
  ReErrMemory2 = -101,
  ReErrFileOpen = -201,
  ReErrFileRead = -204,
  ReErrFileSeek = -205,
  ReErrHeader = -600,
  ReErrComponentType = -630,
  ReErrComponentSubtype = -640,
  ReErrComponentUnknown = -670,
  ReErrTextComponent = -680,
  ReErrIndexComponent = -690,
  ReErrTableList = -710,
  ReErrTable = -720,
  ReErrEndCode = -740,
  ReErrTableMissing = -750,  // a table the database's variant requires is missing
  ReErrSubsetWalk = -453,
  ReErrSubsetValue = -454,
};

// Clears all five fields: a status record always describes one call.
void ReResetStatus(ReStatusBlock* status);
// Records an operation-level report: the first error wins, a later warning
// replaces an earlier one (with its module) unless the call already failed.
void ReSetStatus(ReStatusBlock* status, u16 severity, i16 code, u16 module);
// Records a lower-layer report: the first handle error wins and sets the
// module; the first warning stays.
void ReSetHandleStatus(ReStatusBlock* status, u16 severity, i16 code, u16 module);
