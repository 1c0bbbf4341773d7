// The registration stores.
//
// A store is a folder of small UTF-8 text files, one per key:
//
//   <store>/progid/<ProgID, case-folded>   for example  progid/jespin.errinfo
//   <store>/clsid/<class ID>               for example  clsid/{6F2A41C0-...}
//
// Both files of a class hold the same "key=value" lines, in any order:
//
//   progid=Jespin.ErrInfo
//   clsid={6F2A41C0-0D1E-5A7B-8C3D-1F2E3D4C5B6A}
//   library=../libJespin.so
//
// A library path is absolute, or relative to the store's folder: a library
// that lies beside the store (in the folder that holds it) is written
// relative, so that the store and its libraries can be moved or copied
// together (a build folder, an installed tree); any other absolutely.
//
// Lines end with LF when written; CR LF and a lone CR are read too.  Empty
// lines, lines starting with "#" and unknown keys are skipped, so a later
// version may add keys.  Each of the three keys is required exactly once, the
// class ID has the braced form, the library path is not empty, and a file's
// name must agree with its ProgID (folded) or class ID.  Anything else is a
// malformed entry, and lookups report it with the file's name instead of
// passing over it, so a broken store is noticed where it is broken.
//
// Writers write a temporary file beside the entry (its name starts with ".",
// which readers never look at) and rename it over the entry: a reader sees the
// old entry or the new one, never a part of either.
#include "registry.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>

#include "rt/activation.h"
#include "rt/error.h"
#include "rt/fd.h"
#include "rt/replacefile.h"
#include "rt/text.h"

namespace rt {

namespace fs = std::filesystem;
using registry::Entry;

namespace {

constexpr size_t kMaxEntryBytes = 64 * 1024;
// Well within NAME_MAX: no ProgID the system knows comes near it.
constexpr size_t kMaxNameBytes = 200;

[[noreturn]] void fail(const std::string& reason) {
  raise(err::CannotCreateObject, fromUtf8(reason));
}

std::string systemError() { return std::strerror(errno); }

// The file name of a ProgID's entry; "" when the ProgID cannot name one
// (which also keeps a name like "../x" from reaching outside the store).
std::string progIdFileName(std::u16string_view progId) {
  std::string name = toUtf8(foldCase(progId));
  if (name.empty() || name.size() > kMaxNameBytes || name[0] == '.') return {};
  for (unsigned char c : name)
    if (c < 0x20 || c == 0x7f || c == '/' || c == '\\') return {};
  return name;
}

std::string defaultStore() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&registryStores), &info) || !info.dli_fname) return {};
  std::string lib = registry::absolutePath(info.dli_fname);
  if (lib.empty()) return {};
  return (fs::path(lib).parent_path() / "registry").string();
}

// False when the store does not exist; raises when it is no folder.
bool storeExists(const std::string& store) {
  struct stat st {};
  if (::stat(store.c_str(), &st) != 0) {
    if (errno == ENOENT) return false;
    fail("registration store " + store + " cannot be read: " + systemError());
  }
  if (!S_ISDIR(st.st_mode)) fail("registration store " + store + " is not a folder");
  return true;
}

// Reads an entry file whole; false when there is none.
bool readEntryFile(const std::string& path, std::string& out) {
  // Non-blocking, so that a FIFO planted in a store cannot hang the lookup.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT) return false;
    fail("registration entry " + path + " cannot be read: " + systemError());
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    fail("registration entry " + path + " cannot be read: it is not a regular file");
  }
  out.clear();
  char buf[4096];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      std::string why = systemError();
      ::close(fd);
      fail("registration entry " + path + " cannot be read: " + why);
    }
    if (n == 0) break;
    out.append(buf, static_cast<size_t>(n));
    if (out.size() > kMaxEntryBytes) {
      ::close(fd);
      fail("malformed registration entry " + path + ": the file is too large");
    }
  }
  ::close(fd);
  return true;
}

// A short, printable excerpt of a bad line for an error text.
std::string excerpt(std::string_view s) {
  return "\"" + std::string(s.substr(0, 60)) + (s.size() > 60 ? "...\"" : "\"");
}

