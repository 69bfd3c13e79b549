// What the run driver needs from its front end: the window's two texts, the Start button, the
// caption, the option group and event processing. The command line and the Qt window each
// implement it.
#pragma once

#include <cstdint>
#include <string>

#include "render/run_events.hpp"
#include "run/option_entry.hpp"

namespace umbrix {

/// The phase as a progress display names it, in German.
const char* PhaseName(Phase phase);

/// Where a run stands: formula n of total, its phase, and the document so far.
struct RunProgress {
  std::int32_t formula = 0;
  std::int32_t total = 0;
  Phase phase = Phase::Input;
  std::int64_t lines = 0;
  std::int64_t bytes = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  /// The formulas, lines separated by CR LF.
  virtual std::string Text1() const = 0;
  virtual void SetText1(const std::string& text) = 0;
  /// The output file name as typed.
  virtual std::string Text2() const = 0;
  virtual void SetText2(const std::string& text) = 0;

  virtual void EnableStart(bool enabled) = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  /// Whether the entry of the option group is selected, read at the moment of use.
  virtual bool OptionSelected(OptionEntry entry) const = 0;
  /// Whether the check box "Gesetze angeben" is ticked: every step line then names its laws.
  /// Read once at the start of a run.
  virtual bool GesetzeAngeben() const { return false; }
  /// Whether each block ends with the section "Ergebnis"; off unless the front end offers it.
  virtual bool ErgebnisSelected() const { return false; }
  /// A size at which the document is ended where it stands and closed with a paragraph that
  /// says why, so that it still typesets (the web page, which holds it in memory); 0: none.
  virtual std::int64_t ClosingCap() const { return 0; }
  /// Handles pending window events; called once per formula.
  virtual void ProcessEvents() = 0;

  /// Called after every line group written. A front end may throw RunStopped here to end the
  /// run where it is.
  virtual void ReportProgress(const RunProgress& progress) { (void)progress; }
};

/// Thrown by a front end to end a run early (quitting); the previous document stays.
class RunStopped {};

}  // namespace umbrix
