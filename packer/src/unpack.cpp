#include "unpack.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "messages.h"
#include "names.h"
#include "packinfo.h"
#include "packstream.h"
#include "password.h"
#include "progress.h"
#include "reader.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/fd.h"
#include "rt/fspath.h"
#include "rt/paths.h"
#include "rt/replacefile.h"
#include "rt/text.h"

namespace wistel {

namespace {

// A stored local date as a moment of the system clock, to the second.
std::optional<std::time_t> momentOf(rt::Date d) {
  rt::DateParts p;
  if (!rt::splitSerial(d.serial, p)) return std::nullopt;
  std::tm tm{};
  tm.tm_year = p.year - 1900;
  tm.tm_mon = p.month - 1;
  tm.tm_mday = p.day;
  tm.tm_hour = p.hour;
  tm.tm_min = p.minute;
  tm.tm_sec = p.second;
  tm.tm_isdst = -1;
  errno = 0;
  std::time_t t = std::mktime(&tm);
  if (t == static_cast<std::time_t>(-1) && errno != 0) return std::nullopt;
  return t;
}

class Unpacker final : public PackVisitor {
 public:
  // `root` is the target folder as folderPath gives it.
  Unpacker(Progress& progress, std::u16string root) : progress_(progress), root_(std::move(root)) {}
  ~Unpacker() override { dropFile(); }

  const NameList& missed() const { return missed_; }

  void enterFolder(std::u16string_view name, int32_t files, int32_t folders, int depth) override {
    progress_.push(depth == 0 ? text::kRootLabel : name, int64_t{files} + folders);
    if (depth == 0) {
      openRoot();
      return;
    }
    const Folder& parent = folders_.back();
    Folder f{rt::Fd(-1), std::u16string(name)};
    if (parent.fd.get() >= 0) {
      std::string native = rt::toUtf8(name);
      if (::mkdirat(parent.fd.get(), native.c_str(), 0777) == 0 || errno == EEXIST)
        f.fd = rt::Fd(::openat(parent.fd.get(), native.c_str(),
                               O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
      if (f.fd.get() < 0) missed_.add([&] { return pathOf(name) + u"/"; });
    }
    folders_.push_back(std::move(f));
  }

  void beginFile(const FileRecord& file) override {
    progress_.push(file.name, file.blocks);
    const Folder& folder = folders_.back();
    file_ = OpenFile{rt::Fd(-1), {}, rt::toUtf8(file.name), file.name, file.modified, false};
    if (folder.fd.get() < 0) return;  // the folder is named already
    file_.fd = rt::Fd(rt::createTempFile(folder.fd.get(), "", 0666, file_.temp));
    if (file_.fd.get() < 0) {
      file_.temp.clear();
      missed_.add([&] { return pathOf(file_.name); });
    }
  }

  void block(std::span<const uint8_t> bytes) override {
    if (file_.fd.get() >= 0 && !file_.failed)
      file_.failed = !rt::writeAll(
          file_.fd.get(), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    progress_.addValue();
  }

  void endFile() override {
    if (file_.fd.get() >= 0) {
      if (!finishFile()) {
        dropFile();
        missed_.add([&] { return pathOf(file_.name); });
      }
      file_.temp.clear();
    }
    progress_.pop();
    progress_.addValue();
  }

  void leaveFolder() override {
    folders_.pop_back();
    progress_.pop();
    if (!folders_.empty()) progress_.addValue();
  }

 private:
  // Each open folder keeps its own name only: a path for every level would
  // take memory that grows with the square of the depth.
  struct Folder {
    rt::Fd fd;  // -1: not made or not opened, so nothing is written in it
    std::u16string name;
  };
  struct OpenFile {
    rt::Fd fd{-1};
    std::string temp;  // its name until complete
    std::string native;
    std::u16string name;
    rt::Date modified;
    bool failed = false;
  };

  void openRoot() {
    rt::makePath(root_);  // a failure shows when the folder is opened
    int fd = ::open(rt::fs::nativePath(root_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
      rt::raiseWith(rt::err::PathNotFound, u"文件夹" + bracket(root_) + u"不存在或不能被建立。", {});
    folders_.push_back(Folder{rt::Fd(fd), {}});
  }

  // The path of `name` in the current folder, as messages show it.
  std::u16string pathOf(std::u16string_view name) const {
    std::u16string path = root_;
    for (size_t i = 1; i < folders_.size(); ++i) path += folders_[i].name + u"/";
    return path + std::u16string(name);
  }

  // The stored time, then the file in place of an existing one.
  bool finishFile() {
    int dir = folders_.back().fd.get();
    if (file_.failed) return false;
    if (std::optional<std::time_t> t = momentOf(file_.modified)) {
      struct timespec times[2] = {{0, UTIME_OMIT}, {*t, 0}};
      ::futimens(file_.fd.get(), times);
    }
    if (!file_.fd.close()) return false;
    struct stat st {};
    if (::fstatat(dir, file_.native.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
      if (S_ISDIR(st.st_mode)) return false;
      if (S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR)) return false;  // read-only stays
    }
    return rt::renameTempFile(dir, file_.temp, file_.native);
  }

  // Lets go of the file being written and its temporary name.
  void dropFile() {
    file_.fd = rt::Fd(-1);
    if (!file_.temp.empty() && !folders_.empty() && folders_.back().fd.get() >= 0)
      rt::removeTempFile(folders_.back().fd.get(), file_.temp);
    file_.temp.clear();
  }

  Progress& progress_;
  std::u16string root_;
  std::vector<Folder> folders_;
  OpenFile file_;
  NameList missed_;
};

}  // namespace

bool unpack(PackInfo& info, std::u16string_view dirPath, std::u16string_view packFile) {
  Progress progress(text::kUnpacking);
  return runShowingErrors([&] {
    std::u16string target = folderPath(dirPath);
    rt::Ref<nubrel::IBinFileStream> in = openPack(packFile, info);
    if (info.ver() > 1) {
      showNotice(text::kNewerVersion);
      return false;
    }
    if (info.hasPassword() && !askPassword(info.password())) return false;
    Unpacker unpacker(progress, std::move(target));
    readFolderTree(*in, info.blkSize(), unpacker);
    in->closeStream();
    if (unpacker.missed().empty()) return true;
    showErr(unpacker.missed().message(u"以下文件或文件夹未能写入："));
    return false;
  });
}

}  // namespace wistel
