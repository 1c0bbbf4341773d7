// The text-coded stream whose characters its host writes and reads through
// events.
#pragma once

#include <string>

#include "nubrel/eventstream.h"
#include "rt/dispatch.h"
#include "rt/events.h"
#include "textcoding.h"

namespace nubrel {

class EventStream final : public rt::Automation<EventStream, IEventStream>, public TextCodedStream {
 public:
  static const rt::MemberTable<EventStream>& members();

  void* query(const rt::Iid& iid) noexcept override {
    return rt::queryAmong<rt::Dispatch, IEventStream, VStream>(this, iid);
  }

  void init(StreamDir d) override { dir_ = d; }
  uint32_t advise(rt::Ref<EventStreamEvents> sink) override {
    return events_.advise(std::move(sink));
  }
  void unadvise(uint32_t cookie) override { events_.unadvise(cookie); }
  StreamDir dir() override { return dir_; }
  // The host's answer to ChackEOF.
  bool eof() override;

 protected:
  void putChars(std::u16string_view s) override;
  std::u16string takeChars(size_t n) override;
  // Only the host knows what is left.
  uint64_t charsLeftAtMost() override { return UINT64_MAX; }

 private:
  rt::EventSource<EventStreamEvents> events_;
  StreamDir dir_ = OutStream;
};

}  // namespace nubrel
