// The command line: umbrix [OPTIONEN] [FORMEL ...].
#pragma once

#include <cstddef>
#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "derivation_check/derivation.hpp"
#include "render/texts.hpp"
#include "run/option_entry.hpp"
#include "typesetting/typesetting.hpp"
#include "utilities/output_file.hpp"

namespace umbrix {

/// A command line that cannot be understood; the message is German.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// Most bytes of input that -i reads: far beyond any formula that can be converted, and
/// refused before an endless source such as /dev/zero fills the memory.
inline constexpr std::size_t kInputLimit = std::size_t{64} << 20;

struct CliOptions {
  enum class Action { Run, Help, Version } action = Action::Run;
  std::vector<std::string> formulas;                   // one input line each
  std::optional<std::string> inputFile;                // -i; "-" is standard input
  std::string outputName = texts::kDefaultOutputName;  // -o; "-" writes to standard output
  bool outputGiven = false;                            // whether -o was given
  OptionEntry option = kOptionTable[0].entry;          // -m
  bool text = false;                                   // -t: the readable derivation on standard output
  std::optional<int> width;                            // --width: columns of that text
  bool pdf = false;                                    // --pdf: typeset the document after writing it
  bool quiet = false;                                  // -q: no progress display on a terminal
  std::int64_t maxSize = kDefaultDocumentLimit;        // --max-size in bytes; 0 for no cap
  bool gesetze = false;                                // -g: every step line names its laws
  bool ergebnis = false;                               // -e: each block ends with the section "Ergebnis"
  std::size_t inputLimit = kInputLimit;                // most bytes read from -i
  std::chrono::seconds pdfTime = kDefaultTypesettingTime;  // --pdf-zeit; zero for no limit
  bool pruefen = false;                                // --pruefen: check the derivations given
  std::optional<Ziel> ziel;                            // --ziel: the normal form they are to end in
  bool hinweis = false;                                // --hinweis: the next step from the last line
};

/// Narrowest and widest text that --width accepts.
inline constexpr int kNarrowestText = 20;
inline constexpr int kWidestText = 100000;

/// Added to a message when the formulas given as arguments look like one formula that the
/// shell cut apart at its blanks.
inline constexpr const char* kQuoteHint =
    "Die Formel wurde anscheinend an ihren Leerzeichen in mehrere Argumente geteilt: Formeln gehören in "
    "Anführungszeichen, zum Beispiel: umbrix \"p -> q\"";

/// Whether the formulas given as arguments look like pieces of one formula.
bool LooksSplitByShell(const CliOptions& options);

/// Longest time that --pdf-zeit accepts: a year.
inline constexpr std::chrono::hours kLongestTypesettingTime{24 * 365};

/// A duration such as "30m": whole seconds, or minutes (m) or hours (h); 0 for no limit.
/// Throws UsageError, also beyond kLongestTypesettingTime.
std::chrono::seconds ParseDuration(const std::string& value);

/// Parses the arguments after the program name. Throws UsageError.
CliOptions ParseArguments(const std::vector<std::string>& arguments);

/// Largest size that --max-size accepts, in bytes.
inline constexpr std::int64_t kLargestSize = std::numeric_limits<std::int64_t>::max();

/// A size such as "200M": a whole number of bytes, or of K, M, G or T (steps of 1024); 0 for
/// no cap. Throws UsageError, also for a size beyond kLargestSize.
std::int64_t ParseSize(const std::string& value);

/// LF and CR LF line ends both become CR LF; a leading UTF-8 byte order mark is dropped.
std::string ToCrLf(std::string_view text);

/// Reads in to its end; name is the subject of messages ("Die Standardeingabe"). Throws RunError:
/// an input error when there are more than limit bytes, a file error when reading fails.
std::string ReadInput(std::istream& in, const std::string& name, std::size_t limit);

/// The input text (Text1) that the options describe; reads the input file if one is given.
/// Throws RunError (a file error) when the file cannot be read or is a folder or a block device,
/// an input error when it holds more than options.inputLimit bytes.
std::string InputText(const CliOptions& options);

std::string HelpText();
std::string VersionText();

}  // namespace umbrix
