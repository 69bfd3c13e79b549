// The command line's side of the platform interface: the window's texts and option are
// plain fields, set from the arguments; there are no events to process.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "frontend/platform.hpp"

namespace umbrix {

class CliPlatform : public Platform {
 public:
  CliPlatform(std::string text1, std::string text2, int option)
      : text1_(std::move(text1)), text2_(std::move(text2)), option_(option) {}

  std::string Text1() const override { return text1_; }
  void SetText1(const std::string& text) override { text1_ = text; }
  std::string Text2() const override { return text2_; }
  void SetText2(const std::string& text) override { text2_ = text; }
  void EnableStart(bool enabled) override { startEnabled_ = enabled; }
  void SetCaption(const std::string& caption) override { caption_ = caption; }
  bool OptionSelected(int entry) const override { return entry == option_; }
  void ProcessEvents() override {}

  bool StartEnabled() const { return startEnabled_; }
  const std::string& Caption() const { return caption_; }

 private:
  std::string text1_;
  std::string text2_;
  int option_;
  bool startEnabled_ = true;
  std::string caption_ = "Umbrix";
};

/// Runs umbrix with the arguments after the program name; returns the exit code. Messages go
/// to err, the document to out when it is written to standard output, and so does the readable
/// text, textWidth columns wide unless --width says otherwise.
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                   int textWidth = 80);

/// Columns of the terminal on standard output; else of $COLUMNS; else 80.
int TerminalWidth();

}  // namespace umbrix
