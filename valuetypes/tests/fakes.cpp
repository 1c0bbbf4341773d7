#include "fakes.h"

#include "rt/activation.h"
#include "rt/convert.h"
#include "rt/text.h"
#include "scalars.h"

namespace fennick_test {

rt::Ref<zorbel::ScriptValue> single(const rt::Variant& v) {
  return fennick::newValue<fennick::SvVariant>(v);
}

ArgList::ArgList(std::vector<rt::Ref<zorbel::ScriptValue>> items)
    : items_(std::move(items)), error_(jespin::newErrInfo(u"Test", u"ArgList")) {}

rt::Ref<zorbel::ScriptValue> ArgList::subs(const rt::Variant& index, int32_t) {
  int32_t i = rt::toLong(index);
  if (i < 1 || i > count()) return nullptr;
  return items_[static_cast<size_t>(i - 1)];
}

rt::Ref<ArgList> args(std::initializer_list<rt::Variant> values) {
  std::vector<rt::Ref<zorbel::ScriptValue>> items;
  for (const rt::Variant& v : values) items.push_back(single(v));
  return rt::make<ArgList>(std::move(items));
}

namespace {

const std::u16string_view kMembers[] = {u"Name", u"Item", u"Child", u"Count"};

}  // namespace

void Recorder::registerClass() {
  static bool done = false;
  if (done) return;
  rt::registerLocalClass(kProgId, rt::classIdOf("FennickTest.Recorder"),
                         [] { return rt::Ref<rt::Object>(rt::make<Recorder>()); });
  done = true;
}

rt::DispId Recorder::memberId(std::u16string_view name) {
  for (size_t i = 0; i < std::size(kMembers); ++i)
    if (rt::equalsNoCase(name, kMembers[i])) return static_cast<rt::DispId>(i + 1);
  return rt::kDispUnknown;
}

rt::Variant Recorder::invoke(rt::DispId id, int kinds, std::span<rt::Variant> a) {
  std::u16string name = id == rt::kDispValue ? u"" : std::u16string(kMembers[id - 1]);
  calls.push_back(Call{name, kinds, std::vector<rt::Variant>(a.begin(), a.end())});
  if (failNext) {
    failNext = false;
    rt::raise(rt::err::InvalidCall);
  }
  if (name == u"Name") return rt::Variant(u"rec");
  if (name == u"Item") return rt::Variant(int32_t{42});
  if (name == u"Count") return rt::Variant(int32_t{3});
  if (name == u"Child") return rt::Variant(rt::make<Recorder>());
  return rt::Variant(u"default");
}

rt::Ref<Recorder> newRecorder() {
  Recorder::registerClass();
  return rt::queryRef<Recorder>(rt::createObject(Recorder::kProgId).get());
}

}  // namespace fennick_test
