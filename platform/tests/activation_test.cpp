#include "rt/activation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "rt/dispatch.h"
#include "rt/error.h"
#include "rt/text.h"

namespace {

namespace fs = std::filesystem;
using rt::Guid;
using rt::Ref;

const Guid kThing = rt::classIdOf("ZubTest.Thing");

// A fresh folder, removed with everything in it at the end of the test.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "zub-activation-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string operator/(std::string_view name) const { return (path_ / name).string(); }
  std::string str() const { return path_.string(); }

 private:
  fs::path path_;
};

// ZUB_REGISTRY for the length of a test.
class ScopedStores {
 public:
  explicit ScopedStores(const std::string& value) {
    if (const char* old = std::getenv("ZUB_REGISTRY")) old_ = old;
    ::setenv("ZUB_REGISTRY", value.c_str(), 1);
  }
  ~ScopedStores() {
    if (old_)
      ::setenv("ZUB_REGISTRY", old_->c_str(), 1);
    else
      ::unsetenv("ZUB_REGISTRY");
  }

 private:
  std::optional<std::string> old_;
};

void put(const std::string& path, std::string_view text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string entryText(std::string_view progId, const Guid& clsid, std::string_view library) {
  return "progid=" + std::string(progId) + "\nclsid=" + clsid.toString() +
         "\nlibrary=" + std::string(library) + "\n";
}

// The 429 that `create` raises; fails the test when it raises nothing.
template <class F>
std::string creationError(F create) {
  try {
    create();
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), rt::err::CannotCreateObject) << e.what();
    return rt::toUtf8(e.description());
  }
  ADD_FAILURE() << "no error raised";
  return {};
}

std::string createError(std::u16string_view progId) {
  return creationError([&] { rt::createObject(progId); });
}

int32_t answerOf(const Ref<rt::Object>& o) {
  return rt::toLong(rt::getProperty(o.get(), u"Answer"));
}

TEST(Activation, LocalClassesByProgIdAndClassId) {
  const Guid id = rt::guidOf("Local.Thing");
  int made = 0;
  rt::registerLocalClass(u"Local.Thing", id, [&] {
    ++made;
    return Ref<rt::Object>(new rt::Object);
  });

  EXPECT_TRUE(rt::createObject(u"LOCAL.thing"));
  EXPECT_TRUE(rt::createObject(u"Ｌｏｃａｌ.Thing"));  // full-width letters fold too
  EXPECT_TRUE(rt::createInstance(id));
  EXPECT_EQ(made, 3);
  EXPECT_EQ(rt::classIdFromProgId(u"local.THING"), id);

  rt::unregisterLocalClass(u"local.thing");
  EXPECT_NE(createError(u"Local.Thing").find("Local.Thing"), std::string::npos);
  EXPECT_NE(creationError([&] { rt::createInstance(id); }).find(id.toString()), std::string::npos);
}

TEST(Activation, LocalClassFailuresBecome429) {
  rt::registerLocalClass(u"Local.Null", rt::guidOf("Local.Null"), [] { return Ref<rt::Object>(); });
  rt::registerLocalClass(u"Local.Raise", rt::guidOf("Local.Raise"),
                         []() -> Ref<rt::Object> { rt::raise(rt::err::Overflow); });
  EXPECT_NE(createError(u"Local.Null").find("returned no object"), std::string::npos);
  std::string raised = createError(u"Local.Raise");
  EXPECT_NE(raised.find("factory failed"), std::string::npos) << raised;
  EXPECT_NE(raised.find(rt::toUtf8(rt::errorText(rt::err::Overflow))), std::string::npos) << raised;
  rt::unregisterLocalClass(u"Local.Null");
  rt::unregisterLocalClass(u"Local.Raise");
}

