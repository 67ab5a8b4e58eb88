#include "app/win32/auto_run_notice_window.h"

#include "app/auto_run_notice.h"
#include "app/default_mode_jobs.h"
#include "common/data_dirs.h"
#include "suite/statistics.h"
#include "ui/skin.h"
#include "ui/win32/form_window.h"

namespace bootmark::win32 {

void RunAutoRunNoticeWindow(const Platform& platform, ProcessState& state) {
  const GdiPlusSession gdiPlus;
  TBmark_AutoRunNotice notice(platform, state, [&platform, &state](std::string_view eventId) {
    StatSend(platform, StatisticsFor(platform, state), eventId);
  });
  notice.useProgramCursors = [](FormModel& form) { return UseProgramCursors(form); };
  notice.Form().onCopyData = [&notice](const std::string& text) { notice.ReceiveForwardedItem(text); };
  notice.FormCreate();

  const Skin skin = Skin::Load(platform.files, SkinFolder(ProgramDir(platform.environment), notice.Form().skin));
  FormWindow window(notice.Form(), skin);  // measures text as the screen draws it from here on
  // Made, hidden, before the first item is shown: later starts find it and queue
  // their items as early as possible.
  if (window.Create()) {
    notice.FormShow();
    window.Sync();
    window.RunMessageLoop();
  }
  platform.processes.TerminateSelf(0);
}

}  // namespace bootmark::win32
