#include "app/win32/dns_change_notice_window.h"

#include "app/dns_change_notice.h"
#include "common/data_dirs.h"
#include "ui/skin.h"
#include "ui/win32/form_window.h"

namespace bootmark::win32 {

void RunDnsChangeNoticeWindow(const Platform& platform, ProcessState& state) {
  const GdiPlusSession gdiPlus;
  TBmark_DNSChangeNotice notice(platform, state.system.get());
  notice.useProgramCursors = [](FormModel& form) { return UseProgramCursors(form); };
  notice.FormCreate();

  const Skin skin = Skin::Load(platform.files, SkinFolder(ProgramDir(platform.environment), notice.Form().skin));
  FormWindow window(notice.Form(), skin);  // measures text as the screen draws it from here on
  notice.hideWindow = [&window] { window.Sync(); };
  notice.FormShow();
  if (window.Create()) window.RunMessageLoop();
  platform.processes.TerminateSelf(0);
}

}  // namespace bootmark::win32
