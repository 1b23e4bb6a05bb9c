// A registry file (REGEDIT4) that makes the reader's settings key with its
// sections, for importing into a Windows (or Wine) registry before the first
// run: the program itself never creates the key.
#pragma once

#include <string>

namespace builder {

// The settings with WorkingDirectory set to a Windows path (a trailing
// backslash is added when missing) and the sections "Database 1" to
// "Database 6" present, their values left to the program's defaults.
std::string BuildSettingsRegFile(const std::string& workingDirectory);

// The Windows form of a directory: a POSIX absolute path becomes its path on
// Wine's Z: drive; a path with a drive letter stays. Ends with a backslash.
std::string WindowsDirectory(const std::string& directory);

}  // namespace builder
