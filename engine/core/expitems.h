// The token list of one script line (`ExpItems`), and a list of such lists
// (`ItemsColl`).
//
// `init` is the tokenizer (tokenizer.cpp); `defReplace` expands one use of a
// define macro (defines.cpp).  Positions are 1-based, as scripts count them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "core/libname.h"
#include "core/expitem.h"
#include "nubrel/vstream.h"
#include "rt/object.h"

namespace engine {

class ExpItems final : public rt::Object {
 public:
  // Defines are kept as token lists inside value lists, so a list can be
  // found again behind an object reference.
  static constexpr rt::Iid iid = ENGINE_IID("ExpItems");
  void* query(const rt::Iid& id) noexcept override { return rt::queryAmong<ExpItems>(this, id); }

  ExpItems() : error_(u"ExpItems") {}

  // Carried through the stream unchanged; the compiler sets the line to
  // the source line number.
  int32_t sptModeIndex = 0;
  int32_t sptModeLine = 0;

  // Tokenizes `s`, appending to the list.  False on success; true when an
  // error was recorded (1002), with the tokens before it kept.
  bool init(std::u16string_view s);
  void clear() { items_.clear(); }
  ExpItem& add(int32_t iType);
  // Appends a copy of `ei`.
  bool addObj(const ExpItem& ei);
  // Appends copies of every token of `other`.
  void addAll(const ExpItems& other);
  // Index errors raise 9.
  ExpItem& item(int32_t i);
  const ExpItem& item(int32_t i) const;
  int32_t count() const { return static_cast<int32_t>(items_.size()); }
  bool empty() const { return items_.empty(); }
  void remove(int32_t i);
  // A new list with copies of the tokens and both numbers.
  rt::Ref<ExpItems> copy() const;

  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

  // The tokens' texts joined with nothing between them.
  std::u16string toString() const;

  ErrRecord& error() { return error_; }

  // The token-list form: index, line, count, then each token.
  void writeStream(nubrel::VStream& vs) const;
  // Appends the tokens read.  A count beyond what the stream holds ends in
  // the stream's own failure, or in error 62 once the stream is at its end.
  void readStream(nubrel::VStream& vs);

  // Replaces the macro name at position `idx` with copies of the macro's
  // tokens, taking a bracketed argument list after the name when the macro
  // has placeholders (`_1`, `_2`...).  A missing ")" raises 102.
  void defReplace(int32_t idx, const ExpItems& macro);

  // For the tokenizer and the expansion.
  std::vector<ExpItem>& tokens() { return items_; }

 private:
  std::vector<ExpItem> items_;
  ErrRecord error_;
};

class ItemsColl {
 public:
  void clear() { lists_.clear(); }
  // A new list tokenized from `s` (its tokenizer result is not looked at).
  rt::Ref<ExpItems> add(std::u16string_view s);
  // Appends a copy of `ies`.
  bool addObj(const ExpItems& ies);
  // Appends `ies` itself.
  void addExpItems(rt::Ref<ExpItems> ies);
  ExpItems& item(int32_t i);
  int32_t count() const { return static_cast<int32_t>(lists_.size()); }
  void remove(int32_t i);

  auto begin() const { return lists_.begin(); }
  auto end() const { return lists_.end(); }

 private:
  std::vector<rt::Ref<ExpItems>> lists_;
};

}  // namespace engine
