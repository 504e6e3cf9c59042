#include "app/replay/script_text.h"

#include <cstdio>

namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

bool script_lines::next(std::string_view& line, bool& nul) {
  if (at_ >= text_.size()) return false;
  size_t end = text_.find('\n', at_);
  if (end == std::string_view::npos) end = text_.size();
  line = text_.substr(at_, end - at_);
  at_ = end + 1;
  ++number_;
  nul = line.find('\0') != std::string_view::npos;
  const size_t hash = line.find('#');
  if (hash != std::string_view::npos) line = line.substr(0, hash);
  return true;
}

bool script_fields::next(std::string_view& field) {
  size_t start = 0;
  while (start < rest_.size() && is_space(rest_[start])) ++start;
  size_t end = start;
  while (end < rest_.size() && !is_space(rest_[end])) ++end;
  field = rest_.substr(start, end - start);
  rest_ = rest_.substr(end);
  return !field.empty();
}

bool script_fields::at_end() {
  size_t start = 0;
  while (start < rest_.size() && is_space(rest_[start])) ++start;
  rest_ = rest_.substr(start);
  return rest_.empty();
}

bool parse_script_number(std::string_view text, long long lo, long long hi, long long& out) {
  const bool negative = !text.empty() && text[0] == '-';
  std::string_view digits = negative ? text.substr(1) : text;
  if (digits.empty() || digits.size() > 18) return false;  // 18 digits always fit
  long long v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (negative) v = -v;
  if (v < lo || v > hi) return false;
  out = v;
  return true;
}

std::string quoted_for_message(std::string_view text) {
  constexpr size_t shown = 80;
  std::string out = "'";
  for (size_t i = 0; i < text.size() && i < shown; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7f && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      out += escaped;
    }
  }
  out += "'";
  if (text.size() > shown) out += "... (" + std::to_string(text.size()) + " characters)";
  return out;
}
