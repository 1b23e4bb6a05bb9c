// The files of an update on the disk: the temporary directory that receives
// the archives, the extractor run through the command interpreter, the date
// and the listing checks on "verify.txt", and the copy into the working
// directory. The updater runs in the reader's working directory, so that is
// the current directory and the temporary directory lies inside it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "update_check.h"

class CUpdateFiles {
 public:
  // A directory named like a temporary file ("trn" prefix) in the current
  // directory. TRUE when it was made.
  BOOL CreateTempDir();
  BOOL TempDirCreated() const { return m_bTempDirCreated; }
  const std::string& TempDir() const { return m_tempDir; }
  // The directory + "\" + name.
  std::string PathOf(const char* name) const;
  // Deletes every file in the temporary directory and the directory, or,
  // when that cannot be done whole, nothing: null, or why it was left.
  const char* RemoveTempDir();

  // Why a directory was neither removed nor left as it was: its files were
  // moved out to be deleted, and then a delete, or a move back, failed (what
  // no check could tell, such as another program opening a file meanwhile).
  // What is left of it lies in directories named as CreateTempDir names
  // them, which a later run removes.
  static constexpr const char* kNotWhole =
      "it could be neither removed whole nor put back whole; what is left of it is in trn folders";

  // A directory an earlier run left, and what became of it.
  struct LeftTempDir {
    std::string name;
    const char* keptBecause = nullptr;  // null: removed
  };
  // Removes the temporary directories that runs which were killed left in the
  // current directory: only directories named as CreateTempDir names them
  // ("trn", one to four hexadecimal digits, ".tmp") that hold nothing but
  // files, each whole. One that is a link or junction, or holds one, or a
  // folder, or a file that cannot be deleted, is left whole, and said why.
  std::vector<LeftTempDir> RemoveLeftTempDirs() const;

  // Starts the extractor on an archive of the temporary directory, hidden;
  // the result of WinExec.
  UINT RunExtractor(const char* archive) const;
  // TRUE once the extractor's output file opens exclusively: the extractor
  // has ended. The file is then deleted.
  BOOL ExtractionFinished() const;

  // 3 "verify.txt" cannot be opened, 2 its date is later than the recorded
  // "MostRecentUpdate", 1 not later. Keeps the date for StoreUpdateDate.
  int CheckUpdateDate();
  const std::string& UpdateDateText() const { return m_updateDate; }
  // TRUE when the table of the temporary directory's "verify.txt" names files
  // of the directory with exactly their lengths (see refresh::VerifyListing).
  // The names are kept: the copy insists on them.
  BOOL VerifyExtractedFiles();

  // Deletes the archives, the picture and the listing.
  void DeleteDownloads() const;
  // Copies every file of the temporary directory into `target`, overwriting:
  // each first beside the file it replaces, then all into their places.
  // FALSE with the system's error at the first that fails; a copy that fails
  // leaves `target` as it was, a move that fails leaves each file whole (old
  // or new) and no copy behind. A directory that is gone, or that lacks a
  // file the verification named, fails before anything is copied.
  BOOL CopyUpdateFiles(const std::string& target, DWORD& error) const;
  // Records the update's date as "MostRecentUpdate"; FALSE when the settings
  // key does not exist.
  BOOL StoreUpdateDate() const;
  static UINT RestartMainProgram();

 private:
  std::string m_tempDir;
  BOOL m_bTempDirCreated = FALSE;
  std::string m_updateDate;
  std::vector<std::string> m_verified;  // the files "verify.txt" named
};
