#include "rt/resources.h"

#include <gtest/gtest.h>

#include "rt/error.h"
#include "rt/text.h"

namespace {

constexpr rt::StringResource kStrings[] = {
    {1, u"one"},
    {5, u"five"},
    {2001, u"If|1"},
    {10000, u"消息"},
};
constexpr uint8_t kTable[] = {1, 2, 3};
const rt::DataResource kData[] = {{u"CUSTOM", 101, kTable}};
const rt::Resources kRes(u"TestLib", kStrings, kData);

// The description of the 326 that `f` raises.
template <class F>
std::string notFound(F f) {
  try {
    f();
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.number(), rt::err::ResourceNotFound);
    return rt::toUtf8(e.description());
  }
  ADD_FAILURE() << "no error raised";
  return {};
}

TEST(Resources, StringsByIdAndMissingIds) {
  for (const auto& s : kStrings) EXPECT_EQ(kRes.string(s.id), s.text);
  std::u16string_view text;
  EXPECT_TRUE(kRes.tryString(2001, text));
  EXPECT_EQ(text, u"If|1");
  for (int32_t id : {0, 2, 4, 6, 9999, 10001, -1}) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(kRes.tryString(id, text));
    std::string e = notFound([&] { kRes.string(id); });
    EXPECT_NE(e.find("TestLib"), std::string::npos) << e;
    EXPECT_NE(e.find(" " + std::to_string(id)), std::string::npos) << e;
  }
  const rt::Resources empty(u"Empty", {});
  EXPECT_FALSE(empty.tryString(1, text));
}

TEST(Resources, CustomData) {
  auto bytes = kRes.data(u"custom", 101);  // types compare case-blind
  ASSERT_EQ(bytes.size(), 3u);
  EXPECT_EQ(bytes[2], 3);
  for (auto [type, id] : {std::pair{u"CUSTOM", 102}, std::pair{u"OTHER", 101}}) {
    // clang 14 cannot capture a structured binding.
    std::string e = notFound([&, type = type, id = id] { kRes.data(type, id); });
    EXPECT_NE(e.find("TestLib"), std::string::npos) << e;
    EXPECT_NE(e.find(std::to_string(id)), std::string::npos) << e;
  }
}

}  // namespace
