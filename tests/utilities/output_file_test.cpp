// The output file: created afresh, exact bytes, and write errors never taken for success.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "utilities/output_file.hpp"
#include "utilities/run_error.hpp"

namespace umbrix {
namespace {

class OutputFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("umbrix-out-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Read(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  std::filesystem::path folder_;
};

TEST_F(OutputFileTest, WritesExactlyTheBytesGiven) {
  {
    OutputFile file = OutputFile::OpenNewFile(PathOf("a.tex"));
    file.WriteText("ab");
    file.WriteLine("");
    file.WriteLine("$\\sim$ $X_{1}$");
    file.WriteText(std::string("\0z", 2));
    file.Close();
  }
  EXPECT_EQ(Read("a.tex"), std::string("ab\r\n$\\sim$ $X_{1}$\r\n\0z", 22));
}

TEST_F(OutputFileTest, EmptyLineIsTheTwoBytesThirteenAndTen) {
  OutputFile file = OutputFile::OpenNewFile(PathOf("b.tex"));
  file.WriteLine("");
  file.Close();
  EXPECT_EQ(Read("b.tex"), "\r\n");
}

TEST_F(OutputFileTest, LargeOutputArrivesComplete) {
  std::string line(1000, 'x');
  OutputFile file = OutputFile::OpenNewFile(PathOf("c.tex"));
  for (int i = 0; i < 500; ++i) file.WriteLine(line);
  file.WriteLine(std::string(300000, 'y'));
  file.Close();
  EXPECT_EQ(Read("c.tex").size(), 500u * 1002u + 300002u);
  // A discarding file counts the same lines and bytes and keeps none of them.
  OutputFile discard = OutputFile::Discard();
  for (int i = 0; i < 500; ++i) discard.WriteLine(line);
  discard.WriteLine(std::string(300000, 'y'));
  discard.Close();
  EXPECT_EQ(discard.LinesWritten(), 501);
  EXPECT_EQ(discard.BytesWritten(), 500 * 1002 + 300002);
}

// The web page's document in pieces: the same bytes as a file, and a document only once
// closed; a run that stops at a limit leaves no document, and a piece that cannot be taken
// is a write error, never success.
TEST(OutputFile, PiecesHoldTheBytesAndMakeADocumentOnlyOnceClosed) {
  const std::string line(1000, 'x');
  std::string collected;
  DocumentPieces pieces{[&collected](std::string_view piece) { collected += piece; }};
  {
    OutputFile file = OutputFile::IntoPieces(pieces, "AUSGABE.TEX");
    file.WriteText(std::string("\0z", 2));
    for (int i = 0; i < 500; ++i) file.WriteLine(line);
    file.WriteLine(std::string(300000, 'y'));
    EXPECT_FALSE(pieces.closed);
    file.Close();
  }
  ASSERT_TRUE(pieces.closed);
  EXPECT_EQ(collected.size(), 2u + 500u * 1002u + 300002u);
  EXPECT_EQ(collected.substr(0, 6), std::string("\0zxxx", 5) + "x");
  EXPECT_EQ(collected.substr(collected.size() - 3), "y\r\n");

  DocumentPieces stopped{[](std::string_view) {}};
  {
    OutputLimits limits;
    limits.maxBytes = 10;
    OutputFile file = OutputFile::IntoPieces(stopped, "AUSGABE.TEX", std::move(limits));
    file.WriteText("12345");
    EXPECT_THROW(file.WriteText("678901"), RunError);
  }
  EXPECT_FALSE(stopped.closed) << "abandoned, so no document";

  DocumentPieces refused{[](std::string_view) { throw std::bad_alloc(); }};
  OutputFile file = OutputFile::IntoPieces(refused, "AUSGABE.TEX");
  file.WriteText("abc");
  try {
    file.Close();
    ADD_FAILURE() << "a lost piece passed for success";
  } catch (const RunError& error) {
    EXPECT_EQ(error.kind(), RunError::Kind::File);
    EXPECT_NE(std::string(error.what()).find("AUSGABE.TEX"), std::string::npos) << error.what();
  }
  EXPECT_FALSE(refused.closed);
}

TEST_F(OutputFileTest, ExistingContentIsDiscarded) {
  { std::ofstream(folder_ / "d.tex") << std::string(10000, 'z'); }
  OutputFile file = OutputFile::OpenNewFile(PathOf("d.tex"));
  file.WriteText("neu");
  file.Close();
  EXPECT_EQ(Read("d.tex"), "neu");
}

TEST_F(OutputFileTest, MissingFolderIsAFileError) {
  try {
    OutputFile::OpenNewFile(PathOf("fehlt/e.tex"));
    FAIL() << "a missing folder must be reported";
  } catch (const RunError& error) {
    EXPECT_EQ(error.kind(), RunError::Kind::File);
  }
}

// A process number that no process has: a child that has ended and been waited for.
pid_t EndedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  int status = 0;
  ::waitpid(child, &status, 0);
  return child;
}

// The next run writing a document removes the hidden files that killed runs left of it; files
// of running processes, of other documents and of other names stay.
TEST_F(OutputFileTest, LeftoversOfKilledRunsAreRemovedByTheNextRun) {
  const std::string dead = std::to_string(EndedProcess());
  const std::vector<std::pair<std::string, bool>> files = {
      {".A.TEX." + dead + "-0.tmp", false},
      {".A.TEX." + dead + "-12.tmp", false},
      {".A.TEX.1-0.tmp", true},  // process 1 runs
      {".A.TEX." + std::to_string(::getpid()) + "-7.tmp", true},
      {".B.TEX." + dead + "-0.tmp", true},
      {".A.TEX." + dead + ".tmp", true},
      {".A.TEX.x" + dead + "-0.tmp", true},
      {"A.TEX." + dead + "-0.tmp", true},
  };
  for (const auto& [name, stays] : files) std::ofstream(folder_ / name) << "rest";
  std::filesystem::create_directory(folder_ / (".A.TEX." + dead + "-1.tmp"));
  OutputFile file = OutputFile::OpenNewFile(PathOf("A.TEX"));
  file.WriteText("neu");
  file.Close();
  for (const auto& [name, stays] : files) {
    SCOPED_TRACE(name);
    EXPECT_EQ(std::filesystem::exists(folder_ / name), stays);
  }
  EXPECT_TRUE(std::filesystem::is_directory(folder_ / (".A.TEX." + dead + "-1.tmp"))) << "only files go";
  EXPECT_EQ(Read("A.TEX"), "neu");
}

// A folder renamed while the document is written: the document lands in it all the same, or,
// when the run fails, nothing is left in it.
TEST_F(OutputFileTest, AFolderRenamedMeanwhileKeepsNoTemporaryFile) {
  for (const bool closes : {true, false}) {
    SCOPED_TRACE(closes);
    std::filesystem::create_directory(folder_ / "vorher");
    { std::ofstream(folder_ / "vorher" / "D.TEX") << "alt"; }
    {
      OutputFile file = OutputFile::OpenNewFile(PathOf("vorher/D.TEX"));
      file.WriteText("neu");
      std::filesystem::rename(folder_ / "vorher", folder_ / "nachher");
      if (closes) file.Close();
    }
    EXPECT_EQ(Read("nachher/D.TEX"), closes ? "neu" : "alt");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_ / "nachher"), {}), 1);
    std::filesystem::remove_all(folder_ / "nachher");
  }
}

