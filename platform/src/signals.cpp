#include "rt/signals.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <unordered_map>

#include "tempnames.h"

namespace rt {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

struct Node {
  Node* prev;
  Node* next;
  int dirFd;
  std::string path;
};

// The list the handler walks, newest first.
Node* g_head = nullptr;
std::atomic<bool> g_installed{false};
sigset_t g_handled;

// Each listed file by its folder and name, for forgetting it at once.  Never
// destroyed: a signal may come while the process ends.
std::unordered_multimap<std::string, Node*>& index() {
  static auto* nodes = new std::unordered_multimap<std::string, Node*>;
  return *nodes;
}

std::string keyOf(int dirFd, const std::string& path) {
  return std::to_string(dirFd) + std::string(1, '\0') + path;
}

// Only calls that are safe in a handler: the files go, then the signal is
// sent again with its default action, to arrive as the handler returns.
extern "C" void removeAndEnd(int sig) {
  const int saved = errno;
  for (Node* n = g_head; n; n = n->next) ::unlinkat(n->dirFd, n->path.c_str(), 0);
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  ::sigemptyset(&byDefault.sa_mask);
  ::sigaction(sig, &byDefault, nullptr);
  ::raise(sig);
  errno = saved;
}

}  // namespace

void removeTempFilesOnSignal() {
  if (g_installed.load()) return;
  ::sigemptyset(&g_handled);
  for (int s : kSignals) ::sigaddset(&g_handled, s);
  g_installed = true;
  struct sigaction handler {};
  handler.sa_handler = removeAndEnd;
  handler.sa_mask = g_handled;  // one signal at a time
  for (int s : kSignals) {
    struct sigaction current {};
    if (::sigaction(s, nullptr, &current) != 0) continue;
    if (!(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_IGN) continue;
    ::sigaction(s, &handler, nullptr);
  }
}

namespace tempnames {

Held::Held() {
  if (g_installed.load()) held_ = ::pthread_sigmask(SIG_BLOCK, &g_handled, &previous_) == 0;
}

Held::~Held() {
  if (held_) ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

void add(int dirFd, const std::string& path) {
  if (!g_installed.load()) return;
  Node* n = new Node{nullptr, g_head, dirFd, path};
  try {
    index().emplace(keyOf(dirFd, path), n);
  } catch (...) {
    delete n;
    throw;
  }
  if (n->next) n->next->prev = n;
  g_head = n;
}

void forget(int dirFd, const std::string& path) {
  if (!g_installed.load()) return;
  auto& nodes = index();
  auto it = nodes.find(keyOf(dirFd, path));
  if (it == nodes.end()) return;
  Node* n = it->second;
  nodes.erase(it);
  if (n->prev) n->prev->next = n->next;
  else g_head = n->next;
  if (n->next) n->next->prev = n->prev;
  delete n;
}

}  // namespace tempnames

}  // namespace rt
