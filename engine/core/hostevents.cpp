#include "core/hostevents.h"

#include "rt/error.h"

namespace engine {

uint32_t HostEvents::advise(rt::Ref<ScriptHostEvents> sink) {
  if (!sink) rt::raise(rt::err::ObjectNotSet);
  return sinks_.advise(std::move(sink));
}

std::u16string HostEvents::inputLine(rt::Object* host) {
  std::u16string buf;
  sinks_.raise(host, [&](ScriptHostEvents& s) { s.inputLine(buf); });
  return buf;
}

int16_t HostEvents::inputChar(rt::Object* host) {
  int16_t code = 0;
  sinks_.raise(host, [&](ScriptHostEvents& s) { s.inputChar(code); });
  return code;
}

void HostEvents::output(rt::Object* host, std::u16string_view s) {
  if (sinks_.empty()) return;
  const std::u16string text(s);
  sinks_.raise(host, [&](ScriptHostEvents& sink) { sink.output(text); });
}

void HostEvents::outErr(rt::Object* host, std::u16string_view s) {
  const std::u16string text(s);
  sinks_.raise(host, [&](ScriptHostEvents& sink) { sink.outErr(text); });
}

void HostEvents::includeFile(rt::Object* host, const std::u16string& file) {
  sinks_.raise(host, [&](ScriptHostEvents& s) { s.includeFile(file); });
}

}  // namespace engine
