#pragma once

#include <optional>
#include <string>
#include <vector>

#include "errinfo.h"
#include "jespin/profile.h"
#include "rt/dispatch.h"

namespace jespin {

class ProFile final : public rt::Automation<ProFile, IProFile> {
 public:
  static const rt::MemberTable<ProFile>& members();

  ProFile();

  std::u16string defClass() override { return defClass_; }
  void setDefClass(std::u16string_view s) override { defClass_ = s; }
  std::u16string defValue() override { return defValue_; }
  void setDefValue(std::u16string_view s) override { defValue_ = s; }

  bool init(std::u16string_view pPath, std::u16string_view pName = {}) override;
  void enableEsc(std::u16string_view escStart, std::u16string_view escEnd) override;
  rt::Ref<IProFile> newProf(std::u16string_view pName = {}) override { return newProfile(pName); }

  std::u16string value(std::u16string_view keyPath) override;
  void letValue(std::u16string_view keyPath, std::u16string_view v) override;

  std::u16string getValue(std::u16string_view clsName, std::u16string_view key) override;
  int32_t getInt(std::u16string_view clsName, std::u16string_view key, int32_t defV = 0) override;
  std::u16string firstValue(std::u16string_view clsName) override;
  std::u16string nextValue() override;
  void setValue(std::u16string_view clsName, std::u16string_view key,
                std::u16string_view v) override;

  void saveWinStat(rt::Object* frm, std::u16string_view clsName = u"Window") override;
  void loadWinStat(rt::Object* frm, std::u16string_view clsName = u"Window") override;

  std::u16string proPath() override { return proPath_; }
  std::u16string proName() override { return proName_; }
  std::u16string fileName() override { return proPath_ + proName_; }
  rt::Ref<IErrInfo> error() override { return error_; }

 private:
  rt::Ref<ProFile> newProfile(std::u16string_view pName);
  // The value of a key path; nothing when reading it would go round a cycle
  // of substitutions (or too deep), so the caller keeps the reference as it is.
  std::optional<std::u16string> expand(std::u16string_view keyPath);
  std::u16string substitute(std::u16string v);
  bool substitutionOn() const { return escEnable_ && !escStart_.empty() && !escEnd_.empty(); }

  // Writes one key, recording a failure under the operation `op`.
  bool write(std::u16string_view op, std::u16string_view clsName, std::u16string_view key,
             std::u16string_view v);
  std::string file() const;

  // The answer buffer: items each ended by a zero, read one by one.
  void fill(const std::vector<std::u16string>& items);
  std::u16string nextItem();

  std::u16string defClass_ = u"Values";
  std::u16string defValue_;
  std::u16string proPath_;
  std::u16string proName_;
  std::u16string buffer_;
  size_t position_ = 0;
  bool escEnable_ = false;
  std::u16string escStart_;
  std::u16string escEnd_;
  rt::Ref<ErrInfo> error_;
};

}  // namespace jespin
