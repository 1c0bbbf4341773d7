// PackInfo: the header fields of a pack, and reading them from a pack file.
#pragma once

#include <cstdint>
#include <string>

#include "rt/dispatch.h"
#include "wistel/packinfo.h"

namespace wistel {

class PackInfo final : public rt::Automation<PackInfo, IPackInfo> {
 public:
  static const rt::MemberTable<PackInfo>& members();

  int32_t ver() override { return ver_; }
  void setVer(int32_t v) override { ver_ = v; }
  std::u16string copyright() override { return copyright_; }
  void setCopyright(std::u16string_view s) override { copyright_ = s; }
  std::u16string description() override { return description_; }
  void setDescription(std::u16string_view s) override { description_ = s; }
  std::u16string password() override { return password_; }
  void setPassword(std::u16string_view s) override { password_ = s; }
  rt::Date createTime() override { return createTime_; }
  void setCreateTime(rt::Date d) override { createTime_ = d; }
  int64_t packLen() override { return packLen_; }
  void setPackLen(int64_t n) override { packLen_ = n; }
  int32_t blkSize() override { return blkSize_; }
  void setBlkSize(int32_t n) override { blkSize_ = n; }
  int32_t flag() override { return flag_; }
  void setFlag(int32_t f) override { flag_ = f; }

  bool readInfo(std::u16string_view fn) override;
  void writeStream(nubrel::VStream& vs) override;
  void readStream(nubrel::VStream& vs) override;

  bool hasPassword() const { return (flag_ & PF_Password) != 0; }
  std::u16string failure() override { return failure_; }

 private:
  int32_t ver_ = 0;
  std::u16string copyright_;
  std::u16string description_;
  std::u16string password_;
  rt::Date createTime_;
  int64_t packLen_ = 0;
  int32_t blkSize_ = 0;
  int32_t flag_ = 0;
  std::u16string failure_;  // the description of the last readInfo's failure
};

}  // namespace wistel
