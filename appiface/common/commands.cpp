// The two raisers of SptCommand.
#include "application.h"
#include "rt/error.h"
#include "values.h"

namespace appiface {

rt::Ref<jespin::IVValues> Application::sendComm(std::u16string_view commName, int32_t callType,
                                                std::initializer_list<rt::Variant> args) {
  return raiseCommand(u"SendComm", commName, callType, [&args] {
    rt::Ref<jespin::IVValues> param = newList();
    for (const rt::Variant& a : args) param->add(a);
    return param;
  });
}

rt::Ref<jespin::IVValues> Application::sendCommVVS(std::u16string_view commName, int32_t callType,
                                                   rt::Ref<jespin::IVValues> commParam) {
  return raiseCommand(u"SendCommVVS", commName, callType,
                      [&commParam] { return commParam ? commParam : newList(); });
}

void Application::output(const std::u16string& s) {
  if (!s.empty()) sendComm(u"Output", yarrick::SaMethod, {rt::Variant(s)});
}

rt::Ref<jespin::IVValues> Application::answered(rt::Ref<jespin::IVValues> commReturn) {
  if (!commReturn) rt::raiseWith(error_->number(), error_->description(), error_->source());
  return commReturn;
}

// Whatever the handlers throw stays here: it is recorded, and the script's
// call that raised the command goes on with no answer.
rt::Ref<jespin::IVValues> Application::raiseCommand(
    std::u16string_view fnName, std::u16string_view commName, int32_t callType,
    const std::function<rt::Ref<jespin::IVValues>()>& param) {
  rt::Ref<Application> keep(this);  // a handler may let go of the Application
  error_->clear();
  try {
    rt::Ref<jespin::IVValues> commParam = param();
    rt::Ref<jespin::IVValues> commReturn = newList();
    const std::u16string name(commName);
    events_.raise(this, [&](yarrick::ApplicationEvents& sink) {
      sink.sptCommand(name, callType, *commParam, *commReturn);
    });
    return commReturn;
  } catch (...) {
    recordCaught(fnName);
    return nullptr;
  }
}

}  // namespace appiface
