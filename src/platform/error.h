#pragma once

#include <QString>

#include <exception>

namespace kavrin {

// An error that ends the current command; its text is shown to the user.
class Error : public std::exception {
public:
  explicit Error(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

  const QString &message() const noexcept { return message_; }
  const char *what() const noexcept override { return utf8_.constData(); }

private:
  QString message_;
  QByteArray utf8_;
};

} // namespace kavrin
