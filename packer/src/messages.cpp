#include "messages.h"

#include <exception>
#include <new>
#include <string>

#include "rt/error.h"
#include "rt/text.h"
#include "rt/uihost.h"

namespace wistel {

namespace {

constexpr std::u16string_view kErrorLead =
    u"程序运行时出现以下错误，如一直不能解决，请与开发者联系：";
constexpr std::u16string_view kErrorTitleTail = u" 运行错误";

// The description of the failure being handled, when there is one.
std::u16string failureAtHand() {
  std::exception_ptr failure = std::current_exception();
  if (!failure) return {};
  try {
    std::rethrow_exception(failure);
  } catch (const rt::RuntimeError& e) {
    return e.description();
  } catch (const std::bad_alloc&) {
    return rt::errorText(rt::err::OutOfMemory);
  } catch (...) {
    return {};
  }
}

}  // namespace

void showErr(std::u16string_view message, std::u16string_view title) {
  std::u16string t = title.empty() ? std::u16string(text::kTitle) + std::u16string(kErrorTitleTail)
                                   : std::u16string(title);
  std::u16string shown = message.empty() ? failureAtHand() : std::u16string(message);
  std::u16string body = std::u16string(kErrorLead) + u"\r\n\r\n" + shown;
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
  } catch (const rt::RuntimeError&) {
    showErr({});
  } catch (const std::bad_alloc&) {
    showErr({});
  }
  return false;
}

std::u16string bracket(std::u16string_view name) { return u"[" + shownName(name) + u"]"; }

std::u16string NameList::message(std::u16string_view lead) const {
  std::u16string m(lead);
  for (const std::u16string& name : kept_) m += u"\r\n" + name;
  if (count_ > kept_.size()) m += u"\r\n……共 " + rt::ascii(std::to_string(count_)) + u" 个";
  return m;
}

}  // namespace wistel
