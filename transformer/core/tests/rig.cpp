#include "rig.h"

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "rt/text.h"

namespace marloxtest {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "marlox-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  // Read-only folders left by a test would stop the removal.
  shell("chmod -R u+w '" + path_ + "' 2>/dev/null");
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::u16string TempDir::name(const std::string& rel) const { return rt::fromUtf8(path_ + "/" + rel); }

void TempDir::write(const std::string& rel, const std::string& bytes) const {
  std::filesystem::path p = path_ + "/" + rel;
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

std::string TempDir::read(const std::string& rel) const { return readFile(path_ + "/" + rel); }

std::string TempDir::readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool TempDir::exists(const std::string& rel) const {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(path_ + "/" + rel, ec));
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) : handler_(std::signal(SIGXFSZ, SIG_IGN)) {
  if (::getrlimit(RLIMIT_FSIZE, &before_) != 0) throw std::runtime_error("getrlimit failed");
  rlimit small = before_;
  small.rlim_cur = bytes;
  if (::setrlimit(RLIMIT_FSIZE, &small) != 0) throw std::runtime_error("setrlimit failed");
}

FileSizeLimit::~FileSizeLimit() {
  ::setrlimit(RLIMIT_FSIZE, &before_);
  std::signal(SIGXFSZ, handler_);
}

std::string capture(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    ::pclose(p);
  }
  return out;
}

int shell(const std::string& command) {
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool processEnded(const std::string& pid) {
  for (int i = 0; i < 500; ++i) {
    std::string stat = TempDir::readFile("/proc/" + std::to_string(std::stoi(pid)) + "/stat");
    // The state follows the name, which is in brackets and may hold any.
    size_t name = stat.rfind(')');
    if (name == std::string::npos || stat.compare(name, 3, ") Z") == 0) return true;
    ::usleep(10 * 1000);
  }
  return false;
}

Rig::Rig(const std::string& ini, rt::Ref<rt::ScriptedHost> host)
    : ui(host ? host : rt::make<rt::ScriptedHost>()), installed_(ui) {
  if (!ini.empty()) home.write("Marlox.ini", ini);
  program = std::make_unique<marlox::Program>(
      home.name(), marlox::Services{dialogs, net, browser, launcher, clipboard});
}

Rig::~Rig() {
  frame.reset();
  program.reset();
}

void Rig::start(const std::function<marlox::MainFrame*()>& openWindow) {
  program->start([&] {
    ++windowsOpened;
    return openWindow();
  });
}

void Rig::start() {
  start([this] {
    frame = std::make_unique<marlox::MainFrame>(*program, editor, window, tree);
    editor.onChange = [this] { frame->document().textChanged(); };
    frame->load();
    return frame.get();
  });
}

bool Rig::close() {
  if (!frame->closeRequested()) return false;
  window.open = false;
  program->quit();
  return true;
}

void Rig::checkAll() {
  ui->checkAllAsked();
  dialogs.checkAllAsked();
  for (const Recorder* r : std::initializer_list<const Recorder*>{&editor, &window, &tree, &net, &browser, &launcher, &clipboard})
    r->check();
  if (!browser.expected.empty()) throw std::logic_error("browser: expected url never opened");
  if (!launcher.expected.empty()) throw std::logic_error("launcher: expected start never made");
}

}  // namespace marloxtest
