// wistel: packs a folder into a pack file and back.
//
//   wistel pack DIR PACK [-b BLOCKSIZE] [-d DESCRIPTION] [-c COPYRIGHT] [--password-file FILE]
//   wistel unpack PACK DIR [--password-file FILE]
//   wistel list PACK
//   wistel info PACK
//   wistel --help
//
// Messages go to standard error; the exit status is 0 on success, 1 for a
// run that was refused or failed, 2 for a usage problem.
#include <charconv>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console.h"
#include "failures.h"
#include "filepack.h"
#include "listing.h"
#include "messages.h"
#include "names.h"
#include "packstream.h"
#include "rt/cmdline.h"
#include "rt/error.h"
#include "rt/signals.h"
#include "rt/text.h"

namespace {

constexpr const char* kUsage =
    "usage: wistel pack DIR PACK [-b BLOCKSIZE] [-d DESCRIPTION] [-c COPYRIGHT]\n"
    "                   [--password-file FILE]\n"
    "       wistel unpack PACK DIR [--password-file FILE]\n"
    "       wistel list PACK\n"
    "       wistel info PACK\n"
    "       wistel --help\n"
    "\n"
    "pack     packs the folder DIR into the pack file PACK (with a password: the\n"
    "         first line of FILE, stored as written: a question, not encryption)\n"
    "unpack   unpacks PACK into the folder DIR, made when missing\n"
    "list     prints the header, then every folder and file in the pack\n"
    "info     prints the header and the length of the pack\n"
    "\n"
    "-- ends the options: an operand after it may start with -.\n";

int usage(const std::string& problem) {
  std::fprintf(stderr, "wistel: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

struct Command {
  std::string name;
  std::vector<std::string> operands;
  std::map<std::string, std::string> options;
};

// Options may stand anywhere after the command, up to a "--"; each takes a
// value.
std::optional<Command> parse(int argc, char** argv, std::string& problem) {
  static const std::map<std::string, std::vector<std::string>> kOptions = {
      {"pack", {"-b", "-d", "-c", "--password-file"}},
      {"unpack", {"--password-file"}},
      {"list", {}},
      {"info", {}},
  };
  static const std::map<std::string, size_t> kOperands = {
      {"pack", 2}, {"unpack", 2}, {"list", 1}, {"info", 1}};
  if (argc < 2) return problem = "no command", std::nullopt;
  Command c{argv[1], {}, {}};
  auto allowed = kOptions.find(c.name);
  if (allowed == kOptions.end()) return problem = "unknown command " + c.name, std::nullopt;
  rt::ArgScanner scan;
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    const rt::ArgScanner::Kind kind = scan.next(a);
    if (kind == rt::ArgScanner::EndOfOptions) continue;
    if (kind == rt::ArgScanner::Option) {
      bool known = false;
      for (const std::string& o : allowed->second) known = known || o == a;
      if (!known) return problem = "unknown option " + a, std::nullopt;
      if (i + 1 >= argc) return problem = a + " needs a value", std::nullopt;
      c.options[a] = argv[++i];
    } else {
      c.operands.push_back(a);
    }
  }
  if (c.operands.size() != kOperands.at(c.name))
    return problem = c.name + " takes " + std::to_string(kOperands.at(c.name)) + " operands",
           std::nullopt;
  return c;
}

std::optional<std::string> option(const Command& c, const std::string& name) {
  auto it = c.options.find(name);
  return it == c.options.end() ? std::nullopt : std::optional<std::string>(it->second);
}

void installHosts(const Command& c) {
  rt::setUiHost(rt::make<wistelcmd::ConsoleUiHost>());
  rt::setWorkHost(rt::make<wistelcmd::ConsoleWorkHost>(option(c, "--password-file")));
}

int pack(const Command& c) {
  auto fp = rt::make<wistel::FilePack>();
  rt::Ref<wistel::IPackInfo> info = fp->info();
  if (auto b = option(c, "-b")) {
    int32_t n = 0;
    auto [end, ec] = std::from_chars(b->data(), b->data() + b->size(), n);
    if (ec != std::errc() || end != b->data() + b->size())
      return usage("-b takes a whole number of bytes, not " + *b);
    info->setBlkSize(n);
  }
  if (auto d = option(c, "-d")) info->setDescription(rt::fromUtf8(*d));
  if (auto cr = option(c, "-c")) info->setCopyright(rt::fromUtf8(*cr));
  if (auto file = option(c, "--password-file")) {
    std::optional<std::u16string> password = wistelcmd::firstLine(*file);
    if (!password) {
      std::fprintf(stderr, "wistel: cannot read the password file %s\n", file->c_str());
      return 1;
    }
    info->setFlag(info->flag() | wistel::PF_Password);
    info->setPassword(*password);
  }
  return fp->startPack(rt::fromUtf8(c.operands[0]), rt::fromUtf8(c.operands[1])) ? 0 : 1;
}

int unpack(const Command& c) {
  auto fp = rt::make<wistel::FilePack>();
  return fp->startUnPack(rt::fromUtf8(c.operands[1]), rt::fromUtf8(c.operands[0])) ? 0 : 1;
}

int list(const Command& c) {
  auto info = rt::make<wistel::PackInfo>();
  try {
    rt::Ref<nubrel::IBinFileStream> s = wistel::openPack(rt::fromUtf8(c.operands[0]), *info);
    wistelcmd::printHeader(*info, stdout);
    if (info->ver() > 1) wistel::refuse(std::u16string(wistel::text::kNewerVersion));
    wistelcmd::Listing listing(stdout);
    wistel::readFolderTree(*s, info->blkSize(), listing);
  } catch (const rt::RuntimeError& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "wistel: %s\n", rt::toUtf8(e.description()).c_str());
    return 1;
  }
  return 0;
}

int info(const Command& c) {
  auto info = rt::make<wistel::PackInfo>();
  if (!info->readInfo(rt::fromUtf8(c.operands[0]))) {
    std::fprintf(stderr, "wistel: %s: %s\n", c.operands[0].c_str(),
                 rt::toUtf8(wistel::shownName(info->failure())).c_str());
    return 1;
  }
  wistelcmd::printHeader(*info, stdout);
  std::printf("length: %lld\n", static_cast<long long>(info->packLen()));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string_view(argv[1]) == "-h" || std::string_view(argv[1]) == "--help")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::string problem;
  std::optional<Command> c = parse(argc, argv, problem);
  if (!c) return usage(problem);
  // The packer names files as text: a name that is no text would reach another file.
  for (const std::string& o : c->operands)
    if (!wistel::isTextName(o))
      return usage(rt::toUtf8(wistel::shownName(wistel::textOfBytes(o, rt::Encoding::Utf8))) +
                   " is not UTF-8 text");
  installHosts(*c);
  rt::removeTempFilesOnSignal();  // a pack or an unpacked file half made
  try {
    if (c->name == "pack") return pack(*c);
    if (c->name == "unpack") return unpack(*c);
    if (c->name == "list") return list(*c);
    return info(*c);
  } catch (const rt::RuntimeError& e) {  // the libraries could not be created
    std::fprintf(stderr, "wistel: %s\n", rt::toUtf8(e.description()).c_str());
    return 1;
  }
}
