#pragma once

#include "logic/source_form.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace kavrin {

struct FeatureContext;

// What a source document is converted from: its saved text built into
// <name>.bas beside it.  The last build's map leads the output's line
// numbers to the source lines.
class SourceBuild {
public:
  // Builds the saved source `sourceFile` into <name>.bas; its path, or empty
  // when the build was refused (and the refusal shown) or the user kept a
  // file there that differs from what was last built here.  Throws Error
  // when the file cannot be read or written.
  QString write(const FeatureContext &context, const QString &sourceFile);
  // The last build, if any.
  const basic::BuiltProgram *built() const { return built_ ? &*built_ : nullptr; }
  // Another document: a file there is no longer ours to replace unasked.
  void forget();

private:
  bool mayReplace(const FeatureContext &context, const QString &path, const QByteArray &bytes) const;

  std::optional<basic::BuiltProgram> built_;
  // The file last written here and its bytes.
  QString path_;
  QByteArray bytes_;
};

} // namespace kavrin
