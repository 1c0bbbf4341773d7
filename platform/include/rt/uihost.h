// The host of message boxes, input boxes, beeps and yielding to the message
// loop.  Without a window system the headless host answers: a message box
// returns its default button, an input box returns "".  The desktop program
// installs a window host; tests install a scripted host (testhost.h).
#pragma once

#include <cstdint>
#include <string>

#include "rt/api.h"
#include "rt/object.h"

namespace rt {

// Buttons and answers of a message box, as the runtime numbers them.
namespace mb {
constexpr int32_t OkOnly = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4,
                  RetryCancel = 5;
constexpr int32_t Critical = 16, Question = 32, Exclamation = 48, Information = 64;
constexpr int32_t DefaultButton1 = 0, DefaultButton2 = 256, DefaultButton3 = 512;
constexpr int32_t Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7;
}  // namespace mb

class UiHost : public virtual Object {
 public:
  static constexpr Iid iid = guidOf("rt.UiHost");
  // Returns the answer (mb::Ok, mb::Yes...).
  virtual int32_t messageBox(const std::u16string& prompt, int32_t style,
                             const std::u16string& title) = 0;
  // Returns the text entered; "" when cancelled.
  virtual std::u16string inputBox(const std::u16string& prompt, const std::u16string& title,
                                  const std::u16string& defaultText) = 0;
  virtual void beep() = 0;
  // Lets the message loop run once.
  virtual void yield() = 0;
};

// The button a message box of `style` answers with when nobody is asked.
RT_API int32_t defaultAnswer(int32_t style);

// The installed host (the headless one until another is installed).
RT_API UiHost& uiHost();
// Installs `host`; nullptr restores the headless host.  Returns the previous.
RT_API Ref<UiHost> setUiHost(Ref<UiHost> host);

}  // namespace rt
