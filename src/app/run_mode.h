#pragma once
#include <string_view>

namespace bootmark {

enum class RunMode { None, MainData, BootTask, DNSChange, AddAutoRun, UpdateTaskschd, LoadAVList };

// The mode selected by the first argument, compared without regard to case;
// anything else (or nothing) is RunMode::None.
RunMode ParseRunMode(std::string_view switchText);

// Named mutexes that keep a second instance of a windowed mode out.
inline constexpr std::string_view kBootTaskMutex = "_Tarvo_KST14_Bootmark_BootTask";
inline constexpr std::string_view kDnsChangeMutex = "_Tarvo_Bootmark_DNSChange";
inline constexpr std::string_view kAddAutoRunMutex = "_Tarvo_Bootmark_AddAutoRun";

}  // namespace bootmark
