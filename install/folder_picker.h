// The "Browse" command: the Game folder chosen in the folder browser.
#pragma once

#include <string>

#include "platform/dialog_window.h"
#include "platform/file_system.h"
#include "platform/folder_browser.h"

namespace tolvenek {

constexpr int kGameFolderFieldId = 1051;

// Sets `*game_folder` to field 1051's text, opens the browser there (owned by
// `owner`), writes its result (the chosen folder, or the same text after a
// cancel) to the field and to `*game_folder`, and refills the chooser from it.
// No probe runs: any folder is taken. UI thread.
void BrowseGameFolder(DialogWindow& window, FileSystem& fs, FolderBrowser& browser, void* owner,
                      std::string* game_folder);

}  // namespace tolvenek
