// Feeds arbitrary command lines to the argument parser. A command line that it cannot
// understand must end in a UsageError whose message is short valid UTF-8; any other exception,
// a crash or an accepted command line with values out of their range is a finding. The bytes
// of one input are the arguments, separated by NUL bytes.
//   umbrix_arguments_fuzz [ITERATIONS] [SEED]
//   umbrix_arguments_fuzz FOLDER
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "cli/arguments.hpp"
#include "fuzz_folder.hpp"
#include "utilities/utf8_text.hpp"

namespace {

// Longest message of a refused command line: the bad value is quoted short.
constexpr std::size_t kLongestMessage = 600;

void Fail(const char* what, const std::string& data) {
  std::string shown;
  for (char c : data.substr(0, 200)) shown += c == '\0' ? '|' : c;
  std::fprintf(stderr, "umbrix_arguments_fuzz: %s for the arguments [%s] (%zu bytes)\n", what, shown.c_str(),
               data.size());
  std::abort();
}

bool ValidUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const umbrix::Utf8Character character = umbrix::DecodeCharacter(text, at);
    if (!character.valid) return false;
    at += character.length;
  }
  return true;
}

std::vector<std::string> Arguments(const std::string& data) {
  std::vector<std::string> arguments;
  std::size_t start = 0;
  for (std::size_t end; (end = data.find('\0', start)) != std::string::npos; start = end + 1)
    arguments.push_back(data.substr(start, end - start));
  arguments.push_back(data.substr(start));
  return arguments;
}

void CheckAccepted(const umbrix::CliOptions& options, const std::string& data) {
  if (options.maxSize < 0) Fail("a negative --max-size", data);
  if (options.pdfTime.count() < 0 || options.pdfTime > umbrix::kLongestTypesettingTime)
    Fail("a --pdf-zeit out of range", data);
  if (options.width && (*options.width < umbrix::kNarrowestText || *options.width > umbrix::kWidestText))
    Fail("a --width out of range", data);
  if (options.inputFile && !options.formulas.empty()) Fail("formulas together with -i", data);
  if (options.outputName == "-" && (options.text || options.pdf)) Fail("-o - with --text or --pdf", data);
}

void FuzzOne(const std::string& data) {
  const std::vector<std::string> arguments = Arguments(data);
  try {
    CheckAccepted(umbrix::ParseArguments(arguments), data);
  } catch (const umbrix::UsageError& error) {
    const std::string_view message = error.what();
    if (message.empty() || message.size() > kLongestMessage || !ValidUtf8(message))
      Fail("a refusal whose message is empty, long or no valid UTF-8", data);
  } catch (...) {
    Fail("an exception other than UsageError", data);
  }
  // The value parsers on their own, with every argument as the value.
  for (const std::string& argument : arguments) {
    try {
      if (umbrix::ParseSize(argument) < 0) Fail("a negative size", data);
    } catch (const umbrix::UsageError&) {
    }
    try {
      if (umbrix::ParseDuration(argument).count() < 0) Fail("a negative duration", data);
    } catch (const umbrix::UsageError&) {
    }
  }
}

}  // namespace

#ifdef UMBRIX_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzOne(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
#else
namespace {

// Pieces of command lines: options, values and their near misses, joined at random.
std::string RandomCommandLine(std::mt19937& random) {
  // clang-format off
  static const char* const pieces[] = {
      "-m", "2", "wenig", "--mode=1", "-o", "-", "aus", "ordner/", "-i", "-t", "--width", "80", "19",
      "--pdf", "--pdf-zeit", "30m", "8761h", "0", "--max-size", "200M", "8388608T", "17179869185G",
      "-e", "-g", "-q", "--", "x1=>x2", "-x2+x1", "p ∧", "\xFF", "=", "--max-size=", "99999999999999999999",
      "-h", "--version", ""};
  // clang-format on
  std::string data;
  const std::size_t count = random() % 8;
  for (std::size_t k = 0; k < count; ++k) {
    if (k > 0) data += '\0';
    data += pieces[random() % std::size(pieces)];
    if (random() % 5 == 0) data += pieces[random() % std::size(pieces)];
  }
  return data;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::filesystem::is_directory(argv[1])) return umbrix::fuzz::RunFolder(argv[1], FuzzOne);
  const long iterations = argc > 1 ? std::atol(argv[1]) : 100000;
  std::mt19937 random(argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1u);
  for (long i = 0; i < iterations; ++i) FuzzOne(RandomCommandLine(random));
  std::printf("%ld command lines parsed without a finding\n", iterations);
  return 0;
}
#endif
