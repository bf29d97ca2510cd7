// programs/programs.list read into memory: one entry a program, in the
// order of the tour (name, pictures held for a key, frames drawn, one line
// on what it shows). The tour reads it here, and so do the tests; the
// scene part has its counts from the build (scene/CMakeLists.txt).
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct ListedProgram {
  std::string name;
  int pictures = 0;  // held for a key
  int frames = 0;    // drawn, one a flip
  std::string about;
};

// The programs of the list at `path`; none when it cannot be read.
inline std::vector<ListedProgram> read_program_list(const char* path) {
  std::vector<ListedProgram> list;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    ListedProgram program;
    std::string pictures, frames;
    std::getline(fields, program.name, '\t');
    std::getline(fields, pictures, '\t');
    std::getline(fields, frames, '\t');
    std::getline(fields, program.about);
    program.pictures = std::atoi(pictures.c_str());
    program.frames = std::atoi(frames.c_str());
    list.push_back(program);
  }
  return list;
}
