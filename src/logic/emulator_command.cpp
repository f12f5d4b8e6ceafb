#include "logic/emulator_command.h"

#include <QDir>
#include <algorithm>

namespace kavrin {
namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

class Splitter {
public:
  Splitter(const QString &line, Quoting quoting) : s_(line), posix_(quoting == Quoting::Posix) {}

  // Where the first word ends, blanks before it skipped.
  qsizetype firstWordEnd() {
    while (i_ < s_.size() && !(inWord_ && isBlank(s_[i_]))) {
      if (!step()) {
        return s_.size();
      }
    }
    return i_;
  }

  std::optional<QStringList> run() {
    while (i_ < s_.size()) {
      if (!step()) {
        return std::nullopt;
      }
    }
    endWord();
    return words_;
  }

private:
  // One blank, one quoted part or one plain character; false on a quote
  // that never closes.
  bool step() {
    const QChar c = s_[i_];
    if (isBlank(c)) {
      endWord();
      ++i_;
    } else if (c == u'"' || (posix_ && c == u'\'')) {
      return quoted(c);
    } else {
      plain(c);
    }
    return true;
  }

  void endWord() {
    if (inWord_) {
      words_ << word_;
      word_.clear();
      inWord_ = false;
    }
  }

  void plain(QChar c) {
    inWord_ = true;
    if (posix_ && c == u'\\' && i_ + 1 < s_.size()) {
      word_ += s_[i_ + 1];
      i_ += 2;
      return;
    }
    word_ += c;
    ++i_;
  }

  // From an opening quote past its closing one; false when it never closes.
  bool quoted(QChar quote) {
    inWord_ = true;
    for (++i_; i_ < s_.size(); ++i_) {
      const QChar c = s_[i_];
      if (c == quote) {
        ++i_;
        return true;
      }
      if (quote == u'"' && posix_ && c == u'\\' && i_ + 1 < s_.size() &&
          QStringView(u"\"\\$`").contains(s_[i_ + 1])) {
        ++i_;
      }
      word_ += s_[i_];
    }
    return false;
  }

  const QString &s_;
  bool posix_;
  qsizetype i_ = 0;
  QStringList words_;
  QString word_;
  bool inWord_ = false;
};

} // namespace

Quoting platformQuoting() {
#ifdef Q_OS_WIN
  return Quoting::Windows;
#else
  return Quoting::Posix;
#endif
}

std::optional<QStringList> splitCommandLine(const QString &line, Quoting quoting) {
  return Splitter(line, quoting).run();
}

namespace {

// The word as one word of a command line, quoted only where it must be.
QString quotedWord(const QString &word, Quoting quoting) {
  // What a shell or the Windows command prompt would take for more than a
  // plain character, though the line is never given to either.
  const QStringView special = quoting == Quoting::Posix ? u"\"'$`&;|<>()*?#~\\" : u"\"&;|<>()^";
  if (!word.isEmpty() && std::none_of(word.begin(), word.end(),
                                      [special](QChar c) { return isBlank(c) || special.contains(c); })) {
    return word;
  }
  return quoting == Quoting::Posix ? u'\'' + QString(word).replace(u'\'', QStringLiteral("'\\''")) + u'\''
                                   : u'"' + word + u'"';
}

} // namespace

QString joinCommandLine(const QStringList &words, Quoting quoting) {
  QStringList quoted;
  for (const QString &word : words) {
    quoted.append(quotedWord(word, quoting));
  }
  return quoted.join(u' ');
}

std::optional<QString> withProgram(const QString &commandLine, const QString &program, Quoting quoting) {
  if (!splitCommandLine(commandLine, quoting)) {
    return std::nullopt;
  }
  const QString quoted = quotedWord(program, quoting);
  if (commandLine.trimmed().isEmpty()) {
    return quoted + QStringLiteral(" %1");
  }
  return quoted + commandLine.mid(Splitter(commandLine, quoting).firstWordEnd());
}

QString unclosedQuoteError() {
  return QStringLiteral("エミュレータのコマンドラインの引用符が閉じていません。");
}

EmulatorCommand buildEmulatorCommand(const QString &commandLine, const QString &image, Quoting quoting) {
  const std::optional<QStringList> words = splitCommandLine(commandLine, quoting);
  if (!words) {
    return {{}, {}, unclosedQuoteError()};
  }
  if (words->isEmpty()) {
    return {{}, {}, QStringLiteral("エミュレータのコマンドラインが空です。")};
  }
  EmulatorCommand command{words->first(), words->mid(1), {}};
  const QString imageFile = QDir::toNativeSeparators(image);
  bool placed = false;
  for (QString &argument : command.arguments) {
    if (argument.contains(QStringLiteral("%1"))) {
      argument.replace(QStringLiteral("%1"), imageFile);
      placed = true;
    }
  }
  if (!placed) {
    command.arguments << imageFile;
  }
  return command;
}

} // namespace kavrin
