// programs/programs.list read into memory: one entry a program, in the
// order of the tour (name, pictures held for a key, frames drawn, one line
// on what it shows). The tour and the tests read the file; the scene part,
// which also runs in the browser, reads the copy the build compiled in
// (built_in_program_list.h). Both go through parse_program_list.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

struct ListedProgram {
  std::string name;
  int pictures = 0;  // held for a key
  int frames = 0;    // drawn, one per flip
  std::string about;
};

// The programs of a list's text.
inline std::vector<ListedProgram> parse_program_list(std::string_view text) {
  std::vector<ListedProgram> list;
  std::istringstream lines{std::string(text)};
  for (std::string line; std::getline(lines, line);) {
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

// The programs of the list at `path`; none when it cannot be read.
inline std::vector<ListedProgram> read_program_list(const char* path) {
  std::ifstream file(path);
  std::ostringstream text;
  text << file.rdbuf();
  return parse_program_list(file ? text.str() : std::string());
}
