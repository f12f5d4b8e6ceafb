#include "logic/program_rules.h"

#include "logic/line_tokens.h"
#include "logic/program_facts.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>

namespace kavrin::basic {
namespace {

using Findings = std::vector<Finding>;

void add(Findings &out, int line, const QString &message, qsizetype column = -1) {
  out.push_back({line, message, CheckRule::Basic, true, {}, column});
}

// A line as the user sees it: its own index, or that of the source line
// that holds `column` of it.
int shownIndex(const ProgramFacts &program, int index, qsizetype column = -1) {
  return program.source != nullptr ? program.source->lineAt(index, column) : index;
}

QString shownLabel(const ProgramFacts &program, const LineFacts &line) {
  const int at = shownIndex(program, line.index);
  return lineLabel(
      program.source != nullptr ? program.source->text->lines[static_cast<std::size_t>(at)] : line.text, at);
}

// Where a name stands in its line.
qsizetype columnOf(const ProgramFacts &program, const NameUse &use) {
  return use.written.data() - program.lines[static_cast<std::size_t>(use.line)].text.data();
}

// Line numbers seen, each with a value; those the machine takes are kept
// by value, larger ones by their digits.
template <typename Value> class NumberTable {
public:
  explicit NumberTable(Value none) : none_(none), small_(kLargestLineNumber + 1, none) {}

  // The value kept for `number`, after keeping `value` for it if none was.
  Value keep(const LineNumber &number, Value value) {
    if (!number.exceeds(kLargestLineNumber)) {
      Value &kept = small_[number.value()];
      if (kept == none_) {
        kept = value;
      }
      return kept;
    }
    return *large_.insert(number.toString(), large_.value(number.toString(), value));
  }

  Value find(const LineNumber &number) const {
    return !number.exceeds(kLargestLineNumber) ? small_[number.value()]
                                               : large_.value(number.toString(), none_);
  }

private:
  Value none_;
  std::vector<Value> small_;
  QHash<QString, Value> large_;
};

} // namespace

void duplicateNumbers(const ProgramFacts &program, Findings &out) {
  NumberTable<int> first(-1);
  const LineFacts *previous = nullptr;
  for (const LineFacts &line : program.lines) {
    if (!line.read->isProgram) {
      continue;
    }
    const int at = first.keep(line.read->number, line.index);
    // Two equal numbers side by side are reported by the basic check.
    if (at != line.index && !(previous != nullptr && previous->read->number == line.read->number)) {
      add(out, line.index,
          QStringLiteral("行番号 %1 は %2 行目でも使われています。実機は後の行だけを残します")
              .arg(line.read->number.toString())
              .arg(at + 1));
    }
    previous = &line;
  }
}

void fullWidth(const ProgramFacts &program, Findings &out) {
  for (const LineFacts &line : program.lines) {
    if (line.fullWidthAt >= 0) {
      qsizetype end = line.fullWidthAt;
      while (end < line.text.size() && isFullWidth(line.text[end])) {
        ++end;
      }
      add(out, line.index,
          QStringLiteral("全角の「%1」があります。実機は文字列とコメントの外では半角しか読めません")
              .arg(line.text.sliced(line.fullWidthAt, end - line.fullWidthAt)),
          line.fullWidthAt);
    }
  }
}

void yenOverline(const ProgramFacts &program, Findings &out) {
  for (const LineFacts &line : program.lines) {
    if (line.yenAt >= 0) {
      const QChar c = line.text[line.yenAt];
      // The bytes are named: a Japanese font draws 0x5C as ¥ too.
      const bool yen = c == QChar(0x00A5);
      add(out, line.index,
          QStringLiteral(
              "「%1」(U+%2) は Shift-JIS で保存できません。実機が %1 と表示する %3 の文字に直せます")
              .arg(c)
              .arg(yen ? QStringLiteral("00A5") : QStringLiteral("203E"),
                   yen ? QStringLiteral("0x5C") : QStringLiteral("0x7E")),
          line.yenAt);
    }
  }
}

namespace {

QString shownName(QStringView written) { return written.toString().toUpper(); }

bool isAsciiLetterOrDigit(QChar c) {
  const char16_t u = upperAscii(c);
  return (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9');
}

// For a name a keyword cut short (SCORE: SC OR E), how the machine reads
// the letters written together, as a sentence of its own; else nothing.
QString readingOf(const ProgramFacts &program, const NameUse &use) {
  const QStringView text = program.lines[static_cast<std::size_t>(use.line)].text;
  const qsizetype start = use.written.data() - text.data();
  qsizetype end = start + use.written.size();
  if (end >= text.size() || !isAsciiLetterOrDigit(text[end - 1]) || !isAsciiLetterOrDigit(text[end])) {
    return {};
  }
  while (end < text.size() && isAsciiLetterOrDigit(text[end])) {
    ++end;
  }
  const QStringView run = text.sliced(start, end - start);
  QStringList words;
  for (const Token &token : readTokens(run, 0, *program.keywords)) {
    words << token.text.toString().toUpper();
  }
  return QStringLiteral("。%1 は %2 と読まれます").arg(run.toString().toUpper(), words.join(u' '));
}

// A and A! are one name; with DEFINT and the like, A may be another type
// than A! and so another variable.
QStringView withoutBang(QStringView written) { return written.endsWith(u'!') ? written.chopped(1) : written; }

quint64 twoCharKey(const ProgramFacts &program, const NameUse &use) {
  constexpr quint64 kBang = 4;
  return use.variable | (program.typesDeclared && use.written.endsWith(u'!') ? kBang : 0);
}

} // namespace

void twoCharNames(const ProgramFacts &program, Findings &out) {
  QHash<quint64, const NameUse *> firstName;
  QSet<QString> reported;
  for (const NameUse &use : program.names) {
    const quint64 key = twoCharKey(program, use);
    const auto at = firstName.constFind(key);
    if (at == firstName.cend()) {
      firstName.insert(key, &use);
      continue;
    }
    const QString shown = shownName(use.written);
    if (withoutBang((*at)->written).compare(withoutBang(use.written), Qt::CaseInsensitive) != 0 &&
        !reported.contains(shown)) {
      const int first = shownIndex(program, (*at)->line, columnOf(program, **at));
      reported.insert(shown);
      add(out, use.line,
          QStringLiteral("%1 と %2 は最初の 2 文字が同じなので、実機には同じ変数です")
                  .arg(shownName((*at)->written) +
                           (first == shownIndex(program, use.line, columnOf(program, use))
                                ? QString()
                                : QStringLiteral(" (%1 行目)").arg(first + 1)),
                       shown) +
              readingOf(program, **at) + readingOf(program, use),
          columnOf(program, use));
    }
  }
}

namespace {

// A loop's variable as FOR and NEXT are paired: with types declared by
// DEFINT and the like, I and I% may be one variable.
quint64 loopVariable(const ProgramFacts &program, const NameUse &use) {
  return program.typesDeclared ? withoutTypeSign(use.variable) : use.variable;
}

QSet<quint64> variablesOf(const ProgramFacts &program, const std::vector<NameUse> &uses) {
  QSet<quint64> variables;
  for (const NameUse &use : uses) {
    variables.insert(loopVariable(program, use));
  }
  return variables;
}

// Each of `uses` whose variable none of `others` uses; `text` names it.
void unpaired(const ProgramFacts &program, const std::vector<NameUse> &uses,
              const std::vector<NameUse> &others, const QString &text, Findings &out) {
  const QSet<quint64> paired = variablesOf(program, others);
  for (const NameUse &use : uses) {
    if (!paired.contains(loopVariable(program, use))) {
      add(out, use.line, text.arg(shownName(use.written)), columnOf(program, use));
    }
  }
}

} // namespace

void nextWithoutFor(const ProgramFacts &program, Findings &out) {
  unpaired(program, program.nexts, program.fors,
           QStringLiteral("NEXT %1 の変数を使う FOR がプログラムにありません"), out);
}

void forWithoutNext(const ProgramFacts &program, Findings &out) {
  if (!program.bareNext) {
    unpaired(program, program.fors, program.nexts,
             QStringLiteral("FOR %1 の変数を使う NEXT がプログラムにありません"), out);
  }
}

void gosubWithoutReturn(const ProgramFacts &program, Findings &out) {
  const std::vector<int> &gosubs = program.gosubs;
  const std::vector<int> &returns = program.returns;
  if (gosubs.empty() == returns.empty()) {
    return;
  }
  const QString message = gosubs.empty()
                              ? QStringLiteral("RETURN がありますが、プログラムに GOSUB がありません")
                              : QStringLiteral("GOSUB がありますが、プログラムに RETURN がありません");
  for (const int index : gosubs.empty() ? returns : gosubs) {
    add(out, index, message);
  }
}

namespace {

// The program lines as the machine keeps them, in number order: of lines
// with one number only the last typed, `repeated` when there were more.
struct KeptLine {
  const LineFacts *line;
  bool repeated;
};

std::vector<KeptLine> keptInNumberOrder(const ProgramFacts &program) {
  std::vector<KeptLine> kept;
  bool ordered = true;
  for (const LineFacts &line : program.lines) {
    if (line.read->isProgram) {
      ordered = ordered && (kept.empty() || kept.back().line->read->number < line.read->number);
      kept.push_back({&line, false});
    }
  }
  if (!ordered) {
    std::stable_sort(kept.begin(), kept.end(), [](const KeptLine &a, const KeptLine &b) {
      return a.line->read->number < b.line->read->number;
    });
    // Of equal numbers the last stands last: keep it alone.
    const auto sameAsNext = [&kept](std::size_t i) {
      return i + 1 < kept.size() && kept[i].line->read->number == kept[i + 1].line->read->number;
    };
    std::size_t to = 0;
    for (std::size_t i = 0; i < kept.size(); ++i) {
      if (!sameAsNext(i)) {
        kept[to++] = {kept[i].line, i > 0 && sameAsNext(i - 1)};
      }
    }
    kept.resize(to);
  }
  return kept;
}

// A line by its number; by its place too where other lines had the number.
QString lineName(const ProgramFacts &program, const KeptLine &kept) {
  const QString number = shownLabel(program, *kept.line);
  return kept.repeated ? number + QStringLiteral(" (%1 行目)").arg(shownIndex(program, kept.line->index) + 1)
                       : number;
}

} // namespace

void unreachable(const ProgramFacts &program, Findings &out) {
  if (program.fullWidthDigits) {
    // GOTO ２０ names a line, once fixed.
    out.push_back({-1, QStringLiteral("全角の数字があるため、到達できない行は検査していません")});
    return;
  }
  NumberTable<char> named(0);
  for (const LineFacts &line : program.lines) {
    for (const LineReference &ref : line.read->references) {
      named.keep(ref.target, 1);
    }
  }
  const KeptLine *before = nullptr;
  for (const KeptLine &kept : keptInNumberOrder(program)) {
    const LineFacts *line = kept.line;
    const bool isNamed = named.find(line->read->number) != 0;
    if (line->runsNothing) {
      // A remark or DATA line that a reference names lets the flow in: the
      // lines below a subroutine's heading run.
      if (isNamed) {
        before = &kept;
      }
      continue;
    }
    if (before != nullptr && before->line->endsFlow && !isNamed) {
      if (line->onlyEnds) {
        // A closing END that nothing reaches is harmless; past a STOP the
        // lines are as unreachable as it.
        before = line->endsFlow ? &kept : before;
        continue;
      }
      add(out, line->index,
          QStringLiteral("%1 は前の%2 から続かず、どこからも参照されていないので実行されません")
              .arg(lineName(program, kept), lineName(program, *before)));
    }
    before = &kept;
  }
}

std::vector<Finding> checkRules(const TextLines &split, const std::vector<ProgramLine> &reads,
                                const KeywordMatcher &keywords, const CheckOptions &options,
                                const SourceLines *source) {
  const auto runs = [&](int row) {
    return options.enabled(ruleAt(row)) && (!kCheckRules[row].readsStatements || !keywords.empty());
  };
  Findings findings;
  std::optional<ProgramFacts> program;
  for (int row = 0; row < kCheckRuleCount; ++row) {
    if (!runs(row)) {
      continue;
    }
    if (!program) {
      program.emplace(readFacts(split, reads, keywords));
      program->source = source;
    }
    const std::size_t from = findings.size();
    kCheckRules[row].find(*program, findings);
    const QString tag = QString::fromUtf8(kCheckRules[row].tag) + u' ';
    for (std::size_t i = from; i < findings.size(); ++i) {
      Finding &finding = findings[i];
      finding.rule = ruleAt(row);
      finding.error = kCheckRules[row].severity == Severity::Error;
      finding.message = finding.line < 0 ? finding.message : tag + finding.message;
    }
  }
  std::stable_sort(findings.begin(), findings.end(),
                   [](const Finding &a, const Finding &b) { return a.line < b.line; });
  return findings;
}

} // namespace kavrin::basic