Entry parseEntry(std::string_view text, const std::string& file, const std::string& store) {
  auto malformed = [&](const std::string& why) {
    fail("malformed registration entry " + file + ": " + why);
  };
  if (text.find('\0') != std::string_view::npos) malformed("it contains a NUL byte");
  Entry e;
  e.file = file;
  e.store = store;
  bool have[3] = {false, false, false};
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
    std::string_view line = text.substr(pos, end - pos);
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
    if (line.empty() || line[0] == '#') continue;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) malformed("the line " + excerpt(line) + " is not key=value");
    std::string_view key = line.substr(0, eq), value = line.substr(eq + 1);
    int slot = key == "progid" ? 0 : key == "clsid" ? 1 : key == "library" ? 2 : -1;
    if (slot < 0) continue;
    if (have[slot]) malformed("the key " + std::string(key) + " appears twice");
    have[slot] = true;
    if (slot == 0) {
      if (progIdFileName(fromUtf8(value)).empty()) malformed("invalid ProgID " + excerpt(value));
      e.progId = value;
    } else if (slot == 1) {
      if (value.size() != 38 || value.front() != '{' || !Guid::parse(value, e.clsid))
        malformed("invalid class ID " + excerpt(value));
    } else {
      if (value.empty()) malformed("the library path is empty");
      e.library = value[0] == '/' ? std::string(value)
                                  : registry::absolutePath(store + "/" + std::string(value));
    }
  }
  static const char* const kKeys[] = {"progid", "clsid", "library"};
  for (int i = 0; i < 3; ++i)
    if (!have[i]) malformed(std::string("the key ") + kKeys[i] + " is missing");
  return e;
}

// The name an entry's file must have in `folder` ("progid" or "clsid").
std::string nameOfEntry(std::string_view folder, const Entry& e) {
  return folder == "progid" ? progIdFileName(fromUtf8(e.progId)) : e.clsid.toString();
}

// The entry `folder`/`name` of `store`, checked; nothing when there is none.
std::optional<Entry> readEntry(const std::string& store, const char* folder,
                               const std::string& name) {
  std::string file = store + "/" + folder + "/" + name, text;
  if (!readEntryFile(file, text)) return std::nullopt;
  Entry e = parseEntry(text, file, store);
  if (nameOfEntry(folder, e) != name)
    fail("malformed registration entry " + file + ": its " + folder +
         " does not match the file name");
  return e;
}

// The entry `folder`/`name` of the first store that has one.
std::optional<Entry> findEntry(const char* folder, const std::string& name, std::string& searched) {
  searched.clear();
  for (const std::string& store : registryStores()) {
    if (!searched.empty()) searched += ", ";
    searched += store;
    if (!storeExists(store)) {
      searched += " (missing)";
      continue;
    }
    if (std::optional<Entry> e = readEntry(store, folder, name)) return e;
  }
  return std::nullopt;
}

std::string entryText(const ClassEntry& c, const std::string& library) {
  return "progid=" + std::string(c.progId) + "\nclsid=" + c.clsid.toString() +
         "\nlibrary=" + library + "\n";
}

// How an entry of `store` names `library` (both absolute and normal):
// relative to the store when the library lies beside it.
std::string libraryAsStored(const std::string& store, const std::string& library) {
  const fs::path lib(library);
  if (lib.parent_path() != fs::path(store).parent_path()) return library;
  return (fs::path("..") / lib.filename()).string();
}

// Writes `dir`/`name` through a temporary file and a rename.
bool writeAtomically(const std::string& dir, const std::string& name, const std::string& text) {
  FileReplacement out;
  return out.open(dir + "/" + name, FileReplacement::kReplaceLinks, 0644) && writeAll(out.fd(), text) && out.commit();
}

bool removeFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0 || errno == ENOENT || errno == ENOTDIR;
}

}  // namespace

