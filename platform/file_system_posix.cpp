// POSIX file system with the game's Windows path conventions emulated: '\'
// separates folders, names match whatever their letter case, and "C:\..."
// lies in the Wine prefix (where Windows programs of the game live on Linux).
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/letter_case.h"
#include "platform/file_system.h"

namespace tolvenek {

namespace {

FsError FromErrno(int error) {
  switch (error) {
    case ENOENT:
      return FsError::kNotFound;
    case ENOTDIR:
      return FsError::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
      return FsError::kAccessDenied;
    case EISDIR:
      return FsError::kIsFolder;
    case ENOSPC:
    case EDQUOT:
      return FsError::kNoSpace;
    case EFBIG:
      return FsError::kTooLarge;
    default:
      return FsError::kIo;
  }
}

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

bool SameIgnoringCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return i == a.size() && !b[i];
}

// The entry of `folder` that matches `name` whatever its case (the smallest
// one when several do, so the choice never depends on the listing order), or
// `name` itself when none does.
std::string MatchInFolder(const std::string& folder, const std::string& name) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return name;
  std::string best;
  while (const dirent* entry = readdir(dir)) {
    if (SameIgnoringCase(name, entry->d_name) && (best.empty() || best > entry->d_name)) {
      best = entry->d_name;
    }
  }
  closedir(dir);
  return best.empty() ? name : best;
}

std::string WinePrefix() {
  if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/.wine";
}

// The POSIX path for one of ours.
std::string NativePath(const std::string& path) {
  std::string rest = path;
  std::string resolved;
  if (rest.size() >= 3 && rest[1] == ':' && (rest[2] == '\\' || rest[2] == '/')) {
    const std::string drive = std::string(1, AsciiLower(rest[0])) + ":";
    resolved = WinePrefix() + "/dosdevices/" + drive;
    if (drive == "c:" && !Exists(resolved)) resolved = WinePrefix() + "/drive_c";
    rest = rest.substr(3);
  } else if (!rest.empty() && (rest[0] == '/' || rest[0] == '\\')) {
    resolved = "/";
  }
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find_first_of("\\/", start);
    if (end == std::string::npos) end = rest.size();
    const std::string part = rest.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    std::string candidate = resolved;
    if (!candidate.empty() && candidate.back() != '/') candidate += '/';
    if (part != "." && part != ".." && !Exists(candidate + part)) {
      candidate += MatchInFolder(resolved, part);
    } else {
      candidate += part;
    }
    resolved = candidate;
  }
  return resolved.empty() ? "." : resolved;
}

class PosixReadableFile : public ReadableFile {
 public:
  PosixReadableFile(int fd, uint64_t size) : fd_(fd), size_(size) {}
  ~PosixReadableFile() override { close(fd_); }
  uint64_t Size() const override { return size_; }
  FsError ReadAt(uint64_t offset, size_t count, char* out, size_t* got) override {
    *got = 0;
    while (*got < count) {
      const ssize_t n = pread(fd_, out + *got, count - *got, off_t(offset + *got));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return FromErrno(errno);
      if (n == 0) break;
      *got += size_t(n);
    }
    return FsError::kOk;
  }

 private:
  int fd_;
  uint64_t size_;
};

class PosixWritableFile : public WritableFile {
 public:
  explicit PosixWritableFile(int fd) : fd_(fd) {}
  ~PosixWritableFile() override { Close(); }
  FsError Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const ssize_t n = write(fd_, bytes.data(), bytes.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return FromErrno(errno);
      bytes.remove_prefix(size_t(n));
    }
    return FsError::kOk;
  }
  FsError Sync() override { return fsync(fd_) == 0 ? FsError::kOk : FromErrno(errno); }
  FsError Close() override {
    if (fd_ < 0) return FsError::kOk;
    const int result = close(fd_);
    fd_ = -1;
    return result == 0 ? FsError::kOk : FromErrno(errno);
  }

 private:
  int fd_;
};

// A missing file whose folder is missing too is a missing path, as on Windows.
FsError MissingKind(const std::string& native) {
  const size_t slash = native.rfind('/');
  const std::string parent = slash == std::string::npos ? "." : native.substr(0, slash + 1);
  struct stat info;
  return stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? FsError::kNotFound
                                                                   : FsError::kPathNotFound;
}

FsError Failure(const std::string& native, int error) {
  return error == ENOENT ? MissingKind(native) : FromErrno(error);
}

class PosixFileSystem : public FileSystem {
 public:
  std::unique_ptr<ReadableFile> OpenForReading(const std::string& path, FsError* error) override {
    const std::string native = NativePath(path);
    const int fd = open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      *error = Failure(native, errno);
      return nullptr;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
      *error = S_ISDIR(info.st_mode) ? FsError::kIsFolder : FromErrno(errno);
      close(fd);
      return nullptr;
    }
    return std::make_unique<PosixReadableFile>(fd, uint64_t(info.st_size));
  }

  FsError ProbeWritable(const std::string& path, bool* created) override {
    const std::string native = NativePath(path);
    *created = false;
    int fd = open(native.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
      fd = open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      *created = fd >= 0;
    }
    if (fd < 0) return Failure(native, errno);
    close(fd);
    return FsError::kOk;
  }

  std::unique_ptr<WritableFile> CreateForWriting(const std::string& path, FsError* error) override {
    const std::string native = NativePath(path);
    // A link standing at the name is replaced, never written through, so the
    // bytes land in this folder and not wherever a stale link points.
    int fd = open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno == ELOOP && unlink(native.c_str()) == 0) {
      fd = open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    }
    if (fd < 0) {
      *error = Failure(native, errno);
      return nullptr;
    }
    return std::make_unique<PosixWritableFile>(fd);
  }

  FsError MoveFileOver(const std::string& from, const std::string& to) override {
    const std::string native_to = NativePath(to);
    if (rename(NativePath(from).c_str(), native_to.c_str()) != 0) return FromErrno(errno);
    // Make the new name itself durable, not only the bytes behind it.
    const size_t slash = native_to.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : native_to.substr(0, slash + 1);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
      fsync(fd);
      close(fd);
    }
    return FsError::kOk;
  }

  FsError RemoveFile(const std::string& path) override {
    const std::string native = NativePath(path);
    return unlink(native.c_str()) == 0 ? FsError::kOk : Failure(native, errno);
  }

  FsError ListFolder(const std::string& folder, std::vector<FolderEntry>* entries) override {
    const std::string native = NativePath(folder);
    DIR* dir = opendir(native.c_str());
    if (!dir)
      return errno == ENOENT || errno == ENOTDIR ? FsError::kPathNotFound : FromErrno(errno);
    FsError result = FsError::kOk;
    while (true) {
      errno = 0;
      const dirent* entry = readdir(dir);
      if (!entry) {
        if (errno != 0) result = FromErrno(errno);
        break;
      }
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      struct stat info;
      const bool is_folder =
          stat((native + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
      entries->push_back({name, is_folder});
    }
    closedir(dir);
    return result;
  }

  bool IsFolder(const std::string& path) override {
    struct stat info;
    return stat(NativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  bool SetCurrentFolder(const std::string& path) override {
    return !path.empty() && chdir(NativePath(path).c_str()) == 0;
  }

  std::string DisplayPath(const std::string& path) override { return NativePath(path); }

  std::string CurrentFolder() override {
    std::vector<char> buffer(4096);
    while (!getcwd(buffer.data(), buffer.size())) {
      if (errno != ERANGE) return ".";
      buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
  }
};

}  // namespace

FileSystem& SystemFileSystem() {
  static PosixFileSystem file_system;
  return file_system;
}

}  // namespace tolvenek
