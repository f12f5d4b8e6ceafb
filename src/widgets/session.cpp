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
