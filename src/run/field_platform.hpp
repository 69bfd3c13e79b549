// A platform without a window: the window's texts and option are plain fields and there are
// no events to process. The command line runs the driver on it.
#pragma once

#include <string>

#include "render/texts.hpp"
#include "run/platform.hpp"

namespace umbrix {

class FieldPlatform : public Platform {
 public:
  FieldPlatform(std::string text1, std::string text2, OptionEntry option, bool gesetze = false)
      : text1_(std::move(text1)), text2_(std::move(text2)), option_(option), gesetze_(gesetze) {}

  std::string Text1() const override { return text1_; }
  void SetText1(const std::string& text) override { text1_ = text; }
  std::string Text2() const override { return text2_; }
  void SetText2(const std::string& text) override { text2_ = text; }
  void EnableStart(bool enabled) override { startEnabled_ = enabled; }
  void SetCaption(const std::string& caption) override { caption_ = caption; }
  bool OptionSelected(OptionEntry entry) const override { return entry == option_; }
  bool GesetzeAngeben() const override { return gesetze_; }
  bool ErgebnisSelected() const override { return ergebnis_; }
  void ProcessEvents() override {}

  void SelectOption(OptionEntry option) { option_ = option; }
  void SetGesetze(bool gesetze) { gesetze_ = gesetze; }
  void SelectErgebnis(bool on) { ergebnis_ = on; }
  bool StartEnabled() const { return startEnabled_; }
  const std::string& Caption() const { return caption_; }

 private:
  std::string text1_;
  std::string text2_;
  OptionEntry option_;
  bool gesetze_;
  bool ergebnis_ = false;
  bool startEnabled_ = true;
  std::string caption_ = texts::kCaption;
};

}  // namespace umbrix
