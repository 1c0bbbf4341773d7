#include "core/tables.h"

#include <array>
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/errors.h"
#include "core/resources.h"
#include "rt/convert.h"
#include "rt/strings.h"
#include "rt/text.h"

namespace engine {

namespace {

constexpr int32_t kCharClassResource = 101;
constexpr int32_t kFirstKeyword = 2001;
constexpr int32_t kLastKeyword = 3000;
constexpr std::u16string_view kEndMark = u"---End---";

struct Tables {
  std::array<int32_t, 128> chrClass{};
  // In resource order, for the reverse lookup.
  std::vector<std::pair<std::u16string, int32_t>> keywords;
  std::unordered_map<std::u16string, int32_t> byFoldedText;
};

// Entry i comes from bytes 4i to 4i+3, little-endian two's complement.
void loadChrMap(Tables& t) {
  std::span<const uint8_t> bytes = engineResources().data(u"CUSTOM", kCharClassResource);
  for (size_t i = 0; i + 4 <= bytes.size() && i / 4 < t.chrClass.size(); i += 4) {
    uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = v << 8 | bytes[i + k];
    t.chrClass[i / 4] = static_cast<int32_t>(v);
  }
}

// Each string is the keyword, a blank, and its code as an "&H" number.
void loadKeywords(Tables& t) {
  for (int32_t id = kFirstKeyword; id <= kLastKeyword; ++id) {
    std::u16string_view rest = engineResources().string(id);
    if (rest == kEndMark) break;
    std::u16string keyword(rt::splitHead(rest, u" "));
    int32_t code = rt::toLong(rt::Variant(rest));
    if (!t.byFoldedText.emplace(rt::foldCase(keyword), code).second) rt::raise(rt::err::KeyExists);
    t.keywords.emplace_back(std::move(keyword), code);
  }
}

const Tables& tables() {
  static const Tables t = [] {
    Tables loaded;
    loadChrMap(loaded);
    loadKeywords(loaded);
    return loaded;
  }();
  return t;
}

}  // namespace

void loadTables() { tables(); }

int32_t chrMap(char16_t ch) {
  // Every character beyond ASCII (a double-byte character on the original
  // platform) is refused, 128 included: the table has no entry for it.
  if (ch >= tables().chrClass.size()) raiseCode(ErrIllegalChar, qualifiedSource(u"modGloble.ChrMap"));
  return tables().chrClass[ch];
}

int32_t chrMap(std::u16string_view ch) {
  if (ch.empty()) rt::raise(rt::err::InvalidCall);
  return chrMap(ch.front());
}

std::optional<int32_t> keywordCode(std::u16string_view text) {
  const auto& index = tables().byFoldedText;
  auto it = index.find(rt::foldCase(text));
  if (it == index.end()) return std::nullopt;
  return it->second;
}

std::u16string codeToText(int32_t code) {
  const Tables& t = tables();
  for (size_t c = 0; c < t.chrClass.size(); ++c)
    if (t.chrClass[c] == code) return std::u16string(1, static_cast<char16_t>(c));
  const std::u16string* last = nullptr;
  for (const auto& [text, kwCode] : t.keywords)
    if (kwCode == code) last = &text;
  return last ? *last : std::u16string();
}

}  // namespace engine
