#include "core/ssroot.h"

#include "core/funlibs.h"
#include "core/ownclasses.h"
#include "core/resources.h"
#include "core/scriptvalues.h"
#include "rt/text.h"

namespace engine {

namespace {

constexpr std::u16string_view kNewValue = u"ScriptSpace_NewValue";

// The type map's resources run from 1 up to this end mark.
constexpr int32_t kFirstTypeDef = 1;
constexpr int32_t kLastTypeDef = 99;
constexpr std::u16string_view kTypeDefsEnd = u"--End--";

// The root records its own two codes with their bare numbers.
void recordBare(jespin::IErrInfo& rec, int32_t code) {
  rec.setNumber(code);
  rec.setDescription(resText(code));
  rec.setSource(kNewValue);
}

}  // namespace

const rt::MemberTable<SsRoot>& SsRoot::members() {
  static const auto table = spaceMembers<SsRoot>(u"SsRoot");
  return table;
}

SsRoot::SsRoot()
    : error_(u"SsRoot"),
      libs_(rt::make<IFunLibs>()),
      typeDefs_(created<jespin::IVValues>()),
      with_(created<jespin::IVStack>()) {
  loadStandardLibs(*libs_);
  loadTypeDefs();
}

SsRoot::~SsRoot() = default;

void SsRoot::loadTypeDefs() {
  for (int32_t id = kFirstTypeDef; id <= kLastTypeDef; ++id) {
    std::u16string_view entry = engineResources().string(id);
    if (rt::equalsNoCase(entry, kTypeDefsEnd)) break;
    size_t eq = entry.find(u'=');
    std::u16string_view type = entry.substr(0, eq);
    std::u16string_view progId = eq == entry.npos ? std::u16string_view() : entry.substr(eq + 1);
    typeDefs_->add(rt::Variant(progId), std::u16string(type));
  }
}

rt::Ref<zorbel::ScriptValue> SsRoot::find(std::u16string_view name) {
  if (zorbel::ScriptValue* v = local(name)) return v;
  return libs_->findFun(name);
}

rt::Ref<zorbel::ScriptValue> SsRoot::value(std::u16string_view name) {
  if (rt::Ref<zorbel::ScriptValue> v = find(name)) return v;
  return bindNewVariable(name);
}

void SsRoot::letValue(std::u16string_view name, zorbel::ScriptValue* v) {
  rt::Ref<zorbel::ScriptValue> keep(v);
  if (!v) rt::raise(rt::err::ObjectNotSet);
  if (zorbel::ScriptValue* current = local(name)) {
    current->letValue(v->value());
    return;
  }
  v->setKey(name);
  bindUnderKey(v);
}

void SsRoot::setValue(std::u16string_view name, zorbel::ScriptValue* v) {
  rt::Ref<zorbel::ScriptValue> keep(v);  // it may be the value bound now
  unbind(name);
  if (!v) return;
  v->setKey(name);
  bindUnderKey(v);
}

bool SsRoot::existValue(std::u16string_view name) { return find(name) != nullptr; }

rt::Ref<zorbel::ScriptValue> SsRoot::newValue(std::u16string_view name,
                                              std::u16string_view typeName) {
  jespin::IErrInfo& rec = error_.info();
  rec.clear();
  try {
    std::u16string progId;
    if (local(name)) {
      errCode_ = ErrDefinedTwice;
      recordBare(rec, ErrDefinedTwice);
    } else if (!progIdOf(*typeDefs_, typeName, progId)) {
      errCode_ = ErrBadType;
      recordBare(rec, ErrBadType);
    } else {
      rt::Ref<zorbel::ScriptValue> v = newTypedValue(progId, name);
      bindUnderKey(v.get());
      return v;
    }
  } catch (const rt::RuntimeError& e) {
    rec.readError(e.number(), e.source(), e.description(), kNewValue);
  }
  return nullptr;
}

}  // namespace engine
