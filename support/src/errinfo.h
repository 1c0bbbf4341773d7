#pragma once

#include <string>

#include "jespin/errinfo.h"
#include "rt/dispatch.h"

namespace jespin {

class ErrInfo final : public rt::Automation<ErrInfo, IErrInfo> {
 public:
  static const rt::MemberTable<ErrInfo>& members();

  void clear() override;
  void readSysErr(rt::Object* errObj, std::u16string_view fnName = {}) override;
  void readError(int32_t number, std::u16string_view source, std::u16string_view description,
                 std::u16string_view fnName = {}) override;
  bool haveErr() const override { return number_ != 0; }
  int32_t number() const override { return number_; }
  void setNumber(int32_t n) override { number_ = n; }
  std::u16string description() const override { return description_; }
  void setDescription(std::u16string_view d) override { description_ = d; }
  std::u16string source() const override;
  void setSource(std::u16string_view s) override { source_ = s; }
  std::u16string sourceFull() const override;
  std::u16string parentApp() const override { return parentApp_; }
  void setParentApp(std::u16string_view s) override { parentApp_ = s; }
  std::u16string parentMod() const override { return parentMod_; }
  void setParentMod(std::u16string_view s) override { parentMod_ = s; }

 private:
  int32_t number_ = 0;
  std::u16string source_;
  std::u16string description_;
  std::u16string parentApp_;
  std::u16string parentMod_;
};

}  // namespace jespin
