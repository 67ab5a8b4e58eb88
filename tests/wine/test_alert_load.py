# The alert under load: many /AddAutoRun starts at once give one alert that shows
# every item in turn, and the alert log holds a record of each (cross-process appends).

import time

from harness import display as display_module
from harness.suite_input import ALERT_CLASS
from test_alert_window import AlertWindowCase, item_args


class AlertQueueTest(AlertWindowCase):

    def test_fifty_starts_give_one_alert_with_every_item(self):
        count = 50
        self.settings(1)
        watch = self.start_probe("watch")
        # The pointer rests where the alert appears, so that its first item stays
        # while the other starts hand theirs over, as with the usual display time.
        width, height = display_module.SCREEN_SIZE
        self.move_pointer(width - 225, height - 145)
        names = [f"Load Item {i:02d}" for i in range(count)]
        runs = []
        for name in names:
            runs.append(self.start_bootmark("/AddAutoRun", *item_args(name)))
            time.sleep(2.0 / count)
        self.wait_until(lambda: sum(run.running() for run in runs) <= 1, 60 + count, "the later starts did not end")
        self.move_pointer(10, 10)
        results = [self.finish(run, timeout=60 + 3 * count) for run in runs]
        owners = {w.pid for w in watch.windows() if w.class_name == ALERT_CLASS}
        self.assertEqual(len(owners), 1, f"alert windows of {owners}")
        shown = [line[len("FNewItemName : "):] for result in results for line in result.lines
                 if line.startswith("FNewItemName : ")]
        self.assertEqual(sorted(shown), sorted(names))
        # The alert log holds one record of every start's item, in the order they were shown.
        self.assertEqual(self.alert_log_names(), shown)
