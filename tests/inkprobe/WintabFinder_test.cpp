#include "inkprobe/WintabFinder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "inkprobe/Messages.h"
#include "tests/inkprobe/FakeSystem.h"

namespace pen {
namespace {

constexpr uint16_t kEnglishUs = 1033;
constexpr const char* kInkServerKey = "CLSID\\{A5B020FD-E04B-4e67-B65A-E7DEED25B2CF}\\LocalServer32";

class WintabFinderTest : public ::testing::Test {
 protected:
  test::FakeSystem sys;

  int32_t Run(int32_t showNotice = 0, uint16_t lang = kEnglishUs) {
    TWintabFinder finder(sys.Ports(), lang);
    return finder.FindWintabInUsed(showNotice);
  }
  void AddOrdinaryProcesses() {
    sys.processes.Add(4, "installer.exe", "C:\\setup", false);
    sys.processes.Add(120, "explorer.exe", "C:\\windows", false);
  }
  std::string InUseText(const std::string& path) {
    const TMessageText& t = FinderMessageText(TFinderMessage::InUse, kEnglishUs);
    return std::string(t.first) + path + t.second;
  }
};

// --- The Windows Ink checks ---------------------------------------------------

TEST_F(WintabFinderTest, MissingInkEditControlReturns100AndShowsNothingNotEvenTheNotice) {
  AddOrdinaryProcesses();
  sys.processes.Add(300, "paint.exe", "C:\\apps", true);
  sys.registry.progIds.erase("InkEd.InkEdit");
  EXPECT_EQ(Run(1), 100);
  EXPECT_TRUE(sys.messages.shown.empty());
  EXPECT_EQ(sys.processes.snapshotsTaken, 0);
  EXPECT_TRUE(sys.processes.terminated.empty());
}

TEST_F(WintabFinderTest, MissingInkPictureControlReturns100) {
  AddOrdinaryProcesses();
  sys.registry.progIds.erase("msinkaut.InkPicture");
  EXPECT_EQ(Run(1), 100);
  EXPECT_TRUE(sys.messages.shown.empty());
}

TEST_F(WintabFinderTest, InkServerInItsInkFolderIsRenamedToWisptis32AndTheCallReturns100) {
  AddOrdinaryProcesses();
  sys.processes.Add(300, "paint.exe", "C:\\apps", true);
  const std::string server = "C:\\Program Files\\Common Files\\Microsoft Shared\\Ink\\wisptis.exe";
  sys.registry.defaults[kInkServerKey] = server;
  sys.files.files.insert(server);
  EXPECT_EQ(Run(1), 100);
  ASSERT_EQ(sys.files.renames.size(), 1u);
  EXPECT_EQ(sys.files.renames[0].first, server);
  EXPECT_EQ(sys.files.renames[0].second, "C:\\Program Files\\Common Files\\Microsoft Shared\\ink\\wisptis32.exe");
  EXPECT_TRUE(sys.messages.shown.empty());
  EXPECT_EQ(sys.processes.snapshotsTaken, 0);
}

TEST_F(WintabFinderTest, InkServerRenameThatFailsStillReturns100) {
  AddOrdinaryProcesses();
  const std::string server = "C:\\Ink\\WISPTIS.EXE";
  sys.registry.defaults[kInkServerKey] = server;
  sys.files.files.insert(server);
  sys.files.renameFails = true;
  EXPECT_EQ(Run(1), 100);
  EXPECT_EQ(sys.files.renames.size(), 1u);
  EXPECT_TRUE(sys.messages.shown.empty());
}

TEST_F(WintabFinderTest, InkServerPathIsUsedAsStoredSoDoubleByteFoldersKeepTheirBytes) {
  AddOrdinaryProcesses();
  // A code page 936 folder name whose trail byte is an upper-case ASCII letter.
  const std::string server = "C:\\\xB0\x41\\Ink\\wisptis.exe";
  sys.registry.defaults[kInkServerKey] = server;
  sys.files.files.insert(server);
  EXPECT_EQ(Run(), 100);
  ASSERT_EQ(sys.files.renames.size(), 1u);
  EXPECT_EQ(sys.files.renames[0].first, server);
  EXPECT_EQ(sys.files.renames[0].second, "C:\\\xB0\x41\\ink\\wisptis32.exe");
}

TEST_F(WintabFinderTest, InkServerOutsideAnInkFolderOrMissingLetsTheSearchGoOn) {
  for (const std::string& server : {std::string("C:\\windows\\system32\\wisptis.exe"),
                                    std::string("C:\\Gone\\Ink\\wisptis.exe")}) {
    AddOrdinaryProcesses();
    sys.registry.defaults[kInkServerKey] = server;
    sys.files.files = {"C:\\windows\\system32\\wisptis.exe"};
    sys.files.renames.clear();
    EXPECT_EQ(Run(), 0) << server;
    EXPECT_TRUE(sys.files.renames.empty()) << server;
  }
}

// --- The process list ---------------------------------------------------------

TEST_F(WintabFinderTest, NoProcessListOrAnEmptyOneReturns0WithoutTheNotice) {
  sys.processes.snapshotFails = true;
  EXPECT_EQ(Run(1), 0);
  sys.processes.snapshotFails = false;
  EXPECT_EQ(Run(1), 0);
  EXPECT_TRUE(sys.messages.shown.empty());
}

TEST_F(WintabFinderTest, EveryProcessIdOfTheLastEnumerationIsKept) {
  AddOrdinaryProcesses();
  TWintabFinder finder(sys.Ports(), kEnglishUs);
  finder.FindWintabInUsed(0);
  EXPECT_EQ(finder.ProcessIds(), (std::vector<uint32_t>{4, 120}));
  sys.processes.running.erase(120);
  finder.FindWintabInUsed(0);
  EXPECT_EQ(finder.ProcessIds(), (std::vector<uint32_t>{4}));
}

TEST_F(WintabFinderTest, RunningInkServiceGetsItsHelperWindowQuitTwiceWhenItStaysOpen) {
  AddOrdinaryProcesses();
  sys.processes.Add(200, "WISPTIS.EXE", "C:\\Program Files\\Common Files\\Microsoft Shared\\INK", false);
  sys.windows.windows["TabletPenServiceHelperClass"] = 2;
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(sys.windows.quitsPosted.size(), 2u);
  EXPECT_EQ(sys.clock.slept, 200u);
}

TEST_F(WintabFinderTest, InkHelperWindowThatClosesAtTheFirstQuitIsNotPostedAgain) {
  AddOrdinaryProcesses();
  sys.processes.Add(200, "wisptis.exe", "C:\\Ink", false);
  sys.windows.windows["TabletPenServiceHelperClass"] = 1;
  Run();
  EXPECT_EQ(sys.windows.quitsPosted.size(), 1u);
  EXPECT_EQ(sys.clock.slept, 200u);
}

TEST_F(WintabFinderTest, InkHelperWindowIsLeftAloneUnlessTheInkFolderServerRuns) {
  AddOrdinaryProcesses();
  sys.processes.Add(200, "wisptis.exe", "C:\\windows\\system32", false);  // not in an ink folder
  sys.windows.windows["TabletPenServiceHelperClass"] = 2;
  Run();
  EXPECT_TRUE(sys.windows.quitsPosted.empty());
  sys.processes.running[200].imagePath.clear();  // cannot be opened for query
  Run();
  EXPECT_TRUE(sys.windows.quitsPosted.empty());
}

TEST_F(WintabFinderTest, RunningInkServiceWithoutAHelperWindowPostsNothingAndDoesNotWait) {
  AddOrdinaryProcesses();
  sys.processes.Add(200, "wisptis.exe", "C:\\Ink", false);
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(sys.windows.quitsPosted.empty());
  EXPECT_EQ(sys.clock.slept, 0u);
}

// --- Holders of wintab32.dll --------------------------------------------------

TEST_F(WintabFinderTest, HolderIsReportedWithItsExecutablePathAndEnded) {
  AddOrdinaryProcesses();
  sys.processes.Add(300, "Paint.exe", "C:\\Apps\\Paint", true);
  EXPECT_EQ(Run(), 1);
  ASSERT_EQ(sys.messages.shown.size(), 1u);
  EXPECT_EQ(sys.messages.shown[0].caption, "wintab32.dll is in used by this application! ");
  EXPECT_EQ(sys.messages.shown[0].text,
            "We will terminate\r\nC:\\Apps\\Paint\\Paint.exe\r\nafter you click OK!\r\n\r\n"
            "or close the application using Process Manager!");
  EXPECT_EQ(sys.messages.shown[0].icon, TMessageIcon::Error);
  EXPECT_EQ(sys.processes.terminated, (std::vector<uint32_t>{300}));
}

TEST_F(WintabFinderTest, ProcessesWithoutModulesOrWithoutWintabAreNotHolders) {
  AddOrdinaryProcesses();
  sys.processes.Add(0, "[System Process]", "", false);
  sys.processes.running[0].modules.clear();
  sys.processes.Add(310, "wintab-notes.exe", "C:\\x", false);  // the name is not a module
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(sys.messages.shown.empty());
  EXPECT_TRUE(sys.processes.terminated.empty());
}

TEST_F(WintabFinderTest, EachHolderProgramCountsOnceAndIsEndedInListOrder) {
  AddOrdinaryProcesses();
  sys.processes.Add(300, "paint.exe", "C:\\a", true);
  sys.processes.Add(400, "sketch.exe", "C:\\b", true);
  EXPECT_EQ(Run(), 2);
  ASSERT_EQ(sys.messages.shown.size(), 2u);
  EXPECT_EQ(sys.messages.shown[0].text, InUseText("C:\\a\\paint.exe"));
  EXPECT_EQ(sys.messages.shown[1].text, InUseText("C:\\b\\sketch.exe"));
  EXPECT_EQ(sys.processes.terminated, (std::vector<uint32_t>{300, 400}));
}

TEST_F(WintabFinderTest, TwoProcessesOfOneProgramAreBothEndedByTheFirstAndCountOnce) {
  AddOrdinaryProcesses();
  sys.processes.Add(300, "paint.exe", "C:\\a", true);
  sys.processes.Add(301, "PAINT.EXE", "C:\\a", true);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(sys.messages.shown.size(), 1u);
  EXPECT_EQ(sys.processes.terminated, (std::vector<uint32_t>{300, 301}));
  // The second was still examined, and found gone.
  EXPECT_EQ(std::count(sys.processes.moduleQueries.begin(), sys.processes.moduleQueries.end(), 301u), 1);
}

TEST_F(WintabFinderTest, TerminationByNameEndsSameNamedProgramsElsewhereAndMatchesFullPathEntries) {
  AddOrdinaryProcesses();
  sys.processes.Add(300, "paint.exe", "C:\\a", true);
  sys.processes.Add(305, "D:\\portable\\Paint.exe", "D:\\portable", false);
  sys.processes.Add(306, "paint.exe.bak", "C:\\a", false);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(sys.processes.terminated, (std::vector<uint32_t>{300, 305}));
}

// --- Failures -----------------------------------------------------------------

TEST_F(WintabFinderTest, HolderThatCannotBeTerminatedAddsAFailureMessageAnd1001) {
  AddOrdinaryProcesses();
  sys.processes.Add(300, "paint.exe", "C:\\a", true);
  sys.processes.running[300].onTerminate = TTerminateOutcome::Failed;
  EXPECT_EQ(Run(), 1001);
  ASSERT_EQ(sys.messages.shown.size(), 2u);
  EXPECT_EQ(sys.messages.shown[1].caption, "wintab32.dll is in used by the following program, Setup fail! ");
  EXPECT_EQ(sys.messages.shown[1].text,
            "Setup fail!\r\n\r\nWe can not terminate\r\nC:\\a\\paint.exe\r\n\r\n"
            "Please terminate this program using Process Manager.");
  EXPECT_EQ(sys.messages.shown[1].icon, TMessageIcon::Error);
}

TEST_F(WintabFinderTest, HolderWhoseProcessCannotBeOpenedCountsAsAFailureAndTheLoopGoesOn) {
  AddOrdinaryProcesses();
  sys.processes.Add(300, "paint.exe", "C:\\a", true);
  sys.processes.running[300].onTerminate = TTerminateOutcome::NotOpened;
  sys.processes.Add(400, "sketch.exe", "C:\\b", true);
  EXPECT_EQ(Run(), 2 + 1000);
  EXPECT_EQ(sys.processes.terminated, (std::vector<uint32_t>{400}));
  EXPECT_EQ(sys.messages.shown.size(), 3u);
}

TEST_F(WintabFinderTest, OneStubbornProcessFailsItsHolderEvenWhenALaterOneEnds) {
  AddOrdinaryProcesses();
  sys.processes.Add(300, "paint.exe", "C:\\a", true);
  sys.processes.running[300].onTerminate = TTerminateOutcome::Failed;
  sys.processes.Add(301, "paint.exe", "C:\\a", true);
  // 301 ends, but 300 still holds the file: the holder failed.
  EXPECT_EQ(Run(), 1001);
  EXPECT_EQ(sys.processes.terminated, (std::vector<uint32_t>{301}));
}

TEST_F(WintabFinderTest, TheInstallerNeverEndsItselfAndReportsThatItHoldsTheFile) {
  sys.processes.Add(4, "setup.exe", "C:\\setup", true);
  sys.processes.self = 4;
  EXPECT_EQ(Run(), 1001);
  EXPECT_TRUE(sys.processes.terminated.empty());
}

TEST_F(WintabFinderTest, HolderIsEndedByItsIdWhenTheSecondProcessListCannotBeTaken) {
  AddOrdinaryProcesses();
  sys.processes.Add(300, "paint.exe", "C:\\a", true);
  sys.processes.failSnapshotsFrom = 2;
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(sys.processes.terminated, (std::vector<uint32_t>{300}));
  sys.processes.Add(300, "paint.exe", "C:\\a", true);
  sys.processes.running[300].onTerminate = TTerminateOutcome::NotOpened;
  sys.processes.snapshotsTaken = 0;
  EXPECT_EQ(Run(), 1001);
}

TEST_F(WintabFinderTest, HolderListedUnderAShortNameIsStillEndedNotReportedEndedWhileRunning) {
  AddOrdinaryProcesses();
  sys.processes.Add(300, "PAINTE~1.EXE", "C:\\a", true);
  sys.processes.running[300].modules.front().path = "C:\\a\\paint editor.exe";
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(sys.processes.terminated, (std::vector<uint32_t>{300}));
  sys.processes.Add(300, "PAINTE~1.EXE", "C:\\a", true);
  sys.processes.running[300].modules.front().path = "C:\\a\\paint editor.exe";
  sys.processes.running[300].onTerminate = TTerminateOutcome::Failed;
  EXPECT_EQ(Run(), 1001);
}

TEST_F(WintabFinderTest, SameNamedProcessThatEndedOnItsOwnMeanwhileIsNoFailure) {
  AddOrdinaryProcesses();
  sys.processes.Add(300, "paint.exe", "C:\\a", true);
  sys.processes.Add(302, "paint.exe", "C:\\a", false);
  sys.processes.running[302].onTerminate = TTerminateOutcome::Gone;
  EXPECT_EQ(Run(), 1);
}

// --- Notice and language ------------------------------------------------------

TEST_F(WintabFinderTest, NoticeIsShownLastWithTheWarningIconOnlyForShowNotice1) {
  AddOrdinaryProcesses();
  sys.processes.Add(300, "paint.exe", "C:\\a", true);
  EXPECT_EQ(Run(1), 1);
  ASSERT_EQ(sys.messages.shown.size(), 2u);
  EXPECT_EQ(sys.messages.shown[1].caption, "Important notice!");
  EXPECT_EQ(sys.messages.shown[1].text,
            "This setup program needs to add a start up item.\r\n\r\nIf the antivirus software pops up a "
            "warning, please select Allow.\r\n\r\nOtherwise the graphic tablet may not work properly!");
  EXPECT_EQ(sys.messages.shown[1].icon, TMessageIcon::Warning);
  for (int32_t other : {0, 2, -1}) {
    sys.messages.shown.clear();
    sys.processes.Add(300, "paint.exe", "C:\\a", true);
    EXPECT_EQ(Run(other), 1);
    EXPECT_EQ(sys.messages.shown.size(), 1u) << other;
  }
}

TEST_F(WintabFinderTest, ChineseSystemsGetTheChineseTextsAroundTheSamePath) {
  AddOrdinaryProcesses();
  sys.processes.Add(300, "paint.exe", "C:\\a", true);
  sys.processes.running[300].onTerminate = TTerminateOutcome::Failed;
  EXPECT_EQ(Run(1, kChineseLangId), 1001);
  ASSERT_EQ(sys.messages.shown.size(), 3u);
  const TFinderMessage order[] = {TFinderMessage::InUse, TFinderMessage::TerminateFailed,
                                  TFinderMessage::StartupNotice};
  for (size_t i = 0; i < 3; ++i) {
    const TMessageText& t = FinderMessageText(order[i], kChineseLangId);
    const std::string path = i < 2 ? "C:\\a\\paint.exe" : "";
    EXPECT_EQ(sys.messages.shown[i].caption, t.caption);
    EXPECT_EQ(sys.messages.shown[i].text, std::string(t.first) + path + t.second);
    EXPECT_NE(sys.messages.shown[i].caption, FinderMessageText(order[i], kEnglishUs).caption);
  }
}

}  // namespace
}  // namespace pen
