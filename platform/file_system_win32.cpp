// The file seam over the Win32 A-functions. Windows itself gives the game's
// path conventions: '\' and '/', names matched whatever their letter case,
// relative paths against the process's current directory.
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/win32_headers.h"

namespace tolvenek {

namespace {

// The one mapping of Win32 error codes to ours.
FsError FromWin32Error(DWORD error) {
  switch (error) {
    case ERROR_SUCCESS:
      return FsError::kOk;
    case ERROR_FILE_NOT_FOUND:
      return FsError::kNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
    case ERROR_BAD_NETPATH:
      return FsError::kPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return FsError::kAccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FsError::kNoSpace;
    case ERROR_FILE_TOO_LARGE:
      return FsError::kTooLarge;
    default:
      return FsError::kIo;
  }
}

FsError LastError() { return FromWin32Error(GetLastError()); }

bool IsFolderPath(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class Win32ReadableFile : public ReadableFile {
 public:
  Win32ReadableFile(HANDLE handle, uint64_t size) : handle_(handle), size_(size) {}
  ~Win32ReadableFile() override { CloseHandle(handle_); }
  uint64_t Size() const override { return size_; }
  FsError ReadAt(uint64_t offset, size_t count, char* out, size_t* got) override {
    *got = 0;
    while (*got < count) {
      OVERLAPPED at = {};
      const uint64_t position = offset + *got;
      at.Offset = DWORD(position & 0xFFFFFFFFu);
      at.OffsetHigh = DWORD(position >> 32);
      const size_t left = count - *got;
      const DWORD ask = left > 0x40000000u ? 0x40000000u : DWORD(left);
      DWORD read = 0;
      if (!ReadFile(handle_, out + *got, ask, &read, &at)) {
        const DWORD error = GetLastError();
        if (error == ERROR_HANDLE_EOF) break;
        return FromWin32Error(error);
      }
      if (read == 0) break;
      *got += read;
    }
    return FsError::kOk;
  }

 private:
  HANDLE handle_;
  uint64_t size_;
};

class Win32WritableFile : public WritableFile {
 public:
  explicit Win32WritableFile(HANDLE handle) : handle_(handle) {}
  ~Win32WritableFile() override { Close(); }
  FsError Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const DWORD ask = bytes.size() > 0x40000000u ? 0x40000000u : DWORD(bytes.size());
      DWORD written = 0;
      if (!WriteFile(handle_, bytes.data(), ask, &written, nullptr)) return LastError();
      if (written == 0) return FsError::kIo;
      bytes.remove_prefix(written);
    }
    return FsError::kOk;
  }
  FsError Sync() override { return FlushFileBuffers(handle_) ? FsError::kOk : LastError(); }
  FsError Close() override {
    if (handle_ == INVALID_HANDLE_VALUE) return FsError::kOk;
    const BOOL closed = CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed ? FsError::kOk : LastError();
  }

 private:
  HANDLE handle_;
};

class Win32FileSystem : public FileSystem {
 public:
  std::unique_ptr<ReadableFile> OpenForReading(const std::string& path, FsError* error) override {
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD code = GetLastError();
      *error = IsFolderPath(path) ? FsError::kIsFolder : FromWin32Error(code);
      return nullptr;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle, &size)) {
      *error = LastError();
      CloseHandle(handle);
      return nullptr;
    }
    return std::make_unique<Win32ReadableFile>(handle, uint64_t(size.QuadPart));
  }

  FsError ProbeWritable(const std::string& path, bool* created) override {
    *created = false;
    // Appending access opens an existing file without touching its bytes.
    HANDLE handle = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND) {
      handle = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
      *created = handle != INVALID_HANDLE_VALUE;
    }
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD code = GetLastError();
      return IsFolderPath(path) ? FsError::kIsFolder : FromWin32Error(code);
    }
    CloseHandle(handle);
    return FsError::kOk;
  }

  std::unique_ptr<WritableFile> CreateForWriting(const std::string& path, FsError* error) override {
    // A link standing at the name is removed, never written through, so the
    // bytes land in this folder and not wherever the link points.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      DeleteFileA(path.c_str());
    }
    // FILE_SHARE_DELETE: "Exit" may delete the temporary file while a job
    // still writes it; it then goes when the process ends and closes it.
    const HANDLE handle =
        CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD code = GetLastError();
      *error = IsFolderPath(path) ? FsError::kIsFolder : FromWin32Error(code);
      return nullptr;
    }
    return std::make_unique<Win32WritableFile>(handle);
  }

  FsError MoveFileOver(const std::string& from, const std::string& to) override {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? FsError::kOk
               : LastError();
  }

  FsError RemoveFile(const std::string& path) override {
    return DeleteFileA(path.c_str()) ? FsError::kOk : LastError();
  }

  FsError ListFolder(const std::string& folder, std::vector<FolderEntry>* entries) override {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return LastError();
    FsError result = FsError::kOk;
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      entries->push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(search, &found));
    if (GetLastError() != ERROR_NO_MORE_FILES) result = LastError();
    FindClose(search);
    return result;
  }

  bool IsFolder(const std::string& path) override { return IsFolderPath(path); }

  bool SetCurrentFolder(const std::string& path) override {
    return !path.empty() && SetCurrentDirectoryA(path.c_str());
  }

  std::string CurrentFolder() override {
    std::vector<char> buffer(MAX_PATH + 1);
    DWORD length = GetCurrentDirectoryA(DWORD(buffer.size()), buffer.data());
    if (length >= buffer.size()) {
      buffer.resize(length + 1);
      length = GetCurrentDirectoryA(DWORD(buffer.size()), buffer.data());
    }
    return length == 0 || length >= buffer.size() ? std::string(".")
                                                  : std::string(buffer.data(), length);
  }

  std::string DisplayPath(const std::string& path) override {
    char full[MAX_PATH * 4];
    const DWORD length = GetFullPathNameA(path.c_str(), DWORD(sizeof full), full, nullptr);
    return length == 0 || length >= sizeof full ? path : std::string(full, length);
  }
};

}  // namespace

FileSystem& SystemFileSystem() {
  // Never destroyed: a job still running when the dialog ends goes on using
  // it while the process exits.
  static FileSystem* file_system = new Win32FileSystem;
  return *file_system;
}

}  // namespace tolvenek
