// The fuzzers' run over a folder, built without libFuzzer: every file of it, in name order,
// through one fuzz function (the corpus and the reproducers of earlier findings).
#pragma once

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace umbrix::fuzz {

/// Runs fuzzOne on the bytes of every file of folder; 1 when the folder holds none.
template <typename FuzzOne>
int RunFolder(const std::filesystem::path& folder, FuzzOne fuzzOne) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    fuzzOne(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  }
  std::printf("%zu files of %s ran without a finding\n", files.size(), folder.c_str());
  return files.empty() ? 1 : 0;
}

}  // namespace umbrix::fuzz
