#include "core/resources.h"

#include <array>
#include <cstdint>
#include <iterator>

#include "core/catalogue.h"
#include "core/libname.h"

namespace engine {

namespace {

// The character class of each ANSI code 0 to 127: the class in the top byte,
// and for an operator character its whole operator code.
constexpr uint32_t chrClassEntry(int c) {
  if (c == 0 || c == 9 || c == 10 || c == 13 || c == 32) return 0x00000000;  // blank
  if (c >= '0' && c <= '9') return 0x0A000000;
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '$' || c == '@' || c == '_')
    return 0x0B000000;
  switch (c) {
    case '"': return 0x0C000000;
    case '#': return 0x0D000000;
    case '!': return 0x02160101;  // Not
    case '%': return 0x02340004;  // mod
    case '&': return 0x02320001;
    case '(': return 0x02000001;
    case ')': return 0x02500001;
    case '*': return 0x02360006;
    case '+': return 0x02330002;
    case ',': return 0x02030004;
    case '-': return 0x02330003;
    case '.': return 0x02410001;
    case '/': return 0x02360007;
    case ':': return 0x02000009;
    case ';': return 0x02000009;
    case '<': return 0x02200001;
    case '=': return 0x02FF0001;
    case '>': return 0x02200003;
    case '[': return 0x02000002;
    case '\\': return 0x02350005;
    case ']': return 0x02500002;
    case '^': return 0x02380008;
    case '{': return 0x02000003;
    case '|': return 0x02000000;
    case '}': return 0x02500003;
    case '~': return 0x02000000;
    default: return 0xFF000000;  // not allowed in script text
  }
}

// 512 bytes: entry i little-endian in bytes 4i to 4i+3.
constexpr std::array<uint8_t, 512> chrClassBytes() {
  std::array<uint8_t, 512> b{};
  for (int c = 0; c < 128; ++c)
    for (int k = 0; k < 4; ++k) b[4 * c + k] = static_cast<uint8_t>(chrClassEntry(c) >> (8 * k));
  return b;
}

constexpr std::array<uint8_t, 512> kChrClass = chrClassBytes();

// The type map of Dim: type name "=" the ProgID of its value class, up to
// the end mark.  Sorted by id, all below the catalogue's.
constexpr rt::StringResource kTypeMap[] = {
    {1, u"Boolean=Fennick.SvBoolean"},
    {2, u"String=Fennick.SvString"},
    {3, u"Long=Fennick.SvLong"},
    {4, u"Date=Fennick.SvDate"},
    {5, u"Double=Fennick.SvDouble"},
    {6, u"Integer=Fennick.SvInteger"},
    {7, u"Variant=Fennick.SvVariant"},
    {8, u"Collection=Fennick.SvCollection"},
    {9, u"Object=Fennick.SvObject"},
    {10, u"--End--"},
};

// Sorted by id, all above the catalogue's.
constexpr rt::StringResource kOwnStrings[] = {
    // Keywords and multi-character operators: the text, a blank, the code.
    {2001, u"mod &H02340004"},
    {2002, u"++ &H02390109"},
    {2003, u"-- &H023901A0"},
    {2004, u"<= &H02200002"},
    {2005, u">= &H02200004"},
    {2006, u"== &H02200005"},
    {2007, u"<> &H02200006"},
    {2008, u"!= &H02200006"},
    {2009, u"Link &H02200007"},
    {2010, u"Is &H02200008"},
    {2011, u"Not &H02160101"},
    {2012, u"&& &H02150002"},
    {2013, u"And &H02150002"},
    {2014, u"|| &H02140003"},
    {2015, u"Or &H02140003"},
    {2016, u"Xor &H02130004"},
    {2017, u"Eqv &H02120005"},
    {2018, u"Imp &H02110006"},
    {2019, u"Do &H01000100"},
    {2020, u"While &H01000101"},
    {2021, u"Until &H01000102"},
    {2022, u"Loop &H01800100"},
    {2023, u"For &H01000200"},
    {2024, u"To &H01000201"},
    {2025, u"Step &H01000202"},
    {2026, u"Each &H01000203"},
    {2027, u"Next &H01800200"},
    {2028, u"If &H01000300"},
    {2029, u"Then &H01000301"},
    {2030, u"Else &H01000302"},
    {2031, u"Select &H01000400"},
    {2032, u"Case &H01000401"},
    {2033, u"With &H01000500"},
    {2034, u"Function &H01001100"},
    {2035, u"Sub &H01001200"},
    {2036, u"Goto &H01010100"},
    {2037, u"Exit &H01010200"},
    {2038, u"Return &H01010300"},
    {2039, u"Call &H01010400"},
    {2040, u"Public &H01000001"},
    {2041, u"Private &H01000002"},
    {2042, u"Friend &H01000003"},
    {2043, u"Static &H01000004"},
    {2044, u":= &H02010002"},
    {2045, u"End &H01800000"},
    {2046, u"EndIf &H01800300"},
    {2047, u"EndSelect &H01800400"},
    {2048, u"EndWith &H01800500"},
    {2049, u"EndFunction &H01801100"},
    {2050, u"EndSub &H01801200"},
    {2051, u"ElseIf &H01000303"},
    {2052, u"Set &H01000005"},
    {2053, u"+= &H02010005"},
    {2054, u"-= &H02010006"},
    {2055, u".= &H02010007"},
    {2056, u"Dim &H01000006"},
    {2057, u"As &H01000007"},
    {2058, u"ForEach &H01000600"},
    {2059, u"In &H01000601"},
    {2060, u"---End---"},

    // Messages of the engine's error codes.
    {10001, u"脚本语法错误"},
    {10002, u"脚本语法错误：Exit 没有对应的关键字"},
    {10003, u"脚本语法错误：For 语句格式不正确"},
    {10004, u"脚本语法错误：IF 语句格式不正确"},
    {10005, u"脚本语法错误：Do 语句格式不正确"},
    {10006, u"脚本语法错误：Select 语句格式不正确"},
    {10007, u"脚本语法错误：函数定义语句格式不正确"},
    {10008, u"脚本语法错误：语句块没有结束"},
    {10101, u"脚本语法错误：错误地使用了关键字"},
    {10102, u"脚本语法错误：不成对的括号"},
    {10103, u"脚本语法错误：不成对的引号"},
    {10201, u"变量定义错误：重复定义"},
    {10202, u"变量定义错误：非法的变量类型"},
    {11001, u"非法字符。"},
    {11002, u"一般性文法错误。"},
    {11003, u"非法的预处理命令。"},
    {11004, u"非法调用，使用了对象不支持属性或方法。"},
    {11005, u"缺少必要的参数。"},
};

// The type map, the catalogue and the strings above, as one table.
constexpr auto joinStrings() {
  std::array<rt::StringResource, std::size(kTypeMap) + std::size(kCatalogue) + std::size(kOwnStrings)>
      all{};
  size_t n = 0;
  for (const rt::StringResource& r : kTypeMap) all[n++] = r;
  for (const rt::StringResource& r : kCatalogue) all[n++] = r;
  for (const rt::StringResource& r : kOwnStrings) all[n++] = r;
  return all;
}

constexpr auto kStrings = joinStrings();

constexpr bool sortedById() {
  for (size_t i = 1; i < std::size(kStrings); ++i)
    if (kStrings[i - 1].id >= kStrings[i].id) return false;
  return true;
}
static_assert(sortedById(), "the string table is searched by id and must stay sorted");

constexpr rt::DataResource kData[] = {
    {u"CUSTOM", 101, kChrClass},
};

}  // namespace

const rt::Resources& engineResources() {
  static const rt::Resources resources(libraryName(), kStrings, kData);
  return resources;
}

}  // namespace engine
