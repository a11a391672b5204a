// Every command of the Main dialog, run natively against the fakes.
#include "app/main_dialog.h"

#include "app/cancellable_file_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_dialog_window.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_seams.h"
#include "gamedata/drs_archive.h"
#include "gamedata/drs_writer.h"
#include "install/custom_scripts.h"
#include "install/game_folder.h"
#include "pack/build_pack.h"

namespace tolvenek {
namespace {

using Kind = FakeDialogWindow::Kind;

constexpr const char* kGame = "C:\\Games\\SWGB";
constexpr const char* kOther = "D:\\Other Game";

std::string MapScript(const std::string& name) {
  return "/* " + name +
         " */\r\n<PLAYER_SETUP>\r\nrandom_placement\r\n<LAND_GENERATION>\r\n"
         "base_terrain GRASS\r\n<OBJECTS_GENERATION>\r\ncreate_object TOWN_CENTER\r\n{\r\n}\r\n";
}

// A game folder: the executable, an archive with the land-resources include
// and the first three built-in maps, and `scripts` in its random folder.
void MakeGameFolder(FakeFileSystem& fs, const std::string& folder,
                    const std::vector<std::string>& scripts) {
  fs.AddFile(folder + "\\battlegrounds_x1.exe", "MZ");
  fs.AddFile(folder + "\\data\\gamedata_x1.drs",
             BuildDrsArchive({{kLandResourcesId, "/* land resources */\r\n"},
                              {54201, MapScript("Desert")},
                              {54202, MapScript("WaterMass")},
                              {54203, MapScript("Sea")}}));
  fs.AddFolder(folder + "\\random");
  for (const std::string& name : scripts) fs.AddFile(folder + "\\random\\" + name, MapScript(name));
}

class MainDialogTest : public ::testing::Test {
 protected:
  FakeFileSystem fs;
  FakeRegistry registry;
  FakeFolderBrowser browser;
  FakeJobStarter jobs;
  FakeDialogWindow window;
  int owner_marker = 0;  // stands for the dialog's native handle
  MainDialog dialog{DialogSeams{window, fs, registry, browser, jobs, &owner_marker}};