TEST(Activation, UnknownOrInvalidProgId) {
  TempDir dir;
  ScopedStores stores(dir.str());
  std::string unknown = createError(u"No.Such.Class");
  EXPECT_NE(unknown.find("No.Such.Class"), std::string::npos) << unknown;
  EXPECT_NE(unknown.find(dir.str()), std::string::npos) << unknown;  // the stores searched
  EXPECT_NE(creationError([] { rt::classIdFromProgId(u"No.Such.Class"); }).find("No.Such.Class"),
            std::string::npos);
  // Names that cannot name an entry are refused before any file is read.
  for (std::u16string_view bad : {u"", u"../../etc/passwd", u"a/b", u".hidden", u"tab\there"})
    EXPECT_NE(createError(bad).find("not a valid ProgID"), std::string::npos);
}

TEST(Activation, MissingStoreIsNamed) {
  TempDir dir;
  ScopedStores stores(dir / "nowhere");
  std::string e = createError(u"ZubTest.Thing");
  EXPECT_NE(e.find(dir / "nowhere" + " (missing)"), std::string::npos) << e;
}

TEST(Activation, BrokenEntriesNameTheFile) {
  TempDir dir;
  ScopedStores stores(dir.str());
  const std::string lib = ZUB_TESTLIB, file = dir / "progid/zubtest.thing";
  const std::string good = entryText("ZubTest.Thing", kThing, lib);
  struct Case {
    const char* name;
    std::string text;
    std::string expect;
  };
  const Case cases[] = {
      {"garbage", "\x01\x02 no equals sign\n", "is not key=value"},
      {"empty file", "", "the key progid is missing"},
      {"no library", "progid=ZubTest.Thing\nclsid=" + kThing.toString() + "\n",
       "the key library is missing"},
      {"no class ID", "progid=ZubTest.Thing\nlibrary=" + lib + "\n", "the key clsid is missing"},
      {"bad class ID", "progid=ZubTest.Thing\nclsid={not-a-guid}\nlibrary=" + lib + "\n",
       "invalid class ID"},
      {"class ID without braces",
       "progid=ZubTest.Thing\nclsid=" + kThing.toString().substr(1, 36) + "\nlibrary=" + lib,
       "invalid class ID"},
      {"twice", good + "progid=ZubTest.Thing\n", "appears twice"},
      {"empty library", entryText("ZubTest.Thing", kThing, ""), "the library path is empty"},
      {"other ProgID", entryText("ZubTest.Other", kThing, lib), "does not match the file name"},
      {"NUL byte", good + std::string(1, '\0'), "NUL byte"},
      {"too large", good + "#" + std::string(70000, 'x') + "\n", "too large"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    put(file, c.text);
    std::string e = createError(u"ZubTest.Thing");
    EXPECT_NE(e.find("malformed registration entry " + file), std::string::npos) << e;
    EXPECT_NE(e.find(c.expect), std::string::npos) << e;
  }
}

TEST(Activation, LibraryFailures) {
  TempDir dir;
  ScopedStores stores(dir.str());
  put(dir / "fake.so", "not a shared library");
  const Guid missing = rt::classIdOf("ZubTest.Missing");
  struct Case {
    const char* name;
    Guid clsid;
    std::string library;
    std::string expect;
  };
  const Case cases[] = {
      {"missing file", kThing, dir / "gone.so", "does not exist"},
      {"not loadable", kThing, dir / "fake.so", "cannot be loaded"},
      {"no entry points", kThing, ZUB_NOENTRY_LIB, "has no entry point DllGetClassObject"},
      {"class not in library", missing, ZUB_TESTLIB, "has no class " + missing.toString()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    put(dir / "progid/zubtest.case", entryText("ZubTest.Case", c.clsid, c.library));
    std::string e = createError(u"ZubTest.Case");
    EXPECT_NE(e.find("ZubTest.Case"), std::string::npos) << e;
    EXPECT_NE(e.find(c.expect), std::string::npos) << e;
  }
}

TEST(Activation, UnreadableEntriesAndStores) {
  TempDir dir;
  {
    ScopedStores stores(dir.str());
    fs::create_directories(dir / "progid/zubtest.thing");  // a folder where a file belongs
    std::string e = createError(u"ZubTest.Thing");
    EXPECT_NE(e.find("progid/zubtest.thing cannot be read"), std::string::npos) << e;
    if (::geteuid() != 0) {  // permissions do not stop root
      put(dir / "progid/zubtest.other", entryText("ZubTest.Other", kThing, ZUB_TESTLIB));
      ::chmod((dir / "progid/zubtest.other").c_str(), 0);
      EXPECT_NE(createError(u"ZubTest.Other").find("cannot be read"), std::string::npos);
    }
  }
  put(dir / "plain", "a file, not a folder");
  ScopedStores stores(dir / "plain");
  EXPECT_NE(createError(u"ZubTest.Thing").find("is not a folder"), std::string::npos);
}

TEST(Activation, FirstStoreWins) {
  TempDir first, second;
  const Guid other = rt::guidOf("Some.Other.Id");
  put(first / "progid/shared.name", entryText("Shared.Name", kThing, ZUB_TESTLIB));
  put(first / "clsid/" + kThing.toString(), entryText("Shared.Name", kThing, ZUB_TESTLIB));
  put(second / "progid/shared.name", entryText("Shared.Name", other, ZUB_TESTLIB));
  {
    ScopedStores stores(first.str() + ":" + second.str());
    EXPECT_EQ(rt::classIdFromProgId(u"shared.name"), kThing);
    EXPECT_EQ(answerOf(rt::createObject(u"Shared.Name")), 42);
    EXPECT_EQ(answerOf(rt::createInstance(kThing)), 42);
  }
  {
    ScopedStores stores(second.str() + "::" + first.str());  // empty entries are skipped
    EXPECT_EQ(rt::classIdFromProgId(u"Shared.Name"), other);
    EXPECT_NE(createError(u"Shared.Name").find("has no class"), std::string::npos);
    std::vector<rt::RegisteredClass> listed;
    for (const auto& c : rt::listRegisteredClasses())
      if (c.progId == "Shared.Name") listed.push_back(c);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].clsid, other);
    EXPECT_EQ(listed[0].store, second.str());
  }
}

