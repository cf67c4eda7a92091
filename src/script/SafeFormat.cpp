#include "script/SafeFormat.h"

#include <algorithm>
#include <optional>

namespace setup {
namespace {

// Appends up to the limit and silently drops the rest.
class BoundedText {
 public:
  explicit BoundedText(std::size_t limit) : limit_(limit) {}

  bool full() const { return text_.size() >= limit_; }
  void Append(std::string_view part) { text_.append(part.substr(0, limit_ - text_.size())); }
  void Repeat(char c, std::size_t count) {
    text_.append(std::min(count, limit_ - text_.size()), c);
  }
  std::string Take() { return std::move(text_); }

 private:
  std::size_t limit_;
  std::string text_;
};

struct Conversion {
  bool left = false, zero = false, plus = false, space = false, alternate = false;
  std::size_t width = 0;
  std::optional<std::size_t> precision;
  bool isLong = false;
  char type = 0;
};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Widths and precisions beyond the output limit change nothing, so they saturate there and
// a hostile "%99999s" costs no more than "%259s".
std::size_t ReadCount(std::string_view format, std::size_t& i, std::size_t cap) {
  std::size_t count = 0;
  for (; i < format.size() && IsDigit(format[i]); ++i)
    count = std::min(cap, count * 10 + static_cast<std::size_t>(format[i] - '0'));
  return count;
}

// Parses the directive after a '%'; nullopt for anything the program never supplies
// arguments for (%n, %ls, %*d, %p, ...), which is then copied as plain text.
std::optional<Conversion> ParseConversion(std::string_view format, std::size_t& i,
                                          std::size_t cap) {
  Conversion c;
  for (; i < format.size(); ++i) {
    const char flag = format[i];
    if (flag == '-')
      c.left = true;
    else if (flag == '0')
      c.zero = true;
    else if (flag == '+')
      c.plus = true;
    else if (flag == ' ')
      c.space = true;
    else if (flag == '#')
      c.alternate = true;
    else
      break;
  }
  c.width = ReadCount(format, i, cap);
  if (i < format.size() && format[i] == '.') c.precision = ReadCount(format, ++i, cap);
  if (i < format.size() && format[i] == 'l') {
    c.isLong = true;
    ++i;
  }
  if (i >= format.size()) return std::nullopt;
  c.type = format[i++];
  switch (c.type) {
    case 's':
      return c.isLong ? std::nullopt : std::optional(c);
    case 'c':
      return c.isLong || c.precision ? std::nullopt : std::optional(c);
    case 'd':
    case 'u':
    case 'x':
    case 'X':
      return c.precision ? std::nullopt : std::optional(c);
    default:
      return std::nullopt;
  }
}

void Justify(BoundedText& out, const Conversion& c, std::string_view prefix,
             std::string_view body) {
  const std::size_t length = prefix.size() + body.size();
  const std::size_t pad = c.width > length ? c.width - length : 0;
  if (c.left) {
    out.Append(prefix);
    out.Append(body);
    out.Repeat(' ', pad);
  } else if (c.zero && c.type != 's' && c.type != 'c') {
    out.Append(prefix);
    out.Repeat('0', pad);
    out.Append(body);
  } else {
    out.Repeat(' ', pad);
    out.Append(prefix);
    out.Append(body);
  }
}

std::string Digits(std::uint32_t value, unsigned base, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), digits[value % base]);
    value /= base;
  } while (value != 0);
  return text;
}

// Numbers are taken as the 32-bit values printf would see, whichever signedness was passed.
void FormatNumber(BoundedText& out, const Conversion& c, std::int64_t number) {
  const auto bits = static_cast<std::uint32_t>(number);
  switch (c.type) {
    case 'd': {
      const bool negative = static_cast<std::int32_t>(bits) < 0;
      const char* sign = negative ? "-" : c.plus ? "+" : c.space ? " " : "";
      Justify(out, c, sign, Digits(negative ? 0u - bits : bits, 10, false));
      break;
    }
    case 'u':
      Justify(out, c, "", Digits(bits, 10, false));
      break;
    case 'c': {
      const char byte = static_cast<char>(bits);
      Justify(out, c, "", std::string_view(&byte, 1));
      break;
    }
    default: {
      const bool upper = c.type == 'X';
      const char* prefix = c.alternate && bits != 0 ? (upper ? "0X" : "0x") : "";
      Justify(out, c, prefix, Digits(bits, 16, upper));
      break;
    }
  }
}

}  // namespace

// An argument of the wrong kind is used up all the same, so the conversions after it keep
// their own arguments, as with printf.
std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args,
                       std::size_t limit) {
  BoundedText out(limit);
  const FormatArg* next = args.begin();
  std::size_t i = 0;
  while (i < format.size() && !out.full()) {
    if (format[i] != '%') {
      out.Append(format.substr(i++, 1));
      continue;
    }
    const std::size_t start = i++;
    if (i < format.size() && format[i] == '%') {
      out.Append("%");
      ++i;
      continue;
    }
    const std::optional<Conversion> c = ParseConversion(format, i, limit);
    if (!c) {
      out.Append(format.substr(start, i - start));
      continue;
    }
    if (next == args.end()) continue;
    const FormatArg& arg = *next++;
    const bool wantsText = c->type == 's';
    if (wantsText != (arg.kind() == FormatArg::Kind::Text)) continue;
    if (wantsText)
      Justify(out, *c, "", arg.text().substr(0, c->precision.value_or(arg.text().size())));
    else
      FormatNumber(out, *c, arg.number());
  }
  return out.Take();
}

}  // namespace setup
