#pragma once

#include <string>

// Folder of the running executable, ending in "/". The data folder and the
// help file are looked for there.
std::string ProgramFolder();
