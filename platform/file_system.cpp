#include "platform/file_system.h"

namespace tolvenek {

std::string_view DescribeFsError(FsError error) {
  switch (error) {
    case FsError::kOk:
      return "no error";
    case FsError::kNotFound:
      return "file not found";
    case FsError::kPathNotFound:
      return "folder not found";
    case FsError::kAccessDenied:
      return "access denied";
    case FsError::kIsFolder:
      return "it is a folder";
    case FsError::kNoSpace:
      return "disk full";
    case FsError::kTooLarge:
      return "file too large";
    case FsError::kIo:
      break;
  }
  return "input/output error";
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
  path += name;
  return path;
}

bool StaysInsideFolder(std::string_view path) {
  if (path.empty() || path.find(':') != std::string_view::npos || path[0] == '\\' ||
      path[0] == '/') {
    return false;
  }
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    if (part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

bool IsAbsolutePath(std::string_view path) {
  if (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) return true;
  return !path.empty() && (path[0] == '/' || path[0] == '\\');
}

}  // namespace tolvenek