TEST(Activation, EntriesReadWithAnyLineEnd) {
  TempDir dir;
  ScopedStores stores(dir.str());
  put(dir / "progid/zubtest.thing",
      "# written elsewhere\r\nprogid=ZubTest.Thing\r\nfuture=1\r\rclsid=" + kThing.toString() +
          "\rlibrary=" + ZUB_TESTLIB);
  EXPECT_EQ(answerOf(rt::createObject(u"zubtest.thing")), 42);
}

TEST(Activation, RegistrationWritesAndUnregistrationRemoves) {
  TempDir dir;
  const std::string store = dir / "new/store";  // created by the first registration
  ScopedStores stores(store + ":" + dir / "later");
  ASSERT_EQ(rt::registryStores().front(), store);
  EXPECT_EQ(rt::registryStores()[1], dir / "later");

  ASSERT_EQ(rt::registerLibrary(ZUB_TESTLIB), rt::hr::Ok);
  for (const char* name : {"zubtest.thing", "zubtest.nothing", "zubtest.raising"})
    EXPECT_TRUE(fs::is_regular_file(store + "/progid/" + name)) << name;
  EXPECT_TRUE(fs::is_regular_file(store + "/clsid/" + kThing.toString()));
  for (const auto& f : fs::recursive_directory_iterator(store))
    EXPECT_NE(f.path().filename().string()[0], '.') << "temporary file left: " << f.path();

  EXPECT_EQ(answerOf(rt::createObject(u"ZUBTEST.THING")), 42);
  EXPECT_EQ(answerOf(rt::createInstance(kThing)), 42);
  EXPECT_NE(createError(u"ZubTest.Nothing").find("returned no object"), std::string::npos);
  std::string raised = createError(u"ZubTest.Raising");
  EXPECT_NE(raised.find("refused on purpose"), std::string::npos) << raised;

  std::vector<std::string> names;
  for (const auto& c : rt::listRegisteredClasses())
    if (c.store == store) names.push_back(c.progId + " " + c.clsid.toString() + " " + c.library);
  const std::string lib = fs::path(ZUB_TESTLIB).lexically_normal().string();
  EXPECT_EQ(names, (std::vector<std::string>{
                       "ZubTest.Nothing " + rt::classIdOf("ZubTest.Nothing").toString() + " " + lib,
                       "ZubTest.Raising " + rt::classIdOf("ZubTest.Raising").toString() + " " + lib,
                       "ZubTest.Thing " + kThing.toString() + " " + lib,
                   }));

  ASSERT_EQ(rt::unregisterLibrary(ZUB_TESTLIB), rt::hr::Ok);
  EXPECT_TRUE(fs::is_empty(store + "/progid"));
  EXPECT_TRUE(fs::is_empty(store + "/clsid"));
  EXPECT_NE(createError(u"ZubTest.Thing").find("no class is registered"), std::string::npos);
  EXPECT_EQ(rt::unregisterLibrary(ZUB_TESTLIB), rt::hr::Ok);  // nothing left to remove
}

