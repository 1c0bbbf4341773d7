#include "profile.h"

#include <new>
#include <span>

#include "inifile.h"
#include "paths.h"
#include "readlimits.h"
#include "rt/error.h"
#include "rt/fspath.h"
#include "rt/strings.h"
#include "rt/text.h"

namespace jespin {

namespace {

// What the platform's profile functions are given to answer into.
constexpr size_t kBufferSize = 10240;
// Substitutions nested deeper than this are cut off like a cycle: sub-profiles
// make fresh objects, so a chain through them is bounded here.
constexpr size_t kMaxNesting = 32;
// Substitutions one read of a value may make in all: values that each name
// another one twice would double the work at every level of nesting, and
// each substitution reads the file again.
constexpr int kMaxSubstitutions = 256;

// The read of a value under way, across all objects (a sub-profile is
// another object on another file).
struct Expansion {
  std::vector<std::u16string> keys;  // whose values are being substituted
  int substitutions = 0;
  std::optional<rt::RuntimeError> cut;  // why a reference was left as written
};

Expansion& expansion() {
  static Expansion e;
  return e;
}

class Expanding {
 public:
  explicit Expanding(std::u16string id) { expansion().keys.push_back(std::move(id)); }
  ~Expanding() { expansion().keys.pop_back(); }
  Expanding(const Expanding&) = delete;
  Expanding& operator=(const Expanding&) = delete;
};

bool isExpanding(const std::u16string& id) {
  for (const std::u16string& k : expansion().keys)
    if (k == id) return true;
  return false;
}

// Leaves a reference as written because a limit was reached.
void cutOff(std::u16string detail) {
  if (!expansion().cut) expansion().cut.emplace(rt::err::ExpressionTooComplex,
                                                rt::errorText(rt::err::ExpressionTooComplex) +
                                                    u"：" + detail + u"，其余的引用保持原样");
}

// Runs a read of the file.  A file that cannot be read whole (one too large,
// or memory running out) reads as missing, with the reason recorded under
// `op`.
template <class T, class Read>
T readOr(ErrInfo& error, std::u16string_view op, T missing, Read read) {
  try {
    return read();
  } catch (const rt::RuntimeError& e) {
    error.readError(e.number(), op, e.description());
  } catch (const std::bad_alloc&) {
    error.readError(rt::err::OutOfMemory, op, rt::errorText(rt::err::OutOfMemory));
  }
  return missing;
}

struct KeyPath {
  std::u16string_view key, section;
  std::u16string_view inner, profile;  // "Key.Section" for the profile named
  bool hasSection = false, hasProfile = false;
};

// "Key[.Section[.Profile]]": only the first two dots split, so a profile
// name may hold dots of its own.
KeyPath splitKeyPath(std::u16string_view k) {
  KeyPath p;
  size_t a = k.find(u'.');
  if (a == std::u16string_view::npos) {
    p.key = k;
    return p;
  }
  size_t b = k.find(u'.', a + 1);
  if (b != std::u16string_view::npos) {
    p.hasProfile = true;
    p.profile = k.substr(b + 1);
    p.inner = k.substr(0, b);
    return p;
  }
  p.hasSection = true;
  p.key = k.substr(0, a);
  p.section = k.substr(a + 1);
  return p;
}

// A window's state and placement: profile key and property.
struct Placement {
  const char16_t* key;
  const char16_t* property;
};
constexpr Placement kPlacement[] = {
    {u"State", u"WindowState"}, {u"X", u"Left"}, {u"Y", u"Top"}, {u"W", u"Width"}, {u"H", u"Height"},
};

}  // namespace

const rt::MemberTable<ProFile>& ProFile::members() {
  using S = std::u16string;
  using OptS = std::optional<S>;
  static const auto table =
      rt::MemberTable<ProFile>(u"ProFile")
          .prop(u"defClass", &ProFile::defClass, [](ProFile& p, S s) { p.setDefClass(s); })
          .prop(u"defValue", &ProFile::defValue, [](ProFile& p, S s) { p.setDefValue(s); })
          .method(u"Init",
                  [](ProFile& p, S path, OptS name) { return p.init(path, name.value_or(S())); })
          .method(u"EnableEsc", [](ProFile& p, S start, S end) { p.enableEsc(start, end); })
          .method(u"NewProf", [](ProFile& p, OptS name) { return p.newProfile(name.value_or(S())); })
          .prop(u"Value", [](ProFile& p, S k) { return p.value(k); },
                [](ProFile& p, S k, S v) { p.letValue(k, v); })
          .byDefault()
          .method(u"GetValue", [](ProFile& p, S cls, S key) { return p.getValue(cls, key); })
          .method(u"GetInt",
                  [](ProFile& p, S cls, S key, std::optional<int32_t> defV) {
                    return p.getInt(cls, key, defV.value_or(0));
                  })
          .method(u"FirstValue", [](ProFile& p, S cls) { return p.firstValue(cls); })
          .method(u"NextValue", &ProFile::nextValue)
          .method(u"SetValue", [](ProFile& p, S cls, S key, S v) { p.setValue(cls, key, v); })
          .method(u"SaveWinStat",
                  [](ProFile& p, rt::Ref<rt::Object> frm, OptS cls) {
                    p.saveWinStat(frm.get(), cls.value_or(u"Window"));
                  })
          .method(u"LoadWinStat",
                  [](ProFile& p, rt::Ref<rt::Object> frm, OptS cls) {
                    p.loadWinStat(frm.get(), cls.value_or(u"Window"));
                  })
          .get(u"ProPath", &ProFile::proPath)
          .get(u"ProName", &ProFile::proName)
          .get(u"FileName", &ProFile::fileName)
          .get(u"Error", &ProFile::error);
  return table;
}

ProFile::ProFile() : error_(rt::make<ErrInfo>()) {
  error_->setParentApp(u"Jespin");
  error_->setParentMod(u"ProFile");
}

// Reads and writes record 52 for a name no file can have.
std::string ProFile::file() const { return rt::fs::nativePath(proPath_ + proName_); }

// --- Naming the file -------------------------------------------------------

bool ProFile::init(std::u16string_view pPath, std::u16string_view pName) {
  std::u16string path, name;
  if (pName.empty()) {
    size_t sep = lastSeparator(pPath);
    if (sep == std::u16string_view::npos) return false;
    path = pPath.substr(0, sep + 1);
    name = pPath.substr(sep + 1);
  } else {
    path = pPath;
    // The folder is closed with the kind of separator it already uses.
    size_t sep = lastSeparator(path);
    if (sep == std::u16string::npos) path += u'\\';
    else if (sep + 1 != path.size()) path += path[sep];
    name = pName;
  }
  proPath_ = std::move(path);
  proName_ = std::move(name);
  if (!isFolder(proPath_) || !rt::fs::isNameable(proName_)) return false;

  escEnable_ = getInt(u"ProFileDef", u"EscEnable", 0) != 0;
  if (escEnable_) {
    std::u16string markers = getValue(u"ProFileDef", u"EscChar");
    escStart_ = rt::splitHead(markers, u",");
    escEnd_ = std::move(markers);
    if (escStart_.empty() || escEnd_.empty()) escEnable_ = false;
  }
  return true;
}

void ProFile::enableEsc(std::u16string_view escStart, std::u16string_view escEnd) {
  error_->clear();
  escEnable_ = true;
  escStart_ = escStart;
  escEnd_ = escEnd;
  if (fileName().empty()) return;
  if (write(u"EnableEsc", u"ProFileDef", u"EscEnable", u"-1"))
    write(u"EnableEsc", u"ProFileDef", u"EscChar", escStart_ + u"," + escEnd_);
}

rt::Ref<ProFile> ProFile::newProfile(std::u16string_view pName) {
  rt::Ref<ProFile> sub = rt::make<ProFile>();
  bool ok;
  if (pName.empty()) {
    ok = sub->init(proPath_, proName_);
  } else {
    std::u16string name = getValue(u"ProFiles", pName);
    if (name.empty()) name = pName;
    if (!isAbsolutePath(name)) name = proPath_ + name;
    ok = sub->init(name);
  }
  return ok ? sub : nullptr;
}

// --- Key paths and substitution ----------------------------------------------

std::u16string ProFile::value(std::u16string_view keyPath) {
  Expansion& x = expansion();
  const bool outermost = x.keys.empty();
  if (outermost) {
    x.substitutions = 0;
    x.cut.reset();
  }
  std::u16string v = expand(keyPath).value_or(std::u16string());
  if (outermost && x.cut) error_->readError(x.cut->number(), u"Value", x.cut->description());
  return v;
}

std::optional<std::u16string> ProFile::expand(std::u16string_view keyPath) {
  KeyPath p = splitKeyPath(keyPath);
  if (p.hasProfile) {
    rt::Ref<ProFile> sub = newProfile(p.profile);
    if (!sub) return std::u16string();
    return sub->expand(p.inner);  // with the sub-profile's own substitution setting
  }
  std::u16string_view section = p.hasSection ? p.section : std::u16string_view(defClass_);
  std::u16string v = getValue(section, p.key);
  if (!substitutionOn()) return v;

  std::u16string id = fileName();
  for (char16_t& c : id)
    if (c == u'\\') c = u'/';
  id += u'\n' + rt::foldCase(section) + u'\n' + rt::foldCase(p.key);
  if (isExpanding(id)) return std::nullopt;
  if (expansion().keys.size() >= kMaxNesting) {
    cutOff(u"配置值的替换嵌套超过 " + rt::ascii(std::to_string(kMaxNesting)) + u" 层");
    return std::nullopt;
  }
  if (++expansion().substitutions > kMaxSubstitutions) {
    cutOff(u"一次读取中配置值的替换超过 " + rt::ascii(std::to_string(kMaxSubstitutions)) + u" 次");
    return std::nullopt;
  }
  Expanding guard(std::move(id));
  return substitute(std::move(v));
}

std::u16string ProFile::substitute(std::u16string v) {
  std::u16string result;
  while (!v.empty()) {
    result += rt::splitHead(v, escStart_);
    bool closed = rt::findNoCase(v, escEnd_) != std::u16string::npos;
    std::u16string ref = rt::splitHead(v, escEnd_);
    if (ref.empty()) continue;
    if (std::optional<std::u16string> r = expand(ref)) {
      result += *r;
    } else {
      // A reference that leads back into itself stays as it was written.
      result += escStart_ + ref;
      if (closed) result += escEnd_;
    }
  }
  return result;
}

void ProFile::letValue(std::u16string_view keyPath, std::u16string_view v) {
  error_->clear();
  KeyPath p = splitKeyPath(keyPath);
  if (!p.hasProfile) {
    write(u"Value", p.hasSection ? p.section : std::u16string_view(defClass_), p.key, v);
    return;
  }
  rt::Ref<ProFile> sub = newProfile(p.profile);
  if (!sub) return;
  sub->letValue(p.inner, v);
  const ErrInfo& e = *sub->error_;
  if (e.haveErr()) error_->readError(e.number(), e.source(), e.description(), u"Value");
}

// --- Plain access ------------------------------------------------------------

std::u16string ProFile::getValue(std::u16string_view clsName, std::u16string_view key) {
  std::optional<std::u16string> v =
      readOr(*error_, u"GetValue", std::optional<std::u16string>(),
             [&] { return ini::readString(file(), clsName, key, kBufferSize); });
  fill({v ? *v : ini::fitBuffer(defValue_, kBufferSize)});
  return nextItem();
}

int32_t ProFile::getInt(std::u16string_view clsName, std::u16string_view key, int32_t defV) {
  return readOr(*error_, u"GetInt", defV, [&] { return ini::readInt(file(), clsName, key, defV); });
}

std::u16string ProFile::firstValue(std::u16string_view clsName) {
  fill(readOr(*error_, u"FirstValue", std::vector<std::u16string>(),
              [&] { return ini::readSection(file(), clsName, kBufferSize); }));
  return nextItem();
}

std::u16string ProFile::nextValue() { return nextItem(); }

void ProFile::setValue(std::u16string_view clsName, std::u16string_view key,
                       std::u16string_view v) {
  error_->clear();
  write(u"SetValue", clsName, key, v);
}

bool ProFile::write(std::u16string_view op, std::u16string_view clsName, std::u16string_view key,
                    std::u16string_view v) {
  int32_t number = 0;
  std::u16string text;
  ini::WriteResult result;
  try {
    result = ini::writeString(file(), clsName, key, v);
  } catch (const rt::RuntimeError& e) {
    error_->readError(e.number(), op, e.description());
    return false;
  } catch (const std::bad_alloc&) {
    error_->readError(rt::err::OutOfMemory, op, rt::errorText(rt::err::OutOfMemory));
    return false;
  }
  switch (result) {
    case ini::WriteResult::Ok: return true;
    case ini::WriteResult::BadName:
      number = rt::err::InvalidCall;
      text = u"节名或键名含有不允许的字符（回车、换行、\"]\"、\"=\" 或打头的 \";\"）。";
      break;
    case ini::WriteResult::BadValue:
      number = rt::err::InvalidCall;
      text = u"值不能含有回车或换行。";
      break;
    case ini::WriteResult::Failed:
      number = rt::err::PathFileAccess;
      text = u"不能写入配置文件[" + fileName() + u"]。";
      break;
    case ini::WriteResult::TooLarge:
      number = rt::err::OutOfMemory;
      text = rt::errorText(number) + u"：写入后配置文件[" + fileName() + u"]将超过 " +
             rt::ascii(std::to_string(kMaxProfileBytes)) + u" 字节，未写入。";
      break;
  }
  error_->readError(number, op, text);
  return false;
}

void ProFile::fill(const std::vector<std::u16string>& items) {
  buffer_.clear();
  for (const std::u16string& item : items) {
    buffer_ += item;
    buffer_ += u'\0';
  }
  buffer_ += u'\0';
  position_ = 0;
}

std::u16string ProFile::nextItem() {
  // Past the list the buffer holds only zeros: every further item is empty.
  if (position_ >= buffer_.size()) return {};
  size_t end = buffer_.find(u'\0', position_);
  std::u16string item = buffer_.substr(position_, end - position_);
  position_ = end + 1;
  return item;
}

// --- Window state ------------------------------------------------------------

void ProFile::saveWinStat(rt::Object* frm, std::u16string_view clsName) {
  error_->clear();
  for (const Placement& p : kPlacement) {
    std::u16string v = rt::toText(rt::getProperty(frm, p.property));
    if (!write(u"SaveWinStat", clsName, p.key, v)) return;
  }
}

void ProFile::loadWinStat(rt::Object* frm, std::u16string_view clsName) {
  std::u16string state = getValue(clsName, u"State");
  if (state.empty()) return;
  try {
    rt::letProperty(frm, kPlacement[0].property, rt::Variant(state));
    if (state != u"0") return;  // placement belongs to the normal state only
    for (const Placement& p : std::span(kPlacement).subspan(1))
      rt::letProperty(frm, p.property, rt::Variant(getValue(clsName, p.key)));
  } catch (const rt::RuntimeError&) {
    // A form that cannot take a value keeps what it has; loading is best effort.
  }
}

}  // namespace jespin
