#include "logic/basic_reader.h"
#include "logic/line_tokens.h"

namespace kavrin::basic {
namespace {

// The quoted items among DATA items: a quote opens a string to the next
// one, or to the items' end.
void dataStrings(const Token &data, std::vector<Span> &spans) {
  for (qsizetype open = data.text.indexOf(u'"'); open >= 0;) {
    const qsizetype close = data.text.indexOf(u'"', open + 1);
    const qsizetype end = close < 0 ? data.length : close + 1;
    spans.push_back({data.start + open, end - open, SpanKind::String});
    open = close < 0 ? -1 : data.text.indexOf(u'"', end);
  }
}

} // namespace

std::vector<Span> colourSpans(QStringView line, const KeywordMatcher &keywords, LineForm form) {
  // The colour of each kind of token, in the order of TokenKind; -1 for none.
  static constexpr int kColourOf[] = {int(SpanKind::Keyword),      -1, -1, int(SpanKind::String),
                                      int(SpanKind::Comment),      -1, -1, int(SpanKind::Label),
                                      int(SpanKind::SourceComment)};
  std::vector<Span> spans;
  const ProgramLine numbered = readLineNumber(line);
  if (numbered.isProgram) {
    spans.push_back({numbered.numberStart, numbered.numberLength, SpanKind::LineNumber});
  } else if (form == LineForm::Numbered) {
    return spans;
  }
  thread_local std::vector<Token> tokens;
  readTokens(line, numbered.numberStart + numbered.numberLength, keywords, tokens, form);
  for (const Token &token : tokens) {
    if (token.word == Word::Rem) {
      // REM and its remark are one comment, up to a source comment.
      const Token &last = tokens.back();
      const bool source = last.kind == TokenKind::SourceComment;
      spans.push_back({token.start, (source ? last.start : line.size()) - token.start, SpanKind::Comment});
      if (source) {
        spans.push_back({last.start, last.length, SpanKind::SourceComment});
      }
      break;
    }
    // Nothing at a line's start names a line: *NAME there is no label
    // where the build reads none.
    const bool label = token.kind == TokenKind::Label && &token != &tokens.front();
    const int colour =
        token.kind == TokenKind::Label && !label ? -1 : kColourOf[static_cast<size_t>(token.kind)];
    if (token.kind == TokenKind::Data) {
      dataStrings(token, spans);
    } else if (colour >= 0 && (token.kind != TokenKind::Keyword || token.listed)) {
      spans.push_back({token.start, token.length, static_cast<SpanKind>(colour)});
    }
  }
  return spans;
}

} // namespace kavrin::basic
