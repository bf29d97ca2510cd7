// Standard output of a command that writes files: a closed descriptor 0,
// 1 or 2 gets a stand-in opened for reading only, so no file the command
// opens takes its number and a write to a closed standard output fails
// with the system's own reason (EBADF); at the end, output that could not
// be written (a full disk, a closed descriptor) is said in one line with
// the system's reason, and the command ends with status 1.
#pragma once

#include <string>

void guard_standard_descriptors();

// Flushes standard output. When something could not be written, says so
// on standard error as "WHO: cannot write to standard output: REASON",
// then `lost` (a line that must not be lost with it), and returns false.
bool standard_output_written(const char* who, const std::string& lost = "");
