#include "panels/folder_list.h"

#include "panels/panel_logic.h"

namespace panels {

void FolderNames(const CObArray& folders, CStringArray& names) {
  names.RemoveAll();
  for (int i = 0; i < folders.GetSize(); ++i) names.Add(static_cast<CFolder*>(folders[i])->m_name);
}

CFolder* FolderAt(const CObArray& folders, int index) {
  if (index < 0 || index >= folders.GetSize()) return nullptr;
  return static_cast<CFolder*>(folders[index]);
}

int InsertFolder(CObArray& folders, int articleCount, const CString& name) {
  CStringArray names;
  FolderNames(folders, names);
  const int index = SortedFolderPosition(names, name);
  auto* folder = new CFolder(articleCount);
  folder->m_name = name;
  folders.InsertAt(index, folder);
  return index;
}

int RenameFolder(CObArray& folders, int index, const CString& name) {
  CFolder* folder = FolderAt(folders, index);
  if (folder == nullptr) return -1;
  folders.RemoveAt(index);
  folder->m_name = name;
  CStringArray names;
  FolderNames(folders, names);
  const int position = SortedFolderPosition(names, name);
  folders.InsertAt(position, folder);
  return position;
}

BOOL DeleteFolder(CObArray& folders, int index) {
  CFolder* folder = FolderAt(folders, index);
  if (folder == nullptr) return FALSE;
  folders.RemoveAt(index);
  delete folder;
  return TRUE;
}

}  // namespace panels
