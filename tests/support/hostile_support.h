// Helpers of the hostile-file tests: find the one log line that reports a bad
// value, naming the file, the key and the value.
#pragma once
#include <sstream>
#include <string>
#include <vector>

// The first line of `log` that holds `severity` ("ERROR:" or "WARNING:") and
// every one of `parts`; empty when there is none. The severity need not start
// the line: "Can't load animation from [%s]" has no line break of its own.
inline std::string report_line(const std::string& log, const std::string& severity,
                               const std::vector<std::string>& parts) {
  std::istringstream in(log);
  std::string line;
  while (std::getline(in, line)) {
    if (line.find(severity) == std::string::npos) continue;
    bool all = true;
    for (const std::string& p : parts) all = all && line.find(p) != std::string::npos;
    if (all) return line;
  }
  return "";
}
