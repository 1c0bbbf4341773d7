#include "writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <string>
#include <vector>

#include "failures.h"
#include "format.h"
#include "messages.h"
#include "names.h"
#include "packinfo.h"
#include "packstream.h"
#include "packtarget.h"
#include "progress.h"
#include "rt/clock.h"
#include "rt/dirlist.h"
#include "rt/error.h"
#include "rt/fd.h"
#include "rt/fspath.h"
#include "rt/text.h"

namespace wistel {

ssize_t FileSource::read(int fd, char* dst, size_t n) {
  for (;;) {
    ssize_t got = ::read(fd, dst, n);
    if (got >= 0 || errno != EINTR) return got;
  }
}

namespace {

std::u16string number(int64_t n) { return rt::ascii(std::to_string(n)); }

void completeInfo(PackInfo& info) {
  int32_t blk = info.blkSize();
  if (blk < 0 || blk > kMaxBlkSize)
    rt::raise(rt::err::InvalidCall, u"BlkSize " + number(blk) + u" 不在 0 到 " +
                                        number(kMaxBlkSize) + u" 之间");
  if (blk == 0) info.setBlkSize(kDefaultBlkSize);
  if (info.copyright().empty()) info.setCopyright(text::kCopyright);
  if (info.description().empty()) info.setDescription(text::kDescription);
  info.setVer(1);
  info.setCreateTime(rt::dateTimeOf(rt::localNow()));
  if (info.hasPassword() && !storable(info.password()))
    refuse(u"口令中有当前代码页不能表示的字符，不能打包。");
}

struct Entry {
  std::string native;
  std::u16string name;
};

class Walker {
 public:
  Walker(nubrel::VStream& out, Progress& progress, FileSource& source, int32_t blkSize,
         const PackTarget& target)
      : out_(out), progress_(progress), source_(source), blkSize_(blkSize), target_(target) {}

  // The names of the old pack in the tree that were left out.
  const NameList& leftOut() const { return leftOut_; }

  void root(std::u16string_view dirPath) {
    std::u16string shown = folderPath(dirPath);
    int fd = ::open(rt::fs::nativePath(shown).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) raiseSystem(errno, rt::err::PathNotFound, shown);
    rt::Fd dir(fd);
    folder(dir.get(), text::kRootLabel, shown, 0);
  }

