#pragma once

#include <bitset>

#include "jespin/chrbits.h"
#include "rt/dispatch.h"

namespace jespin {

class ChrBits final : public rt::Automation<ChrBits, IChrBits> {
 public:
  static const rt::MemberTable<ChrBits>& members();

  void add(std::span<const rt::Variant> items) override;
  void addInt(int32_t code) override;
  void addChar(std::u16string_view s) override;
  bool isIn(std::u16string_view s) const override;
  void clear() override { bits_.reset(); }

 private:
  void addRange(uint32_t first, uint32_t last);

  std::bitset<256> bits_;  // code 0 is never set
};

}  // namespace jespin
