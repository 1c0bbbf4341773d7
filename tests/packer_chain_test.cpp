// The packer as other programs reach it: its two classes created by ProgID
// from the built library and driven by late binding only.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "rt/activation.h"
#include "rt/dispatch.h"
#include "rt/text.h"
#include "wistel/filepack.h"

namespace {

namespace fs = std::filesystem;
using rt::Variant;

Variant call(rt::Object* o, std::u16string_view name, int kinds, std::vector<Variant> args = {}) {
  return rt::callByName(o, name, kinds, args);
}

TEST(PackerChain, FilePackAndPackInfoByProgIdAndLateBinding) {
  std::string tmpl = (fs::temp_directory_path() / "zub-packer-XXXXXX").string();
  ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
  fs::path root = tmpl;
  fs::create_directories(root / "T" / "sub");
  std::ofstream(root / "T" / "sub" / "a.txt") << "hello";
  std::u16string dir = rt::fromUtf8((root / "T").string());
  std::u16string pack = rt::fromUtf8((root / "t.pack").string());

  rt::Ref<rt::Object> fp = rt::createObject(u"wistel.filepack");
  ASSERT_TRUE(fp);
  EXPECT_EQ(rt::typeNameOfValue(Variant(fp)), u"FilePack");
  Variant info = call(fp.get(), u"Info", rt::PropGet);
  ASSERT_TRUE(info.isObject());
  EXPECT_EQ(rt::typeNameOfValue(info), u"PackInfo");
  call(info.object(), u"Description", rt::PropLet, {Variant(u"by name")});
  call(info.object(), u"BlkSize", rt::PropLet, {Variant(int32_t{2})});
  EXPECT_TRUE(rt::toBool(call(fp.get(), u"StartPack", rt::Method, {Variant(dir), Variant(pack)})));
  EXPECT_EQ(rt::toText(call(fp.get(), u"FileName", rt::PropGet)), pack);

  rt::Ref<rt::Object> pi = rt::createObject(u"Wistel.PackInfo");
  EXPECT_EQ(rt::toLong(call(pi.get(), u"PackLen", rt::PropGet)), 0);
  EXPECT_TRUE(rt::toBool(call(pi.get(), u"ReadInfo", rt::Method, {Variant(pack)})));
  EXPECT_EQ(rt::toText(call(pi.get(), u"Description", rt::PropGet)), u"by name");
  EXPECT_EQ(rt::toLong(call(pi.get(), u"BlkSize", rt::PropGet)), 2);
  EXPECT_EQ(rt::toLong(call(pi.get(), u"PackLen", rt::PropGet)),
            static_cast<int32_t>(fs::file_size(root / "t.pack")));

  rt::Ref<rt::Object> back = rt::createObject(u"Wistel.FilePack");
  std::u16string out = rt::fromUtf8((root / "U").string());
  EXPECT_TRUE(rt::toBool(call(back.get(), u"StartUnPack", rt::Method, {Variant(out), Variant(pack)})));
  std::ifstream in(root / "U" / "sub" / "a.txt");
  std::string text;
  std::getline(in, text);
  EXPECT_EQ(text, "hello");

  // The object from the library answers its C++ interface by ID.
  rt::Ref<wistel::IFilePack> typed = rt::queryRef<wistel::IFilePack>(fp.get());
  ASSERT_TRUE(typed);
  EXPECT_EQ(typed->info()->description(), u"by name");
  fs::remove_all(root);
}

}  // namespace
