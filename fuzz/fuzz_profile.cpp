// Profile files: reading any bytes never fails, and a write is read back as
// written while leaving every other line of the file as it was.

#include "fuzz_text.h"

#include "platform/cp932.h"
#include "platform/profile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace {

using namespace kavrin;

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isBreak(char c) { return c == '\r' || c == '\n'; }
bool isLead(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrail(std::uint8_t b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// What the file holds for a written text: line breaks and characters that
// code page 932 cannot hold are left out.
QByteArray stored(QStringView text) {
  QString kept;
  for (const QChar c : text) {
    if (c != u'\r' && c != u'\n' && c != QChar(0x2028) && c != QChar(0x2029)) {
      kept.append(c);
    }
  }
  return cp932::encode(kept).bytes;
}

// The value a read gives for the stored bytes of a written one.
QString readBack(QByteArray v) {
  qsizetype b = 0;
  qsizetype e = v.size();
  while (b < e && isBlank(v[b])) {
    ++b;
  }
  while (e > b && isBlank(v[e - 1])) {
    --e;
  }
  if (e - b >= 2 && (v[b] == '"' || v[b] == '\'') && v[e - 1] == v[b]) {
    ++b;
    --e;
  }
  // At most 4095 bytes, never half a double-byte character.
  qsizetype i = b;
  while (i < e) {
    const qsizetype n =
        isLead(static_cast<std::uint8_t>(v[i])) && i + 1 < e && isTrail(static_cast<std::uint8_t>(v[i + 1]))
            ? 2
            : 1;
    if (i + n - b > 4095) {
      break;
    }
    i += n;
  }
  return cp932::decodeVerbatim(QByteArrayView(v).sliced(b, i - b));
}

// The number readInt makes of a value, or `def`.
int numberOf(const QByteArray &v, int def) {
  qsizetype i = 0;
  while (i < v.size() && isBlank(v[i])) {
    ++i;
  }
  bool negative = false;
  if (i < v.size() && (v[i] == '+' || v[i] == '-')) {
    negative = v[i++] == '-';
  }
  if (i == v.size() || v[i] < '0' || v[i] > '9') {
    return def;
  }
  long long n = 0;
  for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i) {
    n = std::min(n * 10 + (v[i] - '0'), 10'000'000'000LL);
  }
  n = negative ? -n : n;
  return static_cast<int>(
      std::clamp<long long>(n, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// readString and readInt agree on one key.
void checkReads(const Profile &profile, QStringView section, QStringView key, int def) {
  const QString a = profile.readString(section, key, QStringLiteral("a"));
  const QString b = profile.readString(section, key, QStringLiteral("b"));
  const bool present = a == b;
  FUZZ_CHECK(present || (a == u"a" && b == u"b"));
  const int number = profile.readInt(section, key, def);
  if (!present) {
    FUZZ_CHECK(number == def);
    return;
  }
  const QByteArray value = cp932::encode(a).bytes;
  FUZZ_CHECK(number == (value.isEmpty() ? def : numberOf(value, def)));
}

// Leaves out the characters that are stored as the given bytes, so that a
// name cannot stand for another line's syntax.
QString without(QStringView text, const char *bytes) {
  QString kept;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype n =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    const QStringView c = text.sliced(i, n);
    const QByteArray b = cp932::encode(c).bytes;
    if (!(b.size() == 1 && std::strchr(bytes, b[0]) != nullptr)) {
      kept.append(c);
    }
    i += n - 1;
  }
  return kept;
}

qsizetype commonPrefix(const QByteArray &a, const QByteArray &b) {
  qsizetype i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) {
    ++i;
  }
  return i;
}

// The write changed one line, added one to a section or added the section
// at the end; every other byte is as it was.
bool changedOnlyItsLine(const QByteArray &before, const QByteArray &after, const QByteArray &entry,
                        const QByteArray &header) {
  if (after == before) {
    return true; // the line already read so
  }
  const QByteArray line = entry + "\r\n";
  if (after == before + header + line || after == before + "\r\n" + header + line ||
      after == before + "\r\n" + line) {
    return true;
  }
  qsizetype start = commonPrefix(before, after);
  while (start > 0 && !isBreak(after[start - 1])) {
    --start;
  }
  if (!after.sliced(start).startsWith(entry)) {
    return false;
  }
  const QByteArray rest = after.sliced(start + entry.size());
  qsizetype end = start;
  while (end < before.size() && !isBreak(before[end])) {
    ++end;
  }
  return rest == before.sliced(end) || rest == "\r\n" + before.sliced(start);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const int def = in.ConsumeIntegral<int>();
  // The app's names are plain words.  "]" would end a section name early,
  // and a section name ending in a placeholder for a lone lead byte would
  // take the closing "]" as its second byte; "[" and "=" would make a key
  // line something else.
  QString section = without(fuzz::consumeText(in, 32), "]");
  section.removeIf([](QChar c) { return cp932::isReserved(c.unicode()); });
  const QString key = without(fuzz::consumeText(in, 32), "[]=");
  QString value = fuzz::consumeText(in, 512);
  value = value.repeated(in.ConsumeIntegralInRange(1, 12));
  const std::string rest = in.ConsumeRemainingBytesAsString();
  const QByteArray original(rest.data(), static_cast<qsizetype>(rest.size()));

  Profile file(original);
  checkReads(file, section, key, def);

  file.writeString(section, key, value);
  const QByteArray entry = stored(key) + '=' + stored(value);
  FUZZ_CHECK(file.readString(section, key, QStringLiteral("absent")) == readBack(stored(value)));
  checkReads(file, section, key, def);
  FUZZ_CHECK(changedOnlyItsLine(original, file.bytes(), entry, '[' + stored(section) + "]\r\n"));

  // Writing the same again changes nothing.
  Profile again(file.bytes());
  again.writeString(section, key, value);
  FUZZ_CHECK(again.bytes() == file.bytes());
  return 0;
}