namespace registry {

std::string absolutePath(std::string_view path) {
  std::string p(path);
  std::replace(p.begin(), p.end(), '\\', '/');
  if (p.empty()) return {};
  std::error_code ec;
  fs::path abs = fs::absolute(p, ec);
  if (ec) return {};
  std::string out = abs.lexically_normal().string();
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

std::optional<Entry> findByProgId(std::u16string_view progId, std::string& searched) {
  std::string name = progIdFileName(progId);
  if (name.empty()) fail("\"" + toUtf8(progId) + "\" is not a valid ProgID");
  return findEntry("progid", name, searched);
}

std::optional<Entry> findByClassId(const Guid& clsid, std::string& searched) {
  return findEntry("clsid", clsid.toString(), searched);
}

}  // namespace registry

std::vector<std::string> registryStores() {
  std::vector<std::string> stores;
  auto add = [&](std::string_view s) {
    std::string p = registry::absolutePath(s);
    if (!p.empty() && std::find(stores.begin(), stores.end(), p) == stores.end())
      stores.push_back(std::move(p));
  };
  if (const char* env = std::getenv("ZUB_REGISTRY")) {
    std::string_view list = env;
    while (!list.empty()) {
      size_t colon = std::min(list.find(':'), list.size());
      add(list.substr(0, colon));
      list.remove_prefix(std::min(colon + 1, list.size()));
    }
  }
  add(defaultStore());
  return stores;
}

int32_t writeRegistration(const std::string& libraryPath, const ClassEntry* entries, size_t count) {
  // The entries written may differ from those creation has found so far.
  forgetKnownClasses();
  // Called from a library's entry point: answers with a result, never throws.
  try {
    std::string library = registry::absolutePath(libraryPath);
    if (library.empty() ||
        library.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
      return hr::Fail;
    if (!entries && count) return hr::Fail;
    std::vector<std::string> names;
    for (size_t i = 0; i < count; ++i) {
      names.push_back(entries[i].progId ? progIdFileName(fromUtf8(entries[i].progId)) : "");
      if (names.back().empty()) return hr::Fail;
    }
    std::vector<std::string> stores = registryStores();
    if (stores.empty()) return hr::CannotWrite;
    const std::string progIds = stores.front() + "/progid", classIds = stores.front() + "/clsid";
    std::error_code ec;
    fs::create_directories(progIds, ec);
    if (!ec) fs::create_directories(classIds, ec);
    if (ec) return hr::CannotWrite;
    const std::string stored = libraryAsStored(stores.front(), library);
    for (size_t i = 0; i < count; ++i) {
      std::string text = entryText(entries[i], stored);
      if (!writeAtomically(progIds, names[i], text) ||
          !writeAtomically(classIds, entries[i].clsid.toString(), text))
        return hr::CannotWrite;
    }
    return hr::Ok;
  } catch (const std::exception&) {
    return hr::Fail;
  }
}

int32_t removeRegistration(const ClassEntry* entries, size_t count) {
  forgetKnownClasses();
  try {
    if (!entries && count) return hr::Fail;
    std::vector<std::string> stores = registryStores();
    if (stores.empty()) return hr::CannotWrite;
    const std::string& store = stores.front();
    bool ok = true;
    for (size_t i = 0; i < count; ++i) {
      std::string name = entries[i].progId ? progIdFileName(fromUtf8(entries[i].progId)) : "";
      if (!name.empty()) ok = removeFile(store + "/progid/" + name) && ok;
      ok = removeFile(store + "/clsid/" + entries[i].clsid.toString()) && ok;
    }
    return ok ? hr::Ok : hr::CannotWrite;
  } catch (const std::exception&) {
    return hr::Fail;
  }
}

std::vector<RegisteredClass> listRegisteredClasses() {
  std::vector<RegisteredClass> out;
  std::set<std::string> seen;  // entry names already listed from an earlier store
  for (const std::string& store : registryStores()) {
    if (!storeExists(store)) continue;
    const std::string dir = store + "/progid";
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec == std::errc::no_such_file_or_directory) continue;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
      std::string name = it->path().filename().string();
      if (name[0] != '.' && !seen.count(name)) names.push_back(std::move(name));
    }
    if (ec) fail("registration store " + store + " cannot be listed: " + ec.message());
    for (const std::string& name : names) {
      std::optional<Entry> e = readEntry(store, "progid", name);
      if (!e) continue;  // removed meanwhile
      seen.insert(name);
      out.push_back(RegisteredClass{e->progId, e->clsid, e->library, store});
    }
  }
  std::stable_sort(out.begin(), out.end(), [](const RegisteredClass& a, const RegisteredClass& b) {
    return compareNoCase(fromUtf8(a.progId), fromUtf8(b.progId)) < 0;
  });
  return out;
}

}  // namespace rt