  void StartWithGame(const std::vector<std::string>& scripts = {"b.rms", "a.rms"}) {
    MakeGameFolder(fs, kGame, scripts);
    registry.game_path = kGame;
    dialog.Initialise();
  }
  int Click(int id) { return dialog.Command(id, 0); }
};

// ---- Initialisation and detection ----

TEST_F(MainDialogTest, InitialiseShowsTheDetectedFolderTheDefaultNameAndTheSortedChooser) {
  StartWithGame({"c.rms", "a.rms", "b.rms"});
  EXPECT_EQ(window.control(1051).text, kGame);
  EXPECT_EQ(window.control(1052).text, "sample.rms");
  EXPECT_EQ(window.entries(1049), (std::vector<std::string>{"a.rms", "b.rms", "c.rms"}));
  EXPECT_TRUE(window.entries(1048).empty());
  EXPECT_EQ(window.control(1049).text, "");  // the refill leaves the chooser's text alone
  for (int id = 1001; id <= 1047; ++id) EXPECT_FALSE(window.control(id).checked) << id;
  EXPECT_FALSE(window.control(1055).checked);
  EXPECT_TRUE(window.messages.empty());
  EXPECT_EQ(dialog.game_folder(), kGame);
  EXPECT_EQ(fs.CurrentFolder(), kGame);
  EXPECT_EQ(registry.reads, 1);
}

struct DetectionCase {
  const char* label;
  std::string registry;                     // "Game Path", "" for none
  std::vector<std::string> games;           // folders with the executable
  std::vector<std::string> bare;            // folders without it
  std::string start = "C:\\";               // where the process starts
  std::string expected_folder;              // the Game folder afterwards
  std::string expected_current;             // the current folder afterwards
  std::vector<std::string> expected_tries;  // SetCurrentFolder calls of detection
};

std::string Fixed(int n) { return std::string(kFixedGameFolders[size_t(n - 2)]); }

TEST(DetectionTest, OverTheCandidateTable) {
  const std::string registry_game = "E:\\Games\\Clone Campaigns";
  const std::vector<DetectionCase> cases = {
      {"the registry's folder wins and no fixed candidate is tried",
       registry_game,
       {registry_game, Fixed(2)},
       {},
       "C:\\",
       registry_game,
       registry_game,
       {registry_game}},
      {"no registry value, the game at candidate 4",
       "",
       {Fixed(4)},
       {},
       "C:\\",
       Fixed(4),
       "C:\\Program Files\\LucasArts\\Star Wars Galactic Battlegrounds Saga\\Game",
       {"", Fixed(2), Fixed(3), Fixed(4)}},
      {"the registry names a folder without the game, nothing else",
       registry_game,
       {},
       {registry_game},
       "C:\\",
       "",
       registry_game,
       {registry_game, Fixed(2), Fixed(3), Fixed(4), Fixed(5), Fixed(6)}},
      {"candidate 2 exists without the executable, the game at candidate 6",
       "",
       {Fixed(6)},
       {Fixed(2)},
       "C:\\",
       Fixed(6),
       "C:\\gog games\\star wars - galactic battlegrounds\\game",
       {"", Fixed(2), Fixed(3), Fixed(4), Fixed(5), Fixed(6)}},
      {"two candidates pass: the earlier one wins",
       "",
       {Fixed(3), Fixed(5)},
       {},
       "C:\\",
       Fixed(3),
       "C:\\Program Files (x86)\\LucasArts\\Star Wars Galactic Battlegrounds\\Game",
       {"", Fixed(2), Fixed(3)}},
      {"no candidate can be entered: the current folder stays",
       "",
       {},
       {},
       "C:\\Start Here",
       "",
       "C:\\Start Here",
       {"", Fixed(2), Fixed(3), Fixed(4), Fixed(5), Fixed(6)}},
  };
  for (const DetectionCase& c : cases) {
    SCOPED_TRACE(c.label);
    FakeFileSystem fs;
    for (const std::string& folder : c.games) MakeGameFolder(fs, folder, {"x.rms"});
    for (const std::string& folder : c.bare) fs.AddFolder(folder);
    fs.AddFolder(c.start);
    ASSERT_TRUE(fs.SetCurrentFolder(c.start));
    fs.folder_changes.clear();
    FakeRegistry registry;
    registry.game_path = c.registry;
    FakeFolderBrowser browser;
    browser.must_not_be_called = true;
    FakeJobStarter jobs;
    jobs.must_not_be_called = true;
    FakeDialogWindow window;
    MainDialog dialog{DialogSeams{window, fs, registry, browser, jobs, nullptr}};
    EXPECT_EQ(DetectGameFolder(fs, registry), c.expected_folder);
    EXPECT_EQ(fs.CurrentFolder(), c.expected_current);
    EXPECT_EQ(fs.folder_changes, c.expected_tries);

    // The dialog shows the same folder, exactly as found (trailing '\' kept).
    fs.SetCurrentFolder(c.start);
    dialog.Initialise();
    EXPECT_EQ(window.control(1051).text, c.expected_folder);
  }
}

TEST(DetectionTest, StartedInTheGameFolderWithNothingDetectedStillListsItsScripts) {
  FakeFileSystem fs;
  MakeGameFolder(fs, "C:\\Here", {"local.rms"});
  fs.AddFile("C:\\Here\\battlegrounds_x1.exe", "MZ");
  ASSERT_TRUE(fs.SetCurrentFolder("C:\\Here"));
  fs.RemoveFile("C:\\Here\\battlegrounds_x1.exe");  // found by the folder, not by the probe
  FakeRegistry registry;
  FakeFolderBrowser browser;
  FakeJobStarter jobs;
  FakeDialogWindow window;
  MainDialog dialog{DialogSeams{window, fs, registry, browser, jobs, nullptr}};
  dialog.Initialise();
  EXPECT_EQ(window.control(1051).text, "");
  EXPECT_EQ(window.entries(1049), std::vector<std::string>{"local.rms"});
  EXPECT_TRUE(window.messages.empty());
}

// ---- The enumeration and its warnings ----

TEST_F(MainDialogTest, NoRandomFolderWarnsThatTheGameWasNotFound) {
  fs.AddFile("C:\\Games\\Bare\\battlegrounds_x1.exe", "MZ");
  registry.game_path = "C:\\Games\\Bare";
  dialog.Initialise();
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].text, "Warning: SWGB was not found. Please set the path manually");
  EXPECT_EQ(window.messages[0].caption, "Warning");
  EXPECT_EQ(window.messages[0].icon, MessageIcon::kWarning);
  EXPECT_FALSE(window.messages[0].owned);
  EXPECT_TRUE(window.entries(1049).empty());
}

TEST_F(MainDialogTest, NothingDetectedAndNoRandomFolderHereWarnsOnce) {
  dialog.Initialise();
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].text, kGameNotFoundWarning);
  EXPECT_EQ(window.control(1051).text, "");
}

