#include "inuse.h"

#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "names.h"

namespace halvorn::inuse {

namespace {

struct FileId {
  dev_t dev = 0;
  ino_t ino = 0;
  bool operator==(const FileId&) const = default;
};

struct Entry {
  const void* run;
  bool written;
  FileId file;          // the file itself, when there is one
  bool hasFile;
  FileId folder;        // written: where the name is
  std::u16string name;  // written: the name in that folder
};

std::vector<Entry>& entries() {
  static std::vector<Entry> list;
  return list;
}

FileId idOf(const struct stat& st) { return FileId{st.st_dev, st.st_ino}; }

// The file `name` names, and (when it is a symbolic link) the link itself.
int filesOf(std::u16string_view name, FileId (&ids)[2]) {
  int n = 0;
  struct stat st {};
  if (fileStatus(name, st)) ids[n++] = idOf(st);
  if (linkStatus(name, st) && S_ISLNK(st.st_mode)) ids[n++] = idOf(st);
  return n;
}

bool isFile(const Entry& e, const FileId (&ids)[2], int n) {
  return e.hasFile && std::find(ids, ids + n, e.file) != ids + n;
}

}  // namespace

void read(const void* run, std::u16string_view name) {
  struct stat st {};
  if (!fileStatus(name, st)) return;
  std::vector<Entry>& list = entries();
  const FileId id = idOf(st);
  for (const Entry& e : list)
    if (e.run == run && !e.written && e.file == id) return;  // an include read again
  list.push_back(Entry{run, false, id, true, {}, {}});
}

bool write(const void* run, std::u16string_view name) {
  // A device or a pipe (standard output by its name) replaces nothing.
  struct stat st {};
  if (fileStatus(name, st) && !S_ISREG(st.st_mode)) return true;
  FileId ids[2];
  const int n = filesOf(name, ids);
  struct stat folder {};
  const bool located = folderStatus(name, folder);
  const std::u16string file = fileOf(name);
  std::vector<Entry>& list = entries();
  for (const Entry& e : list) {
    if (isFile(e, ids, n)) return false;
    if (e.written && located && e.folder == idOf(folder) && e.name == file) return false;
  }
  list.push_back(Entry{run, true, n > 0 ? ids[0] : FileId{}, n > 0, located ? idOf(folder) : FileId{}, file});
  return true;
}

bool wasRead(std::u16string_view name) {
  FileId ids[2];
  const int n = filesOf(name, ids);
  return std::any_of(entries().begin(), entries().end(),
                     [&](const Entry& e) { return !e.written && isFile(e, ids, n); });
}

void written(const void* run, std::u16string_view name) {
  struct stat folder {};
  if (!folderStatus(name, folder)) return;
  const std::u16string file = fileOf(name);
  std::erase_if(entries(), [&](const Entry& e) {
    return e.run == run && e.written && e.folder == idOf(folder) && e.name == file;
  });
}

void release(const void* run, const void* heir) {
  std::vector<Entry>& list = entries();
  if (heir)
    for (Entry& e : list)
      if (e.run == run && !e.written) e.run = heir;
  std::erase_if(list, [run](const Entry& e) { return e.run == run; });
}

}  // namespace halvorn::inuse
