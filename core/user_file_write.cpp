#include "core/user_file_write.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

void (*user_file_write_point)(int point) = nullptr;

namespace {

void reached(int point) {
  if (user_file_write_point) user_file_write_point(point);
}

std::string without_trailing_slashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string joined(const std::string& dir, const std::string& name) {
  return dir == "/" ? "/" + name : dir + "/" + name;
}

std::string real_or_empty(const std::string& path) {
  char* real = realpath(path.c_str(), nullptr);
  std::string out = real ? real : "";
  std::free(real);
  return out;
}

std::string numbered(const std::string& name, int n) {
  if (n == 1) return name;
  const size_t dot = name.rfind('.');
  const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  const std::string ext = stem.size() == name.size() ? "" : name.substr(dot);
  return stem + "-" + std::to_string(n) + ext;
}

bool write_all(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Gives the temporary file its name without replacing anything there:
// false with errno EEXIST when the name is taken.
bool link_without_replacing(int dir, const char* from, const char* to) {
  if (renameat2(dir, from, dir, to, RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without that kind of rename: a second link, then the first goes.
  if (linkat(dir, from, dir, to, 0) != 0) return false;
  unlinkat(dir, from, 0);
  return true;
}

// Writes the bytes into a new temporary file in `dir` and syncs them; its name in `temp`.
bool write_temporary(int dir, const std::string& name, const std::string& bytes, std::string& temp,
                     std::string& why) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = "." + name + ".part-" + std::to_string(getpid()) + "-" + std::to_string(attempt);
    const int fd = openat(dir, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) {
      why = std::strerror(errno);
      return false;
    }
    reached(1);
    const bool written = write_all(fd, bytes);
    if (written) reached(2);
    const bool ok = written && fsync(fd) == 0;
    if (ok) reached(3);
    const int saved = errno;
    if (close(fd) != 0 || !ok) {
      why = std::strerror(ok ? errno : saved);
      unlinkat(dir, temp.c_str(), 0);
      return false;
    }
    return true;
  }
  why = "no free temporary name";
  return false;
}

}  // namespace

std::string resolved_path(const std::string& path) {
  // The longest leading part that exists, resolved; the rest appended as written.
  std::string head = without_trailing_slashes(path.empty() ? "." : path);
  std::vector<std::string> rest;
  std::string real = real_or_empty(head);
  while (real.empty()) {
    const size_t slash = head.rfind('/');
    if (slash == std::string::npos) {
      rest.push_back(head);
      head = ".";
    } else {
      rest.push_back(head.substr(slash + 1));
      head = slash == 0 ? "/" : head.substr(0, slash);
    }
    real = real_or_empty(head);
    if (real.empty() && (head == "." || head == "/")) return "";
  }
  for (auto part = rest.rbegin(); part != rest.rend(); ++part) {
    if (part->empty() || *part == ".") continue;
    if (*part == "..") {
      const size_t slash = real.rfind('/');
      real = slash == 0 ? "/" : real.substr(0, slash);
    } else {
      real = joined(real, *part);
    }
  }
  return real;
}

bool path_inside(const std::string& path, const std::string& dir) {
  if (dir.empty() || path.empty()) return false;
  if (dir == "/") return true;
  return path == dir || path.compare(0, dir.size() + 1, dir + "/") == 0;
}

bool write_user_file(const user_file_target& target, const std::string& bytes, std::string& written,
                     std::string& error) {
  const std::string dir = without_trailing_slashes(target.dir);
  const std::string real_dir = resolved_path(dir);
  if (real_dir.empty()) {
    error = dir + ": can't be resolved";
    return false;
  }
  if (!target.keep_out_of.empty()) {
    const std::string forbidden = real_or_empty(target.keep_out_of);
    if (forbidden.empty() || path_inside(real_dir, forbidden)) {
      error = dir + ": inside the data directory" + (real_dir != dir ? " (it is " + real_dir + ")" : "");
      return false;
    }
  }
  if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
    error = dir + ": " + std::strerror(errno);
    return false;
  }
  // The folder itself must not be a link (one planted there could lead
  // anywhere), and must still be the one checked above.
  const int d = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (d < 0) {
    error = dir + ": " + (errno == ELOOP || errno == ENOTDIR ? std::string("not a folder (a symbolic link or a file)")
                                                             : std::strerror(errno));
    return false;
  }
  struct stat opened, checked;
  if (fstat(d, &opened) != 0 || stat(real_dir.c_str(), &checked) != 0 || opened.st_dev != checked.st_dev ||
      opened.st_ino != checked.st_ino) {
    error = dir + ": replaced while it was opened";
    close(d);
    return false;
  }
  std::string temp, why;
  if (!write_temporary(d, target.name, bytes, temp, why)) {
    error = joined(dir, target.name) + ": " + why;
    close(d);
    return false;
  }
  bool named = false;
  std::string name = target.name;
  if (target.replace) {
    struct stat there;
    if (fstatat(d, name.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(there.st_mode)) {
      why = "there is something there that is not a regular file";
    } else {
      named = renameat(d, temp.c_str(), d, name.c_str()) == 0;
      if (!named) why = std::strerror(errno);
    }
  } else {
    for (int n = 1; n <= 1000 && !named; ++n) {
      name = numbered(target.name, n);
      named = link_without_replacing(d, temp.c_str(), name.c_str());
      if (!named && errno != EEXIST) {
        why = std::strerror(errno);
        break;
      }
      if (!named) why = "every name is taken";
    }
  }
  if (!named) {
    unlinkat(d, temp.c_str(), 0);
    close(d);
    error = joined(dir, name) + ": " + why;
    return false;
  }
  reached(4);
  fsync(d);  // the new name reaches the disk too
  close(d);
  written = joined(dir, name);
  return true;
}