TEST_F(MainDialogTest, AnUnreadableRandomFolderWarnsAndKeepsTheNamesFoundBeforeIt) {
  MakeGameFolder(fs, kGame, {"z.rms", "y.rms", "x.rms"});
  fs.FailListing(std::string(kGame) + "\\random", FsError::kAccessDenied, 2);
  registry.game_path = kGame;
  dialog.Initialise();
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].text, "Warning: access denied. Launch as administrator");
  EXPECT_EQ(window.messages[0].caption, "Warning");
  EXPECT_EQ(window.messages[0].icon, MessageIcon::kWarning);
  EXPECT_FALSE(window.messages[0].owned);
  EXPECT_EQ(window.entries(1049), (std::vector<std::string>{"y.rms", "z.rms"}));
}

TEST_F(MainDialogTest, AccessDeniedFromTheStartLeavesTheChooserEmpty) {
  MakeGameFolder(fs, kGame, {"x.rms"});
  fs.FailListing(std::string(kGame) + "\\random", FsError::kAccessDenied, 0);
  registry.game_path = kGame;
  dialog.Initialise();
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].text, kAccessDeniedWarning);
  EXPECT_TRUE(window.entries(1049).empty());
}

TEST_F(MainDialogTest, OtherListingErrorsAreSilentAndKeepWhatWasFound) {
  for (FsError error : {FsError::kIo, FsError::kNoSpace, FsError::kTooLarge, FsError::kIsFolder}) {
    SCOPED_TRACE(int(error));
    FakeFileSystem fs;
    MakeGameFolder(fs, kGame, {"b.rms", "a.rms", "c.rms"});
    fs.FailListing(std::string(kGame) + "\\random", error, 2);
    FakeDialogWindow window;
    RefillScriptChooser(window, fs, kGame);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(window.entries(1049), (std::vector<std::string>{"a.rms", "b.rms"}));
  }
}

