// The program folder: where it is found, and how a new one is filled.
#include "marlox/home.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "rig.h"

namespace {

using marloxtest::TempDir;

// Sets an environment variable for a scope (unset when `value` is null).
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    if (value) setenv(name, value, 1);
    else unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_) setenv(name_, old_->c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(Home, ChosenInOrder) {
  TempDir d;
  d.write("exe/Marlox.ini", "");
  ScopedEnv home("HOME", "/h");
  {
    ScopedEnv marlox("MARLOX_HOME", nullptr);
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(marlox::chooseHome("/given", d.path() + "/exe"), "/given");
    EXPECT_EQ(marlox::chooseHome("", d.path() + "/exe"), d.path() + "/exe");
    EXPECT_EQ(marlox::chooseHome("", d.path()), "/h/.config/marlox");
  }
  ScopedEnv xdg("XDG_CONFIG_HOME", "/x");
  EXPECT_EQ(marlox::chooseHome("", d.path()), "/x/marlox");
  ScopedEnv marlox("MARLOX_HOME", "/m");
  EXPECT_EQ(marlox::chooseHome("", d.path() + "/exe"), "/m");
}

TEST(Home, ANewFolderIsFilledFromTheDefault) {
  TempDir d;
  std::string home = marlox::prepareHome(d.path() + "/new/home");
  ASSERT_EQ(home, d.path() + "/new/home");
  // Every default file is there, the script folder written out in full.
  EXPECT_EQ(marloxtest::shell("cd '" MARLOX_HOME_SOURCE "' && for f in $(find . -type f); do "
                              "test -f '" + home + "'/$f || exit 1; done"),
            0);
  std::string ini = d.read("new/home/Marlox.ini");
  EXPECT_NE(ini.find("1=" + home + "/scripts|示例脚本"), std::string::npos) << ini;
  EXPECT_EQ(ini.find("<home>"), std::string::npos);
  EXPECT_EQ(d.read("new/home/Model.zub"), TempDir::readFile(MARLOX_HOME_SOURCE "/Model.zub"));
  EXPECT_GE(std::stoi(marloxtest::capture("ls '" + home + "/scripts' | grep -c '\\.zub$'")), 6);
}

TEST(Home, ExistingFilesAreNeverOverwritten) {
  TempDir d;
  d.write("h/Model.zub", "mine");
  ASSERT_EQ(marlox::prepareHome(d.path() + "/h"), d.path() + "/h");
  EXPECT_EQ(d.read("h/Model.zub"), "mine");
  d.write("h/Marlox.ini", "[Main]\n");
  d.write("h/scripts/转换为大写.zub", "changed");
  ASSERT_EQ(marloxtest::shell("rm '" + d.path() + "/h/README.txt'"), 0);
  ASSERT_EQ(marlox::prepareHome(d.path() + "/h/"), d.path() + "/h");
  EXPECT_EQ(d.read("h/Marlox.ini"), "[Main]\n");  // a folder with a profile is left alone
  EXPECT_EQ(d.read("h/scripts/转换为大写.zub"), "changed");
  EXPECT_FALSE(d.exists("h/README.txt"));
  d.write("file", "");
  EXPECT_EQ(marlox::prepareHome(d.path() + "/file/h"), "");
}

}  // namespace
