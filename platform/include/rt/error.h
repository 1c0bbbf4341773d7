// The runtime error: the one exception type of the system.
//
// It carries what the language runtime's error object carries (number, source,
// description), so a trapped failure can be copied into an error record as is.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "rt/api.h"

namespace rt {

// Runtime error numbers used across the libraries.
namespace err {
constexpr int32_t InvalidCall = 5;          // invalid procedure call or argument
constexpr int32_t Overflow = 6;
constexpr int32_t OutOfMemory = 7;
constexpr int32_t SubscriptOutOfRange = 9;
constexpr int32_t DivisionByZero = 11;
constexpr int32_t TypeMismatch = 13;
constexpr int32_t OutOfStringSpace = 14;
constexpr int32_t ExpressionTooComplex = 16;
constexpr int32_t OutOfStackSpace = 28;
constexpr int32_t DllLoad = 48;
constexpr int32_t Internal = 51;
constexpr int32_t BadFileName = 52;
constexpr int32_t FileNotFound = 53;
constexpr int32_t BadFileMode = 54;
constexpr int32_t FileAlreadyOpen = 55;
constexpr int32_t DeviceIO = 57;
constexpr int32_t FileExists = 58;
constexpr int32_t DiskFull = 61;
constexpr int32_t PastEndOfFile = 62;
constexpr int32_t PermissionDenied = 70;
constexpr int32_t PathFileAccess = 75;
constexpr int32_t PathNotFound = 76;
constexpr int32_t ObjectNotSet = 91;        // object variable or With block variable not set
constexpr int32_t InvalidPattern = 93;
constexpr int32_t InvalidUseOfNull = 94;
constexpr int32_t ResourceNotFound = 326;
constexpr int32_t ObjectRequired = 424;
constexpr int32_t CannotCreateObject = 429;
constexpr int32_t NoAutomation = 430;       // class does not support the expected interface
constexpr int32_t AutomationError = 440;
constexpr int32_t NotSupported = 438;       // object does not support this property or method
constexpr int32_t ArgumentNotOptional = 449;
constexpr int32_t WrongArgumentCount = 450; // wrong number of arguments or invalid property assignment
constexpr int32_t KeyExists = 457;          // key already associated with an element of the collection
}  // namespace err

class RT_API RuntimeError : public std::exception {
 public:
  // An empty description takes the standard text of the number.
  explicit RuntimeError(int32_t number, std::u16string description = {},
                        std::u16string source = {});
  ~RuntimeError() override;

  int32_t number() const noexcept { return number_; }
  const std::u16string& source() const noexcept { return source_; }
  const std::u16string& description() const noexcept { return description_; }
  void setSource(std::u16string s) { source_ = std::move(s); }

  // The description in UTF-8, for logs and test output.
  const char* what() const noexcept override;

 private:
  int32_t number_;
  std::u16string description_;
  std::u16string source_;
  std::string what_;
};

// The standard (Chinese) text of a runtime error number; numbers without a
// text of their own answer with the text of application-defined errors.
RT_API std::u16string errorText(int32_t number);

// Raises error `number` with its standard text, or with `detail` appended to it
// after a colon (for failures whose cause the user must see, such as the name
// of a class that could not be created).
[[noreturn]] RT_API void raise(int32_t number);
[[noreturn]] RT_API void raise(int32_t number, std::u16string_view detail);
// Raises with exactly this description and source.
[[noreturn]] RT_API void raiseWith(int32_t number, std::u16string description,
                                   std::u16string source);

}  // namespace rt
