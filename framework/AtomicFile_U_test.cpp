#include "AtomicFile_U.h"

#include <gtest/gtest.h>

#include "Exceptions_U.h"
#include "TestFolder_U.h"

using namespace nFramework;

TEST(AtomicFile, CommitPutsTheFileInPlaceCreatingMissingFolders) {
  TTestFolder dir;
  auto target = dir / "a/b/out.txt";
  {
    TAtomicFile file(target);
    EXPECT_EQ(file.TempPath().parent_path(), target.parent_path());
    file.Write("um\r\n");
    file.Write("dois\r\n");
    EXPECT_FALSE(std::filesystem::exists(target)) << "visible before commit";
    file.Commit();
  }
  EXPECT_EQ(ReadBytes(target), "um\r\ndois\r\n");
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(target.parent_path())) names.insert(e.path().filename());
  EXPECT_EQ(names, std::set<std::string>{"out.txt"});
}

TEST(AtomicFile, AbandonedOutputLeavesThePreviousFileAndNoTemporary) {
  TTestFolder dir;
  WriteBytes(dir / "out.txt", "anterior");
  try {
    TAtomicFile file(dir / "out.txt");
    file.Write("meia linha");
    throw std::runtime_error("falha no meio");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(ReadBytes(dir / "out.txt"), "anterior");
  EXPECT_EQ(dir.Entries(), std::set<std::string>{"out.txt"});
}

TEST(AtomicFile, FailedRenameRaisesAndCleansUp) {
  TTestFolder dir;
  std::filesystem::create_directories(dir / "out.txt/inner");  // a folder where the file should go
  TAtomicFile file(dir / "out.txt");
  file.Write("x");
  EXPECT_THROW(file.Commit(), EFileError);
  EXPECT_EQ(dir.Entries(), std::set<std::string>{"out.txt"});
  EXPECT_THROW(TAtomicFile(dir / "sem-nome/"), EFileError);
}
