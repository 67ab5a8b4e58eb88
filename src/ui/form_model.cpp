#include "ui/form_model.h"

#include <stdexcept>

#include "common/text.h"

namespace bootmark {

FormControl& FormModel::Add(std::string name, ControlKind kind) {
  if (!name.empty() && Find(name) != nullptr) {
    throw std::invalid_argument("A component named " + name + " already exists in " + name_);
  }
  return controls_.emplace_back(std::move(name), kind);
}

FormControl* FormModel::Find(std::string_view name) {
  return const_cast<FormControl*>(static_cast<const FormModel&>(*this).Find(name));
}

const FormControl* FormModel::Find(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const FormControl& control : controls_) {
    if (SameText(control.Name(), name)) return &control;
  }
  return nullptr;
}

}  // namespace bootmark
