#pragma once
// The notice windows a run mode opens. Each call creates the mode's window as the
// main window and runs the message loop; the window ends the process itself when
// it closes, so a call returns only when the window could not be made.
namespace bootmark {

struct ProcessState;

class INoticeWindows {
 public:
  virtual ~INoticeWindows() = default;
  virtual void RunBootTimeNotice(ProcessState& state) = 0;
  virtual void RunDnsChangeNotice(ProcessState& state) = 0;
  // The alert window; without an alert queue in `state` it finds no item and ends.
  virtual void RunAlertNotice(ProcessState& state) = 0;
};

}  // namespace bootmark
