// A new file in a folder held open as a descriptor, which appears under its
// name only once it is whole: it is written unnamed (O_TMPFILE) and linked
// in at the end, so a run that is killed, or that fills the disk, leaves
// nothing behind, and the name is never reached through a symbolic link
// (linking fails when anything, a planted link too, already has the name).
// On a file system without unnamed files the file is created under its
// name at once (O_EXCL, O_NOFOLLOW) and removed again on failure.
#pragma once

struct WholeFile {
  int fd = -1;
  bool unnamed = false;  // not yet linked into the folder
};

// Opens a new file for writing that will be `name` in `folder`. Returns
// false with errno set.
bool begin_whole_file(int folder, const char* name, WholeFile& file);

// Gives the written file its name, closing nothing. Returns false with
// errno set; the caller then abandons the file.
bool name_whole_file(WholeFile& file, int folder, const char* name);

// Removes a file that was begun under its name and not finished well (an
// unnamed one vanishes when closed).
void abandon_whole_file(const WholeFile& file, int folder, const char* name);
