#include "logic/program_rules.h"

#include "logic/line_tokens.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace kavrin::basic {
namespace {

struct ReadLine {
  int index = 0;
  QStringView text;
  const ProgramLine *read = nullptr;
  std::vector<Token> tokens;
};

// The loop variables of FOR and NEXT statements, each with its line.
struct Loops {
  std::vector<std::pair<int, const Token *>> fors, nexts;
  bool bareNext = false;
};

void readNext(const std::vector<Token> &tokens, size_t k, int index, Loops &loops) {
  if (k >= tokens.size() || tokens[k].kind != TokenKind::Name) {
    loops.bareNext = true;
    return;
  }
  for (; k < tokens.size() && tokens[k].kind == TokenKind::Name; k += 2) {
    loops.nexts.emplace_back(index, &tokens[k]);
    if (k + 1 >= tokens.size() || !tokens[k + 1].isSign(u',')) {
      break;
    }
  }
}

struct Program {
  std::vector<ReadLine> lines;
  Loops loops;
  // The lines with a GOSUB, with a RETURN.
  std::vector<int> gosubs, returns;
};

// What the rules need of a line's statements, read while its tokens are at hand.
void collectStatements(const ReadLine &line, Program &program) {
  const std::vector<Token> &tokens = line.tokens;
  bool gosub = false, ret = false;
  for (size_t k = 0; k < tokens.size(); ++k) {
    const Token &token = tokens[k];
    if (token.kind != TokenKind::Keyword) {
      continue;
    }
    if (token.isKeyword(u"FOR") && k + 1 < tokens.size() && tokens[k + 1].kind == TokenKind::Name &&
        !tokens[k + 1].array) {
      program.loops.fors.emplace_back(line.index, &tokens[k + 1]);
    } else if (token.isKeyword(u"NEXT")) {
      readNext(tokens, k + 1, line.index, program.loops);
    }
    gosub = gosub || token.isKeyword(u"GOSUB");
    ret = ret || token.isKeyword(u"RETURN");
  }
  if (gosub) {
    program.gosubs.push_back(line.index);
  }
  if (ret) {
    program.returns.push_back(line.index);
  }
}

using Findings = std::vector<Finding>;

void add(Findings &out, int line, CheckRule rule, bool error, const QString &message) {
  out.push_back({line, message, rule, error});
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

void duplicateNumbers(const Program &program, Findings &out) {
  NumberTable<int> first(-1);
  const ReadLine *previous = nullptr;
  for (const ReadLine &line : program.lines) {
    if (!line.read->isProgram) {
      continue;
    }
    const int at = first.keep(line.read->number, line.index);
    // Two equal numbers side by side are reported by the basic check.
    if (at != line.index && !(previous != nullptr && previous->read->number == line.read->number)) {
      add(out, line.index, CheckRule::DuplicateNumber, true,
          QStringLiteral("[重複] 行番号 %1 は %2 行目でも使われています。機械は後の行だけを残します")
              .arg(line.read->number.toString())
              .arg(at + 1));
    }
    previous = &line;
  }
}

bool isFullWidth(QChar c) { return (c >= QChar(0xFF01) && c <= QChar(0xFF5E)) || c == QChar(0x3000); }

void fullWidth(const Program &program, Findings &out) {
  for (const ReadLine &line : program.lines) {
    for (const Token &token : line.tokens) {
      if (token.kind == TokenKind::Other && isFullWidth(token.text[0])) {
        qsizetype end = token.start;
        while (end < line.text.size() && isFullWidth(line.text[end])) {
          ++end;
        }
        add(out, line.index, CheckRule::FullWidth, true,
            QStringLiteral("[全角] 全角の「%1」があります。機械は文字列とコメントの外では半角しか読めません")
                .arg(line.text.sliced(token.start, end - token.start)));
        break;
      }
    }
  }
}

void yenOverline(const Program &program, Findings &out) {
  for (const ReadLine &line : program.lines) {
    for (const QChar c : line.text) {
      if (c == QChar(0x00A5) || c == QChar(0x203E)) {
        add(out, line.index, CheckRule::YenOverline, true,
            QStringLiteral("[¥‾] 「%1」は Shift-JIS で保存できません。機械が %1 と表示する「%2」に直せます")
                .arg(c)
                .arg(QChar(c == QChar(0x00A5) ? u'\\' : u'~')));
        break;
      }
    }
  }
}

// Names the machine tells apart: the first two letters, the type, an array or not.
quint64 variableKey(const Token &name) {
  const quint64 second = name.text.size() > 1 ? upperAscii(name.text[1]) : 0;
  return (quint64{upperAscii(name.text[0])} << 40) | (second << 24) |
         (quint64{name.typeSign.unicode()} << 8) | (name.array ? 1 : 0);
}

// The name with its type sign as written.
QStringView writtenName(const Token &name) { return QStringView(name.text.data(), name.length); }

QString shownName(const Token &name) { return writtenName(name).toString().toUpper(); }

void twoCharNames(const Program &program, Findings &out) {
  QHash<quint64, QStringView> firstName;
  QSet<QString> reported;
  for (const ReadLine &line : program.lines) {
    for (const Token &token : line.tokens) {
      if (token.kind != TokenKind::Name) {
        continue;
      }
      const quint64 key = variableKey(token);
      const auto at = firstName.constFind(key);
      if (at == firstName.cend()) {
        firstName.insert(key, writtenName(token));
        continue;
      }
      const QString shown = shownName(token);
      if (at->compare(writtenName(token), Qt::CaseInsensitive) != 0 && !reported.contains(shown)) {
        reported.insert(shown);
        add(out, line.index, CheckRule::TwoCharNames, false,
            QStringLiteral("[変数名] %1 と %2 は最初の 2 文字が同じなので、機械には同じ変数です")
                .arg(at->toString().toUpper(), shown));
      }
    }
  }
}

QSet<quint64> keysOf(const std::vector<std::pair<int, const Token *>> &uses) {
  QSet<quint64> keys;
  for (const auto &use : uses) {
    keys.insert(variableKey(*use.second));
  }
  return keys;
}

void nextWithoutFor(const Program &program, Findings &out) {
  const Loops &loops = program.loops;
  const QSet<quint64> fors = keysOf(loops.fors);
  for (const auto &[index, name] : loops.nexts) {
    if (!fors.contains(variableKey(*name))) {
      add(out, index, CheckRule::NextWithoutFor, false,
          QStringLiteral("[NEXT] NEXT %1 の変数を使う FOR がプログラムにありません").arg(shownName(*name)));
    }
  }
}

void forWithoutNext(const Program &program, Findings &out) {
  const Loops &loops = program.loops;
  if (loops.bareNext) {
    return;
  }
  const QSet<quint64> nexts = keysOf(loops.nexts);
  for (const auto &[index, name] : loops.fors) {
    if (!nexts.contains(variableKey(*name))) {
      add(out, index, CheckRule::ForWithoutNext, false,
          QStringLiteral("[FOR] FOR %1 の変数を使う NEXT がプログラムにありません").arg(shownName(*name)));
    }
  }
}

void gosubWithoutReturn(const Program &program, Findings &out) {
  const std::vector<int> &gosubs = program.gosubs;
  const std::vector<int> &returns = program.returns;
  if (gosubs.empty() == returns.empty()) {
    return;
  }
  const QString message =
      gosubs.empty() ? QStringLiteral("[GOSUB] RETURN がありますが、プログラムに GOSUB がありません")
                     : QStringLiteral("[GOSUB] GOSUB がありますが、プログラムに RETURN がありません");
  for (const int index : gosubs.empty() ? returns : gosubs) {
    add(out, index, CheckRule::GosubWithoutReturn, false, message);
  }
}

// Lines that only hold data or remarks, or nothing: they run no statement.
bool runsNothing(const ReadLine &line) {
  if (line.tokens.empty()) {
    return true;
  }
  const Token &first = line.tokens.front();
  return first.kind == TokenKind::Comment || first.isKeyword(u"REM") || first.isKeyword(u"DATA");
}

// Whether the line's last statement leaves it for good: GOTO, END, STOP,
// RETURN or RUN, and no IF anywhere on the line.
bool endsFlow(const ReadLine &line) {
  const std::vector<Token> &tokens = line.tokens;
  const Token *last = nullptr;
  bool statementStart = true;
  for (const Token &token : tokens) {
    if (token.isKeyword(u"IF")) {
      return false;
    }
    if (token.isSign(u':')) {
      statementStart = true;
      continue;
    }
    if (statementStart && token.kind != TokenKind::Comment && !token.isKeyword(u"REM")) {
      last = &token;
    }
    statementStart = false;
  }
  return last != nullptr &&
         (last->isKeyword(u"GOTO") || last->isKeyword(u"END") || last->isKeyword(u"STOP") ||
          last->isKeyword(u"RETURN") || last->isKeyword(u"RUN"));
}

void unreachable(const Program &program, Findings &out) {
  NumberTable<char> named(0);
  for (const ReadLine &line : program.lines) {
    for (const LineReference &ref : line.read->references) {
      named.keep(ref.target, 1);
    }
  }
  const ReadLine *before = nullptr;
  for (const ReadLine &line : program.lines) {
    if (!line.read->isProgram || runsNothing(line)) {
      continue;
    }
    if (before != nullptr && endsFlow(*before) && before->read->number < line.read->number &&
        named.find(line.read->number) == 0) {
      add(out, line.index, CheckRule::Unreachable, false,
          QStringLiteral(
              "[到達不能] 行 %1 は前の行 %2 から続かず、どこからも参照されていないので実行されません")
              .arg(line.read->number.toString(), before->read->number.toString()));
    }
    before = &line;
  }
}

using Rule = void (*)(const Program &, Findings &);

// In the order their findings stand on a line; the rules that read
// statements need the keywords to tell them from names.
constexpr struct {
  CheckRule rule;
  Rule find;
  bool readsStatements;
} kRules[] = {
    {CheckRule::DuplicateNumber, duplicateNumbers, false},
    {CheckRule::FullWidth, fullWidth, false},
    {CheckRule::YenOverline, yenOverline, false},
    {CheckRule::TwoCharNames, twoCharNames, true},
    {CheckRule::NextWithoutFor, nextWithoutFor, true},
    {CheckRule::ForWithoutNext, forWithoutNext, true},
    {CheckRule::GosubWithoutReturn, gosubWithoutReturn, true},
    {CheckRule::Unreachable, unreachable, true},
};

Program readProgram(const TextLines &split, const std::vector<ProgramLine> &reads,
                    const KeywordMatcher &keywords) {
  Program program;
  program.lines.reserve(split.lines.size());
  for (size_t i = 0; i < split.lines.size(); ++i) {
    ReadLine line{static_cast<int>(i), split.lines[i], &reads[i], {}};
    const qsizetype from = line.read->isProgram ? line.read->numberStart + line.read->numberLength : 0;
    line.tokens = readTokens(line.text, from, keywords);
    program.lines.push_back(std::move(line));
    collectStatements(program.lines.back(), program);
  }
  return program;
}

} // namespace

std::vector<Finding> checkRules(const TextLines &split, const std::vector<ProgramLine> &reads,
                                const KeywordMatcher &keywords, const CheckOptions &options) {
  const auto runs = [&](const auto &row) {
    return options.enabled(row.rule) && (!row.readsStatements || !keywords.empty());
  };
  Findings findings;
  if (std::none_of(std::begin(kRules), std::end(kRules), runs)) {
    return findings;
  }
  const Program program = readProgram(split, reads, keywords);
  for (const auto &row : kRules) {
    if (runs(row)) {
      row.find(program, findings);
    }
  }
  std::stable_sort(findings.begin(), findings.end(),
                   [](const Finding &a, const Finding &b) { return a.line < b.line; });
  return findings;
}

} // namespace kavrin::basic
