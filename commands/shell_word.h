// A word written so that a shell reads it back as it is, as bash's
// printf %q writes it: the commands the export and the render print to
// draw their pictures again.
#pragma once

#include <string>

std::string shell_word(const std::string& word);
