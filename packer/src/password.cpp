#include "password.h"

#include "messages.h"
#include "rt/uihost.h"
#include "rt/variant.h"
#include "rt/convert.h"
#include "rt/workhost.h"

namespace wistel {

namespace {

constexpr std::u16string_view kPromptKey = u"InputInfo";
constexpr std::u16string_view kCheckKey = u"ChkPwd";

}  // namespace

DlgReturn::DlgReturn()
    : values_(rt::queryRef<jespin::IVValues>(rt::createInstance(jespin::IVValues::clsid).get())) {}

std::u16string DlgReturn::value(std::u16string_view key) {
  return rt::toText(values_->item(rt::Variant(key))->value());
}

void DlgReturn::setValue(std::u16string_view key, std::u16string_view text) {
  if (values_->exist(key))
    values_->item(rt::Variant(key))->letValue(rt::Variant(text));
  else
    values_->add(rt::Variant(text), std::u16string(key));
}

bool askPassword(std::u16string_view stored) {
  DlgReturn answer;
  answer.setValue(kPromptKey, text::kPasswordPrompt);
  answer.setValue(kCheckKey, stored);
  rt::workHost().askPassword(std::u16string(text::kPasswordCaption), answer.value(kPromptKey),
                             [&](const std::u16string& entry) {
                               if (entry == answer.value(kCheckKey)) {
                                 answer.setIsOk(true);
                                 return true;
                               }
                               showNotice(text::kBadPassword);
                               return false;
                             });
  return answer.isOk();
}

}  // namespace wistel
