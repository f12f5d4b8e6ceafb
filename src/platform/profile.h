#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace kavrin {

// A profile (INI) file held in memory: reads and in-place writes on its
// code page 932 bytes, as Windows' profile functions see them.
//
// Lines end at CR LF, a lone LF or a lone CR; blanks are spaces and tabs.  A
// section starts at a line "[name]" (text after "]" is ignored); a key line
// is any other line holding "=", its name and value trimmed of blanks and the
// value stripped of one pair of matching quotes.  Lines before the first
// section belong to no section.  Names match regardless of letter case, and
// of repeated sections or keys only the first counts, for reading and
// writing.  A write changes only the bytes it must; every other byte,
// undecodable ones and odd line ends included, stays as it was.
class Profile {
public:
  // Empty, as for a missing file.
  Profile() = default;
  explicit Profile(QByteArray bytes);

  // Reads `path`; a missing file gives an empty profile.  A file that is
  // there but cannot be read throws Error naming it: written over, it would
  // lose every key it holds.
  static Profile load(const QString &path);

  const QByteArray &bytes() const { return bytes_; }

  // An absent section or key gives `def`; a present key with an empty value
  // gives "".  At most 4095 bytes of the value arrive, cut before a
  // double-byte character that would not fit whole.
  QString readString(QStringView section, QStringView key, const QString &def) const;

  bool hasKey(QStringView section, QStringView key) const;

  // An absent key or an empty value gives `def`.  Otherwise the value is read
  // as optional blanks, an optional sign and decimal digits; the number those
  // leading digits form is taken and anything after them ignored ("12abc"
  // reads 12).  A value without a leading number ("abc", "- 5") gives `def`,
  // and a number beyond the 32-bit range is clamped to INT32_MIN/INT32_MAX.
  int readInt(QStringView section, QStringView key, int def) const;

  // Replaces the line of the first matching key with "key=value", keeping
  // its line end, or adds the key at the end of its section, or adds the
  // section at the end of the file.  Line breaks (CR, LF, U+2028, U+2029)
  // would split the line, so they are dropped from the section, key and
  // value; so are characters code page 932 cannot hold (e.g. emoji), which
  // leaves the rest of the text written and the file intact.
  void writeString(QStringView section, QStringView key, QStringView value);

  // Removes the key's lines from the first matching section, and the
  // section's header when nothing is left in it and no later section of
  // the name would be read instead.
  void removeKey(QStringView section, QStringView key);

  // Replaces the file at `path` in one step, creating its folder if missing.
  // Throws Error naming the file on failure; the old file then stays whole.
  void save(const QString &path) const;

private:
  QByteArray bytes_;
};

} // namespace kavrin
