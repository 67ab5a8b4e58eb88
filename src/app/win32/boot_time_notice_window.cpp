#include "app/win32/boot_time_notice_window.h"

#include "app/boot_time_notice.h"
#include "app/default_mode_jobs.h"
#include "common/data_dirs.h"
#include "startup/main_ctl.h"
#include "suite/statistics.h"
#include "ui/skin.h"
#include "ui/win32/form_window.h"

namespace bootmark::win32 {

void RunBootTimeNoticeWindow(const Platform& platform, ProcessState& state) {
  const GdiPlusSession gdiPlus;
  BootNoticeServices services;
  services.collectInventory = [&platform, &state] {
    TMainCtl controller(InventoryContextFor(platform, state));
    controller.GetAllData();
  };
  services.sendStatistic = [&platform, &state](std::string_view eventId) {
    StatSend(platform, StatisticsFor(platform, state), eventId);
  };
  services.useProgramCursors = [](FormModel& form) { return UseProgramCursors(form); };

  TBmark_MainForm notice(platform, state.system.get(), std::move(services));
  notice.FormCreate();

  const Skin skin = Skin::Load(platform.files, SkinFolder(ProgramDir(platform.environment), notice.Form().skin));
  FormWindow window(notice.Form(), skin);  // measures text as the screen draws it from here on
  notice.FormShow();
  if (window.Create()) window.RunMessageLoop();
  platform.processes.TerminateSelf(0);
}

}  // namespace bootmark::win32
