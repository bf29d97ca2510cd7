// programs/programs.list read into memory: one entry a program, in the
// order of the tour (name, pictures held for a key, pictures drawn, one
// line on what it shows). The tour reads it here, and so do the tests.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct ListedProgram {
  std::string name;
  int waits = 0;  // pictures held for a key
  int flips = 0;  // pictures drawn
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
    std::string waits, flips;
    std::getline(fields, program.name, '\t');
    std::getline(fields, waits, '\t');
    std::getline(fields, flips, '\t');
    std::getline(fields, program.about);
    program.waits = std::atoi(waits.c_str());
    program.flips = std::atoi(flips.c_str());
    list.push_back(program);
  }
  return list;
}
