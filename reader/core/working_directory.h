// The working directory of the data files (filters, title indexes, spelling
// hash, category index). It ends with a backslash; a data file's path is this
// text followed by the file name. The application sets it once at start-up
// from its WorkingDirectory setting.
#pragma once

#include <string>

constexpr int WorkingDirectorySize = 120;

const char* WorkingDirectory();
// Keeps at most WorkingDirectorySize - 1 characters.
void SetWorkingDirectory(const char* path);
// The working directory followed by the file name.
std::string WorkingPath(const char* fileName);
