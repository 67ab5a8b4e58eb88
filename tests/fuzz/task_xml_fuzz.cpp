// Arbitrary bytes as a task file of the scheduler's store: the XML reader and the
// task reader over it must never crash or hang, and the task is always listed
// under its file name. The bytes as one of the file's durations and boundary
// date-times: never a crash, and a duration is never negative.
// fuzz-max-len: 65536
#include "fakes/fake_platform.h"
#include "fuzz/fuzz_target.h"
#include "startup/task_duration.h"
#include "startup/task_reader.h"
#include "startup/task_xml.h"

BOOTMARK_FUZZ_TARGET(bytes) {
  ParseXmlDocument(bytes);
  Check(ParseTaskDuration(bytes) >= 0 && TaskDurationIn(bytes, 60) >= 0);
  ParseXmlDateTime(bytes);

  testing::FakePlatform fake;
  fake.files.AddFile("C:\\Windows\\System32\\Tasks\\Fuzzed", bytes);
  Logs logs(fake.files, fake.clock, fake.environment);
  TaskReader reader(fake.platform, &logs);
  const auto tasks = reader.GetAllTasks(nullptr, "\\", true, false);
  Check(tasks && tasks->size() == 1 && (*tasks)[0]->Name == "Fuzzed");
  reader.TaskScheduleKind(*(*tasks)[0]);
  reader.IsSystemStartTask("Fuzzed", "");
}
