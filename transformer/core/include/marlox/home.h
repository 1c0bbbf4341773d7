// The program folder: where it is, and its first contents.  The default
// folder (transformer/home/ in the sources) is compiled into the program,
// so a new folder is filled without any file beside the program.
#pragma once

#include <string>

namespace marlox {

// The program folder (UTF-8): `homeArg` when given, else $MARLOX_HOME,
// else `exeDir` when it holds Marlox.ini, else
// ${XDG_CONFIG_HOME:-~/.config}/marlox.
std::string chooseHome(const std::string& homeArg, const std::string& exeDir);

// Makes `folder` when it is missing and, when it holds no Marlox.ini, fills
// it with the default files that are not there yet (existing files are
// never overwritten).  The script folders the default Marlox.ini lists
// ("<home>" in it) are written as absolute paths.  Returns the folder's
// absolute name, or "" when it cannot be made.
std::string prepareHome(const std::string& folder);

}  // namespace marlox
