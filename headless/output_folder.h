// The export's folders, reached only through directory descriptors: the
// output folder (--out), held by one export at a time, and in it one folder
// for each program, which must be a real folder: one that is a symbolic
// link is refused, never written through.
#pragma once

#include <string>

// Creates `path` and its parents as needed and opens it. Returns the
// descriptor, or -1 with one line of reason in `error`.
int open_output_folder(const std::string& path, std::string& error);

// Holds `folder` for this process until it ends (an exclusive flock). When
// another export holds it, says so in one line on standard error and waits.
void hold_folder(int folder, const std::string& shown);

// The path of an open folder, for messages and the command to draw again.
std::string folder_path(int folder);

// Creates the folder `name` in `output` as needed, opens it without
// following a link, and removes the frames and output.txt of an earlier
// export from it (frame-NNN.png, and picture-NNN.png as they were once
// named). Returns the descriptor, or -1 with one line naming the
// folder (`shown`) and the reason in `error`.
int open_program_folder(int output, const std::string& name, const std::string& shown, std::string& error);

// The frames in `folder` (frame-NNN.png), counted from its entries.
int count_frames(int folder);
