// The tokenizer: one script line into tokens, one pass, one pending token.
#include <optional>

#include "core/errors.h"
#include "core/expitems.h"
#include "core/tables.h"
#include "rt/convert.h"

namespace engine {

namespace {

// What the pending text will become; the values are the codes of new tokens.
enum class Pending : int32_t {
  None = -1,
  Name = tok::Name,
  Operator = tok::Blank,
  String = tok::StringLit,
  Integer = tok::IntegerLit,
  Floating = tok::FloatLit,
  Date = tok::DateLit,
};

bool isHexLetter(char16_t c) { return (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }

class Tokenizer {
 public:
  explicit Tokenizer(ExpItems& list) : items_(list.tokens()) {}

  void run(std::u16string_view s) {
    for (size_t i = 0; i < s.size(); ++i) {
      char16_t ch = s[i];
      int32_t code = chrMap(ch);
      switch (static_cast<uint32_t>(code) >> 24) {
        case CharBlank: blank(); break;
        case CharOperator: i = operatorChar(s, i, code); break;
        case CharDigit: digit(ch); break;
        case CharLetter: letter(ch); break;
        case CharQuote: i = delimited(s, i, u'"', Pending::String); break;
        case CharDate: i = delimited(s, i, u'#', Pending::Date); break;
        default: break;  // not allowed: skipped without ending the pending token
      }
    }
    flush();
  }

 private:
  void blank() {
    flush();
    // No blank token at the start, after a keyword, or twice in a row.
    if (last_ && !items_[*last_].isKey() && items_[*last_].iType != tok::Blank) {
      items_.push_back(ExpItem{tok::Blank, rt::Variant()});
      last_ = items_.size() - 1;
    }
  }

  size_t operatorChar(std::u16string_view s, size_t i, int32_t code) {
    char16_t ch = s[i];
    if (state_ == Pending::Integer && ch == u'.') {
      text_ += ch;
      state_ = Pending::Floating;
      return i;
    }
    if (ch == u'&' && i + 1 < s.size() && (s[i + 1] == u'H' || s[i + 1] == u'h')) {
      // "&H" starts a hexadecimal literal.
      flush();
      state_ = Pending::Integer;
      text_ = u"&H";
      return i + 1;
    }
    flush();
    state_ = Pending::Operator;
    text_.assign(1, ch);
    opCode_ = code;
    flush();
    return i;
  }

  void digit(char16_t ch) {
    switch (state_) {
      case Pending::None: start(Pending::Integer, ch); break;
      case Pending::Name:
      case Pending::Integer:
      case Pending::Floating: text_ += ch; break;
      default: flush(); start(Pending::Integer, ch); break;
    }
  }

  void letter(char16_t ch) {
    if (state_ == Pending::Name || (state_ == Pending::Integer && isHexLetter(ch))) {
      text_ += ch;
      return;
    }
    flush();
    start(Pending::Name, ch);
  }

  // A string or date: everything up to the closing delimiter, or to the end
  // of the line when there is none.  Returns the position of the closer.
  size_t delimited(std::u16string_view s, size_t i, char16_t closer, Pending kind) {
    flush();
    size_t close = s.find(closer, i + 1);
    size_t stop = close == std::u16string_view::npos ? s.size() : close;
    state_ = kind;
    text_.assign(s.substr(i + 1, stop - i - 1));
    flush();
    return stop;
  }

  void start(Pending state, char16_t ch) {
    state_ = state;
    text_.assign(1, ch);
  }

  // Tokens merge only onto an operator, a keyword or a blank: a string
  // "+" followed by + stays a string and an operator.
  std::optional<size_t> mergeTarget() const {
    if (!last_) return std::nullopt;
    int cls = tok::classOf(items_[*last_].iType);
    if (cls != tok::ClassKeyword && cls != tok::ClassOperator) return std::nullopt;
    return last_;
  }

  // Emits the pending token, merging it into the last one where the keyword
  // table knows the two together ("<" "=", "End" "If", a blank before "Then").
  void flush() {
    if (state_ == Pending::None) return;
    std::optional<int32_t> keyword = state_ == Pending::Name ? keywordCode(text_) : std::nullopt;
    std::optional<size_t> target = mergeTarget();
    if (target && mergeInto(items_[*target], keyword.has_value())) {
      reset();
      return;
    }
    ExpItem ei{static_cast<int32_t>(state_), rt::Variant()};
    switch (state_) {
      case Pending::Name:
        ei.iType = keyword.value_or(tok::Name);
        ei.iValue = text_;
        break;
      case Pending::Operator:
        ei.iType = opCode_;
        ei.iValue = text_;
        break;
      case Pending::String: ei.iValue = text_; break;
      case Pending::Integer: ei.iValue = rt::toLong(rt::Variant(text_)); break;
      case Pending::Floating: ei.iValue = rt::toDouble(rt::Variant(text_)); break;
      case Pending::Date: ei.iValue = rt::toDate(rt::Variant(text_)); break;
      case Pending::None: break;
    }
    items_.push_back(std::move(ei));
    last_ = items_.size() - 1;
    reset();
  }

  // `isKeyword`: the pending word is a keyword of its own.
  bool mergeInto(ExpItem& last, bool isKeyword) {
    std::u16string lastText = last.iValue.isText() ? last.iValue.text() : std::u16string();
    if (state_ == Pending::Operator) {
      std::optional<int32_t> code = keywordCode(lastText + text_);
      if (!code) return false;
      last.iType = *code;
      last.iValue = lastText + text_;
      return true;
    }
    if (state_ == Pending::Name && isKeyword) {
      // A blank that became a keyword keeps its blank in front of the text;
      // the lookup goes by the words alone.
      std::u16string_view words(lastText);
      if (!words.empty() && words.front() == u' ') words.remove_prefix(1);
      std::optional<int32_t> code = keywordCode(std::u16string(words) + text_);
      if (!code) return false;
      last.iType = *code;
      last.iValue = lastText + u" " + text_;
      return true;
    }
    return false;
  }

  void reset() {
    state_ = Pending::None;
    text_.clear();
  }

  std::vector<ExpItem>& items_;
  Pending state_ = Pending::None;
  std::u16string text_;
  int32_t opCode_ = 0;
  std::optional<size_t> last_;
};

}  // namespace

bool ExpItems::init(std::u16string_view s) {
  error_.clear();
  try {
    Tokenizer(*this).run(s);
  } catch (const rt::RuntimeError&) {
    error_.setCode(ErrGrammar, u"Init");
    return true;
  }
  return false;
}

}  // namespace engine