// Through a symbolic link the target is replaced and keeps its owner, group and permissions;
// a link to a file not yet there creates that file; the link itself stays a link.
TEST_F(OutputFileTest, SymbolicLinksStayAndTheirTargetIsReplaced) {
  std::filesystem::create_directory(folder_ / "ziel");
  { std::ofstream(folder_ / "ziel" / "T.TEX") << "alt"; }
  std::filesystem::permissions(folder_ / "ziel" / "T.TEX", std::filesystem::perms(0640));
  const bool changesOwner = ::getuid() == 0 && ::chown((folder_ / "ziel" / "T.TEX").c_str(), 4321, 4321) == 0;
  struct Case {
    std::string link;
    std::string target;   // as the link names it
    std::string written;  // the file that holds the new document afterwards
  };
  const Case cases[] = {
      {"L.TEX", "ziel/T.TEX", "ziel/T.TEX"},
      {"KETTE.TEX", "L.TEX", "ziel/T.TEX"},
      {"NEU.TEX", "ziel/NEU.TEX", "ziel/NEU.TEX"},
      {"ABS.TEX", (folder_ / "ziel" / "ABS.TEX").string(), "ziel/ABS.TEX"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.link);
    std::filesystem::create_symlink(c.target, folder_ / c.link);
    OutputFile file = OutputFile::OpenNewFile(PathOf(c.link));
    file.WriteText("neu " + c.link);
    file.Close();
    EXPECT_TRUE(std::filesystem::is_symlink(folder_ / c.link));
    EXPECT_EQ(Read(c.written), "neu " + c.link);
    for (const auto& entry : std::filesystem::directory_iterator(folder_ / "ziel"))
      EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
  }
  struct stat status {};
  ASSERT_EQ(::stat((folder_ / "ziel" / "T.TEX").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  if (changesOwner) {
    EXPECT_EQ(status.st_uid, 4321u);
    EXPECT_EQ(status.st_gid, 4321u);
  }
  // A loop of links is named as such.
  std::filesystem::create_symlink("SCHLEIFE2.TEX", folder_ / "SCHLEIFE1.TEX");
  std::filesystem::create_symlink("SCHLEIFE1.TEX", folder_ / "SCHLEIFE2.TEX");
  try {
    OutputFile::OpenNewFile(PathOf("SCHLEIFE1.TEX"));
    ADD_FAILURE() << "a loop of links must be reported";
  } catch (const RunError& error) {
    EXPECT_NE(std::string(error.what()).find("Schleife"), std::string::npos) << error.what();
  }
}

TEST(OutputFile, FullDiskIsReportedAsFileErrorNeverAsSuccess) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
  for (std::size_t size : {std::size_t{10}, std::size_t{1} << 20}) {
    SCOPED_TRACE(size);
    try {
      OutputFile file = OutputFile::OpenNewFile("/dev/full");
      file.WriteLine(std::string(size, 'x'));
      file.Close();
      FAIL() << "writing to a full device must fail";
    } catch (const RunError& error) {
      EXPECT_EQ(error.kind(), RunError::Kind::File);
    }
  }
}

}  // namespace
}  // namespace umbrix
