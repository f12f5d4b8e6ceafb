#include "platform/profile.h"

#include "platform/cp932.h"
#include "platform/error.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>

namespace kavrin {
namespace {

using testing::TempDir;

QByteArray sjis(QStringView text) { return cp932::encode(text).bytes; }

const QString kDefault = QStringLiteral("<default>");

TEST(Profile, ReadsAsWindowsDoes) {
  const struct {
    const char *what;
    QByteArray file;
    QString section, key, expected;
  } cases[] = {
      // clang-format off
      {"names ignore letter case", "[Mode]\r\nMode=5\r\n", "MODE", "mode", "5"},
      {"blanks trimmed, text after ] ignored", " \t[ M \t] ; x\r\n \t K \t=\t v  x \t\r\n", "M", "K", "v  x"},
      {"a value may hold =", "[S]\r\nk=a=b\r\n", "S", "k", "a=b"},
      {"double quotes are removed", "[S]\r\nk=\" a b \"\r\n", "S", "k", " a b "},
      {"single quotes are removed", "[S]\r\nk = 'x' \r\n", "S", "k", "x"},
      {"two quotes give an empty value", "[S]\r\nk=\"\"\r\n", "S", "k", ""},
      {"a quote at one end only stays", "[S]\r\nk=\"x\r\n", "S", "k", "\"x"},
      {"a value of blanks is empty, not absent", "[S]\r\nk= \t\r\n", "S", "k", ""},
      {"the first of repeated keys wins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "1"},
      {"a later repeated section is not read", "[S]\r\na=1\r\n[s]\r\nb=3\r\n", "S", "b", kDefault},
      {"a line without = is no key", "[S]\r\nk\r\nk =\r\n", "S", "k", ""},
      {"keys before the first section are in none", "k=1\r\n[S]\r\nj=2\r\n", "", "k", kDefault},
      {"a lone CR ends a line", "[S]\rA=1\nB=2\r\nC=3", "S", "A", "1"},
      {"a lone LF ends a line", "[S]\rA=1\nB=2\r\nC=3", "S", "B", "2"},
      {"the last line needs no line end", "[S]\rA=1\nB=2\r\nC=3", "S", "C", "3"},
      {"Shift-JIS is decoded", sjis(u"[設定]\r\nフォント = ＭＳ ゴシック\r\n"), "設定", "フォント", "ＭＳ ゴシック"},
      // ゾ is 83 5D: its trail byte is a "]".
      {"a trail byte is no closing bracket", sjis(u"[ゾ]\r\n表=ソ\r\n"), "ゾ", "表", "ソ"},
      // ア is 83 41 and ヂ is 83 61: the trail bytes are "A" and "a".
      {"trail bytes are no letters to fold", sjis(u"[S]\r\nア=1\r\n"), "S", "ヂ", kDefault},
  }; // clang-format on
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Profile(c.file).readString(c.section, c.key, kDefault), c.expected);
  }
}

TEST(Profile, AtMost4095BytesOfAValueArriveAndNoHalfCharacter) {
  // After 4093 bytes: あ (82 A0) fits; one byte later it would not.  A
  // half-width katakana is a single byte, not a lead byte.
  const std::pair<const char *, const char *> rows[] = {
      {"aa", "aa"}, {"aaa", "aa"}, {"あ", "あ"}, {"aあい", "a"}, {"aｱ", "aｱ"}};
  for (const auto &[tail, kept] : rows) {
    SCOPED_TRACE(tail);
    const Profile profile("[S]\r\nk=" + QByteArray(4093, 'a') + sjis(QString::fromUtf8(tail)) +
                          "\r\nj=1\r\n");
    EXPECT_EQ(profile.readString(u"S", u"k", kDefault), QString(4093, u'a') + QString::fromUtf8(kept));
  }
}

TEST(Profile, IntegersTakeTheLeadingNumber) {
  // A full-width 5 (82 54) is no digit.
  const struct {
    const char *value;
    int expected;
  } cases[] = {// clang-format off
      {"10", 10}, {" -2147483643 ", -2147483643}, {"+7", 7}, {"", 77}, {"abc", 77},
      {"12abc", 12}, {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
      {"2147483648", INT_MAX}, {"-99999999999", INT_MIN}, {"99999999999999999999999999999999", INT_MAX},
      {"- 5", 77}, {"-", 77}, {"\" 42\"", 42}, {"'-8'", -8}, {"\x82\x54", 77}};
  // clang-format on
  for (const auto &c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(Profile(QByteArray("[S]\r\nn=") + c.value + "\r\n").readInt(u"S", u"n", 77), c.expected);
  }
  EXPECT_EQ(Profile("[S]\r\nm=1\r\n").readInt(u"S", u"n", 77), 77);
}

TEST(Profile, WritesChangeOnlyTheBytesTheyMust) {
  // Odd line ends, comments and bytes that do not decode stay as they were.
  const QByteArray file =
      "; c\r\ntop=1\n[Ed]\rF=\x82\xA0\x80\xFD\r\n\r\n\t Size = 12 \r; Size=9\nj \xFF\x81\r\n[O]\nS=3";
  const struct {
    const char *what;
    QByteArray before;
    QString section, key, value;
    QByteArray after;
  } cases[] = {
      // clang-format off
      {"a replaced line keeps its line end and its neighbours", file, "ed", "size", "14",
       "; c\r\ntop=1\n[Ed]\rF=\x82\xA0\x80\xFD\r\n\r\nsize=14\r; Size=9\nj \xFF\x81\r\n[O]\nS=3"},
      {"the last line keeps having no line end", file, "O", "S", "4",
       "; c\r\ntop=1\n[Ed]\rF=\x82\xA0\x80\xFD\r\n\r\n\t Size = 12 \r; Size=9\nj \xFF\x81\r\n[O]\nS=4"},
      {"a quoted value is replaced whole", "[S]\r\n  P = \"C:\\a b\" \n", "S", "P", "D:\\", "[S]\r\nP=D:\\\n"},
      {"before closing blanks", "[A]\r\nx=1\r\n\r\n \t\r\n[B]", "A", "z", "3", "[A]\r\nx=1\r\nz=3\r\n\r\n \t\r\n[B]"},
      {"after a last line without line end", "[A]\r\nx=1", "a", "z", "3", "[A]\r\nx=1\r\nz=3\r\n"},
      {"after lines ending in LF", "[A]\nx=1\n\n[B]\n", "A", "z", "3", "[A]\nx=1\nz=3\r\n\n[B]\n"},
      {"a new section in an empty file", "", "設定", "名前", "値", sjis(u"[設定]\r\n名前=値\r\n")},
      {"trail bytes ] and \\ in names", sjis(u"[ゾ]\r\n表=1\r\n"), "ゾ", "表", "C:\\ソ", sjis(u"[ゾ]\r\n表=C:\\ソ\r\n")},
      {"a new section after a final LF", "[A]\nx=1\n", "S", "k", "v", "[A]\nx=1\n[S]\r\nk=v\r\n"},
      {"a new section after a final CR", "[A]\r", "S", "k", "v", "[A]\r[S]\r\nk=v\r\n"},
      {"a new section after no line end", "[A]\r\nx=1", "S", "k", "v", "[A]\r\nx=1\r\n[S]\r\nk=v\r\n"},
      {"an unclosed bracket is no header", "[S\r\n", "S", "k", "v", "[S\r\n[S]\r\nk=v\r\n"},
      {"line breaks dropped", "[S]\r\nk=1\r\n", "S", "k", "a\r\nb\nc\rd\u2028e\u2029f", "[S]\r\nk=abcdef\r\n"},
      {"unencodable dropped", "[S]\r\nk=1\r\n", "S", "k", "a😀b€c", "[S]\r\nk=abc\r\n"},
      {"a name so stored is found again", "[S]\r\nj=3\r\n", "S", "j😀", "4", "[S]\r\nj=4\r\n"},
      {"a name with blanks is found again", "[ S ]\r\n k =1\r\n", " S ", " k ", "2", "[ S ]\r\n k =2\r\n"},
      // No value: the key is removed.
      {"a removed key leaves its neighbours", "[A]\r\nx=1\ny=2\r\n[B]", "a", "X", {}, "[A]\r\ny=2\r\n[B]"},
      {"a section left empty goes", "[A]\r\nx=1\r\n[B]\r\nk=1\r\n", "B", "k", {}, "[A]\r\nx=1\r\n"},
      {"a section with a comment stays", "[B]\r\n; c\r\nk=1\r\n", "B", "k", {}, "[B]\r\n; c\r\n"},
      {"a second line of the key goes too", "[B]\r\nk=1\r\nj=2\r\nk=1\r\n", "B", "k", {}, "[B]\r\nj=2\r\n"},
      {"an emptied section stays before another of its name", "[B]\r\nk=1\r\n[C]\r\n[B]\r\nk=2", "B", "k", {},
       "[B]\r\n[C]\r\n[B]\r\nk=2"},
  }; // clang-format on
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    Profile profile(c.before);
    c.value.isNull() ? profile.removeKey(c.section, c.key) : profile.writeString(c.section, c.key, c.value);
    EXPECT_EQ(profile.bytes(), c.after);
  }
}

TEST(Profile, LoadAndSaveKeepTheBytes) {
  TempDir dir;
  EXPECT_TRUE(Profile::load(dir.path("missing.ini")).bytes().isEmpty());
  const QByteArray bytes = "[S]\rk=\x80\xFD\xA0\x81\n\r\nj=\"2\"";
  Profile profile = Profile::load(dir.write("kavrin.ini", bytes));
  profile.writeString(u"S", u"j", profile.readString(u"S", u"k", kDefault));
  profile.save(dir.path("a/b/kavrin.ini")); // a missing folder is made
  EXPECT_EQ(dir.read("a/b/kavrin.ini"), QByteArray("[S]\rk=\x80\xFD\xA0\x81\n\r\nj=\x80\xFD\xA0\x81"));
  profile.save(dir.path("kavrin.ini"));
  EXPECT_EQ(dir.read("kavrin.ini"), dir.read("a/b/kavrin.ini"));
}

TEST(Profile, AFailedSaveThrowsAndLeavesTheOldFileWhole) {
  KAVRIN_NEEDS_FILE_SIZE_LIMIT();
  TempDir dir;
  const QString path = dir.write("kavrin.ini", "[Mode]\r\nMode=5\r\n");
  Profile big;
  big.writeString(u"Big", u"Text", QString(100000, u'x'));
  {
    testing::FileSizeLimit limit(4096); // the disk fills up halfway
    try {
      big.save(path);
      ADD_FAILURE() << "no error";
    } catch (const Error &e) {
      EXPECT_TRUE(e.message().contains(path)) << e.what();
    }
  }
  EXPECT_EQ(dir.read("kavrin.ini"), QByteArray("[Mode]\r\nMode=5\r\n"));
  EXPECT_EQ(QDir(dir.root()).entryList(QDir::Files), QStringList{"kavrin.ini"});
  dir.write("blocker", "x"); // a file stands where the folder goes
  EXPECT_THROW(big.save(dir.path("blocker/kavrin.ini")), Error);
}

} // namespace
} // namespace kavrin
