#include "widgets/session.h"

namespace kavrin {

Session::Session(ProgramPaths paths, QObject *parent) : QObject(parent), paths_(std::move(paths)) {}

void Session::setKeywords(const QStringList &keywords) {
  keywords_ = keywords;
  matcher_ = basic::KeywordMatcher(keywords);
  emit keywordsChanged();
}

void Session::setSourceForm(bool source) {
  if (sourceForm_ != source) {
    sourceForm_ = source;
    emit formChanged();
  }
}

std::optional<basic::BuiltProgram> Session::numberedBuild(const QString &text) const {
  if (!sourceForm_) {
    return std::nullopt;
  }
  basic::BuiltProgram built = basic::buildProgram(text, matcher_, preferences_.autoIncrement);
  return built.refused() ? std::nullopt : std::optional(std::move(built));
}

void Session::setPreferences(const Preferences &preferences) {
  preferences_ = preferences;
  emit preferencesChanged();
}

void Session::restore(const RecoveryCopy &copy) {
  if (document_ != nullptr) {
    document_->restore(copy);
  }
}

} // namespace kavrin
