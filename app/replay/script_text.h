// The text rules key scripts and replays share: lines, '#' comments,
// whitespace-separated fields, strict numbers and how a bad line is quoted
// back. Fields are read one at a time, so a huge line costs no memory of its own.
#pragma once
#include <string>
#include <string_view>

// The lines of a text, each without its comment. A NUL byte anywhere in a
// line is refused: the text after it would be hidden from whoever reads the
// error message.
class script_lines {
 public:
  explicit script_lines(std::string_view text) : text_(text) {}
  // False at the end of the text. `nul` is set when the line holds a NUL byte.
  bool next(std::string_view& line, bool& nul);
  int number() const { return number_; }  // of the line last given, from 1

 private:
  std::string_view text_;
  size_t at_ = 0;
  int number_ = 0;
};

class script_fields {
 public:
  explicit script_fields(std::string_view line) : rest_(line) {}
  bool next(std::string_view& field);  // false when no field is left
  bool at_end();

 private:
  std::string_view rest_;
};

// A decimal whole number in [lo, hi]: an optional '-' and digits, nothing
// else; one too large for any type is refused, not cut to the largest.
bool parse_script_number(std::string_view text, long long lo, long long hi, long long& out);

// `text` quoted for a message: at most 80 characters, anything but printable
// ASCII written as \xNN, "..." when cut.
std::string quoted_for_message(std::string_view text);
