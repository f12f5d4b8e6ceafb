#pragma once

#include "logic/check_rules.h"
#include "logic/function_keys.h"

#include <QString>

#include <array>
#include <variant>

namespace kavrin {

class Profile;

// What the settings dialog edits: the function-key texts (F1-F5, then
// Shift+F1 to Shift+F5, with real CR LF line breaks), the AUTO increment,
// the converter program and where its output shows.
struct Preferences {
  std::array<QString, 10> functionKeys = defaultFunctionKeys();
  int autoIncrement = 10;
  QString converter = QStringLiteral("txt2bas.exe");
  // The converter's output goes to the panel only: no box per piece of it
  // and no result box.
  bool outputInPanelOnly = false;
  // The user's regular expression for the BASIC line a line of the
  // converter's output names (kept in the file, not in the dialog); empty
  // for the default forms.
  QString outputLinePattern;
  // The rules of the program check that run.
  basic::CheckOptions check;

  bool operator==(const Preferences &) const = default;
};

// Every stored setting, in the order the settings file is written.
enum class Setting {
  F1, // F1-F5, then Shift+F1 to Shift+F5
  Mode = F1 + 10,
  AutoAdd,
  AutoFlag,
  ConvProg,
  Wrap,
  BackColor,
  FontName,
  FontSize,
  FontColor,
  FontBold,
  FontItalic,
  Width,
  Height,
  Top,
  Left,
  Recent1, // the four recent files, newest first
  Highlight = Recent1 + 4,
  EmulatorCommand,
  PanelShown,
  PanelHeight, // 0: as the window lays it out
  PanelTab,
  OutputInPanelOnly,
  OutputLinePattern,
  FirstCheckRule, // one per row of the check's rules, in their order
  Count = FirstCheckRule + basic::kCheckRuleCount,
};

inline constexpr int kSettingCount = static_cast<int>(Setting::Count);

inline Setting functionKeySetting(int index) {
  return static_cast<Setting>(static_cast<int>(Setting::F1) + index);
}
inline Setting checkSetting(basic::CheckRule rule) {
  return static_cast<Setting>(static_cast<int>(Setting::FirstCheckRule) + basic::rowIndex(rule));
}
inline Setting recentSetting(int index) {
  return static_cast<Setting>(static_cast<int>(Setting::Recent1) + index);
}

// A number is read as the profile reads numbers and written in decimal; a
// text is read and written as it stands.
using SettingValue = std::variant<int, QString>;

struct SettingKey {
  QString section;
  QString key;
  SettingValue byDefault;
  // A key of the original settings file is written at every close; a later
  // one only once it differs from its default, so that a first start and
  // close still writes exactly the original keys.  Once in the file, it then
  // follows the value back to its default, or leaves the file again.
  enum class Written { Always, OnceChanged, WhileChanged };
  Written written = Written::Always;
};

const std::array<SettingKey, kSettingCount> &settingKeys();

class SettingValues {
public:
  // Every setting at its default.
  SettingValues();

  int number(Setting s) const { return std::get<int>(at(s)); }
  const QString &text(Setting s) const { return std::get<QString>(at(s)); }
  void set(Setting s, SettingValue value) { values_[static_cast<std::size_t>(s)] = std::move(value); }

  // An absent key keeps its default.
  static SettingValues read(const Profile &ini);
  // Writes the keys whose values differ from `since` (what was last read or
  // written), and the always-written keys the file lacks; the file keeps
  // every other key as it holds it, so that another editor's choices stay.
  void write(Profile &ini, const SettingValues &since) const;

private:
  const SettingValue &at(Setting s) const { return values_[static_cast<std::size_t>(s)]; }

  std::array<SettingValue, kSettingCount> values_;
};

} // namespace kavrin