// A library beside its store is registered by a path relative to the
// store, so that both can be moved together; any other by its absolute path.
TEST(Activation, LibrariesBesideTheStoreMoveWithIt) {
  TempDir dir;
  fs::create_directories(dir / "a/lib");
  fs::copy_file(ZUB_TESTLIB, dir / "a/lib/libthing.so");
  {
    ScopedStores stores(dir / "a/lib/registry");
    ASSERT_EQ(rt::registerLibrary(dir / "a/lib/libthing.so"), rt::hr::Ok);
  }
  std::ifstream in(dir / "a/lib/registry/progid/zubtest.thing");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("\nlibrary=../libthing.so\n"), std::string::npos) << text;
  fs::rename(dir / "a", dir / "b");
  ScopedStores stores(dir / "b/lib/registry");
  EXPECT_EQ(answerOf(rt::createObject(u"ZubTest.Thing")), 42);
  std::vector<std::string> libraries;
  for (const auto& c : rt::listRegisteredClasses())
    if (c.progId == "ZubTest.Thing") libraries.push_back(c.library);
  EXPECT_EQ(libraries, std::vector<std::string>{dir / "b/lib/libthing.so"});

  ScopedStores elsewhere(dir / "store");
  ASSERT_EQ(rt::registerLibrary(ZUB_TESTLIB), rt::hr::Ok);
  std::ifstream abs(dir / "store/clsid/" + kThing.toString());
  std::string absText((std::istreambuf_iterator<char>(abs)), std::istreambuf_iterator<char>());
  const std::string lib = fs::path(ZUB_TESTLIB).lexically_normal().string();
  EXPECT_NE(absText.find("\nlibrary=" + lib + "\n"), std::string::npos) << absText;
}

