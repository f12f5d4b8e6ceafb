#include "platform/profile.h"

#include "platform/cp932.h"
#include "platform/error.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

namespace kavrin {
namespace {

// What Windows hands a caller: a 4096-byte buffer less its terminating zero.
constexpr qsizetype kMaxValueBytes = 4095;

// A span of the file's bytes.
struct Range {
  qsizetype begin = 0;
  qsizetype end = 0;

  qsizetype size() const { return end - begin; }
};

struct Line {
  qsizetype begin = 0;
  qsizetype end = 0;  // where the line end starts
  qsizetype next = 0; // where the next line starts
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

Line lineAt(const QByteArray &bytes, qsizetype begin) {
  const qsizetype n = bytes.size();
  qsizetype i = begin;
  while (i < n && bytes[i] != '\r' && bytes[i] != '\n') {
    ++i;
  }
  Line line{begin, i, i};
  if (i < n) {
    line.next = bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n' ? i + 2 : i + 1;
  }
  return line;
}

Range trimmed(const QByteArray &bytes, Range r) {
  while (r.begin < r.end && isBlank(bytes[r.begin])) {
    ++r.begin;
  }
  while (r.end > r.begin && isBlank(bytes[r.end - 1])) {
    --r.end;
  }
  return r;
}

bool isBlankLine(const QByteArray &bytes, const Line &line) {
  return trimmed(bytes, {line.begin, line.end}).size() == 0;
}

// The name of a "[name]" line.
std::optional<Range> sectionName(const QByteArray &bytes, const Line &line) {
  qsizetype i = trimmed(bytes, {line.begin, line.end}).begin;
  if (i == line.end || bytes[i] != '[') {
    return std::nullopt;
  }
  const qsizetype nameBegin = ++i;
  // Characters split as the decoder splits them: trail bytes cover "[",
  // "]" and ASCII letters, so "]" is searched for character by character.
  const QByteArrayView text = QByteArrayView(bytes).first(line.end);
  while (i < line.end) {
    if (bytes[i] == ']') {
      return trimmed(bytes, {nameBegin, i});
    }
    i += cp932::charLength(text, i);
  }
  return std::nullopt;
}

struct Entry {
  Range key;
  Range value;
};

std::optional<Entry> entryOf(const QByteArray &bytes, const Line &line) {
  const qsizetype equals = bytes.indexOf('=', line.begin);
  if (equals < 0 || equals >= line.end) {
    return std::nullopt;
  }
  Entry entry{trimmed(bytes, {line.begin, equals}), trimmed(bytes, {equals + 1, line.end})};
  Range &v = entry.value;
  if (v.size() >= 2 && (bytes[v.begin] == '"' || bytes[v.begin] == '\'') &&
      bytes[v.end - 1] == bytes[v.begin]) {
    ++v.begin;
    --v.end;
  }
  return entry;
}

// As much of the value as a caller receives.
QByteArrayView limited(const QByteArray &bytes, Range value) {
  const QByteArrayView text = QByteArrayView(bytes).first(value.end);
  qsizetype i = value.begin;
  while (i < value.end) {
    const qsizetype next = i + cp932::charLength(text, i);
    if (next - value.begin > kMaxValueBytes) {
      break;
    }
    i = next;
  }
  return QByteArrayView(bytes).sliced(value.begin, i - value.begin);
}

// A line break would split the line and code page 932 cannot hold every
// character: both are left out rather than break the file.
QByteArray storable(QStringView text) {
  QString kept;
  kept.reserve(text.size());
  for (const QChar c : text) {
    if (c != u'\r' && c != u'\n' && c != QChar(0x2028) && c != QChar(0x2029)) {
      kept.append(c);
    }
  }
  return cp932::encode(kept).bytes;
}

// A name as the file would hold it after a write, so that a later read or
// write of the same name finds that line again.
QString storedName(QStringView name) {
  const QByteArray bytes = storable(name);
  const Range r = trimmed(bytes, {0, bytes.size()});
  return cp932::decodeVerbatim(QByteArrayView(bytes).sliced(r.begin, r.size()));
}

bool sameName(const QByteArray &bytes, Range r, const QString &name) {
  return cp932::decodeVerbatim(QByteArrayView(bytes).sliced(r.begin, r.size()))
             .compare(name, Qt::CaseInsensitive) == 0;
}

struct Found {
  bool section = false;
  Line lastEntry; // the last non-blank line of the section, its header at least
  bool key = false;
  Line keyLine;
  Range value;
};

// Only the first section and the first key of a name count.
Found find(const QByteArray &bytes, QStringView section, QStringView key) {
  const QString sectionWanted = storedName(section);
  const QString keyWanted = storedName(key);
  Found found;
  for (qsizetype pos = 0; pos < bytes.size();) {
    const Line line = lineAt(bytes, pos);
    pos = line.next;
    if (const std::optional<Range> name = sectionName(bytes, line)) {
      if (found.section) {
        break;
      }
      if (sameName(bytes, *name, sectionWanted)) {
        found.section = true;
        found.lastEntry = line;
      }
      continue;
    }
    if (!found.section) {
      continue;
    }
    if (!isBlankLine(bytes, line)) {
      found.lastEntry = line;
    }
    if (const std::optional<Entry> entry = entryOf(bytes, line)) {
      if (sameName(bytes, entry->key, keyWanted)) {
        found.key = true;
        found.keyLine = line;
        found.value = entry->value;
        break;
      }
    }
  }
  return found;
}

} // namespace

Profile::Profile(QByteArray bytes) : bytes_(std::move(bytes)) {}

Profile Profile::load(const QString &path) {
  // A missing profile is a first start, not a fault.
  const QFileInfo file(path);
  if (!file.exists() && !file.isSymLink()) {
    return Profile();
  }
  return Profile(readFileBytes(path));
}

QString Profile::readString(QStringView section, QStringView key, const QString &def) const {
  const Found found = find(bytes_, section, key);
  if (!found.key) {
    return def;
  }
  return cp932::decodeVerbatim(limited(bytes_, found.value));
}

bool Profile::hasKey(QStringView section, QStringView key) const { return find(bytes_, section, key).key; }

int Profile::readInt(QStringView section, QStringView key, int def) const {
  const Found found = find(bytes_, section, key);
  if (!found.key) {
    return def;
  }
  const QByteArrayView text = limited(bytes_, found.value);
  qsizetype i = 0;
  while (i < text.size() && isBlank(text[i])) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == text.size() || text[i] < '0' || text[i] > '9') {
    return def;
  }
  // Past 2^31 every number clamps alike, so the magnitude stops growing there.
  constexpr std::int64_t kCap = std::int64_t{1} << 31;
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = std::min(magnitude * 10 + (text[i] - '0'), kCap);
  }
  const std::int64_t number = negative ? -magnitude : magnitude;
  return static_cast<int>(
      std::clamp<std::int64_t>(number, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void Profile::writeString(QStringView section, QStringView key, QStringView value) {
  const Found found = find(bytes_, section, key);
  const QByteArray entry = storable(key) + '=' + storable(value);
  if (found.key) {
    const Line &line = found.keyLine;
    bytes_.replace(line.begin, line.end - line.begin, entry);
    return;
  }
  if (found.section) {
    // After the section's last entry, so that blank lines closing it stay last.
    const Line &last = found.lastEntry;
    const QByteArray lineEnd = last.next == last.end ? QByteArray("\r\n") : QByteArray();
    bytes_.insert(last.next, lineEnd + entry + "\r\n");
    return;
  }
  if (!bytes_.isEmpty() && !bytes_.endsWith('\n') && !bytes_.endsWith('\r')) {
    bytes_.append("\r\n");
  }
  bytes_.append('[' + storable(section) + "]\r\n" + entry + "\r\n");
}

void Profile::removeKey(QStringView section, QStringView key) {
  // Every line of the key goes, so that a second one does not take over.
  Found found = find(bytes_, section, key);
  if (!found.key) {
    return;
  }
  for (; found.key; found = find(bytes_, section, key)) {
    bytes_.remove(found.keyLine.begin, found.keyLine.next - found.keyLine.begin);
  }
  // A section left with nothing in it goes too, unless a later one of the
  // name would then be read instead.
  const Found rest = find(bytes_, section, QString());
  if (rest.section && sectionName(bytes_, rest.lastEntry) &&
      !find(bytes_.sliced(rest.lastEntry.next), section, QString()).section) {
    bytes_.remove(rest.lastEntry.begin, rest.lastEntry.next - rest.lastEntry.begin);
  }
}

void Profile::save(const QString &path) const {
  const QString folder = QFileInfo(path).absolutePath();
  if (!QDir().mkpath(folder)) {
    throw Error(QStringLiteral("ファイル \"%1\" を保存できません。\nフォルダ \"%2\" を作成できません。")
                    .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(folder)));
  }
  writeFileAtomically(path, bytes_);
}

} // namespace kavrin
