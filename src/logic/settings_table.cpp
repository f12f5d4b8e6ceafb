#include "logic/settings_table.h"

#include "logic/function_keys.h"
#include "platform/colors.h"
#include "platform/profile.h"

namespace kavrin {
namespace {

std::array<SettingKey, kSettingCount> makeTable() {
  const QString format = QStringLiteral("Format");
  const QString window = QStringLiteral("Window");
  const SettingKey::Written once = SettingKey::Written::OnceChanged;
  const SettingKey::Written whileChanged = SettingKey::Written::WhileChanged;
  const std::pair<Setting, SettingKey> rows[] = {
      {Setting::Mode, {QStringLiteral("Mode"), QStringLiteral("Mode"), 5}},
      {Setting::AutoAdd, {QStringLiteral("Auto"), QStringLiteral("AutoAdd"), 10}},
      {Setting::AutoFlag, {QStringLiteral("Auto"), QStringLiteral("AutoFlag"), 1}},
      {Setting::ConvProg,
       {QStringLiteral("Convert"), QStringLiteral("ConvProg"), QStringLiteral("txt2bas.exe")}},
      {Setting::Wrap, {format, QStringLiteral("Wrap"), 0}},
      // Colours are stored as the signed reading of their 32 bits.
      {Setting::BackColor, {format, QStringLiteral("BackColor"), static_cast<int>(clWindow)}},
      {Setting::FontName, {format, QStringLiteral("FontName"), QStringLiteral("ＭＳ ゴシック")}},
      {Setting::FontSize, {format, QStringLiteral("FontSize"), 10}},
      {Setting::FontColor, {format, QStringLiteral("FontColor"), 0}},
      {Setting::FontBold, {format, QStringLiteral("FontBold"), 0}},
      {Setting::FontItalic, {format, QStringLiteral("FontItalic"), 0}},
      {Setting::Width, {window, QStringLiteral("Width"), 536}},
      {Setting::Height, {window, QStringLiteral("Height"), 329}},
      {Setting::Top, {window, QStringLiteral("Top"), 107}},
      {Setting::Left, {window, QStringLiteral("Left"), 192}},
      {Setting::Highlight, {QStringLiteral("Editor"), QStringLiteral("Highlight"), 0, once}},
      {Setting::EmulatorCommand, {QStringLiteral("Emulator"), QStringLiteral("Command"), QString(), once}},
      {Setting::PanelShown, {QStringLiteral("Panel"), QStringLiteral("Shown"), 0, whileChanged}},
      {Setting::PanelHeight, {QStringLiteral("Panel"), QStringLiteral("Height"), 0, whileChanged}},
      {Setting::PanelTab, {QStringLiteral("Panel"), QStringLiteral("Tab"), 0, whileChanged}},
      {Setting::OutputInPanelOnly, {QStringLiteral("Convert"), QStringLiteral("PanelOnly"), 0, whileChanged}},
      {Setting::OutputLinePattern,
       {QStringLiteral("Convert"), QStringLiteral("LinePattern"), QString(), whileChanged}},
  };
  std::array<SettingKey, kSettingCount> table;
  const std::array<QString, 10> keys = defaultStoredFunctionKeys();
  for (int i = 0; i < 10; ++i) {
    table[static_cast<std::size_t>(functionKeySetting(i))] = {QStringLiteral("FunctionKey"),
                                                              QStringLiteral("F%1").arg(i + 1), keys[i]};
  }
  for (const basic::CheckRule rule : basic::kOptionalRules) {
    table[static_cast<std::size_t>(checkSetting(rule))] = {
        QStringLiteral("Check"), QString::fromLatin1(basic::rowOf(rule).key),
        basic::rowOf(rule).byDefault ? 1 : 0, whileChanged};
  }
  for (const auto &[setting, key] : rows) {
    table[static_cast<std::size_t>(setting)] = key;
  }
  for (int i = 0; i < 4; ++i) {
    table[static_cast<std::size_t>(recentSetting(i))] = {QStringLiteral("Recent"), QString::number(i + 1),
                                                         QString()};
  }
  return table;
}

QString stored(const SettingValue &value) {
  return std::holds_alternative<int>(value) ? QString::number(std::get<int>(value))
                                            : std::get<QString>(value);
}

} // namespace

const std::array<SettingKey, kSettingCount> &settingKeys() {
  static const std::array<SettingKey, kSettingCount> table = makeTable();
  return table;
}

SettingValues::SettingValues() {
  for (std::size_t i = 0; i < values_.size(); ++i) {
    values_[i] = settingKeys()[i].byDefault;
  }
}

SettingValues SettingValues::read(const Profile &ini) {
  SettingValues values;
  for (std::size_t i = 0; i < values.values_.size(); ++i) {
    const SettingKey &k = settingKeys()[i];
    if (const int *number = std::get_if<int>(&k.byDefault)) {
      values.values_[i] = ini.readInt(k.section, k.key, *number);
    } else {
      values.values_[i] = ini.readString(k.section, k.key, std::get<QString>(k.byDefault));
    }
  }
  return values;
}

void SettingValues::write(Profile &ini, const SettingValues &since) const {
  for (std::size_t i = 0; i < values_.size(); ++i) {
    const SettingKey &k = settingKeys()[i];
    const bool always = k.written == SettingKey::Written::Always;
    if (values_[i] == since.values_[i] && !(always && !ini.hasKey(k.section, k.key))) {
      continue;
    }
    const bool changed = values_[i] != k.byDefault;
    if (always || changed ||
        (k.written == SettingKey::Written::OnceChanged && ini.hasKey(k.section, k.key))) {
      ini.writeString(k.section, k.key, stored(values_[i]));
    } else if (k.written == SettingKey::Written::WhileChanged) {
      ini.removeKey(k.section, k.key);
    }
  }
}

} // namespace kavrin
