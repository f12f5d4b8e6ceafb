// Profile files: into any bytes, a write reads back as written and every
// byte outside its one line stays as it was.

#include "fuzz_text.h"

#include "platform/profile.h"

#include <algorithm>

using namespace kavrin;

static bool isBreak(QChar c) { return c == u'\r' || c == u'\n' || c == QChar(0x2028) || c == QChar(0x2029); }

// What differs between the files lies within one line of `before`.
static bool withinOneLine(const QByteArray &before, const QByteArray &after) {
  const qsizetype n = std::min(before.size(), after.size());
  const qsizetype head =
      std::mismatch(before.begin(), before.begin() + n, after.begin()).first - before.begin();
  const auto tail = std::mismatch(before.rbegin(), before.rbegin() + (n - head), after.rbegin()).first;
  const QByteArrayView changed(before.begin() + head, tail.base());
  return !changed.contains('\r') && !changed.contains('\n');
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const int number = in.ConsumeIntegral<int>();
  // Names as the app's: no line break or NUL (names are C strings to the
  // system), no "[", "]" or "=" to make a line another kind, nor a lone-byte
  // placeholder, which may be one of those bytes or take a section's "]" as
  // its trail.
  const QString section = fuzz::consumeText(in, 32).removeIf(
      [](QChar c) { return isBreak(c) || c.isNull() || c == u']' || cp932::isReserved(c.unicode()); });
  const QString key = fuzz::consumeText(in, 32).removeIf([](QChar c) {
    return isBreak(c) || c.isNull() || c == u'[' || c == u']' || c == u'=' || cp932::isReserved(c.unicode());
  });
  const QString value = fuzz::consumeText(in, 512).repeated(in.ConsumeIntegralInRange(1, 12));
  const QByteArray before = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());

  Profile file(before);
  file.writeString(section, key, value);
  FUZZ_CHECK(withinOneLine(before, file.bytes()));
  // A line break cannot be stored, and blanks, quotes or more than 4095
  // bytes may not come back: the read is some run of the stored bytes.
  const QString written = QString(value).removeIf(isBreak);
  const QByteArray stored = cp932::encode(written).bytes;
  const QString read = file.readString(section, key, QStringLiteral("\n"));
  const QByteArray readBytes = cp932::encode(read).bytes;
  FUZZ_CHECK(readBytes.size() <= 4095 && stored.contains(readBytes));
  const bool plain = stored.size() <= 4095 && cp932::decodeVerbatim(stored) == written &&
                     written == written.trimmed() && !written.startsWith(u'"') && !written.startsWith(u'\'');
  FUZZ_CHECK(!plain || read == written);
  FUZZ_CHECK(file.readInt(section, key, number) == number || !read.isEmpty());

  // The same write again changes nothing; a number reads back.
  Profile again(file.bytes());
  again.writeString(section, key, value);
  FUZZ_CHECK(again.bytes() == file.bytes());
  again.writeString(section, key, QString::number(number));
  FUZZ_CHECK(again.readInt(section, key, number ^ 1) == number);
  return 0;
}
