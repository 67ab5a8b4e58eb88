// Arbitrary bytes as a task file of the scheduler's store: the XML reader and the
// task reader over it must never crash or hang, and the task is always listed
// under its file name.
// fuzz-max-len: 65536
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fakes/fake_platform.h"
#include "startup/task_reader.h"
#include "startup/task_xml.h"

using namespace bootmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ParseXmlDocument(bytes);

  testing::FakePlatform fake;
  fake.services.states["Schedule"] = service_state::kRunning;
  fake.files.AddFile("C:\\Windows\\System32\\Tasks\\Fuzzed", bytes);
  Logs logs(fake.files, fake.clock, fake.environment);
  TaskReader reader(fake.platform, &logs);
  const auto tasks = reader.GetAllTasks(nullptr, "\\", true, false);
  if (!tasks || tasks->size() != 1 || (*tasks)[0]->Name != "Fuzzed") std::abort();
  reader.TaskScheduleKind(*(*tasks)[0]);
  reader.IsSystemStartTask("Fuzzed", "");
  return 0;
}
