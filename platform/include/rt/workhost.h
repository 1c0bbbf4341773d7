// The host of long operations (packing and unpacking): a progress view with a
// row for each level of the work, and the password question.  Without a
// window system the headless host draws nothing and a question counts as
// closed; the desktop program installs windows, the pack command its console,
// tests a scripted host (testhost.h).  Yields go through the UI host.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "rt/api.h"
#include "rt/object.h"

namespace rt {

// A caption and rows under it, each a label with a bar.  Rows are numbered
// from 1 and never removed.
class ProgressView : public virtual Object {
 public:
  static constexpr Iid iid = guidOf("rt.ProgressView");

  virtual void setCaption(const std::u16string& caption) = 0;
  // Grows the view to `count` rows (a smaller count changes nothing).
  virtual void setRowCount(int32_t count) = 0;
  // Row k shows `label` and a bar at `value` of `maximum`.
  virtual void setRow(int32_t k, const std::u16string& label, int32_t value, int32_t maximum) = 0;
  // The operation is over: the view goes away.
  virtual void close() = 0;
};

// Called with each entry the user confirms; true ends the question.  A
// refusal tells the user why itself (a message box).
using PasswordCheck = std::function<bool(const std::u16string& entry)>;

class WorkHost : public virtual Object {
 public:
  static constexpr Iid iid = guidOf("rt.WorkHost");

  // A new view, shown at once while the caller goes on working.
  virtual Ref<ProgressView> openProgress() = 0;
  // A modal question under `caption` showing `prompt`: every entry confirmed
  // with "确定" goes to `accept` until it takes one (true); false when the
  // user closes the question instead.
  virtual bool askPassword(const std::u16string& caption, const std::u16string& prompt,
                           const PasswordCheck& accept) = 0;
};

// The installed host (the headless one until another is installed).
RT_API WorkHost& workHost();
// Installs `host`; nullptr restores the headless host.  Returns the previous.
RT_API Ref<WorkHost> setWorkHost(Ref<WorkHost> host);

}  // namespace rt
