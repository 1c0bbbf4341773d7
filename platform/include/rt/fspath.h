// Paths and entries as scripts and the packer see them: script text to
// file-system names ("\" becomes "/", UTF-8), the attribute bits of an
// entry, the runtime's errors for failed system calls, and the guard on
// everything that removes.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "rt/api.h"

namespace rt::fs {

// The attribute bits scripts see.
enum : int32_t {
  kReadOnly = 1,
  kHidden = 2,
  kSystem = 4,
  kVolume = 8,
  kDirectory = 16,
  kArchive = 32,
};

// False for a path that no file can have: one holding a zero character,
// which would cut the name short and reach another file.
inline bool isNameable(std::u16string_view path) { return path.find(u'\0') == path.npos; }

// The file-system name of a script's path (bytesOfName of rt/filenames.h,
// so a name read with textOfBytes reaches its file).  A path that is not
// nameable raises 52.
RT_API std::string nativePath(std::u16string_view path);

// A path cut at its last separator: the folder with that separator ("" for
// the current folder) and the name after it.
struct PathParts {
  std::u16string_view folder;
  std::u16string_view name;
};
RT_API PathParts splitPath(std::u16string_view path);

// Read-only when the owner may not write; hidden for a name starting with a
// dot ("." and ".." are not); system for devices, pipes and sockets;
// directory; archive for a regular file.
RT_API int32_t attributesOf(const struct stat& st, std::u16string_view name);

// The file that replacing `path` writes, so that a symbolic link there
// stays and the file it leads to is replaced: where `path` is a link, that
// file, also one not made yet; else `path` itself (and a link that loops).
RT_API std::string linkedFile(const std::string& path);

// Whether `path` is left in place by every writer: it leads, through any
// links, to a device, a pipe or a socket, or through a process's descriptor
// (/dev/stdout, /proc/self/fd/1) to a file someone holds open.  Such a name
// is never replaced, nor is a link on its way: the output goes through it
// (rt::FileReplacement), or the writer refuses it.
RT_API bool writtenThrough(const std::string& path);
// The descriptor of this process that `path` leads to through /proc
// (/dev/stdout: 1, /dev/fd/3: 3), -1 when it leads to none.  Writing
// through that descriptor keeps one place in the file with whoever else
// writes through it (the shell that opened it, say); opening the file again
// would not.
RT_API int ownDescriptor(const std::string& path);

// The status of `path` (a symbolic link followed).  False when nothing is
// there; any other failure raises.
RT_API bool statOf(const std::string& path, struct stat& st);

// The runtime error's number for a failed call that set `errnum`: `missing`
// for a path that is not there (53 a file, 76 a path), `other` for a failure
// with no number of its own (75 opening, 57 reading or writing).  A full
// disk, a full quota and the size limit of the process (ulimit -f) are all
// 61: to a writer they are one failure.
RT_API int32_t errorNumber(int errnum, int32_t missing, int32_t other);
// Raises errorNumber(errnum, missing, 75).
[[noreturn]] RT_API void raiseErrno(int errnum, int32_t missing);

// Removing never follows a symbolic link to a folder, and never takes away
// the root or the user's home folder.  Both raise 75 with the path.
//
// Refuses a path of which some part, as written, is a symbolic link to a
// folder (the whole path included).
RT_API void checkNoFolderLinks(const std::string& path);
// Every function that writes keeps to the folders a path names as written:
// raises 75 when a part of the folder of `path` (its last name, trailing
// separators left out, is not looked at) is a symbolic link to a folder.
RT_API void checkFolderOf(std::u16string_view path);
// Whether a regular file (its lstat `st`) may be written: a read-only one
// (no write permission for its owner, or none for this process) is kept.
RT_API bool writable(const std::string& path, const struct stat& st);
// Refuses an empty path, the root and the user's home folder.
RT_API void checkNotProtected(const std::string& path);

}  // namespace rt::fs
