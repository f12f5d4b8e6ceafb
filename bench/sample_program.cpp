#include "sample_program.h"

#include "platform/cp932.h"

#include <QString>
#include <QStringList>

#include <array>
#include <random>
#include <stdexcept>

namespace kavrin::bench {
namespace {

// Japanese text chosen to include trail bytes 0x5C and 0x7E-adjacent codes,
// The special characters of row 13 and half-width katakana, where codecs go wrong.
const std::array kPhrases{
    QStringLiteral("こんにちは、世界"),
    QStringLiteral("ゲームを始めます"),
    QStringLiteral("名前を入力してください"),
    QStringLiteral("もう一度遊びますか (Y/N)"),
    QStringLiteral("敵が現れた！"),
    QStringLiteral("宝箱を見つけた"),
    QStringLiteral("ソフトウェアの表示能力を確認"),
    QStringLiteral("残り時間は①②③秒です"),
    QStringLiteral("㈱漢字テスト　全角スペース"),
    QStringLiteral("ﾃﾞｰﾀ ｦ ﾖﾐｺﾐﾏｽ"),
    QStringLiteral("ハイスコア更新！おめでとう"),
    QStringLiteral("予定表：月曜日～金曜日"),
};

const std::array kVariables{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("SC"),
                            QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("HP")};

class Program {
public:
  explicit Program(unsigned seed) : random_(seed) {}

  QString statement() {
    const QString &phrase = kPhrases[pick(kPhrases.size())];
    const QString &var = kVariables[pick(kVariables.size())];
    const int n = static_cast<int>(pick(1000));
    switch (pick(12)) {
    case 0:
    case 1:
    case 2:
      return QStringLiteral("PRINT \"%1\"").arg(phrase);
    case 3:
      return QStringLiteral("REM %1").arg(phrase);
    case 4:
      return QStringLiteral("%1=%1+%2").arg(var).arg(n);
    case 5:
      return QStringLiteral("IF %1>%2 THEN %3").arg(var).arg(n).arg(target());
    case 6:
      return QStringLiteral("FOR I=1 TO %1:PRINT I;:NEXT I").arg(n % 20 + 1);
    case 7:
      return QStringLiteral("INPUT \"%1\";N$").arg(phrase);
    case 8:
      return QStringLiteral("GOSUB %1").arg(target());
    case 9:
      return QStringLiteral("DATA %1,%2,%3").arg(n).arg(pick(256)).arg(pick(65536));
    case 10:
      return QStringLiteral("LOCATE %1,%2:PRINT \"%3\";%4").arg(pick(40)).arg(pick(25)).arg(phrase, var);
    default:
      return QStringLiteral("COLOR %1:PRINT \"ｽｺｱ:\";%2").arg(pick(8)).arg(var);
    }
  }

  QString line() {
    number_ += 10;
    QString text = QString::number(number_) + u' ' + statement();
    // Some lines carry two statements, as hand-written programs do.
    if (pick(4) == 0) {
      text += u':' + statement();
    }
    return text;
  }

  int number() const { return number_; }

private:
  std::size_t pick(std::size_t n) { return static_cast<std::size_t>(random_() % n); }
  int target() { return static_cast<int>(pick(static_cast<std::size_t>(number_ / 10 + 100))) * 10; }

  // mt19937 gives the same sequence everywhere, unlike the distributions.
  std::mt19937 random_;
  int number_ = 0;
};

QByteArray encodeLine(const QString &line) {
  cp932::Encoded encoded = cp932::encode(line + u'\n');
  if (!encoded.ok()) {
    throw std::runtime_error("sample text is not Shift-JIS");
  }
  return encoded.bytes;
}

} // namespace

QByteArray makeSampleProgram(qsizetype size) {
  // Room for the closing line, which pads the program to the exact size.
  constexpr qsizetype kReserve = 64;
  if (size < 4 * kReserve) {
    throw std::invalid_argument("sample program too small");
  }
  Program program(932);
  QByteArray bytes;
  bytes.reserve(size);
  for (;;) {
    const QByteArray line = encodeLine(program.line());
    if (bytes.size() + line.size() + kReserve > size) {
      break;
    }
    bytes += line;
  }
  const QByteArray head = QByteArray::number(program.number() + 10) + " REM ";
  bytes += head + QByteArray(size - bytes.size() - head.size() - 2, '*') + "\r\n";
  return bytes;
}

} // namespace kavrin::bench
