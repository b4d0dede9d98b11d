#pragma once

#include <string>

// The running program's own file as UTF-8, from its wide name (the ANSI one turns every
// character outside the code page into '?'); empty where the system gives no such name
// (outside Windows, where a program knows itself only by what started it).
std::string ProgramPath();
