// The folder-browser seam: the platform's "choose a folder" window.
#pragma once

#include <string>

namespace tolvenek {

class FolderBrowser {
 public:
  virtual ~FolderBrowser() = default;
  // Shows the browser modally to `owner` (the platform's handle of the owner
  // window, or null), opened at `start`. Returns the confirmed folder's path,
  // or `start` unchanged when the player cancels. UI thread only.
  virtual std::string PickFolder(const std::string& start, void* owner) = 0;
};

#ifdef _WIN32
// SHBrowseForFolderA, opened at the starting folder; writes "path: " + start to
// standard output, flushed, when the browser opens.
FolderBrowser& SystemFolderBrowser();
#endif

}  // namespace tolvenek
