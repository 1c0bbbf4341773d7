// The engine's own errors and the error record its objects own.
//
// Code n has the Number 0x80040000 + n and the message of string resource
// 10000 + n.  Objects record failures instead of raising them: an operation
// clears its record, then records an own code or copies a trapped failure
// under its own operation name, and the caller tests the record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/libname.h"
#include "jespin/errinfo.h"
#include "rt/error.h"
#include "rt/object.h"

namespace engine {

enum ErrCode : int32_t {
  ErrSyntax = 1,          // a line that starts no known statement
  ErrExit = 2,            // Exit without a matching keyword
  ErrForSyntax = 3,
  ErrIfSyntax = 4,
  ErrDoSyntax = 5,
  ErrSelectSyntax = 6,
  ErrFunctionHeader = 7,  // malformed Sub or Function definition
  ErrUnclosed = 8,        // a block statement without its closing line
  ErrKeyword = 101,       // a keyword where an expression was expected
  ErrBracket = 102,       // unpaired bracket
  ErrQuote = 103,         // unpaired quotation mark
  ErrDefinedTwice = 201,
  ErrBadType = 202,
  ErrIllegalChar = 1001,
  ErrGrammar = 1002,
  ErrDirective = 1003,
  ErrNotSupported = 1004,
  ErrMissingArgument = 1005,
};

constexpr int32_t errNumber(int32_t code) {
  return static_cast<int32_t>(0x80040000u + static_cast<uint32_t>(code));
}

// The message of code n (string resource 10000 + n); raises 326 for a code
// without one.
std::u16string resText(int32_t code);

// "<library>.<where>", the qualified form of a source ("modGloble.ChrMap").
std::u16string qualifiedSource(std::u16string_view where);

// Records code n in `rec` without raising.
void setErrCode(jespin::IErrInfo& rec, int32_t code, std::u16string_view source);

// Raises code n with its message.
[[noreturn]] void raiseCode(int32_t code, std::u16string source);

// Raises what `rec` records (a value's failure, say) as it is.
[[noreturn]] void raiseRecorded(jespin::IErrInfo& rec);

// The error record an engine object owns: a Jespin ErrInfo owned by the
// library and the object's class.  It is created on first use, since most
// objects never fail and some (tree nodes) are many.
class ErrRecord {
 public:
  explicit ErrRecord(std::u16string_view module) : rec_(module) {}
  // A literal's length is known: holders made by the thousand (result
  // slots, tree nodes) need not count it.
  template <size_t N>
  explicit ErrRecord(const char16_t (&module)[N]) : rec_(std::u16string_view(module, N - 1)) {}

  jespin::IErrInfo& info() { return rec_.get(libraryName()); }
  bool haveErr() const { return rec_.haveErr(); }
  // Whether the record has been made (by a failure, or by asking for it).
  bool made() const { return rec_.made(); }
  void clear() { rec_.clear(); }
  // Lets go of the record, as a new object has none.
  void forget() { rec_.forget(); }
  void setCode(int32_t code, std::u16string_view source) { setErrCode(info(), code, source); }
  // Copies a trapped failure, `fnName` in front of its source.
  void trap(const rt::RuntimeError& e, std::u16string_view fnName);
  // Memory ran out (std::bad_alloc): error 7.
  void trapOutOfMemory(std::u16string_view fnName) {
    trap(rt::RuntimeError(rt::err::OutOfMemory), fnName);
  }
  // Copies another record as ReadSysErr does.
  void copy(jespin::IErrInfo& from, std::u16string_view fnName);
  void copy(ErrRecord& from, std::u16string_view fnName) { copy(from.info(), fnName); }
  // Raises what the record holds.
  [[noreturn]] void raise();

 private:
  jespin::LazyErrInfo rec_;
};

}  // namespace engine
