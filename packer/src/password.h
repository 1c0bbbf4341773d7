// The password question of unpacking, and the keyed answer it fills in.
#pragma once

#include <string>
#include <string_view>

#include "jespin/values.h"
#include "rt/object.h"

namespace wistel {

// The answer of a question: isOk, and text values under keys (case-blind),
// "" for a key never set.
class DlgReturn {
 public:
  DlgReturn();

  bool isOk() const { return ok_; }
  void setIsOk(bool ok) { ok_ = ok; }
  std::u16string value(std::u16string_view key);
  // Replaces the value of `key`, or adds the key at the end.
  void setValue(std::u16string_view key, std::u16string_view text);

 private:
  rt::Ref<jespin::IVValues> values_;
  bool ok_ = false;
};

// Asks the work host for the pack's password until the user enters exactly
// `stored` (letter case counts) or closes the question.  Each wrong entry
// is answered with "口令无效，请重新录入。".  True when the right one came.
bool askPassword(std::u16string_view stored);

}  // namespace wistel
