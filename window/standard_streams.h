// The program's standard streams, made safe before SDL opens anything.
//
// watch_standard_streams() gives a closed descriptor 0, 1 or 2 a harmless
// stand-in, so that the X connection can never become the program's
// standard output, and routes standard output through a stream that keeps
// the system's reason for the first write that failed. At exit (after
// SDL_Quit) a program whose output could not be written, to a full disk, a
// broken file or a closed descriptor, says so in one line with that reason
// and ends with status 1; a program that writes nothing is unaffected.
#pragma once

void watch_standard_streams();

// Writes what standard output still holds, as a program that ends at once
// (a lost display) must; failures then no longer matter.
void flush_standard_output();
