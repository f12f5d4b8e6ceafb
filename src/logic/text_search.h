#pragma once

#include <QString>
#include <QTextCursor>

class QTextDocument;

namespace kavrin {

// What the find and replace dialogs search for.  Both use this one search.
struct SearchOptions {
  QString what;
  bool matchCase = false;
  bool wholeWord = false;
};

// What a find box is seeded with: the selection up to its first line break,
// since the box holds one line.
QString firstLineOf(const QString &selection);

// The first hit that starts at or after `from`; a null cursor when none.
QTextCursor findForward(const QTextDocument &document, int from, const SearchOptions &options);

// Where a find-next goes on from: one past the start of a selected hit, so
// that a hit overlapping it is found next; else the caret.
int searchStart(const QTextCursor &caret, int textLength);

// Whether `selection` selects exactly a hit.
bool isHit(const QTextDocument &document, const QTextCursor &selection, const SearchOptions &options);

// Replaces every hit in the document as one undo step, never searching the
// replacements themselves.  Returns how many were replaced.
int replaceAll(QTextDocument &document, const SearchOptions &options, const QString &replacement);

} // namespace kavrin
