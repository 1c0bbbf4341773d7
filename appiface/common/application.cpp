#include "application.h"

#include <exception>
#include <new>
#include <string>

#include "edition.h"
#include "rt/error.h"
#include "rt/text.h"
#include "run.h"
#include "scriptpath.h"
#include "zub/version.h"

namespace appiface {

namespace {

constexpr rt::Iid kSelfIid = rt::guidOf("Yarrick.Application.self");

}  // namespace

Application* Application::of(rt::Object* o) {
  auto* app = o ? static_cast<Application*>(o->query(kSelfIid)) : nullptr;
  // The other library builds the same class: its members are its own.
  return app && app->memberSet() == &members() ? app : nullptr;
}

void* Application::query(const rt::Iid& iid) noexcept {
  if (iid == kSelfIid) return this;
  return Automation::query(iid);
}

Application::Application()
    : error_(jespin::newErrInfo(u"Yarrick", u"Application")), valueText_(kEdition.library) {}

Application::~Application() = default;

void Application::setSptPath(std::u16string_view path) { sptPath_ = folderPath(path); }

uint32_t Application::advise(rt::Ref<yarrick::ApplicationEvents> sink) {
  if (!sink) rt::raise(rt::err::ObjectNotSet);
  return events_.advise(std::move(sink));
}

std::u16string Application::version() {
  return std::u16string(kEdition.library) + u" " + rt::ascii(ZUB_VERSION_TEXT);
}

void Application::record(int32_t number, std::u16string_view source,
                         std::u16string_view description, std::u16string_view fnName) {
  error_->readError(number, source, description, fnName);
  if (run_) run_->recorded(number, source, description, fnName);
}

void Application::recordCaught(std::u16string_view fnName) noexcept {
  try {
    try {
      throw;
    } catch (const rt::RuntimeError& e) {
      record(e.number(), e.source(), e.description(), fnName);
    } catch (const std::bad_alloc&) {
      record(rt::err::OutOfMemory, {}, rt::errorText(rt::err::OutOfMemory), fnName);
    } catch (const std::exception& e) {
      record(rt::err::AutomationError, {}, rt::fromUtf8(e.what()), fnName);
    } catch (...) {
      record(rt::err::AutomationError, {}, rt::errorText(rt::err::AutomationError), fnName);
    }
  } catch (...) {
    // Recording ran out of memory: nothing more can be kept.
  }
}

}  // namespace appiface
