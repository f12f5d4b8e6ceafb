#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <string_view>
#include <vector>

// The rules of the program check that the user may turn off, one row each:
// the settings' check boxes, the [Check] keys of the settings file and the
// fixes are all made from this table.
namespace kavrin::basic {

class KeywordMatcher;
struct Finding;
struct ProgramFacts;

// A rule's finder adds each finding's line and text; the row adds its tag,
// rule and kind.  A finding of line -1 is a note on the whole program, told
// in the summary as it stands.
using FindFunction = void (*)(const ProgramFacts &, std::vector<Finding> &);
// The line fixed for the rule; `keywords` are the mode's.
using FixFunction = QString (*)(QStringView line, const KeywordMatcher &keywords);

enum class Severity : bool { Warning, Error };

struct CheckRuleRow {
  const char *tag;     // leads the text of each finding
  const char *key;     // in [Check] of the settings file
  const char *caption; // of its check box in the settings
  bool byDefault;      // on or off
  Severity severity;
  FixFunction fix; // null: none
  FindFunction find;
  bool readsStatements; // needs the mode's keywords
};

// The finders (program_rules.cpp) and fixes (line_fixes.cpp) of the rows.
void duplicateNumbers(const ProgramFacts &program, std::vector<Finding> &out);
void fullWidth(const ProgramFacts &program, std::vector<Finding> &out);
void yenOverline(const ProgramFacts &program, std::vector<Finding> &out);
void twoCharNames(const ProgramFacts &program, std::vector<Finding> &out);
void nextWithoutFor(const ProgramFacts &program, std::vector<Finding> &out);
void forWithoutNext(const ProgramFacts &program, std::vector<Finding> &out);
void gosubWithoutReturn(const ProgramFacts &program, std::vector<Finding> &out);
void unreachable(const ProgramFacts &program, std::vector<Finding> &out);
// Full-width signs outside strings, comments and DATA in their ASCII form.
QString halfWidthOutsideStrings(QStringView line, const KeywordMatcher &keywords);
// Every ¥ a backslash and every ‾ a tilde, which the machine shows so.
QString asciiYenAndOverline(QStringView line, const KeywordMatcher &keywords);

// In the order the settings show them and their findings stand on a line.
inline constexpr CheckRuleRow kCheckRules[] = {
    {"[重複]", "DuplicateNumber", "同じ行番号", true, Severity::Error, nullptr, duplicateNumbers, false},
    {"[全角]", "FullWidth", "文字列の外の全角文字", true, Severity::Error, halfWidthOutsideStrings, fullWidth,
     false},
    {"[¥‾]", "YenOverline", "¥ と ‾", true, Severity::Error, asciiYenAndOverline, yenOverline, false},
    {"[変数名]", "TwoCharNames", "先頭 2 文字が同じ変数名", true, Severity::Warning, nullptr, twoCharNames,
     true},
    {"[NEXT]", "NextWithoutFor", "FOR のない NEXT", true, Severity::Warning, nullptr, nextWithoutFor, true},
    {"[FOR]", "ForWithoutNext", "NEXT のない FOR", true, Severity::Warning, nullptr, forWithoutNext, true},
    {"[GOSUB]", "GosubWithoutReturn", "RETURN のない GOSUB", true, Severity::Warning, nullptr,
     gosubWithoutReturn, true},
    {"[到達不能]", "Unreachable", "到達できない行", true, Severity::Warning, nullptr, unreachable, true},
};

inline constexpr int kCheckRuleCount = static_cast<int>(std::size(kCheckRules));

// A rule: its row of kCheckRules, or Basic, what the check always finds (no
// number, order, too large, missing reference, too long).
enum class CheckRule : int { Basic = -1 };

constexpr CheckRule ruleAt(int row) { return static_cast<CheckRule>(row); }
constexpr int rowIndex(CheckRule rule) { return static_cast<int>(rule); }
constexpr const CheckRuleRow &rowOf(CheckRule rule) { return kCheckRules[rowIndex(rule)]; }

// The rule kept under `key`: a key no row has does not compile.
consteval CheckRule checkRule(std::string_view key) {
  for (int i = 0; i < kCheckRuleCount; ++i) {
    if (key == kCheckRules[i].key) {
      return ruleAt(i);
    }
  }
  throw "no such rule";
}

// Every rule of the table, in its order.
inline constexpr std::array<CheckRule, kCheckRuleCount> kOptionalRules = [] {
  std::array<CheckRule, kCheckRuleCount> all{};
  for (int i = 0; i < kCheckRuleCount; ++i) {
    all[static_cast<std::size_t>(i)] = ruleAt(i);
  }
  return all;
}();

// Which rules run; each by its row's default.
struct CheckOptions {
  std::array<bool, kCheckRuleCount> on = [] {
    std::array<bool, kCheckRuleCount> byDefault{};
    for (int i = 0; i < kCheckRuleCount; ++i) {
      byDefault[static_cast<std::size_t>(i)] = kCheckRules[i].byDefault;
    }
    return byDefault;
  }();
  bool enabled(CheckRule rule) const {
    return rule == CheckRule::Basic || on[static_cast<std::size_t>(rowIndex(rule))];
  }
  void set(CheckRule rule, bool enabled) { on[static_cast<std::size_t>(rowIndex(rule))] = enabled; }

  bool operator==(const CheckOptions &) const = default;
};

} // namespace kavrin::basic
