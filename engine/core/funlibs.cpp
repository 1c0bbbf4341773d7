#include "core/funlibs.h"

#include <exception>

#include "core/libname.h"
#include "core/ownclasses.h"
#include "core/resources.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/text.h"

namespace engine {

namespace {

class LibsEnumerator final : public rt::Enumerator {
 public:
  explicit LibsEnumerator(rt::Ref<IFunLibs> libs) : libs_(std::move(libs)) {}
  void* query(const rt::Iid& iid) noexcept override { return rt::queryAmong<rt::Enumerator>(this, iid); }
  bool next(rt::Variant& out) override {
    zorbel::IFunLib* lib = libs_->at(++pos_);
    if (!lib) return false;
    out = rt::Variant(static_cast<rt::Object*>(lib));
    return true;
  }

 private:
  rt::Ref<IFunLibs> libs_;
  int32_t pos_ = 0;
};

struct StandardLib {
  std::u16string_view name;
  std::u16string_view className;  // of this engine library's own class
  int32_t startId, endId;
};

// In lookup order: Rnd is in Math and System, and Math's is the one found.
constexpr StandardLib kStandardLibs[] = {
    {u"Math", u"SvMathFuns", 101, 112},  {u"WinComm", u"SvWinComm", 201, 203},
    {u"Dir", u"SvDirFuns", 221, 233},    {u"MathStat", u"SvStatFuns", 301, 302},
    {u"String", u"SvStrFuns", 401, 431}, {u"Date", u"SvDateFuns", 501, 519},
    {u"System", u"SvSysFuns", 601, 610}, {u"cType", u"SvCTypes", 620, 630},
};

}  // namespace

// --- FLGeneral ------------------------------------------------------------

const rt::MemberTable<FLGeneral>& FLGeneral::members() {
  static const auto table =
      rt::MemberTable<FLGeneral>(u"FLGeneral")
          .prop(u"Name", [](FLGeneral& l) { return l.name(); },
                [](FLGeneral& l, const std::u16string& n) { l.setName(n); })
          .method(u"Fun", [](FLGeneral& l, const std::u16string& n) { return rt::Variant(l.fun(n)); })
          .method(u"InitForRes", [](FLGeneral& l, const std::u16string& cls, int32_t from, int32_t to) {
            l.initForRes(cls, from, to);
          });
  return table;
}

void FLGeneral::initForRes(std::u16string_view fnClsName, int32_t startId, int32_t endId) {
  librariesChanged();
  classId_ = fnClsName;
  const rt::ClassEntry* own = ownClass(fnClsName);
  ownCreate_ = own ? own->create : nullptr;
  for (int64_t id = startId; id <= endId; ++id) {
    std::u16string_view entry = engineResources().string(static_cast<int32_t>(id));
    size_t bar = entry.find(u'|');
    std::u16string_view name = entry.substr(0, bar);
    std::u16string_view desc = bar == entry.npos ? std::u16string_view() : entry.substr(bar + 1);
    desc = desc.substr(0, desc.find(u'|'));
    if (catalogue_.count(name)) rt::raise(rt::err::KeyExists, name);
    catalogue_.emplace(std::u16string(name), std::u16string(desc));
    heads_.add(name);
  }
}

std::u16string_view FLGeneral::description(std::u16string_view name) const {
  auto it = catalogue_.find(name);
  return it == catalogue_.end() ? std::u16string_view() : std::u16string_view(it->second);
}

rt::Ref<zorbel::ScriptValue> FLGeneral::create() const {
  rt::Ref<rt::Object> o = ownCreate_ ? ownCreate_() : rt::createObject(classId_);
  return rt::queryRef<zorbel::ScriptValue>(o.get());
}

rt::Ref<zorbel::ScriptValue> FLGeneral::fun(std::u16string_view name) {
  return hasFun(name) ? make(name) : nullptr;
}

rt::Ref<zorbel::ScriptValue> FLGeneral::make(std::u16string_view name) const {
  try {
    rt::Ref<zorbel::ScriptValue> f = create();
    if (f) f->setKey(name);
    return f;
  } catch (const std::exception&) {  // a class that cannot be made has no functions
    return nullptr;
  }
}

// --- IFunLibs -------------------------------------------------------------

const rt::MemberTable<IFunLibs>& IFunLibs::members() {
  static const auto table =
      rt::MemberTable<IFunLibs>(u"IFunLibs")
          .method(u"Clear", &IFunLibs::clear)
          .method(u"Exist", [](IFunLibs& l, const std::u16string& vn) { return l.exist(vn); })
          .method(u"AddObj",
                  [](IFunLibs& l, const rt::Variant& v, std::optional<std::u16string> name) {
                    rt::Ref<zorbel::IFunLib> lib =
                        v.isObject() ? rt::queryRef<zorbel::IFunLib>(v.object()) : nullptr;
                    return l.addObj(lib.get(), name ? *name : std::u16string());
                  })
          .method(u"Item", [](IFunLibs& l, const rt::Variant& i) { return rt::Variant(l.item(i)); })
          .byDefault()
          .get(u"Count", [](IFunLibs& l) { return l.count(); })
          .method(u"Remove", &IFunLibs::remove)
          .get(u"NewEnum", [](IFunLibs& l) { return rt::Variant(l.enumerate()); });
  return table;
}

void IFunLibs::clear() {
  librariesChanged();
  std::vector<Entry> gone;
  gone.swap(libs_);
}

ptrdiff_t IFunLibs::slotOf(std::u16string_view key) const {
  for (size_t i = 0; i < libs_.size(); ++i)
    if (libs_[i].keyed && rt::equalsNoCase(libs_[i].key, key)) return static_cast<ptrdiff_t>(i);
  return -1;
}

bool IFunLibs::addObj(zorbel::IFunLib* v, std::u16string_view libName) {
  if (!v) return false;
  librariesChanged();
  try {
    if (libName.empty()) {
      libs_.push_back(Entry{rt::Ref<zorbel::IFunLib>(v), {}, false});
      return true;
    }
    v->setName(libName);
    std::u16string key = v->name();
    if (slotOf(key) >= 0) return false;
    libs_.push_back(Entry{rt::Ref<zorbel::IFunLib>(v), std::move(key), true});
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

rt::Ref<zorbel::IFunLib> IFunLibs::item(const rt::Variant& indexKey) {
  if (indexKey.isText()) {
    ptrdiff_t s = slotOf(indexKey.text());
    return s < 0 ? nullptr : libs_[static_cast<size_t>(s)].lib;
  }
  try {
    return at(rt::toLong(indexKey));
  } catch (const rt::RuntimeError&) {
    return nullptr;
  }
}

void IFunLibs::remove(const rt::Variant& indexKey) {
  ptrdiff_t s = -1;
  if (indexKey.isText()) {
    s = slotOf(indexKey.text());
    if (s < 0) rt::raise(rt::err::InvalidCall);
  } else {
    int32_t p = rt::toLong(indexKey);
    if (p < 1 || p > count()) rt::raise(rt::err::SubscriptOutOfRange);
    s = p - 1;
  }
  librariesChanged();
  rt::Ref<zorbel::IFunLib> gone = std::move(libs_[static_cast<size_t>(s)].lib);
  libs_.erase(libs_.begin() + s);
}

rt::Ref<rt::Enumerator> IFunLibs::enumerate() { return rt::make<LibsEnumerator>(rt::Ref<IFunLibs>(this)); }

rt::Ref<zorbel::ScriptValue> IFunLibs::findFun(std::u16string_view name,
                                                FLGeneral** from) const {
  bool own = from != nullptr;  // every library asked so far is an engine library
  for (const Entry& e : libs_) {
    FLGeneral* lib = nullptr;
    if (own) {
      // FLGeneral is the one class that answers IFLGeneral.
      auto* general = static_cast<kestrin::IFLGeneral*>(e.lib->query(kestrin::IFLGeneral::iid));
      lib = general ? static_cast<FLGeneral*>(general) : nullptr;
      own = lib != nullptr;
    }
    if (rt::Ref<zorbel::ScriptValue> f = e.lib->fun(name)) {
      if (from) *from = lib;
      return f;
    }
  }
  return nullptr;
}

rt::Ref<zorbel::ScriptValue> libraryFunction(const FLGeneral& lib, std::u16string_view name) {
  return lib.make(name);
}

void loadStandardLibs(IFunLibs& libs) {
  for (const StandardLib& s : kStandardLibs) {
    rt::Ref<FLGeneral> lib = rt::make<FLGeneral>();
    // Each engine library loads its own classes, never the other edition's.
    lib->initForRes(std::u16string(libraryName()) + u"." + std::u16string(s.className), s.startId,
                    s.endId);
    libs.addObj(lib.get(), s.name);
  }
}

}  // namespace engine