TEST_F(MainDialogTest, TheChooserListsOnlyRmsNamesAndFoldersNamedLikeThem) {
  MakeGameFolder(fs, kGame, {"one.RMS", "notes.txt", "two.rms.bak", "three.rms"});
  fs.AddFolder(std::string(kGame) + "\\random\\folder.rms");
  registry.game_path = kGame;
  dialog.Initialise();
  EXPECT_EQ(window.entries(1049), (std::vector<std::string>{"folder.rms", "one.RMS", "three.rms"}));
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(MainDialogTest, AnEmptyRandomFolderGivesAnEmptyChooserAndNoMessage) {
  StartWithGame({});
  EXPECT_TRUE(window.entries(1049).empty());
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(MainDialogTest, TwentyFiveScriptsAreAllListed) {
  std::vector<std::string> names;
  for (int i = 25; i >= 1; --i) names.push_back("map" + std::to_string(100 + i) + ".rms");
  StartWithGame(names);
  ASSERT_EQ(window.entries(1049).size(), 25u);
  EXPECT_EQ(window.entries(1049).front(), "map101.rms");
  EXPECT_EQ(window.entries(1049).back(), "map125.rms");
}

// ---- Check/uncheck all ----

TEST_F(MainDialogTest, CheckAllBlindRandomSetsExactlyItsGroup) {
  StartWithGame();
  window.control(1030).checked = true;  // a Star Wars Locale box
  window.control(1044).checked = true;  // a Miscellaneous box
  window.control(1047).checked = true;  // the platform flipped it before the click
  EXPECT_EQ(Click(1047), 0);
  for (int id = 1001; id <= 1023; ++id) EXPECT_TRUE(window.control(id).checked) << id;
  for (int id = 1024; id <= 1046; ++id) {
    EXPECT_EQ(window.control(id).checked, id == 1030 || id == 1044) << id;
  }
  window.control(1047).checked = false;
  Click(1047);
  for (int id = 1001; id <= 1023; ++id) EXPECT_FALSE(window.control(id).checked) << id;
  EXPECT_TRUE(window.control(1030).checked);
  EXPECT_TRUE(window.control(1044).checked);
}

TEST_F(MainDialogTest, CheckAllLocaleSetsExactlyItsGroup) {
  StartWithGame();
  window.control(1005).checked = true;
  window.control(1046).checked = true;
  window.control(1055).checked = true;
  Click(1055);
  for (int id = 1024; id <= 1042; ++id) EXPECT_TRUE(window.control(id).checked) << id;
  for (int id = 1001; id <= 1023; ++id) EXPECT_EQ(window.control(id).checked, id == 1005) << id;
  for (int id = 1043; id <= 1046; ++id) EXPECT_EQ(window.control(id).checked, id == 1046) << id;
  EXPECT_FALSE(window.control(1047).checked);
  window.control(1055).checked = false;
  Click(1055);
  for (int id = 1024; id <= 1042; ++id) EXPECT_FALSE(window.control(id).checked) << id;
  EXPECT_TRUE(window.control(1005).checked);
}

TEST_F(MainDialogTest, UncheckingOneMapLeavesTheGroupBoxCheckedUntilItIsClicked) {
  StartWithGame();
  window.control(1047).checked = true;
  Click(1047);
  window.control(1010).checked = false;
  Click(1010);  // a map box's click runs nothing
  EXPECT_TRUE(window.control(1047).checked);
  EXPECT_FALSE(window.control(1010).checked);
  window.control(1047).checked = false;
  Click(1047);
  for (int id = 1001; id <= 1023; ++id) EXPECT_FALSE(window.control(id).checked) << id;
}

TEST_F(MainDialogTest, NotificationsOtherThanAClickRunNoCommand) {
  StartWithGame();
  jobs.must_not_be_called = true;
  browser.must_not_be_called = true;
  window.control(1047).checked = true;
  for (int id : {1, 2, 1047, 1050, 1054, 1055, 1048, 1049, 1051}) {
    EXPECT_EQ(dialog.Command(id, 5), 5) << id;  // e.g. LBN_DBLCLK, CBN_SELENDOK
  }
  EXPECT_FALSE(window.control(1001).checked);
  EXPECT_FALSE(window.ended);
  EXPECT_TRUE(window.entries(1048).empty());
  EXPECT_TRUE(window.control(1).enabled);
  EXPECT_EQ(Click(9999), 0);  // an unknown id does nothing
}

// ---- Generate script ----

TEST_F(MainDialogTest, GenerateDisarmsTheButtonAndCapturesOneValue) {
  StartWithGame({"b.rms", "a.rms", "c.rms"});
  window.control(1049).text = "c.rms";
  Click(1050);
  window.control(1049).text = "a.rms";
  Click(1050);
  window.control(1001).checked = true;
  window.control(1024).checked = true;
  window.control(1046).checked = true;
  window.control(1052).text = "pack.rms";
  bool seen_disarmed = false;
  jobs.on_start = [&](const JobInputs&) {
    seen_disarmed = !window.control(1).enabled && window.control(1).text == "Generating...";
  };
  EXPECT_EQ(Click(1), 0);
  EXPECT_TRUE(seen_disarmed);
  ASSERT_EQ(jobs.started.size(), 1u);
  const JobInputs& inputs = jobs.started[0];
  for (int i = 0; i < kBuiltinMapCount; ++i) {
    EXPECT_EQ(inputs.selection[size_t(i)], i == 0 || i == 23 || i == 45) << i;
  }
  EXPECT_EQ(inputs.custom_names, (std::vector<std::string>{"a.rms", "c.rms"}));
  EXPECT_EQ(inputs.output_name, "pack.rms");
  EXPECT_EQ(inputs.game_folder, kGame);
  EXPECT_TRUE(dialog.job_running());
  EXPECT_FALSE(window.control(1).enabled);
  EXPECT_EQ(window.control(1).text, "Generating...");
  // Every other control stays usable while the job runs.
  for (int id : {2, 1047, 1048, 1049, 1050, 1051, 1052, 1054, 1055}) {
    EXPECT_TRUE(window.control(id).enabled) << id;
  }
}

TEST_F(MainDialogTest, ChangesAfterTheClickDoNotReachTheCapturedInputs) {
  StartWithGame({"b.rms", "a.rms"});
  window.control(1049).text = "b.rms";
  Click(1050);
  window.control(1002).checked = true;
  Click(1);
  ASSERT_EQ(jobs.started.size(), 1u);
  // Add, Browse, the check boxes and the fields while the job runs.
  window.control(1049).text = "a.rms";
  Click(1050);
  MakeGameFolder(fs, kOther, {"other.rms"});
  browser.choice = kOther;
  Click(1054);
  window.control(1003).checked = true;
  window.control(1052).text = "changed.rms";
  const JobInputs& inputs = jobs.started[0];
  EXPECT_EQ(inputs.custom_names, std::vector<std::string>{"b.rms"});
  EXPECT_TRUE(inputs.selection[1]);
  EXPECT_FALSE(inputs.selection[2]);
  EXPECT_EQ(inputs.output_name, "sample.rms");
  EXPECT_EQ(inputs.game_folder, kGame);

  // The job builds exactly those inputs, in its own folder.
  const JobOutcome outcome = RunGenerationJob(fs, inputs);
  EXPECT_FALSE(outcome.failed) << outcome.message;
  EXPECT_TRUE(fs.FileExists(std::string(kGame) + "\\random\\sample.rms"));
  EXPECT_FALSE(fs.FileExists(std::string(kOther) + "\\random\\sample.rms"));
  EXPECT_NE(fs.Contents(std::string(kGame) + "\\random\\sample.rms").find("b.rms"),
            std::string::npos);
  EXPECT_EQ(fs.Contents(std::string(kGame) + "\\random\\sample.rms").find("a.rms"),
            std::string::npos);
}

TEST_F(MainDialogTest, ASecondGenerateWhileAJobRunsStartsNothing) {
  StartWithGame();
  window.control(1001).checked = true;
  Click(1);
  window.control(1).enabled = true;  // as if Enter reached the dialog regardless
  Click(1);
  EXPECT_EQ(jobs.started.size(), 1u);
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(MainDialogTest, ASuccessfulJobReArmsTheButtonAndReportsScriptGenerated) {
  StartWithGame();
  window.control(1001).checked = true;
  Click(1);
  ASSERT_EQ(jobs.started.size(), 1u);
  bool armed_while_open = false;
  window.on_message = [&](const FakeDialogWindow::Message&) {
    armed_while_open = window.control(1).enabled && window.control(1).text == "Generate script";
  };
  dialog.FinishJob(RunGenerationJob(fs, jobs.started[0]));
  EXPECT_TRUE(armed_while_open);  // the Reporting state
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].text, "Script generated");
  EXPECT_EQ(window.messages[0].caption, "Tolvenek");
  EXPECT_EQ(window.messages[0].icon, MessageIcon::kInformation);
  EXPECT_TRUE(window.messages[0].owned);
  EXPECT_FALSE(dialog.job_running());
  EXPECT_TRUE(fs.FileExists(std::string(kGame) + "\\random\\sample.rms"));
}

TEST_F(MainDialogTest, FailedJobsReportTheirMessageAndTheNextSuccessReportsSuccess) {
  StartWithGame();
  // Nothing selected: the builder's own message.
  Click(1);
  dialog.FinishJob(RunGenerationJob(fs, jobs.started.back()));
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].text, "Select at least one map");
  EXPECT_EQ(window.messages[0].caption, "Error");
  EXPECT_EQ(window.messages[0].icon, MessageIcon::kError);
  EXPECT_TRUE(window.messages[0].owned);
  EXPECT_TRUE(window.control(1).enabled);
  EXPECT_EQ(window.control(1).text, "Generate script");

  // A folder without the archive.
  fs.AddFolder("C:\\Empty\\random");
  window.control(1051).text = "C:\\Empty";
  window.control(1001).checked = true;
  Click(1);
  EXPECT_EQ(jobs.started.back().game_folder, "C:\\Empty");
  dialog.FinishJob(RunGenerationJob(fs, jobs.started.back()));
  ASSERT_EQ(window.messages.size(), 2u);
  EXPECT_EQ(window.messages[1].text, "Cannot open gamedata_x1.drs. Make sure game path is correct");
  EXPECT_EQ(window.messages[1].caption, "Error");

  window.control(1051).text = kGame;
  Click(1);
  dialog.FinishJob(RunGenerationJob(fs, jobs.started.back()));
  ASSERT_EQ(window.messages.size(), 3u);
  EXPECT_EQ(window.messages[2].text, "Script generated");
  EXPECT_EQ(window.messages[2].caption, "Tolvenek");
  EXPECT_EQ(window.messages[2].icon, MessageIcon::kInformation);
}

