// Changes to the application's folder array (CFolder records) that keep it
// in the order a sorted folder list shows: a new or renamed folder goes to
// its sorted place, so the list's rows and the array's indexes stay alike.
#pragma once

#include "core/bookmarks.h"

namespace panels {

void FolderNames(const CObArray& folders, CStringArray& names);
CFolder* FolderAt(const CObArray& folders, int index);
// Makes an empty folder (sets sized to articleCount) and inserts it at its
// sorted place; its index.
int InsertFolder(CObArray& folders, int articleCount, const CString& name);
// Takes the folder out, renames it and puts it back at its sorted place
// among the others; its new index (-1 when index is no folder).
int RenameFolder(CObArray& folders, int index, const CString& name);
// Removes and deletes the folder; FALSE when index is no folder.
BOOL DeleteFolder(CObArray& folders, int index);

}  // namespace panels
