#include "packtarget.h"

#include <sys/stat.h>

#include "names.h"
#include "rt/error.h"
#include "rt/fspath.h"
#include "rt/text.h"

namespace wistel {

PackTarget::PackTarget(std::u16string_view packFile)
    : packFile_(packFile), native_(rt::fs::nativePath(packFile)) {
  if (native_.empty()) rt::raise(rt::err::BadFileName);
  target_ = rt::fs::linkedFile(native_);
  struct stat st {};
  if (::stat(target_.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
  existing_ = st;
  const size_t slash = target_.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : target_.substr(0, slash + 1);
  if (::stat(folder.c_str(), &st) == 0) folder_ = st;
}

void PackTarget::raiseNamingPack(const rt::RuntimeError& e) const {
  std::u16string description = e.description();
  const std::u16string named = rt::fromUtf8(native_);
  if (size_t at = description.find(named); at != std::u16string::npos)
    description.replace(at, named.size(), shownName(packFile_));
  rt::raiseWith(e.number(), std::move(description), e.source());
}

bool PackTarget::isTargetName(int dirFd, const std::string& name) const {
  struct stat st {};
  if (!folder_ || ::fstat(dirFd, &st) != 0) return false;
  if (st.st_dev != folder_->st_dev || st.st_ino != folder_->st_ino) return false;
  return name == target_.substr(target_.rfind('/') + 1);
}

}  // namespace wistel
