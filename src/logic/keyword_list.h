#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace kavrin {

// A keyword file's entries in file order: one per line, each exactly as
// written (no trimming, duplicates and empty lines kept).  CR LF, a lone LF
// and a lone CR each end a line; a NUL byte ends the text.
QStringList parseKeywordList(QByteArrayView bytes);

// Where a keyword file is read from: beside the program, or else in the
// data folder of an installed copy.  When neither holds it, the path beside
// the program, so that the error names the expected place.
QString keywordFilePath(const QString &exeDir, const QString &fileName);

// Reads a keyword file; throws Error naming the file when it cannot.
QStringList loadKeywordList(const QString &path);

} // namespace kavrin
