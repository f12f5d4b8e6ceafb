#pragma once

#include <QString>

#include <array>

// The rules of the program check that the user may turn off, and what a
// finding of one of them offers.
namespace kavrin::basic {

enum class CheckRule {
  // Always on: what the check has always found (no number, order, too large,
  // missing reference, too long).
  Basic,
  DuplicateNumber,
  FullWidth,
  YenOverline,
  TwoCharNames,
  NextWithoutFor,
  ForWithoutNext,
  GosubWithoutReturn,
  Unreachable,
  Count,
};

inline constexpr int kCheckRuleCount = static_cast<int>(CheckRule::Count);

// Which rules run; all by default.
struct CheckOptions {
  std::array<bool, kCheckRuleCount> on = [] {
    std::array<bool, kCheckRuleCount> all{};
    all.fill(true);
    return all;
  }();
  bool enabled(CheckRule rule) const { return on[static_cast<std::size_t>(rule)]; }
  void set(CheckRule rule, bool enabled) { on[static_cast<std::size_t>(rule)] = enabled; }

  bool operator==(const CheckOptions &) const = default;
};

// The rules the user may turn off, in the order the settings show them.
inline constexpr CheckRule kOptionalRules[] = {
    CheckRule::DuplicateNumber,    CheckRule::FullWidth,      CheckRule::YenOverline,
    CheckRule::TwoCharNames,       CheckRule::NextWithoutFor, CheckRule::ForWithoutNext,
    CheckRule::GosubWithoutReturn, CheckRule::Unreachable,
};

} // namespace kavrin::basic
