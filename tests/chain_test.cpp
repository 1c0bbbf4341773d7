// The whole chain: a library registered into a fresh store, created by ProgID,
// and driven by late binding.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "jespin/errinfo.h"
#include "rt/activation.h"
#include "rt/dispatch.h"
#include "rt/error.h"

namespace {

namespace fs = std::filesystem;
using rt::Variant;

// ZUB_REGISTRY set to a fresh folder for the length of a test.
class TempStore {
 public:
  TempStore() {
    std::string pattern = (fs::temp_directory_path() / "zub-chain-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    if (const char* old = ::getenv("ZUB_REGISTRY")) old_ = old;
    ::setenv("ZUB_REGISTRY", (dir_ / "store").c_str(), 1);
  }
  ~TempStore() {
    if (old_)
      ::setenv("ZUB_REGISTRY", old_->c_str(), 1);
    else
      ::unsetenv("ZUB_REGISTRY");
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string store() const { return (dir_ / "store").string(); }

 private:
  fs::path dir_;
  std::optional<std::string> old_;
};

int32_t errorNumberOf(auto call) {
  try {
    call();
  } catch (const rt::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

TEST(Chain, ErrInfoByProgIdAndLateBinding) {
  TempStore temp;
  ASSERT_EQ(rt::registerLibrary(ZUB_JESPIN), rt::hr::Ok);
  EXPECT_EQ(rt::classIdFromProgId(u"jespin.errinfo"), rt::classIdOf("Jespin.ErrInfo"));
  EXPECT_TRUE(fs::is_regular_file(temp.store() + "/progid/jespin.errinfo"));

  rt::Ref<rt::Object> e = rt::createObject(u"Jespin.ErrInfo");
  ASSERT_TRUE(e);
  EXPECT_EQ(rt::typeNameOfValue(Variant(e)), u"ErrInfo");
  rt::letProperty(e.get(), u"ParentApp", Variant(u"App"));
  rt::letProperty(e.get(), u"parentmod", Variant(u"Mod"));
  rt::letProperty(e.get(), u"Number", Variant(int32_t{13}));
  rt::letProperty(e.get(), u"SOURCE", Variant(u"Op"));
  EXPECT_EQ(rt::toLong(rt::getProperty(e.get(), u"Number")), 13);
  EXPECT_EQ(rt::toText(rt::getProperty(e.get(), u"SourceFull")), u"App.Mod.Op");
  EXPECT_TRUE(rt::toBool(rt::getProperty(e.get(), u"HaveErr")));
  EXPECT_TRUE(rt::toBool(rt::callDefault(e.get(), rt::PropGet)));

  rt::callByName(e.get(), u"Clear", rt::Method);
  EXPECT_FALSE(rt::toBool(rt::getProperty(e.get(), u"HaveErr")));
  EXPECT_EQ(rt::toText(rt::getProperty(e.get(), u"SourceFull")), u"App.Mod.");

  // The object from the library answers its interface by ID across the boundary.
  rt::Ref<jespin::IErrInfo> typed = rt::queryRef<jespin::IErrInfo>(e.get());
  ASSERT_TRUE(typed);
  typed->setNumber(5);
  EXPECT_EQ(rt::toLong(rt::getProperty(e.get(), u"Number")), 5);

  EXPECT_EQ(errorNumberOf([&] { rt::getProperty(e.get(), u"NoSuchMember"); }),
            rt::err::NotSupported);
  EXPECT_EQ(errorNumberOf([&] {
              Variant args[] = {Variant(int32_t{1})};
              rt::callByName(e.get(), u"Clear", rt::Method, args);
            }),
            rt::err::WrongArgumentCount);
  EXPECT_EQ(errorNumberOf([&] { rt::callByName(e.get(), u"Number", rt::PropLet); }),
            rt::err::WrongArgumentCount);
}

}  // namespace
