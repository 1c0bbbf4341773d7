#include "eventstream.h"

#include <algorithm>

#include "members.h"

namespace nubrel {

namespace {
// A count from the host's own data is not trusted for an allocation: a
// longer piece is asked for in parts of this size.
constexpr size_t kLargestPiece = 64 * 1024;
}  // namespace

const rt::MemberTable<EventStream>& EventStream::members() {
  static const auto table = std::move(
      streamMembers<EventStream>(u"EventStream").method(u"Init", [](EventStream& s, int32_t d) {
        s.init(static_cast<StreamDir>(d));
      }));
  return table;
}

bool EventStream::eof() {
  bool isEOF = false;
  events_.raise(this, [&](EventStreamEvents& sink) { sink.chackEOF(isEOF); });
  return isEOF;
}

void EventStream::putChars(std::u16string_view s) {
  std::u16string str(s);
  events_.raise(this, [&](EventStreamEvents& sink) { sink.writeString(str); });
}

// One ReadString per piece; the host's text is taken whatever its length.  A
// piece longer than kLargestPiece is asked for part by part, for as long as
// the host fills each part exactly.
std::u16string EventStream::takeChars(size_t n) {
  std::u16string got;
  size_t want = n;
  for (;;) {
    size_t part = std::min(want, kLargestPiece);
    std::u16string buf(part, u' ');
    events_.raise(
        this, [&](EventStreamEvents& sink) { sink.readString(buf, static_cast<int32_t>(part)); });
    bool filled = buf.size() == part;
    got += buf;
    if (!filled || part == want) return got;
    want -= part;
  }
}

}  // namespace nubrel
