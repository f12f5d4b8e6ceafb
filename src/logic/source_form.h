#pragma once

#include "logic/basic_reader.h"
#include "logic/program_check.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>
#include <span>
#include <vector>

// The source form of a program: lines without numbers, labels for the lines
// that references name, lines continued after ':', comments and blank lines
// of its own; built into the numbered program the machine takes.
namespace kavrin::basic {

// A label's NAME has at most this many characters.
inline constexpr qsizetype kLongestLabel = 40;

enum class SourceLineKind : quint8 {
  Blank,
  Comment,  // its first non-blank is '
  Label,    // *NAME alone: names the next program line
  Numbered, // starts with a line number, kept as written
  Program,  // any other: the build numbers it, or it continues the line before
};

struct SourceLine {
  SourceLineKind kind = SourceLineKind::Blank;
  // Where the program text stands in the line: past the number and the
  // blanks after it, or past the indentation, to the code's end (before a
  // source comment).  A label's NAME.
  qsizetype textStart = 0;
  qsizetype textEnd = 0;
  // A program line as the reader reads it in the source form: its number,
  // its references (labels among them) and whether it continues.
  ProgramLine read;
};

// The parts of a line of the source form to colour: a comment line and a
// label line whole, else as colourSpans reads it in the source form.
std::vector<Span> sourceColourSpans(QStringView line, const KeywordMatcher &keywords);

// The name a label line defines, or empty for another line.
QStringView labelDefinedBy(QStringView line);
// The first line (from 0) of `text` that defines the label `name`, or -1.
int labelLine(QStringView text, QStringView name);

// The names of the labels `text` defines, in capitals, sorted, each once.
QStringList labelNames(QStringView text);

// The label defined or used at `column` of `line`, or empty.
QStringView labelAt(QStringView line, qsizetype column, const KeywordMatcher &keywords);

// `text` with the label `from` and every use of it named `to` instead; a
// refusal when `to` cannot name a label or another label has or uses that
// name.
struct RenamedLabel {
  QString text;
  QString refusal;
};
RenamedLabel renameLabel(QStringView text, QStringView from, QStringView to, const KeywordMatcher &keywords);

// The lines of a text (as splitLines splits it) read as the source form;
// `keywords` are the current mode's.
std::vector<SourceLine> readSource(const TextLines &split, const KeywordMatcher &keywords);

// Why a build or a conversion is refused, and the text line (from 0) it
// names.
struct LineError {
  int line = -1;
  QString message;
};

struct BuiltProgram {
  // Why the build is refused, when it is, and the text is then empty: the
  // first refusal, or where asked every one the build meets.
  std::vector<LineError> refusals;
  // Each line its number, one space and its text; '\n' between lines, and
  // after the last where the source ends with a line break.
  QString text;
  // The source lines of the built lines: of line k, sourceLines[starts[k]]
  // is its first, the others to starts[k + 1] its continuations.
  std::vector<int> sourceLines;
  std::vector<size_t> starts;
  // Of each of sourceLines, the column of its built line where its text
  // starts.
  std::vector<qsizetype> partStarts;

  bool refused() const { return !refusals.empty(); }
  size_t lineCount() const { return starts.size(); }
  int firstSourceLine(size_t builtLine) const { return sourceLines[starts[builtLine]]; }
  std::span<const int> sourceLinesOf(size_t builtLine) const;
  // The source line that holds `column` of a built line: its first for the
  // number.
  int sourceLineAt(size_t builtLine, qsizetype column) const;
};

// Builds the numbered program from the source form: a written number is
// kept, a line without one takes the previous number plus `step` (the
// first takes `step`), or where that would reach the next written number,
// the lowest free one; every label reference becomes the number of the
// line the label names.  A number referred to must be written in the
// source.  The build stops at its first refusal, or with `everyRefusal`
// goes on where it can, for the check.
BuiltProgram buildProgram(QStringView source, const KeywordMatcher &keywords, int step = 10,
                          bool everyRefusal = false);

// A built program's text in code page 932, or, as a save refuses a text
// that would not read back as it is, the refusal of its first such
// character on the source line that holds it.
struct EncodedProgram {
  QByteArray bytes;
  std::optional<LineError> refusal;
};
EncodedProgram encodeProgram(const BuiltProgram &built);

struct LabelForm {
  // Empty when refused.
  QString text;
  // Of each numbered line, the line it became: label lines come between.
  std::vector<int> newLineOf;
  int lineCount = 0;
  // In text order: the references, range ends and ERL bounds that name no
  // line, and the lines the source form could not hold as they are.
  std::vector<LineError> refusals;
};

// Turns a numbered program into the source form: a line that some
// reference names gets the label *L<number> above it, and the references
// name the label; the numbers are dropped, but for a line whose text would
// read as another kind of source line (empty, a comment, a number, or a
// label, as any text that starts with * would), which keeps the number the build will give it with `step`.
LabelForm toLabelForm(QStringView numbered, const KeywordMatcher &keywords, int step = 10);

// The check of a source document: the build's refusal, the labels that are
// defined twice, name nothing or are never used, and the findings of the
// built program, each on its source line.
std::vector<Finding> checkSource(QStringView source, const KeywordMatcher &keywords,
                                 const CheckOptions &options, int step = 10);
// The check of a numbered document, or with a `sourceStep` of a source
// document built with that step.
std::vector<Finding> checkDocument(QStringView text, const KeywordMatcher &keywords,
                                   const CheckOptions &options, int sourceStep);

// A label's name as labels are compared: in upper case.  The second form
// writes it into `key`, kept by the caller, so that a lookup allocates
// nothing.
QString labelKey(QStringView name);
const QString &labelKey(QStringView name, QString &key);

// A document's file holds the source form: its name ends in .bsrc.
bool isSourceFileName(QStringView fileName);
inline constexpr QStringView kSourceExtension = u".bsrc";

// Messages the build, the check and the conversion share.
QString unknownLabelMessage(QStringView name);
QString duplicateLabelMessage(QStringView name);
QString continuationMessage();

} // namespace kavrin::basic
