#include "support/test_platform.hpp"

#include <atomic>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace umbrix::test {

void TestPlatform::ReportProgress(const RunProgress& progress) {
  if (progress.lines > lineLimit) {
    stopped_ = true;
    throw RunStopped();
  }
}

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("umbrix-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

RunDriver::OutputOpener OpenerIn(const std::filesystem::path& folder) {
  return
      [folder](const std::string& fileName) { return OutputFile::OpenNewFile((folder / fileName).string()); };
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string RunDocument(const std::string& text1, OptionEntry option, Extras extras) {
  TempFolder folder;
  TestPlatform platform(text1, "doc", option);
  platform.SetGesetze(extras.gesetze);
  platform.SelectErgebnis(extras.ergebnis);
  RunDriver driver(platform, OpenerIn(folder.Path()));
  const std::string name = driver.Command1_Click();
  return ReadFile(folder.Path() / name);
}

}  // namespace umbrix::test
