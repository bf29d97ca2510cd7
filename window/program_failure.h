// The program's name and its one-line failure, for every part of the window
// layer: the display, its connection, the video driver and the standard
// streams all report through these, so none of them needs the display.
#pragma once

extern const char* program_name;  // for messages and the window caption

// Prints "<program>: <what>: <SDL error>" to standard error and exits with 1.
[[noreturn]] void display_failure(const char* what);
