#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace kavrin {

// What one piece of output gives: the text for a box, and the lines it
// completed, for rows.
struct DecodedOutput {
  // The piece's text, each line break a '\n'.  The bytes of a character
  // that the piece cut off come with the next piece.
  QString text;
  // The lines that ended in this piece, without their line breaks, each
  // decoded as a whole.
  QStringList lines;
};

// Reads a converter's error output, fed piece by piece as it comes from the
// pipe, split anywhere.  A line that is valid UTF-8 and not plain ASCII is
// read as UTF-8, any other as Shift-JIS (code page 932, losslessly).  CR LF,
// LF and a lone CR end a line.
//
// The text of a line not yet ended is given at once, read as UTF-8 while its
// bytes are; the at most three bytes of a character the piece cut off wait.  A line taken for UTF-8 that
// turns out not to be gives the rest of its text as Shift-JIS; its row is always decoded whole.
class ConverterOutputDecoder {
public:
  DecodedOutput feed(QByteArrayView piece);
  // The end of the output: what was held back, and the last line if it had
  // no line break.
  DecodedOutput finish();

private:
  void endLine(DecodedOutput &out);
  // Adds to the text what of the unfinished line can be told.
  void showTail(QString &text);
  QString decodeShown(qsizetype end, bool shiftJis) const;

  QByteArray line_;       // the bytes of the unfinished line
  qsizetype shown_ = 0;   // of these, the bytes already in a text
  bool shiftJis_ = false; // the line showed bytes that are not UTF-8
  bool afterCr_ = false;  // an LF next belongs to the CR that ended a line
};

} // namespace kavrin
