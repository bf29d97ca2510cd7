// A new file in a folder held open as a descriptor, which appears under its
// name only once it is whole: it is written unnamed (O_TMPFILE) and linked
// in at the end, so a run that is killed, or that fills the disk, leaves
// nothing behind, and the name is never reached through a symbolic link
// (linking fails when anything, a planted link too, already has the name).
// A new file gets 0666 less the umask, as the shell's > gives it.
//
// Replacing: the whole file takes the place of whatever has the name (a
// file, or a link, which is replaced, not followed), keeping an existing
// file's mode. It is linked under a short hidden name and renamed onto the
// name, so the longest name a folder takes works too.
//
// On a file system without unnamed files the file is created at once,
// under its name (O_EXCL, O_NOFOLLOW) or, replacing, under the short
// hidden name, and removed again on failure.
#pragma once

struct WholeFile {
  int fd = -1;
  bool unnamed = false;   // not yet linked into the folder
  bool replacing = false;
  char hidden[32] = "";   // the short name it has meanwhile, if any
};

// Opens a new file for writing that will be `name` in `folder`. Returns
// false with errno set.
bool begin_whole_file(int folder, const char* name, WholeFile& file, bool replacing = false);

// Gives the written file its name, closing nothing. Returns false with
// errno set; the caller then abandons the file.
bool name_whole_file(WholeFile& file, int folder, const char* name);

// Removes a file that was begun under a name and not finished well (an
// unnamed one vanishes when closed).
void abandon_whole_file(const WholeFile& file, int folder, const char* name);