TEST_F(MainDialogTest, AGameFolderThatCannotBeEnteredLeavesTheJobInTheCurrentFolder) {
  StartWithGame();
  window.control(1051).text = "C:\\No Such Folder";
  window.control(1001).checked = true;
  Click(1);
  ASSERT_EQ(jobs.started.size(), 1u);
  EXPECT_EQ(jobs.started[0].game_folder, kGame);  // where detection left it
  EXPECT_EQ(dialog.game_folder(), "C:\\No Such Folder");
}

TEST_F(MainDialogTest, ARelativeGameFolderIsResolvedOnceToAnAbsoluteOne) {
  MakeGameFolder(fs, "C:\\Games\\Second", {});
  StartWithGame();
  window.control(1051).text = "..\\Second";
  window.control(1001).checked = true;
  Click(1);
  ASSERT_EQ(jobs.started.size(), 1u);
  EXPECT_EQ(jobs.started[0].game_folder, "C:\\Games\\Second");
}

TEST_F(MainDialogTest, FieldsLongerThan254CharactersAreCut) {
  StartWithGame();
  window.control(1052).text = std::string(300, 'n');
  window.control(1051).text = std::string(300, 'f');
  window.control(1001).checked = true;
  Click(1);
  ASSERT_EQ(jobs.started.size(), 1u);
  EXPECT_EQ(jobs.started[0].output_name, std::string(254, 'n'));
  EXPECT_EQ(dialog.game_folder(), std::string(254, 'f'));
}

