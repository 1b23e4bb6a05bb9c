// Checks on a downloaded update that need no system calls: the update's date
// against the one recorded by the last installation, the listing
// "verify.txt" against the extracted files, and the command line that runs a
// self-extracting archive.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace refresh {

struct UpdateDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

// The date before any update: what "MostRecentUpdate" means when missing.
constexpr const char* NoUpdateRecorded = "1/1/1997";

// "M/D/YYYY", month and day without leading zeros.
std::string FormatUpdateDate(const UpdateDate& date);
// The recorded date. A text that is not three numbers split by two slashes,
// or whose month or day is out of range, counts as no update recorded.
UpdateDate ParseRecordedDate(std::string_view text);
// Whether `update` falls on a later day than `recorded`.
bool IsLaterDay(const UpdateDate& update, const UpdateDate& recorded);

// The length of a file in the extracted directory, or nothing when the file
// does not open.
using FileLength = std::function<std::optional<unsigned long long>(const std::string& name)>;

// Checks the table of "verify.txt" against the files. Lines end at a carriage
// return (with its line feed) or a lone line feed. A line of hyphens and
// blanks with at least one hyphen opens the table and the next such line
// closes it; inside, each line lists its blank-separated fields: the length in
// bytes first, the file name ninth. True when the table is opened and closed,
// lists at least one file, and every file listed in it opens with exactly its
// length; empty lines in the table are skipped, and a line without a numeric
// length or a name fails.
bool VerifyListing(std::string_view listing, const FileLength& lengthOf);

// The command that extracts an archive into the temporary directory through
// the command interpreter, its output redirected to "sfxout.txt" there.
std::string ExtractorCommandLine(const std::string& archivePath, const std::string& tempDir);

}  // namespace refresh
