#include "logic/program_facts.h"

#include "logic/line_fixes.h"
#include "logic/line_tokens.h"

#include <algorithm>

namespace kavrin::basic {
namespace {

// A function of DEF FN is kept apart from the variables and arrays; `!`
// is the type a name without a sign has.
quint64 variableOf(const Token &name, bool function) {
  const quint64 second = name.text.size() > 1 ? upperAscii(name.text[1]) : 0;
  const quint64 sign = name.typeSign == u'!' ? 0 : name.typeSign.unicode();
  return (quint64{upperAscii(name.text[0])} << 40) | (second << 24) | (sign << kTypeSignShift) |
         (function ? 2 : 0) | (name.array ? 1 : 0);
}

bool declaresTypes(const Token &token) {
  return token.isKeyword(u"DEFINT") || token.isKeyword(u"DEFSNG") || token.isKeyword(u"DEFDBL") ||
         token.isKeyword(u"DEFSTR");
}

NameUse useOf(int line, const Token &name, bool function = false) {
  return {line, variableOf(name, function), QStringView(name.text.data(), name.length)};
}

bool leaves(const Token &token) {
  // Not STOP: CONT goes on after it.
  return token.isKeyword(u"GOTO") || token.isKeyword(u"END") || token.isKeyword(u"RETURN") ||
         token.isKeyword(u"RUN");
}

class FactReader {
public:
  FactReader(ProgramFacts &facts, LineFacts &line, const std::vector<Token> &tokens)
      : facts_(facts), line_(line), tokens_(tokens) {}

  void run() {
    const Token *last = nullptr;
    bool statementStart = true, underIf = false, runs = false;
    for (size_t k = 0; k < tokens_.size(); ++k) {
      const Token &token = tokens_[k];
      underIf = underIf || token.isKeyword(u"IF");
      if (token.isSign(u':')) {
        statementStart = true;
        continue;
      }
      const bool remark = token.kind == TokenKind::Comment || token.isKeyword(u"REM");
      if (statementStart && !remark) {
        last = &token;
        runs = runs || !token.isKeyword(u"DATA");
      }
      statementStart = false;
      read(k);
    }
    line_.endsFlow = !underIf && last != nullptr && leaves(*last);
    line_.runsNothing = !runs;
    line_.onlyEnds = tokens_.size() == 1 && (tokens_[0].isKeyword(u"END") || tokens_[0].isKeyword(u"STOP"));
  }

private:
  void read(size_t k) {
    const Token &token = tokens_[k];
    facts_.typesDeclared = facts_.typesDeclared || declaresTypes(token);
    if (token.kind == TokenKind::Name) {
      facts_.names.push_back(useOf(line_.index, token, k > 0 && tokens_[k - 1].isKeyword(u"FN")));
    } else if (token.kind == TokenKind::Other && isFullWidth(token.text[0])) {
      line_.fullWidthAt = line_.fullWidthAt < 0 ? token.start : line_.fullWidthAt;
      facts_.fullWidthDigits = facts_.fullWidthDigits || (token.text[0] >= u'０' && token.text[0] <= u'９');
    } else if (startsLoop(k)) {
      facts_.fors.push_back(useOf(line_.index, tokens_[k + 1]));
    } else if (token.isKeyword(u"NEXT")) {
      readNext(k + 1);
    } else if (token.isKeyword(u"GOSUB") && (facts_.gosubs.empty() || facts_.gosubs.back() != line_.index)) {
      facts_.gosubs.push_back(line_.index);
    } else if (token.isKeyword(u"RETURN") &&
               (facts_.returns.empty() || facts_.returns.back() != line_.index)) {
      facts_.returns.push_back(line_.index);
    }
  }

  // FOR name = ... TO: not OPEN ... FOR APPEND, nor FORM=1 as the
  // machine reads it (FOR M=1), which is no loop the user meant.
  bool startsLoop(size_t k) const {
    if (!tokens_[k].isKeyword(u"FOR") || k + 2 >= tokens_.size() || tokens_[k + 1].kind != TokenKind::Name ||
        tokens_[k + 1].array || !tokens_[k + 2].isSign(u'=')) {
      return false;
    }
    for (size_t i = k + 3; i < tokens_.size() && !tokens_[i].isSign(u':'); ++i) {
      if (tokens_[i].isKeyword(u"TO")) {
        return true;
      }
    }
    return false;
  }

  void readNext(size_t k) {
    if (k >= tokens_.size() || tokens_[k].kind != TokenKind::Name) {
      facts_.bareNext = true;
      return;
    }
    for (; k < tokens_.size() && tokens_[k].kind == TokenKind::Name; k += 2) {
      facts_.nexts.push_back(useOf(line_.index, tokens_[k]));
      if (k + 1 >= tokens_.size() || !tokens_[k + 1].isSign(u',')) {
        break;
      }
    }
  }

  ProgramFacts &facts_;
  LineFacts &line_;
  const std::vector<Token> &tokens_;
};

} // namespace

bool isFullWidth(QChar c) { return asciiFormOf(c) != 0; }

ProgramFacts readFacts(const TextLines &split, const std::vector<ProgramLine> &reads,
                       const KeywordMatcher &keywords) {
  ProgramFacts facts;
  facts.keywords = &keywords;
  facts.lines.reserve(split.lines.size());
  std::vector<Token> tokens;
  for (size_t i = 0; i < split.lines.size(); ++i) {
    LineFacts &line = facts.lines.emplace_back();
    line.index = static_cast<int>(i);
    line.text = split.lines[i];
    line.read = &reads[i];
    const qsizetype from = line.read->isProgram ? line.read->numberStart + line.read->numberLength : 0;
    readTokens(line.text, from, keywords, tokens);
    FactReader(facts, line, tokens).run();
    // While the line is at hand: a pass of its own over a large text costs
    // more than the search.
    line.yenAt = std::find_if(line.text.begin(), line.text.end(),
                              [](QChar c) { return c == QChar(0x00A5) || c == QChar(0x203E); }) -
                 line.text.begin();
    if (line.yenAt == line.text.size()) {
      line.yenAt = -1;
    }
  }
  return facts;
}

} // namespace kavrin::basic
