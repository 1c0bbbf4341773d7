// What the scripts the fuzz targets run may do to the machine: a script is
// any text, and the engine's libraries change files and start programs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// Confines this process, and every process it starts, so that files can be
// changed only beneath `folders` (Landlock).  False when the kernel cannot.
bool confineFileChanges(const std::vector<std::string>& folders);

// Makes every registered class that can change files fail to be created
// in this process: the file classes of Jespin and Nubrel, and every class of
// a library not known to be harmless.
void refuseClassesThatChangeFiles();

// Whether a script (its text, or the bytes of a compiled one) names a
// function that is never run while fuzzing: Shell, which starts programs,
// and, when `filesToo`, the functions that change files.
bool namesUnsafeFunction(std::string_view script, bool filesToo);
bool namesUnsafeFunction(std::u16string_view script, bool filesToo);

}  // namespace fuzz
