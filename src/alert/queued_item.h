#pragma once
// The text a later /AddAutoRun start forwards to the open alert window, turned
// back into the arguments of that start.
#include <string_view>

#include "base/program_arguments.h"

namespace bootmark {

// The forwarded text holds the item's arguments in order, each behind a "/"
// (blanks around them carry no meaning). Everything up to and including the
// first "/" is dropped; the kind is the trimmed text up to the next "/", each
// later field the trimmed text up to the next "/" (the last one the rest).
// The result reads as the arguments of the start that sent it: argument 2 the
// kind and arguments 3 onward the fields, each with its leading "/", so that
// BuildNewStartupItem decodes them as it decodes a command line. Fields that
// were not sent are missing, not empty.
ProgramArguments QueuedItemArguments(std::string_view text);

}  // namespace bootmark
