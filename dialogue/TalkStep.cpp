#include "TalkStep.h"

#include "TalkScript.h"

namespace {

std::string AppendedCaption(std::string_view caption, std::string_view text) {
  std::string joined;
  joined.reserve(caption.size() + TalkBreak.size() + text.size());
  joined.append(caption).append(TalkBreak).append(text);
  return joined;
}

}  // namespace

TalkOutcome PerformTalkStep(int step, std::string_view caption) {
  const std::optional<TalkRow> row = TalkScript::RowFor(step);
  if (!row) return {};
  switch (row->action) {
    case TalkAction::Replace:
      return {std::string(row->text)};
    case TalkAction::Append:
      return {AppendedCaption(caption, row->text)};
    case TalkAction::Blank:
      return {std::string(BlankText)};
    case TalkAction::Terminate:
      return {std::nullopt, true};
  }
  return {};
}
