#include "core/dimdecls.h"
#include "core/ownclasses.h"
#include "core/place.h"
#include "core/simplebodies.h"
#include "rt/convert.h"

namespace engine {

BodyDim::BodyDim()
    : ExecBody(u"BodyDim"),
      decls_(created<jespin::IVValues>()) {}

void BodyDim::addCode(ExpItems& eis) {
  try {
    readDimDeclarations(eis, [&](const std::u16string& name, const std::u16string& type) {
      lines_.reserve(lines_.size() + 1);
      decls_->add(rt::Variant(type), name);
      lines_.push_back(eis.sptModeLine);
    });
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, u"AddCode");
    fedFailed_ = true;
  }
}

int32_t BodyDim::execute(zorbel::ScriptSpace& ss) {
  const int32_t n = decls_->count();
  for (int32_t i = 1; i <= n; ++i) {
    running.line = lines_[static_cast<size_t>(i - 1)];
    rt::Ref<jespin::IVValue> d = decls_->item(rt::Variant(i));
    ss.newValue(d->key(), rt::toText(d->value()));
    if (ss.error().haveErr()) {
      error_.copy(ss.error(), u"Execute");
      return ExitNone;
    }
  }
  if (!fedFailed_) error_.clear();  // as BodySerial: no error of an earlier run stays
  return ExitNone;
}

}  // namespace engine