TEST_F(MainDialogTest, AThreadThatCannotStartReArmsTheButtonAndSaysSo) {
  StartWithGame();
  window.control(1001).checked = true;
  jobs.refuse = true;
  Click(1);
  EXPECT_TRUE(jobs.started.empty());
  EXPECT_TRUE(window.control(1).enabled);
  EXPECT_EQ(window.control(1).text, "Generate script");
  EXPECT_FALSE(dialog.job_running());
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].text, kCannotStartJob);
  EXPECT_EQ(window.messages[0].caption, "Error");
  EXPECT_EQ(window.messages[0].icon, MessageIcon::kError);
  EXPECT_TRUE(window.messages[0].owned);
  // And the next click tries again.
  jobs.refuse = false;
  Click(1);
  EXPECT_EQ(jobs.started.size(), 1u);
}

// ---- Exit, Escape and the close box ----

TEST_F(MainDialogTest, ExitDeletesTheTemporaryPackInTheRandomFolderAndEnds) {
  StartWithGame();
  fs.AddFile(std::string(kGame) + "\\random\\ZOQ_TMP_FILE.tmp", "half a pack");
  fs.AddFile(std::string(kGame) + "\\random\\sample.rms", "an older pack");
  EXPECT_EQ(Click(2), 0);
  EXPECT_TRUE(window.ended);
  EXPECT_FALSE(fs.FileExists(std::string(kGame) + "\\random\\ZOQ_TMP_FILE.tmp"));
  EXPECT_TRUE(fs.FileExists(std::string(kGame) + "\\random\\sample.rms"));
  EXPECT_EQ(fs.removed,
            std::vector<std::string>{std::string(kGame) + "\\random\\ZOQ_TMP_FILE.tmp"});
  EXPECT_EQ(fs.CurrentFolder(), std::string(kGame) + "\\random");  // not changed back
  EXPECT_EQ(fs.folder_changes.back(), "Random");
}

TEST_F(MainDialogTest, CloseWithoutARandomFolderTriesTheCurrentFolderAndStillEnds) {
  fs.AddFile("C:\\Bare\\battlegrounds_x1.exe", "MZ");
  fs.AddFile("C:\\Bare\\ZOQ_TMP_FILE.tmp", "x");
  registry.game_path = "C:\\Bare";
  dialog.Initialise();
  dialog.Close();
  EXPECT_TRUE(window.ended);
  EXPECT_FALSE(fs.FileExists("C:\\Bare\\ZOQ_TMP_FILE.tmp"));
  EXPECT_EQ(fs.CurrentFolder(), "C:\\Bare");
}

TEST_F(MainDialogTest, ExitWithoutATemporaryFileJustEnds) {
  StartWithGame();
  dialog.Close();
  EXPECT_TRUE(window.ended);
  EXPECT_TRUE(fs.removed.empty());
}

TEST_F(MainDialogTest, ExitDuringAJobAlsoRemovesTheJobsOwnTemporaryFile) {
  StartWithGame();
  window.control(1001).checked = true;
  Click(1);
  fs.AddFile(std::string(kGame) + "\\random\\ZOQ_TMP_FILE.tmp", "the job's half pack");
  MakeGameFolder(fs, kOther, {});
  browser.choice = kOther;
  Click(1054);  // the current folder moves away from the job's
  Click(2);
  EXPECT_TRUE(window.ended);
  EXPECT_FALSE(fs.FileExists(std::string(kGame) + "\\random\\ZOQ_TMP_FILE.tmp"));
  EXPECT_FALSE(fs.FileExists(std::string(kGame) + "\\random\\sample.rms"));
}

TEST_F(MainDialogTest, ExitDuringAJobRemovesAnEmptyTargetItsProbeMade) {
  StartWithGame();
  window.control(1001).checked = true;
  window.control(1052).text = "new.rms";
  Click(1);
  fs.AddFile(std::string(kGame) + "\\random\\new.rms", "");  // the probe's empty file
  Click(2);
  EXPECT_FALSE(fs.FileExists(std::string(kGame) + "\\random\\new.rms"));
}

