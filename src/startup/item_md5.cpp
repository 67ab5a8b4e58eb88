#include "startup/item_md5.h"

#include "base/md5.h"
#include "base/text.h"

namespace bootmark {
namespace {

bool Contains(std::string_view upperName, std::string_view upperPart) {
  return upperName.find(upperPart) != std::string_view::npos;
}

// A product that writes its version in parentheses behind the item name.
bool IsVersionedName(std::string_view upperName, std::string_view upperProduct) {
  return Contains(upperName, upperProduct) && Contains(upperName, "(") && Contains(upperName, ")");
}

// A fixed item name, told by the start of the name, the program and its publisher.
struct KnownItem {
  std::string_view name;
  std::string_view exeFileName;
  std::string_view company;
};

constexpr KnownItem kKnownItems[] = {
    {"GoogleUpdate", "GoogleUpdate.exe", "Google Inc."},
    {"KST7_SkipUac", "KST.exe", "Tarvo"},
    {"KST8_SkipUac", "KST.exe", "Tarvo"},
    {"KST7U_SkipUac", "KST.exe", "Tarvo"},
    {"KST8U_SkipUac", "Purgel.exe", "Tarvo"},
    {"Uninstaller_SkipUac", "KST.exe", "Tarvo"},
    {"Tarvo_AutoShutdown", "shutdown.exe", "Microsoft Corporation"},
    {"Tarvo_AutoShutdown", "Lumo10_AutoShutdown.exe", "Tarvo"},
};

}  // namespace

std::string NormalizeItemName(std::string_view name, std::string_view exeFileName, std::string_view company) {
  const std::string upper = UpperCaseOrdinal(name);
  const auto beforeParenthesis = [name] { return std::string(Trim(name.substr(0, name.find('(')))); };
  if (IsVersionedName(upper, "DRIVELIO")) return beforeParenthesis();
  if (Contains(upper, "SPACIO_SKIPUAC")) return "Spacio_SkipUac";
  if (IsVersionedName(upper, "TUNEVANE OPTIMIZER")) return beforeParenthesis();
  for (const KnownItem& known : kKnownItems) {
    if (StartsWith(upper, UpperCaseOrdinal(known.name)) && SameText(exeFileName, known.exeFileName) &&
        SameText(company, known.company)) {
      return std::string(known.name);
    }
  }
  return std::string(name);
}

std::string GetItemMD5(AnsiEncoder& ansi, std::string_view name, std::string_view exeFileName,
                       std::string_view company, int kind) {
  const std::string key = std::string(Trim(NormalizeItemName(name, exeFileName, company))) +
                          std::string(Trim(exeFileName)) + std::string(Trim(company)) + std::to_string(kind);
  return Md5Hex(ansi.Encode(UpperCaseOrdinal(key)));
}

}  // namespace bootmark
