// The registry contract against the fake registry the rule tests use.
#include "contracts/registry_contract.h"
#include "fakes/fake_registry.h"

namespace bootmark::contracts {
namespace {

class FakeEnv {
 public:
  IRegistry& Registry() { return registry_; }
  std::string Name() const { return "BootmarkContract"; }

 private:
  FakeRegistry registry_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, RegistryContract, FakeEnv);

}  // namespace
}  // namespace bootmark::contracts
