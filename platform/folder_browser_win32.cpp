// The folder picker over the shell's folder browser.
#include <cstdio>
#include <string>

#include "platform/folder_browser.h"
#include "platform/win32_headers.h"
// After windows.h:
#include <ole2.h>
#include <shlobj.h>

namespace tolvenek {

namespace {

// Called by the browser; `data` is the starting folder text (lParam).
int CALLBACK PickerCallback(HWND browser, UINT event, LPARAM, LPARAM data) {
  if (event != BFFM_INITIALIZED) return 0;
  const char* start = reinterpret_cast<const char*>(data);
  std::fputs("path: ", stdout);
  std::fputs(start, stdout);
  std::fputs("\n", stdout);
  std::fflush(stdout);
  SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
  return 0;
}

class Win32FolderBrowser : public FolderBrowser {
 public:
  std::string PickFolder(const std::string& start, void* owner) override {
    // The browser of the newer style wants OLE on the calling thread.
    const HRESULT ole = OleInitialize(nullptr);
    const std::string own_start = start;  // the browser's copy, alive throughout
    BROWSEINFOA info = {};
    info.hwndOwner = static_cast<HWND>(owner);
    info.pidlRoot = nullptr;
    info.pszDisplayName = nullptr;
    info.lpszTitle = "Browse for folder...";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = PickerCallback;
    info.lParam = reinterpret_cast<LPARAM>(own_start.c_str());
    info.iImage = 0;
    std::string result = own_start;
    if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info)) {
      char path[MAX_PATH + 1] = {};
      SHGetPathFromIDListA(chosen, path);
      IMalloc* allocator = nullptr;
      if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(chosen);
        allocator->Release();
      }
      result = path;
    }
    if (SUCCEEDED(ole)) OleUninitialize();
    return result;
  }
};

}  // namespace

FolderBrowser& SystemFolderBrowser() {
  static FolderBrowser* browser = new Win32FolderBrowser;
  return *browser;
}

}  // namespace tolvenek
