#include "testsupport.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "binfilestream.h"
#include "eventstream.h"
#include "filestream.h"
#include "memstream.h"
#include "nubrel/memstream.h"

namespace streamtest {

void StreamTest::SetUp() {
  rt::setCodePage(rt::CodePage::Utf8);
  std::string tmpl = (std::filesystem::temp_directory_path() / "nubrel-XXXXXX").string();
  ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
  dir_ = tmpl;
}

void StreamTest::TearDown() {
  rt::setCodePage(rt::CodePage::Utf8);
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

std::u16string StreamTest::path(const std::string& name) const {
  return rt::fromUtf8(fsPath(name));
}

Bytes StreamTest::readFile(const std::string& name) const {
  std::ifstream in(fsPath(name), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void StreamTest::writeFile(const std::string& name, const Bytes& bytes) const {
  std::ofstream out(fsPath(name), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

bool StreamTest::exists(const std::string& name) const {
  return std::filesystem::exists(fsPath(name));
}

std::vector<std::string> StreamTest::listing() const {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir_))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

const char* nameOf(Kind k) {
  switch (k) {
    case Kind::Binary:
      return "BinFileStream";
    case Kind::TextFile:
      return "FileStream";
    case Kind::Memory:
      return "MemStream";
    case Kind::Events:
      return "EventStream";
  }
  return "?";
}

rt::Ref<nubrel::VStream> StreamTest::writer(Kind k) {
  auto openFile = [&](rt::Ref<nubrel::IStreamFile> f) {
    EXPECT_TRUE(f->openStream(path("rt.dat"), nubrel::OutStream)) << rt::toUtf8(f->errInfo());
    return rt::Ref<nubrel::VStream>(f.get());
  };
  switch (k) {
    case Kind::Binary:
      return openFile(rt::make<nubrel::BinFileStream>());
    case Kind::TextFile:
      return openFile(rt::make<nubrel::FileStream>());
    case Kind::Memory:
      return rt::make<nubrel::MemStream>();
    case Kind::Events: {
      host_ = rt::make<LoopbackHost>();
      auto e = rt::make<nubrel::EventStream>();
      e->advise(host_);
      return e;
    }
  }
  return nullptr;
}

rt::Ref<nubrel::VStream> StreamTest::reader(Kind k, rt::Ref<nubrel::VStream> written) {
  auto reopen = [&](rt::Ref<nubrel::IStreamFile> f) {
    EXPECT_TRUE(f->closeStream());
    EXPECT_TRUE(f->openStream(path("rt.dat"), nubrel::InStream)) << rt::toUtf8(f->errInfo());
    return rt::Ref<nubrel::VStream>(f.get());
  };
  switch (k) {
    case Kind::Binary:
    case Kind::TextFile:
      return reopen(rt::queryRef<nubrel::IStreamFile>(written.get()));
    case Kind::Memory: {
      auto m = rt::queryRef<nubrel::IMemStream>(written.get());
      m->setDir(nubrel::InStream);
      return written;
    }
    case Kind::Events: {
      host_->pos = 0;
      auto e = rt::make<nubrel::EventStream>();
      e->init(nubrel::InStream);
      e->advise(host_);
      return e;
    }
  }
  return nullptr;
}

Bytes hex(const std::string& text) {
  Bytes out;
  std::string digits;
  for (char c : text)
    if (c != ' ') digits.push_back(c);
  for (size_t i = 0; i + 1 < digits.size(); i += 2)
    out.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  return out;
}

Bytes ascii(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

std::string show(const Bytes& b) {
  std::string s;
  char buf[4];
  for (uint8_t x : b) {
    std::snprintf(buf, sizeof buf, "%02X ", x);
    s += buf;
  }
  return s;
}

Bytes ansi(std::u16string_view s) {
  std::string b = rt::toAnsi(s);
  return Bytes(b.begin(), b.end());
}

}  // namespace streamtest