TEST_F(MainDialogTest, ExitDuringAJobKeepsTargetsThatExistedOrAreWhole) {
  StartWithGame();
  fs.AddFile(std::string(kGame) + "\\random\\old.rms", "");  // there before the job
  window.control(1001).checked = true;
  window.control(1052).text = "old.rms";
  Click(1);
  Click(2);
  EXPECT_TRUE(fs.FileExists(std::string(kGame) + "\\random\\old.rms"));

  FakeFileSystem fs2;
  MakeGameFolder(fs2, kGame, {});
  FakeRegistry registry2;
  registry2.game_path = kGame;
  FakeDialogWindow window2;
  MainDialog dialog2{DialogSeams{window2, fs2, registry2, browser, jobs, nullptr}};
  dialog2.Initialise();
  window2.control(1001).checked = true;
  dialog2.Command(1, 0);
  fs2.AddFile(std::string(kGame) + "\\random\\sample.rms", "a whole pack");  // renamed in
  dialog2.Command(2, 0);
  EXPECT_EQ(fs2.Contents(std::string(kGame) + "\\random\\sample.rms"), "a whole pack");
}

TEST_F(MainDialogTest, ExitWithoutAJobLeavesEmptyFilesAlone) {
  StartWithGame();
  fs.AddFile(std::string(kGame) + "\\random\\sample.rms", "");
  Click(2);
  EXPECT_TRUE(fs.FileExists(std::string(kGame) + "\\random\\sample.rms"));
}

TEST_F(MainDialogTest, ExitAbandonsARunningJobAndIgnoresItsLateOutcome) {
  StartWithGame();
  window.control(1001).checked = true;
  Click(1);
  Click(2);
  EXPECT_EQ(jobs.abandoned, 1);
  dialog.FinishJob(JobOutcome{true, "Cannot write file", ""});
  EXPECT_TRUE(window.messages.empty());  // and no box after the end (the fake checks)
}

TEST_F(MainDialogTest, ExitWithoutAJobAbandonsNothing) {
  StartWithGame();
  window.control(1001).checked = true;
  Click(1);
  dialog.FinishJob(RunGenerationJob(fs, jobs.started[0]));
  Click(2);
  EXPECT_EQ(jobs.abandoned, 0);
}

TEST(CancellableFileSystemTest, AfterCancelNothingIsCreatedWrittenOrMoved) {
  FakeFileSystem base;
  MakeGameFolder(base, kGame, {"a.rms"});
  CancellableFileSystem fs(base);
  FsError error = FsError::kOk;
  std::unique_ptr<WritableFile> early =
      fs.CreateForWriting("C:\\Games\\SWGB\\random\\early.tmp", &error);
  ASSERT_TRUE(early);
  EXPECT_EQ(early->Write("before"), FsError::kOk);
  fs.Cancel();
  EXPECT_TRUE(fs.cancelled());
  EXPECT_EQ(early->Write(" after"), FsError::kIo);
  EXPECT_EQ(base.Contents("C:\\Games\\SWGB\\random\\early.tmp"), "before");
  bool created = true;
  EXPECT_EQ(fs.ProbeWritable("C:\\Games\\SWGB\\random\\new.rms", &created), FsError::kIo);
  EXPECT_FALSE(created);
  EXPECT_FALSE(base.FileExists("C:\\Games\\SWGB\\random\\new.rms"));
  EXPECT_EQ(fs.CreateForWriting("C:\\Games\\SWGB\\random\\x.tmp", &error), nullptr);
  EXPECT_EQ(fs.MoveFileOver("C:\\Games\\SWGB\\random\\early.tmp", "C:\\Games\\SWGB\\random\\a.rms"),
            FsError::kIo);
  EXPECT_TRUE(fs.OpenForReading("C:\\Games\\SWGB\\random\\a.rms", &error) != nullptr);
  EXPECT_EQ(fs.RemoveFile("C:\\Games\\SWGB\\random\\early.tmp"), FsError::kOk);

  // A whole job on a cancelled file system fails and leaves no pack.
  JobInputs inputs;
  inputs.game_folder = kGame;
  inputs.selection[0] = true;
  inputs.output_name = "sample.rms";
  const JobOutcome outcome = RunGenerationJob(fs, inputs);
  EXPECT_TRUE(outcome.failed);
  EXPECT_FALSE(base.FileExists("C:\\Games\\SWGB\\random\\sample.rms"));
  EXPECT_FALSE(base.FileExists("C:\\Games\\SWGB\\random\\ZOQ_TMP_FILE.tmp"));
}

// ---- Browse ----