 private:
  void folder(int fd, std::u16string_view label, const std::u16string& shown, int depth) {
    if (depth > kMaxDepth) refuse(bracket(shown) + u"的层数超过 256，不能打包。");
    std::vector<Entry> files, folders;
    list(fd, shown, files, folders);
    progress_.push(label, static_cast<int64_t>(files.size()) + static_cast<int64_t>(folders.size()));
    if (depth > 0) out_.setVString(label);
    out_.setVLong(countOf(files));
    out_.setVLong(countOf(folders));
    for (const Entry& e : files) {
      file(fd, e, shown + e.name);
      progress_.addValue();
    }
    for (const Entry& e : folders) {
      std::u16string sub = shown + e.name + u"/";
      int child = ::openat(fd, e.native.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (child < 0) raiseSystem(errno, rt::err::PathNotFound, sub);
      rt::Fd dir(child);
      folder(dir.get(), e.name, sub, depth + 1);
      progress_.addValue();
    }
    progress_.pop();
  }

  static int32_t countOf(const std::vector<Entry>& v) {
    if (v.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
      rt::raise(rt::err::Overflow);
    return static_cast<int32_t>(v.size());
  }

  // The files and the folders to pack, each in name order.
  void list(int fd, const std::u16string& shown, std::vector<Entry>& files,
            std::vector<Entry>& folders) {
    for (rt::FolderEntry& e : rt::listFolder(fd)) {
      // "." and "..", and every other dot-name: the system's hidden entries.
      if (e.native.starts_with('.')) continue;
      struct stat st {};
      if (::fstatat(fd, e.native.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;  // gone
      bool folder = S_ISDIR(st.st_mode);
      // A link counts as what it names; a link to a folder is never followed.
      if (S_ISLNK(st.st_mode) && (::fstatat(fd, e.native.c_str(), &st, 0) != 0 || !S_ISREG(st.st_mode)))
        continue;
      if (!folder && !S_ISREG(st.st_mode)) continue;  // devices, pipes, sockets
      std::u16string path = shown + e.name;
      if (!folder && target_.isOldPack(st)) {
        // The pack being replaced never packs itself; under another name
        // (a hard link) the user is told it was left out.
        if (!target_.isTargetName(fd, e.native)) leftOut_.add([&] { return path; });
        continue;
      }
      if (!isTextName(e.native))
        refuse(u"名称" + bracket(shown + textOfBytes(e.native, rt::Encoding::Utf8)) +
               u"不是有效的 UTF-8 文本，不能打包。");
      // What the reader refuses is never written, so every pack made unpacks.
      if (std::u16string_view why = unusableName(e.name); !why.empty())
        refuse(u"名称" + bracket(path) + u"不能放入文件包（" + std::u16string(why) + u"），不能打包。");
      if (!storable(e.name))
        refuse(u"名称" + bracket(path) + u"中有当前代码页不能表示的字符，不能打包。");
      (folder ? folders : files).push_back(Entry{std::move(e.native), std::move(e.name)});
    }
  }

  void file(int dirFd, const Entry& e, const std::u16string& shown) {
    // Non-blocking: an entry swapped for a pipe since the listing cannot hang the open.
    int fd = ::openat(dirFd, e.native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) raiseSystem(errno, rt::err::FileNotFound, shown);
    rt::Fd in(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0) raiseSystem(errno, rt::err::FileNotFound, shown);
    if (!S_ISREG(st.st_mode)) refuse(bracket(shown) + u"在打包时已不是普通文件。");
    int64_t length = st.st_size;
    int64_t blocks = (length + blkSize_ - 1) / blkSize_;
    if (blocks > std::numeric_limits<int32_t>::max())
      refuse(bracket(shown) + u"太大，块数超过 2147483647，请用更大的 BlkSize。");
    rt::Date modified = rt::dateTimeOf(rt::localTimeOf(st.st_mtim.tv_sec));

    progress_.push(e.name, blocks);
    out_.setVString(e.name);
    out_.setVLong(rt::fs::attributesOf(st, e.name));
    out_.setVDate(modified);
    out_.setVLong(static_cast<int32_t>(blocks));
    for (int64_t left = length; left > 0;) {
      size_t n = static_cast<size_t>(std::min<int64_t>(left, blkSize_));
      rt::ByteArray& a = block_.mutableBytes();
      a.bytes.resize(n);
      readFully(fd, a.bytes.data(), n, shown);
      out_.setVBytes(block_);
      left -= static_cast<int64_t>(n);
      progress_.addValue();
    }
    progress_.pop();
  }

  void readFully(int fd, uint8_t* dst, size_t n, const std::u16string& shown) {
    while (n > 0) {
      ssize_t got = source_.read(fd, reinterpret_cast<char*>(dst), n);
      if (got < 0) raiseSystem(errno, rt::err::FileNotFound, shown);
      if (got == 0) refuse(bracket(shown) + u"读出的字节少于它的长度（文件在打包时变短了）。");
      dst += got;
      n -= static_cast<size_t>(got);
    }
  }

  nubrel::VStream& out_;
  Progress& progress_;
  FileSource& source_;
  int32_t blkSize_;
  const PackTarget& target_;
  NameList leftOut_;
  rt::Variant block_{rt::ByteArray{}};
};

// The pack, put in place when complete; on a failure its stream is closed
// without saving, so the old pack stays.  The failure names the pack as
// asked for.  Answers the old pack's other names in the tree, left out.
NameList writeTree(PackInfo& info, std::u16string_view dirPath, std::u16string_view packFile,
                   FileSource& source, Progress& progress) {
  PackTarget target(packFile);
  rt::Ref<nubrel::IBinFileStream> out = newPackStream();
  try {
    if (!out->openStream(packFile, nubrel::OutStream))
      rt::raiseWith(rt::err::PathFileAccess, out->errInfo(), {});
    info.writeStream(*out);
    Walker walker(*out, progress, source, info.blkSize(), target);
    walker.root(dirPath);
    if (!out->closeStream()) rt::raiseWith(rt::err::DeviceIO, out->errInfo(), {});
    return walker.leftOut();
  } catch (const rt::RuntimeError& e) {
    out->discardStream();
    target.raiseNamingPack(e);
  }
}

}  // namespace

bool writePack(PackInfo& info, std::u16string_view dirPath, std::u16string_view packFile,
               FileSource& source) {
  Progress progress(text::kPacking);  // closed on every way out
  return runShowingErrors([&] {
    completeInfo(info);
    NameList leftOut = writeTree(info, dirPath, packFile, source, progress);
    progress.close();
    if (!leftOut.empty()) showNotice(leftOut.message(text::kOldPackLeftOut));
    return true;
  });
}

}  // namespace wistel
