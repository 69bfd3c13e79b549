// The sentences of the run's events, looked up in the fixed texts.
#include "render/run_events.hpp"

#include "render/texts.hpp"

namespace umbrix {

std::string_view SentenceText(Sentence sentence) {
  for (const auto& [which, text] : texts::kSentenceTexts)
    if (which == sentence) return text;
  return {};
}

}  // namespace umbrix
