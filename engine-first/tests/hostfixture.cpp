#include "hostfixture.h"

#include "rt/locale.h"
#include "rt/strings.h"

namespace dovreltest {

namespace {

// Numbers print through the locale: pin it for every test.
class PinnedLocale : public ::testing::Environment {
 public:
  void SetUp() override { rt::setLocale(rt::LocaleId::EnglishUS); }
};

const auto* const kPinned = ::testing::AddGlobalTestEnvironment(new PinnedLocale);

}  // namespace

HostTest::HostTest() { host->advise(rec); }

HostTest::~HostTest() { host->freeAll(); }

std::vector<int32_t> HostTest::feed(std::initializer_list<std::u16string_view> lines) {
  std::vector<int32_t> results;
  for (std::u16string_view line : lines) results.push_back(host->execLine(line));
  return results;
}

void HostTest::run(std::initializer_list<std::u16string_view> lines) {
  for (std::u16string_view line : lines) {
    host->execLine(line);
    ASSERT_FALSE(host->error().haveErr()) << utf8(line) << ": " << description();
  }
}

int32_t HostTest::script(std::u16string_view text) {
  int32_t first = 0;
  for (std::u16string_view line : rt::splitLines(text)) {
    host->execLine(line);
    if (host->error().haveErr() && first == 0) first = errNumber();
  }
  host->execEnd();
  if (host->error().haveErr() && first == 0) first = errNumber();
  return first;
}

std::string HostTest::out() {
  std::string all;
  for (size_t i = 0; i < rec->out.size(); ++i)
    if (!(rec->out[i] == '\r' && i + 1 < rec->out.size() && rec->out[i + 1] == '\n'))
      all += rec->out[i];
  rec->out.clear();
  return all;
}

std::string HostTest::value(std::u16string_view name) {
  return utf8(rt::toText(host->sSpace()->value(name)->value()));
}

}  // namespace dovreltest