TEST(Activation, FoundClassesAreKeptUntilThisProcessRegisters) {
  TempDir dir;
  ScopedStores stores(dir.str());
  const std::string byProgId = dir / "progid/zubtest.thing", byClassId = dir / "clsid/" + kThing.toString();
  auto breakEntries = [&] {
    put(byProgId, "garbage");
    put(byClassId, "garbage");
  };

  // A class asked for before its library is registered is found after.
  EXPECT_NE(createError(u"ZubTest.Thing").find("no class is registered"), std::string::npos);
  ASSERT_EQ(rt::registerLibrary(ZUB_TESTLIB), rt::hr::Ok);
  EXPECT_EQ(answerOf(rt::createObject(u"ZubTest.Thing")), 42);
  EXPECT_EQ(answerOf(rt::createInstance(kThing)), 42);

  // Once found, a class is created without reading the stores again...
  breakEntries();
  EXPECT_EQ(answerOf(rt::createObject(u"zubtest.THING")), 42);
  EXPECT_EQ(answerOf(rt::createInstance(kThing)), 42);
  EXPECT_EQ(rt::classIdFromProgId(u"ZUBTEST.thing"), kThing);
  // ...while a class not yet found still reads them.
  put(dir / "progid/zubtest.raising", "garbage");
  EXPECT_NE(createError(u"ZubTest.Raising").find("malformed"), std::string::npos);

  // Unregistering in this process forgets what was found.
  ASSERT_EQ(rt::unregisterLibrary(ZUB_TESTLIB), rt::hr::Ok);
  EXPECT_NE(createError(u"ZubTest.Thing").find("no class is registered"), std::string::npos);
  EXPECT_NE(creationError([] { rt::createInstance(kThing); }).find("no class is registered"),
            std::string::npos);

  // So does registering or unregistering any library, here one that only
  // writes its entries.
  const rt::ClassEntry other{"ZubTest.Other", rt::classIdOf("ZubTest.Other"), nullptr};
  for (bool registering : {true, false}) {
    SCOPED_TRACE(registering ? "registering" : "unregistering");
    ASSERT_EQ(rt::registerLibrary(ZUB_TESTLIB), rt::hr::Ok);
    EXPECT_EQ(answerOf(rt::createObject(u"ZubTest.Thing")), 42);
    EXPECT_EQ(answerOf(rt::createInstance(kThing)), 42);
    breakEntries();
    EXPECT_EQ(answerOf(rt::createObject(u"ZubTest.Thing")), 42);
    ASSERT_EQ(registering ? rt::writeRegistration(dir / "libother.so", &other, 1)
                          : rt::removeRegistration(&other, 1),
              rt::hr::Ok);
    EXPECT_NE(createError(u"ZubTest.Thing").find("malformed"), std::string::npos);
    EXPECT_NE(creationError([] { rt::createInstance(kThing); }).find("malformed"),
              std::string::npos);
  }

  // And so does forgetting on request.
  ASSERT_EQ(rt::registerLibrary(ZUB_TESTLIB), rt::hr::Ok);
  EXPECT_EQ(answerOf(rt::createObject(u"ZubTest.Thing")), 42);
  breakEntries();
  rt::forgetKnownClasses();
  EXPECT_NE(createError(u"ZubTest.Thing").find("malformed"), std::string::npos);
}

TEST(Activation, RegistrationFailures) {
  TempDir dir;
  put(dir / "plain", "a file, not a folder");
  ScopedStores stores(dir / "plain/store");
  EXPECT_EQ(rt::registerLibrary(ZUB_TESTLIB), rt::hr::CannotWrite);
  EXPECT_NE(creationError([&] { rt::registerLibrary(dir / "gone.so"); }).find("does not exist"),
            std::string::npos);
  EXPECT_NE(creationError([] {
              rt::registerLibrary(ZUB_NOENTRY_LIB);
            }).find("has no entry point DllRegisterServer"),
            std::string::npos);
  EXPECT_NE(creationError([] {
              rt::unregisterLibrary(ZUB_NOENTRY_LIB);
            }).find("has no entry point DllUnregisterServer"),
            std::string::npos);
}

TEST(Activation, LoadedLibrariesAndFactoriesStay) {
  // A copy of the library, removed once a first object came from it: later
  // creations still work because nothing is ever unloaded or read again.
  TempDir dir;
  ScopedStores stores(dir.str());
  const std::string copy = dir / "libcopy.so";
  fs::copy_file(ZUB_TESTLIB, copy);
  ASSERT_EQ(rt::registerLibrary(copy), rt::hr::Ok);
  EXPECT_EQ(answerOf(rt::createObject(u"ZubTest.Thing")), 42);
  fs::remove(copy);
  EXPECT_EQ(answerOf(rt::createObject(u"ZubTest.Thing")), 42);
  EXPECT_EQ(answerOf(rt::createInstance(kThing)), 42);
}

TEST(Activation, FactoryForCreatesThroughTheEntry) {
  static int made = 0;
  const rt::ClassEntry entry{"X.Y", rt::classIdOf("X.Y"), [] {
                               ++made;
                               return Ref<rt::Object>(new rt::Object);
                             }};
  Ref<rt::ClassFactory> f = rt::factoryFor(entry);
  EXPECT_EQ(f->query(rt::ClassFactory::iid), static_cast<void*>(f.get()));
  EXPECT_TRUE(f->createInstance());
  EXPECT_EQ(made, 1);
}

}  // namespace
