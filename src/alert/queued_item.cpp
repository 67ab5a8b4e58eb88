#include "alert/queued_item.h"

#include <string>
#include <vector>

#include "base/text.h"

namespace bootmark {

ProgramArguments QueuedItemArguments(std::string_view text) {
  const std::size_t first = text.find('/');
  const std::string_view fields = first == std::string_view::npos ? text : text.substr(first + 1);

  std::vector<std::string> arguments{"", "/AddAutoRun"};
  for (const std::string& field : SplitText(fields, "/")) arguments.push_back("/" + std::string(Trim(field)));
  return ProgramArguments(std::move(arguments));
}

}  // namespace bootmark
