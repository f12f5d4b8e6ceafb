#pragma once

#include "logic/basic_reader.h"
#include "logic/check_rules.h"
#include "logic/keyword_matcher.h"
#include "logic/program_check.h"

#include <vector>

// The rules of the program check past the basic ones, as a table over the
// program's lines read as the machine reads them.
namespace kavrin::basic {

// The findings of every rule `options` turns on but Basic, in line order;
// `reads` are the lines of `split` as `readLine` reads them; other lines
// are named as `source` names them, if given.
std::vector<Finding> checkRules(const TextLines &split, const std::vector<ProgramLine> &reads,
                                const KeywordMatcher &keywords, const CheckOptions &options,
                                const SourceLines *source = nullptr);

} // namespace kavrin::basic