TEST_F(MainDialogTest, BrowseCancelledKeepsTheFieldAndRefillsTheChooser) {
  StartWithGame({"a.rms"});
  fs.AddFile(std::string(kGame) + "\\random\\new.rms", "");
  window.control(1049).text = "typed";
  Click(1054);
  ASSERT_EQ(browser.calls.size(), 1u);
  EXPECT_EQ(browser.calls[0].first, kGame);
  EXPECT_EQ(browser.calls[0].second, &owner_marker);
  EXPECT_EQ(window.control(1051).text, kGame);
  EXPECT_EQ(dialog.game_folder(), kGame);
  EXPECT_EQ(window.entries(1049), (std::vector<std::string>{"a.rms", "new.rms"}));
  EXPECT_EQ(window.control(1049).text, "typed");
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(MainDialogTest, BrowseCancelledWithALongFieldKeepsItsFirst254Characters) {
  StartWithGame();
  window.control(1051).text = std::string(300, 'x');
  Click(1054);
  ASSERT_EQ(browser.calls.size(), 1u);
  EXPECT_EQ(browser.calls[0].first, std::string(254, 'x'));
  EXPECT_EQ(window.control(1051).text, std::string(254, 'x'));
  EXPECT_EQ(dialog.game_folder(), std::string(254, 'x'));
}

TEST_F(MainDialogTest, BrowseToAnotherFolderReplacesFieldFolderAndChooser) {
  StartWithGame({"a.rms", "b.rms"});
  MakeGameFolder(fs, kOther, {"z.rms", "other.rms"});
  window.control(1051).text = "C:\\Typed";  // Browse starts from the field
  browser.choice = kOther;
  Click(1054);
  EXPECT_EQ(browser.calls.at(0).first, "C:\\Typed");
  EXPECT_EQ(window.control(1051).text, kOther);
  EXPECT_EQ(dialog.game_folder(), kOther);
  EXPECT_EQ(window.entries(1049), (std::vector<std::string>{"other.rms", "z.rms"}));
  EXPECT_EQ(fs.CurrentFolder(), kOther);
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(MainDialogTest, BrowseToAFolderWithoutTheGameTakesItAndWarns) {
  StartWithGame();
  fs.AddFolder("C:\\Somewhere");
  browser.choice = "C:\\Somewhere";
  Click(1054);
  EXPECT_EQ(window.control(1051).text, "C:\\Somewhere");
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].text, kGameNotFoundWarning);
  EXPECT_FALSE(window.messages[0].owned);
  EXPECT_TRUE(window.entries(1049).empty());
}

TEST_F(MainDialogTest, TwoBrowsesOpenTheBrowserTwice) {
  StartWithGame();
  Click(1054);
  Click(1054);
  EXPECT_EQ(browser.calls.size(), 2u);
}

// ---- Add ----

TEST_F(MainDialogTest, AddPutsAListedScriptIntoTheSortedList) {
  StartWithGame({"x.rms", "a.rms"});
  window.control(1049).text = "x.rms";
  EXPECT_EQ(Click(1050), 0);
  window.control(1049).text = "a.rms";
  Click(1050);
  EXPECT_EQ(window.entries(1048), (std::vector<std::string>{"a.rms", "x.rms"}));
  EXPECT_TRUE(window.messages.empty());
  EXPECT_EQ(fs.CurrentFolder(), kGame);  // back where it was
}

TEST_F(MainDialogTest, AddTheSameNameTwiceKeepsBoth) {
  StartWithGame({"a.rms"});
  window.control(1049).text = "a.rms";
  Click(1050);
  Click(1050);
  EXPECT_EQ(window.entries(1048), (std::vector<std::string>{"a.rms", "a.rms"}));
}

TEST_F(MainDialogTest, AddOfATypedNameThatExistsButIsNotOffered) {
  StartWithGame({"a.rms"});
  fs.AddFile(std::string(kGame) + "\\random\\later.rms", "");  // after the fill
  window.control(1049).text = "LATER.rms";                     // letter case does not matter
  Click(1050);
  EXPECT_EQ(window.entries(1048), std::vector<std::string>{"LATER.rms"});  // as typed
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(MainDialogTest, AddOfAMissingOrEmptyNameSaysFileNotFound) {
  StartWithGame({"a.rms"});
  fs.AddFile(std::string(kGame) + "\\outside.rms", "");  // in the game folder, not in random
  for (const char* name : {"missing.rms", "", "outside.rms"}) {
    SCOPED_TRACE(name);
    window.messages.clear();
    window.control(1049).text = name;
    Click(1050);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "File not found");
    EXPECT_EQ(window.messages[0].caption, "Error");
    EXPECT_EQ(window.messages[0].icon, MessageIcon::kError);
    EXPECT_TRUE(window.messages[0].owned);
  }
  EXPECT_TRUE(window.entries(1048).empty());
  EXPECT_EQ(fs.CurrentFolder(), kGame);
}

TEST_F(MainDialogTest, AddReadsOnlyTheChoosersText) {
  StartWithGame({"a.rms"});
  window.control(1051).text = "C:\\Elsewhere";  // not read by Add
  window.control(1049).text = "a.rms";
  Click(1050);
  EXPECT_EQ(window.entries(1048), std::vector<std::string>{"a.rms"});
}

}  // namespace
}  // namespace tolvenek
