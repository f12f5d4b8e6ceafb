#include "logic/text_search.h"

#include <QTextDocument>

#include <algorithm>

namespace kavrin {
namespace {

QTextDocument::FindFlags flagsOf(const SearchOptions &options) {
  QTextDocument::FindFlags flags;
  if (options.matchCase) {
    flags |= QTextDocument::FindCaseSensitively;
  }
  if (options.wholeWord) {
    flags |= QTextDocument::FindWholeWords;
  }
  return flags;
}

} // namespace

QString firstLineOf(const QString &selection) { return selection.section(u'\n', 0, 0); }

QTextCursor findForward(const QTextDocument &document, int from, const SearchOptions &options) {
  if (options.what.isEmpty()) {
    return {};
  }
  return document.find(options.what, from, flagsOf(options));
}

int searchStart(const QTextCursor &caret, int textLength) {
  return caret.hasSelection() ? std::min(caret.selectionStart() + 1, textLength) : caret.position();
}

bool isHit(const QTextDocument &document, const QTextCursor &selection, const SearchOptions &options) {
  if (!selection.hasSelection()) {
    return false;
  }
  const QTextCursor hit = findForward(document, selection.selectionStart(), options);
  return !hit.isNull() && hit.selectionStart() == selection.selectionStart() &&
         hit.selectionEnd() == selection.selectionEnd();
}

int replaceAll(QTextDocument &document, const SearchOptions &options, const QString &replacement) {
  int count = 0;
  QTextCursor edit(&document);
  for (QTextCursor hit = findForward(document, 0, options); !hit.isNull();
       hit = findForward(document, hit.position(), options)) {
    if (count++ == 0) {
      edit.beginEditBlock();
    }
    // The hit cursor ends after the inserted text, where the search goes on.
    edit.setPosition(hit.selectionStart());
    edit.setPosition(hit.selectionEnd(), QTextCursor::KeepAnchor);
    edit.insertText(replacement);
    hit.setPosition(edit.position());
  }
  if (count > 0) {
    edit.endEditBlock();
  }
  return count;
}

} // namespace kavrin
