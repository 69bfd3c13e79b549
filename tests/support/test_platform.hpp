// A front end for the tests: the plain-field platform with counters on top, and an output
// opener that puts the document into a fresh temporary folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "run/field_platform.hpp"
#include "run/run_driver.hpp"

namespace umbrix::test {

class TestPlatform : public FieldPlatform {
 public:
  using FieldPlatform::FieldPlatform;

  void EnableStart(bool enabled) override {
    FieldPlatform::EnableStart(enabled);
    if (!enabled) ++starts_;
  }
  void ProcessEvents() override { ++eventRounds_; }
  /// Ends a run that writes more lines than lineLimit (a loop that does not end).
  void ReportProgress(const RunProgress& progress) override;

  int Starts() const { return starts_; }
  int EventRounds() const { return eventRounds_; }
  bool Stopped() const { return stopped_; }

  std::int64_t lineLimit = 1'000'000;

 private:
  int starts_ = 0;
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

/// What a run adds to the plain document: the laws of every step, the section "Ergebnis".
struct Extras {
  bool gesetze = false;
  bool ergebnis = false;
};

/// Runs Start with text1 in the given option and returns the document's bytes.
std::string RunDocument(const std::string& text1, OptionEntry option, Extras extras = {});

}  // namespace umbrix::test
