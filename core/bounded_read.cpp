#include "core/bounded_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/file_type.h"

namespace {

std::string too_big(long long size, long long max_bytes) {
  return std::to_string(size) + " bytes, more than the " + std::to_string(max_bytes) + " allowed";
}

}  // namespace

bool read_bounded_file(const std::string& path, long long max_bytes, std::string& text, std::string& error) {
  text.clear();
  // Checked before opening: opening a FIFO would wait for a writer.
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    error = std::strerror(errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    error = std::string("not a regular file (") + file_type_name(info.st_mode) + ")";
    return false;
  }
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  // The file opened may not be the one looked at (replaced in between).
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = "not a regular file (replaced while it was opened)";
    close(fd);
    return false;
  }
  const long long size = static_cast<long long>(info.st_size);
  if (size > max_bytes) {
    error = too_big(size, max_bytes);
    close(fd);
    return false;
  }
  text.resize(static_cast<size_t>(size));
  size_t got = 0;
  char extra = 0;
  bool ok = true;
  for (;;) {
    // Past the size fstat gave, one byte more says the file grew.
    char* into = got < text.size() ? &text[got] : &extra;
    const size_t want = got < text.size() ? text.size() - got : 1;
    const ssize_t n = read(fd, into, want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = std::strerror(errno);
      ok = false;
      break;
    }
    if (n == 0) break;
    if (got >= text.size()) {
      error = "its size changed while it was read";
      ok = false;
      break;
    }
    got += static_cast<size_t>(n);
  }
  close(fd);
  if (ok && got != text.size()) {
    error = "its size changed while it was read";
    ok = false;
  }
  if (!ok) text.clear();
  return ok;
}
