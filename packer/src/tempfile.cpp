#include "tempfile.h"

#include <fcntl.h>

#include <cerrno>
#include <random>

namespace wistel {

int createFresh(int dirFd, const std::string& prefix, mode_t mode, std::string& name) {
  static std::mt19937_64 rng{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = prefix + std::to_string(rng() % 100000000);
    int fd = ::openat(dirFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

}  // namespace wistel
