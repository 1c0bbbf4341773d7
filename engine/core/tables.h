// The two tables that give tokens their codes, filled once from the
// library's resources before any engine object uses them: the character
// class of each ASCII code, and the keyword table (keywords and operators of
// more than one character, looked up without regard to case).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// Character classes: the top byte of a class entry.
enum CharClass : int {
  CharBlank = 0x00,
  CharOperator = 0x02,  // the whole entry is then the operator's code
  CharDigit = 0x0A,
  CharLetter = 0x0B,
  CharQuote = 0x0C,
  CharDate = 0x0D,
  CharNotAllowed = 0xFF,
};

// Fills both tables if that has not happened yet (the library's start-up).
void loadTables();

// The class entry of a character; error 1001 for a character outside ASCII.
int32_t chrMap(char16_t ch);
// The class entry of the first character of `ch`.
int32_t chrMap(std::u16string_view ch);

// The code of a keyword or multi-character operator, case ignored.
std::optional<int32_t> keywordCode(std::u16string_view text);

// The text of a keyword or operator code: the first character whose class
// entry is the code, else the last keyword with that code, else "".
std::u16string codeToText(int32_t code);

}  // namespace engine
