#include "install/folder_picker.h"

#include "install/custom_scripts.h"

namespace tolvenek {

void BrowseGameFolder(DialogWindow& window, FileSystem& fs, FolderBrowser& browser, void* owner,
                      std::string* game_folder) {
  *game_folder = window.GetItemText(kGameFolderFieldId);
  const std::string start = *game_folder;  // the browser keeps its own copy
  const std::string chosen = browser.PickFolder(start, owner);
  window.SetItemText(kGameFolderFieldId, chosen);
  *game_folder = chosen;
  RefillScriptChooser(window, fs, *game_folder);
}

}  // namespace tolvenek
