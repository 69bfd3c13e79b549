// A front end for the tests: the window's texts and option as plain fields, and an output
// opener that puts the document into a fresh temporary folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "frontend/platform.hpp"
#include "frontend/run_driver.hpp"

namespace umbrix::test {

class TestPlatform : public Platform {
 public:
  TestPlatform(std::string text1, std::string text2, int option)
      : text1_(std::move(text1)), text2_(std::move(text2)), option_(option) {}

  std::string Text1() const override { return text1_; }
  void SetText1(const std::string& text) override { text1_ = text; }
  std::string Text2() const override { return text2_; }
  void SetText2(const std::string& text) override { text2_ = text; }
  void EnableStart(bool enabled) override {
    startEnabled_ = enabled;
    if (!enabled) ++starts_;
  }
  void SetCaption(const std::string& caption) override { caption_ = caption; }
  bool OptionSelected(int entry) const override { return entry == option_; }
  void ProcessEvents() override { ++eventRounds_; }
  /// Ends a run that writes more lines than lineLimit (a loop that does not end).
  void ReportProgress(std::int32_t, std::int32_t, std::int64_t lines) override;

  void SelectOption(int option) { option_ = option; }
  bool StartEnabled() const { return startEnabled_; }
  int Starts() const { return starts_; }
  const std::string& Caption() const { return caption_; }
  int EventRounds() const { return eventRounds_; }
  bool Stopped() const { return stopped_; }

  std::int64_t lineLimit = 1'000'000;

 private:
  std::string text1_;
  std::string text2_;
  int option_;
  bool startEnabled_ = true;
  int starts_ = 0;
  std::string caption_ = "Umbrix";
  int eventRounds_ = 0;
  bool stopped_ = false;
};

/// A fresh, empty folder below the system's temporary folder, removed with the object.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

/// An opener that creates the named file inside folder.
RunDriver::OutputOpener OpenerIn(const std::filesystem::path& folder);

std::string ReadFile(const std::filesystem::path& path);

/// Runs Start with text1 in the given option and returns the document's bytes.
std::string RunDocument(const std::string& text1, int option);

}  // namespace umbrix::test
