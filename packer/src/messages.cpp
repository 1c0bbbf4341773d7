#include "messages.h"

#include <new>

#include "rt/error.h"
#include "rt/uihost.h"

namespace wistel {

namespace {

constexpr std::u16string_view kErrorLead =
    u"程序运行时出现以下错误，如一直不能解决，请与开发者联系：";
constexpr std::u16string_view kErrorTitleTail = u" 运行错误";

}  // namespace

void showErr(std::u16string_view message, std::u16string_view title) {
  std::u16string t = title.empty() ? std::u16string(text::kTitle) + std::u16string(kErrorTitleTail)
                                   : std::u16string(title);
  std::u16string body = std::u16string(kErrorLead) + u"\r\n\r\n" + std::u16string(message);
  rt::UiHost& host = rt::uiHost();
  host.beep();
  host.messageBox(body, rt::mb::Critical | rt::mb::OkOnly, t);
}

void showNotice(std::u16string_view message) {
  rt::uiHost().messageBox(std::u16string(message), rt::mb::OkOnly, std::u16string(text::kTitle));
}

bool runShowingErrors(const std::function<bool()>& run) {
  try {
    return run();
  } catch (const rt::RuntimeError& e) {
    showErr(e.description());
  } catch (const std::bad_alloc&) {
    showErr(rt::errorText(rt::err::OutOfMemory));
  }
  return false;
}

std::u16string bracket(std::u16string_view name) { return u"[" + std::u16string(name) + u"]"; }

}  // namespace wistel
