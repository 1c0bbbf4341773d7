#include "rt/object.h"

#include <cstdio>

namespace rt {

std::string Guid::toString() const {
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%04X-%012llX}", static_cast<unsigned>(hi >> 32),
                static_cast<unsigned>((hi >> 16) & 0xffff), static_cast<unsigned>(hi & 0xffff),
                static_cast<unsigned>(lo >> 48),
                static_cast<unsigned long long>(lo & 0xffffffffffffull));
  return buf;
}

bool Guid::parse(std::string_view text, Guid& out) {
  if (text.size() == 38 && text.front() == '{' && text.back() == '}')
    text = text.substr(1, 36);
  if (text.size() != 36) return false;
  uint64_t parts[2] = {0, 0};
  int nibbles = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (c != '-') return false;
      continue;
    }
    int v;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    else return false;
    uint64_t& p = parts[nibbles / 16];
    p = (p << 4) | static_cast<uint64_t>(v);
    ++nibbles;
  }
  out = Guid{parts[0], parts[1]};
  return true;
}

}  // namespace rt
