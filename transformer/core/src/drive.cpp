#include "marlox/drive.h"

#include <algorithm>
#include <stdexcept>

#include "marlox/escape.h"
#include "rt/text.h"

namespace marlox {

namespace {

enum class Arg { None, Text, Word, Number2, Number };

struct Verb {
  std::u16string_view name;
  Arg arg;
};

constexpr Verb kVerbs[] = {
    {u"open", Arg::Text},         {u"type", Arg::Text},          {u"select", Arg::Number2},
    {u"select-all", Arg::None},   {u"node", Arg::Text},          {u"action", Arg::Word},
    {u"answer", Arg::Text},       {u"expect-text", Arg::Text},   {u"expect-caption", Arg::Text},
    {u"expect-status", Arg::Text}, {u"screenshot", Arg::Text},   {u"wait", Arg::Number},
    {u"close", Arg::None},        {u"key", Arg::Word},
};

std::u16string unescape(std::u16string_view s) {
  std::u16string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != u'\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    char16_t c = s[++i];
    out += c == u'n' ? u'\n' : c == u't' ? u'\t' : c;
  }
  return out;
}

bool isNumber(std::u16string_view s) {
  return !s.empty() && s.size() <= 9 && std::all_of(s.begin(), s.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

bool argumentFits(Arg kind, std::u16string_view arg) {
  switch (kind) {
    case Arg::None: return arg.empty();
    case Arg::Text: return true;
    case Arg::Word: return !arg.empty() && arg.find(u' ') == std::u16string_view::npos;
    case Arg::Number: return isNumber(arg);
    case Arg::Number2: {
      size_t blank = arg.find(u' ');
      return blank != std::u16string_view::npos && isNumber(arg.substr(0, blank)) && isNumber(arg.substr(blank + 1));
    }
  }
  return false;
}

[[noreturn]] void badLine(int number, std::u16string_view text, const char* why) {
  throw std::runtime_error("drive line " + std::to_string(number) + ": " + rt::toUtf8(text) + ": " + why);
}

}  // namespace

std::vector<DriveLine> parseDrive(std::u16string_view file) {
  std::vector<DriveLine> lines;
  int number = 0;
  while (!file.empty() || number == 0) {
    ++number;
    size_t end = file.find(u'\n');
    std::u16string_view line = file.substr(0, end);
    file = end == std::u16string_view::npos ? std::u16string_view() : file.substr(end + 1);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    if (line.empty() || line.front() == u'#') continue;
    size_t blank = line.find(u' ');
    std::u16string_view verb = line.substr(0, blank);
    std::u16string_view arg = blank == std::u16string_view::npos ? std::u16string_view() : line.substr(blank + 1);
    auto known = std::find_if(std::begin(kVerbs), std::end(kVerbs), [&](const Verb& v) { return v.name == verb; });
    if (known == std::end(kVerbs)) badLine(number, line, "unknown action");
    if (!argumentFits(known->arg, arg)) badLine(number, line, "malformed argument");
    lines.push_back(DriveLine{number, std::u16string(verb),
                              known->arg == Arg::Text ? unescape(arg) : std::u16string(arg), std::u16string(line)});
  }
  return lines;
}

bool DriveAnswers::queue(std::u16string_view answer) {
  static constexpr std::pair<std::u16string_view, Kind> kPlain[] = {
      {u"yes", Kind::Yes}, {u"no", Kind::No}, {u"ok", Kind::Ok}, {u"cancel", Kind::Cancel}};
  for (const auto& [word, kind] : kPlain)
    if (answer == word) {
      answers_.push_back({kind, {}});
      return true;
    }
  if (answer.substr(0, 5) == u"text ") {
    answers_.push_back({Kind::Text, std::u16string(answer.substr(5))});
    return true;
  }
  if (answer.substr(0, 5) == u"file " && answer.size() > 5) {
    answers_.push_back({Kind::File, std::u16string(answer.substr(5))});
    return true;
  }
  return false;
}

DriveAnswers::Answer DriveAnswers::take(std::initializer_list<Kind> kinds, std::string_view question,
                                        std::u16string_view text) {
  if (!answers_.empty()) {
    Answer next = answers_.front();
    if (next.kind == Kind::Cancel || std::find(kinds.begin(), kinds.end(), next.kind) != kinds.end()) {
      answers_.pop_front();
      return next;
    }
  }
  if (failure_.empty())
    failure_ = std::string(answers_.empty() ? "no answer for the " : "the next answer does not fit the ") +
               std::string(question) + " \"" + rt::toUtf8(text) + "\"";
  return Answer{Kind::Cancel, {}};
}

int32_t DriveAnswers::messageBox(const std::u16string& prompt, int32_t style, const std::u16string&) {
  switch (take({Kind::Yes, Kind::No, Kind::Ok}, "message box", prompt).kind) {
    case Kind::Yes: return rt::mb::Yes;
    case Kind::No: return rt::mb::No;
    case Kind::Ok: return rt::mb::Ok;
    default: return escapeAnswer(style);
  }
}

std::u16string DriveAnswers::inputBox(const std::u16string& prompt, const std::u16string&, const std::u16string&) {
  return take({Kind::Text}, "input box", prompt).text;
}

std::u16string DriveAnswers::openFile(const std::u16string& fileName, const std::u16string&) {
  return take({Kind::File}, "open dialog", fileName).text;
}

std::u16string DriveAnswers::saveFile(const std::u16string& fileName, const std::u16string&) {
  return take({Kind::File}, "save dialog", fileName).text;
}

void DriveAnswers::aboutBox() { take({Kind::Ok}, "about box", u"关于"); }

}  // namespace marlox
