// The stack and the queue of values.
#pragma once

#include <string_view>

#include "endlist.h"
#include "jespin/queue.h"
#include "jespin/stack.h"

namespace jespin {

class VStack final : public EndList<VStack, IVStack, VStackEvents> {
 public:
  static constexpr std::u16string_view kClassName = u"VStack";
  static constexpr std::u16string_view kPutName = u"Push";
  static constexpr std::u16string_view kTakeName = u"Pop";
  static constexpr bool kTakesLast = true;
  static void announcePut(VStackEvents& s, rt::Variant& value, std::u16string& key, bool& cancel) {
    s.willPush(value, key, cancel);
  }
  static void announceTake(VStackEvents& s, bool& cancel) { s.willPop(cancel); }

  rt::Ref<IVValue> pushByRef(rt::Variant& value, std::u16string& key) override { return put(value, key); }
  rt::Ref<IVValue> pop() override { return take(); }
};

class VQueue final : public EndList<VQueue, IVQueue, VQueueEvents> {
 public:
  static constexpr std::u16string_view kClassName = u"VQueue";
  static constexpr std::u16string_view kPutName = u"PutIn";
  static constexpr std::u16string_view kTakeName = u"GetOut";
  static constexpr bool kTakesLast = false;
  static void announcePut(VQueueEvents& s, rt::Variant& value, std::u16string& key, bool& cancel) {
    s.willPutIn(value, key, cancel);
  }
  static void announceTake(VQueueEvents& s, bool& cancel) { s.willGetOut(cancel); }

  rt::Ref<IVValue> putInByRef(rt::Variant& value, std::u16string& key) override { return put(value, key); }
  rt::Ref<IVValue> getOut() override { return take(); }
};

}  // namespace jespin
