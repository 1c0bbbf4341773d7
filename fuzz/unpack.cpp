// The packer's reader and unpacker on any bytes: the bytes become a pack
// file, unpacked into a folder of its own that starts empty, with a scripted
// work host (a password question gets one empty entry) and the headless UI
// host answering the error boxes.  Whatever the pack says, nothing may be
// written outside that folder.
#include <filesystem>
#include <set>
#include <string>

#include "fileinput.h"
#include "rt/testhost.h"
#include "sandbox.h"
#include "targets.h"
#include "wistel/filepack.h"

namespace fuzz {

namespace {

namespace stdfs = std::filesystem;

// Changes to files are confined to the scratch folders where the kernel can.
void confineOnce() {
  static const bool done = [] {
    std::vector<std::string> writable = fuzzerFolders();
    writable.push_back(tempFolder());
    confineFileChanges(writable);
    return true;
  }();
  (void)done;
}

// Everything beneath the temporary folder but the unpack target.
std::set<std::string> outsideTarget(const std::string& target) {
  std::set<std::string> paths;
  std::error_code ec;
  for (auto it = stdfs::recursive_directory_iterator(tempFolder(), ec);
       it != stdfs::recursive_directory_iterator(); it.increment(ec)) {
    std::string p = it->path().string();
    if (p == target || p.starts_with(target + "/")) continue;
    paths.insert(p + " " + std::to_string(it->is_regular_file(ec) ? it->file_size(ec) : 0));
  }
  return paths;
}

}  // namespace

void unpack(const uint8_t* data, size_t size) {
  prepare();
  confineOnce();
  std::u16string pack = writeTempFile("input.pack", asBytes(data, size));
  std::string target = tempFolder() + "unpack";
  std::error_code ec;
  stdfs::remove_all(target, ec);
  std::set<std::string> before = outsideTarget(target);

  auto work = rt::make<rt::ScriptedWorkHost>();
  work->expectPassword({u""});
  rt::ScopedWorkHost installed(work);
  auto fp = newObject<wistel::IFilePack>(u"Wistel.FilePack");
  fp->startUnPack(rt::fromUtf8(target), pack);
  check(work->viewsClosed() == work->viewsOpened(), "a progress view stays open");
  check(outsideTarget(target) == before, "unpacking wrote outside its target folder");
}

}  // namespace fuzz
