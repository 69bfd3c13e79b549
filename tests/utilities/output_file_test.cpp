// The output file: created afresh, exact bytes, and write errors never taken for success.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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
