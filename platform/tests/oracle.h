// Reading the reference tables of the value rules (data/*.tsv).
//
// A value is written as its type name and its text ("Integer 32767",
// "String \"abc\"", "Date 36526", "Empty", "Null"); a result is such a value
// or "error N".  Operand dates are serials; result dates are text forms.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rt/variant.h"

namespace oracle {

struct Row {
  int line;
  std::vector<std::string> fields;  // operator or function, operands, result
};

// The rows of a table file (comments and blank lines skipped).
std::vector<Row> read(const std::string& name);

// An operand as a Variant.  Throws std::invalid_argument on a form it does
// not know.
rt::Variant operand(std::string_view typed);

// A value written the way the tables write results, with the text forms of
// the English (US) profile: "Double 0.3", "Date 1/1/2000", "String \"a\"".
std::string describe(const rt::Variant& v);

}  // namespace oracle
