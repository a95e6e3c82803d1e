// OutputFile: the parts-list file, written so that a failed run never
// costs the user the list that was there before.
//
// The list goes into a new temporary file in the output's own folder
// (where a rename stays on one file system); only commit() puts it in
// place of the output, in one step, once every write, the flush to disk
// and the close succeeded. Until then the output is untouched, and a run
// that fails or is destroyed without commit() leaves it exactly as it was
// (or absent, if it was absent). On Linux the temporary file has no name
// until commit(), so even a run that is killed leaves nothing behind; on
// Windows it is marked to be deleted when its handle closes, which a
// killed process does too.
//
// - The new file keeps the permission bits (and, where allowed, the owner)
//   of the file it replaces; on Windows its attributes.
// - An output that is a symbolic link: the file the link points to is
//   replaced, the link stays.
// - An output that is no regular file (a device such as /dev/null or NUL,
//   a FIFO) is opened and written directly.
// - An existing file in a folder where no new file can be made (the user
//   may write the file but not the folder) is written directly too, from
//   its start and cut to the new length by commit(); it is not emptied
//   when it is opened, so a run that fails before writing leaves it as it
//   was.
// - An output that cannot be opened for writing fails open(), as fopen
//   would: a read-only file is never replaced behind the user's back.
//
// Paths are bytes in the system's code page (the ANSI code page on
// Windows). One object serves one run.
//
// When open() or commit() fails, error() tells why as the system's error
// number (errno; on Windows the system's error code is mapped to the
// errno of the same meaning), so that the user learns whether the disk is
// full, the folder missing or the file read-only.
#pragma once

#include <cstdio>
#include <memory>

namespace vesk {

class OutputFile {
 public:
  OutputFile();
  // Without commit(): the temporary file is removed, a directly written
  // output closed.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Prepares the list's file for `path`; false when the output cannot be
  // opened for writing.
  bool open(const char* path);
  // The stream to write the list to, binary; null before a successful
  // open() and after commit() or discard().
  std::FILE* stream() const;
  // Flushes and closes the stream and puts the list in place of the
  // output. False when a write, the flush, the close or the replacement
  // failed; the output is then as it was before (apart from one written
  // directly) and the temporary file is gone.
  bool commit();
  // Gives the run up: the temporary file is removed, the output left as
  // it was.
  void discard();
  // Why the last open() or commit() failed: an errno value (EIO where the
  // system gave none); 0 after a success.
  int error() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace vesk
