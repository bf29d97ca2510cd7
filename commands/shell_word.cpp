#include "shell_word.h"

#include <cctype>
#include <cstdio>
#include <cstring>

std::string shell_word(const std::string& word) {
  bool control = false;
  for (const unsigned char c : word) control = control || c < 0x20 || c == 0x7F;
  std::string quoted = control ? "$'" : "";
  for (const unsigned char c : word) {
    if (control) {
      char escape[8] = {static_cast<char>(c), '\0'};
      if (c == '\n') std::snprintf(escape, sizeof escape, "\\n");
      else if (c == '\\' || c == '\'') std::snprintf(escape, sizeof escape, "\\%c", c);
      else if (c < 0x20 || c == 0x7F) std::snprintf(escape, sizeof escape, "\\%03o", c);
      quoted += escape;
    } else {
      if (c < 0x80 && !std::isalnum(c) && !std::strchr("_./:=@%+-", c)) quoted += '\\';
      quoted += static_cast<char>(c);
    }
  }
  return control ? quoted + "'" : quoted;
}
