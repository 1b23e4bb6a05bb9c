#include "core/working_directory.h"

#include <cstring>

namespace {
char g_workingDirectory[WorkingDirectorySize] = "";
}

const char* WorkingDirectory() { return g_workingDirectory; }

void SetWorkingDirectory(const char* path) {
  if (!path) path = "";
  std::strncpy(g_workingDirectory, path, WorkingDirectorySize - 1);
  g_workingDirectory[WorkingDirectorySize - 1] = '\0';
}

std::string WorkingPath(const char* fileName) { return std::string(g_workingDirectory) + (fileName ? fileName : ""); }
