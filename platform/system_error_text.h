#pragma once
// The description of a system error number (errno), in English whatever locale the program
// runs under: the program's messages are English sentences, and the C library's description
// of the error stands inside them.

#include <string>

namespace qv {

// "No such file or directory" for ENOENT, as the "C" locale describes the error.
std::string SystemErrorText(int error);

}  // namespace qv
