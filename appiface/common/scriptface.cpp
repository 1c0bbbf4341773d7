// Application as the running script sees it under the name "Application".
#include "application.h"
#include "appsubs.h"
#include "edition.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/text.h"
#include "scriptpath.h"
#include "values.h"

namespace appiface {

void Application::letValue(const rt::Variant& v) { valueText_ = rt::toText(v); }

rt::Ref<zorbel::ScriptValue> Application::attr(std::u16string_view name) {
  auto is = [name](std::u16string_view n) { return rt::equalsNoCase(name, n); };
  if (is(u"Ver")) return singleValue(version());
  if (is(u"SptFn") || (kEdition.fileNameAttribute && is(u"SptFileName")))
    return textValue(fileOf(sptFileName_));
  if (is(u"SptPath")) return textValue(sptPath_);
  return SvAppSubs::bound(*this, name);
}

rt::Ref<zorbel::ScriptValue> Application::objAttr(std::u16string_view name) {
  rt::Ref<jespin::IVValues> answer = answered(sendComm(name, yarrick::SaGet));
  return objectValue(firstAnswer(*answer));
}

}  // namespace appiface
