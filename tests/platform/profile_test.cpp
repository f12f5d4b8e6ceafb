#include "platform/profile.h"

#include "platform/cp932.h"
#include "platform/error.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <climits>

namespace kavrin {
namespace {

using testing::TempDir;

QByteArray sjis(QStringView text) { return cp932::encode(text).bytes; }

const QString kDefault = QStringLiteral("<default>");

struct ReadCase {
  const char *what;
  QByteArray file;
  QString section;
  QString key;
  QString expected;
};

TEST(ProfileRead, FindsValuesAsWindowsDoes) {
  const ReadCase cases[] = {
      {"names ignore letter case", "[Mode]\r\nMode=5\r\n", "MODE", "mode", "5"},
      {"blanks around names and values are trimmed",
       " \t[ Mode \t] ; after the bracket\r\n \t Key \t=\t value  x \t\r\n", "Mode", "Key", "value  x"},
      {"a value may hold =", "[S]\r\nk=a=b\r\n", "S", "k", "a=b"},
      {"double quotes are removed", "[S]\r\nk=\" a b \"\r\n", "S", "k", " a b "},
      {"single quotes are removed", "[S]\r\nk = 'x' \r\n", "S", "k", "x"},
      {"two quotes give an empty value", "[S]\r\nk=\"\"\r\n", "S", "k", ""},
      {"only one pair of quotes is removed", "[S]\r\nk=\"\"x\"\"\r\n", "S", "k", "\"x\""},
      {"mismatched quotes stay", "[S]\r\nk=\"x'\r\n", "S", "k", "\"x'"},
      {"a quote at one end only stays", "[S]\r\nk=\"x\r\n", "S", "k", "\"x"},
      {"a lone quote stays", "[S]\r\nk='\r\n", "S", "k", "'"},
      {"an empty value is not absent", "[S]\r\nk=\r\n", "S", "k", ""},
      {"a value of blanks is empty", "[S]\r\nk= \t\r\n", "S", "k", ""},
      {"the first of repeated keys wins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "1"},
      {"the first of repeated sections wins", "[S]\r\na=1\r\n[s]\r\na=2\r\nb=3\r\n", "S", "a", "1"},
      {"a later repeated section is not read", "[S]\r\na=1\r\n[s]\r\na=2\r\nb=3\r\n", "S", "b", kDefault},
      {"a line without = is no key", "[S]\r\nk\r\nk =\r\n", "S", "k", ""},
      {"a key without any line is absent", "[S]\r\nk\r\n", "S", "k", kDefault},
      {"a comment line hides no key", "[S]\r\n; k=1\r\nk=2\r\n", "S", "k", "2"},
      {"keys before the first section are in none", "k=1\r\n[S]\r\nj=2\r\n", "S", "k", kDefault},
      {"keys before the first section never match", "k=1\r\n[S]\r\nj=2\r\n", "", "k", kDefault},
      {"a section ends at the next header", "[A]\r\n[B]\r\nk=1\r\n", "A", "k", kDefault},
      {"a bracket without its close is no header", "[S]\r\n[T\r\nk=1\r\n", "S", "k", "1"},
      {"an absent section", "[S]\r\nk=1\r\n", "T", "k", kDefault},
      {"an absent key", "[S]\r\nk=1\r\n", "S", "j", kDefault},
      {"a lone CR ends a line", "[S]\rA=1\nB=2\r\nC=3", "S", "A", "1"},
      {"a lone LF ends a line", "[S]\rA=1\nB=2\r\nC=3", "S", "B", "2"},
      {"the last line needs no line end", "[S]\rA=1\nB=2\r\nC=3", "S", "C", "3"},
      {"Shift-JIS text is decoded", sjis(u"[設定]\r\nフォント = ＭＳ ゴシック\r\n"), QStringLiteral("設定"),
       QStringLiteral("フォント"), QStringLiteral("ＭＳ ゴシック")},
      // ゾ is 83 5D: its trail byte is a "]".
      {"a trail byte is no closing bracket", sjis(u"[ゾ]\r\n表=ソ\r\n"), QStringLiteral("ゾ"),
       QStringLiteral("表"), QStringLiteral("ソ")},
      // ア is 83 41 and ヂ is 83 61: the trail bytes are "A" and "a".
      {"trail bytes are no letters to fold", sjis(u"[S]\r\nア=1\r\n"), "S", QStringLiteral("ヂ"), kDefault},
      {"a Shift-JIS name matches itself", sjis(u"[S]\r\nア=1\r\n"), "S", QStringLiteral("ア"), "1"},
  };
  for (const ReadCase &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Profile(c.file).readString(c.section, c.key, kDefault), c.expected);
  }
}

TEST(ProfileRead, AnEmptyProfileGivesTheDefault) {
  EXPECT_EQ(Profile().readString(u"S", u"k", kDefault), kDefault);
  EXPECT_EQ(Profile().readInt(u"S", u"k", -3), -3);
}

TEST(ProfileRead, AtMost4095BytesOfAValueArriveAndNoHalfCharacter) {
  const auto read = [](const QByteArray &value) {
    return Profile("[S]\r\nk=" + value + "\r\nnext=1\r\n").readString(u"S", u"k", kDefault);
  };
  const QString a4093(4093, u'a');
  EXPECT_EQ(read(QByteArray(4095, 'a')), QString(4095, u'a'));
  EXPECT_EQ(read(QByteArray(5000, 'a')), QString(4095, u'a'));
  // あ (82 A0) ending at byte 4095 fits; one byte later its lead byte would dangle.
  EXPECT_EQ(read(sjis(a4093 + QStringLiteral("あ"))), a4093 + QStringLiteral("あ"));
  EXPECT_EQ(read(sjis(a4093 + QStringLiteral("aあ"))), a4093 + QStringLiteral("a"));
  EXPECT_EQ(read(sjis(a4093 + QStringLiteral("aあい"))), a4093 + QStringLiteral("a"));
  // A half-width katakana is a single byte, not a lead byte.
  EXPECT_EQ(read(sjis(a4093 + QStringLiteral("aｱ"))), a4093 + QStringLiteral("aｱ"));
  EXPECT_EQ(read(sjis(QString(2100, u'漢'))), QString(2047, u'漢'));
}

TEST(ProfileRead, IntegersTakeTheLeadingNumber) {
  const struct {
    const char *value;
    int expected;
  } cases[] = {
      {"10", 10},
      {" -2147483643 ", -2147483643},
      {"+7", 7},
      {"0", 0},
      {"-0", 0},
      {"007", 7},
      {"", 77},
      {"abc", 77},
      {"12abc", 12},
      {"12 34", 12},
      {"3.9", 3},
      {"0x10", 0},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"2147483648", INT_MAX},
      {"99999999999", INT_MAX},
      {"-99999999999", INT_MIN},
      {"99999999999999999999999999999999", INT_MAX},
      {"-99999999999999999999999999999999", INT_MIN},
      {"- 5", 77},
      {"+-5", 77},
      {"-", 77},
      {"\" 42\"", 42},
      {"'-8'", -8},
      {"\x82\x54", 77}, // a full-width 5 is no digit
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(Profile(QByteArray("[S]\r\nn=") + c.value + "\r\n").readInt(u"S", u"n", 77), c.expected);
  }
  EXPECT_EQ(Profile("[S]\r\nm=1\r\n").readInt(u"S", u"n", 77), 77);
  EXPECT_EQ(Profile("[S]\r\nn=1\r\n").readInt(u"T", u"n", 77), 77);
}

TEST(ProfileWrite, ReplacingAKeyKeepsEveryOtherByte) {
  // Every kind of line end, comments, blank lines, bytes that do not decode
  // (80, FD, a lead byte before a line end) and no final line end.
  const QByteArray before = "; settings\r\n"
                            "top=1\n"
                            "[Editor]\r"
                            "Font=\x82\xA0\x80\xFD\r\n"
                            "\r\n"
                            "\t Size = 12 \r"
                            "; Size=99\n"
                            "junk \xFF\xFE\x81\r\n"
                            "[Other]\n"
                            "Size=3";
  Profile profile(before);
  profile.writeString(u"editor", u"size", u"14");
  EXPECT_EQ(profile.bytes(), QByteArray("; settings\r\n"
                                        "top=1\n"
                                        "[Editor]\r"
                                        "Font=\x82\xA0\x80\xFD\r\n"
                                        "\r\n"
                                        "size=14\r"
                                        "; Size=99\n"
                                        "junk \xFF\xFE\x81\r\n"
                                        "[Other]\n"
                                        "Size=3"));
  profile.writeString(u"Other", u"Size", u"4");
  EXPECT_EQ(profile.bytes(), QByteArray("; settings\r\n"
                                        "top=1\n"
                                        "[Editor]\r"
                                        "Font=\x82\xA0\x80\xFD\r\n"
                                        "\r\n"
                                        "size=14\r"
                                        "; Size=99\n"
                                        "junk \xFF\xFE\x81\r\n"
                                        "[Other]\n"
                                        "Size=4"));
}

TEST(ProfileWrite, AReplacedLineKeepsItsOwnLineEnd) {
  for (const char *end : {"\r\n", "\n", "\r"}) {
    SCOPED_TRACE(QByteArray(end).toHex().constData());
    Profile profile(QByteArray("[S]\r\nk=old") + end + "j=2\r\n");
    profile.writeString(u"S", u"k", u"new value");
    EXPECT_EQ(profile.bytes(), QByteArray("[S]\r\nk=new value") + end + "j=2\r\n");
  }
}

TEST(ProfileWrite, AQuotedValueIsReplacedWhole) {
  Profile profile("[S]\r\n  Path = \"C:\\a b\" \r\nx=1\r\n");
  profile.writeString(u"S", u"Path", u"D:\\");
  EXPECT_EQ(profile.bytes(), QByteArray("[S]\r\nPath=D:\\\r\nx=1\r\n"));
}

TEST(ProfileWrite, TheFirstOfRepeatedKeysAndSectionsIsWritten) {
  Profile profile("[S]\r\nk=1\r\nk=2\r\n[s]\r\nk=3\r\nj=4\r\n");
  profile.writeString(u"S", u"K", u"9");
  EXPECT_EQ(profile.bytes(), QByteArray("[S]\r\nK=9\r\nk=2\r\n[s]\r\nk=3\r\nj=4\r\n"));
  profile.writeString(u"s", u"j", u"5");
  EXPECT_EQ(profile.bytes(), QByteArray("[S]\r\nK=9\r\nk=2\r\nj=5\r\n[s]\r\nk=3\r\nj=4\r\n"));
}

struct WriteCase {
  const char *what;
  QByteArray before;
  QString section;
  QByteArray after;
};

TEST(ProfileWrite, AMissingKeyFollowsTheLastLineOfItsSection) {
  const WriteCase cases[] = {
      {"before the blank lines that close the section", "[A]\r\nx=1\r\n\r\n \t\r\n[B]\r\ny=2\r\n", "A",
       "[A]\r\nx=1\r\nz=3\r\n\r\n \t\r\n[B]\r\ny=2\r\n"},
      {"after a comment that closes the section", "[A]\r\nx=1\r\n; end of A\r\n\r\n[B]\r\n", "A",
       "[A]\r\nx=1\r\n; end of A\r\nz=3\r\n\r\n[B]\r\n"},
      {"in a section with only its header", "[A]\r\n\r\n[B]\r\n", "A", "[A]\r\nz=3\r\n\r\n[B]\r\n"},
      {"in the last section", "[A]\r\nx=1\r\n\r\n", "a", "[A]\r\nx=1\r\nz=3\r\n\r\n"},
      {"at the end of a file without a final line end", "[A]\r\nx=1", "A", "[A]\r\nx=1\r\nz=3\r\n"},
      {"after a header that ends the file", "[A]", "A", "[A]\r\nz=3\r\n"},
      {"before blanks that end the file", "[A]\r\nx=1\r\n  ", "A", "[A]\r\nx=1\r\nz=3\r\n  "},
      {"after lines ending in LF", "[A]\nx=1\n\n[B]\n", "A", "[A]\nx=1\nz=3\r\n\n[B]\n"},
      {"after lines ending in CR", "[A]\rx=1\r\r[B]", "A", "[A]\rx=1\rz=3\r\n\r[B]"},
      {"after a section named with blanks", "k=0\r\n[ a ] x\r\n", "A", "k=0\r\n[ a ] x\r\nz=3\r\n"},
  };
  for (const WriteCase &c : cases) {
    SCOPED_TRACE(c.what);
    Profile profile(c.before);
    profile.writeString(c.section, u"z", u"3");
    EXPECT_EQ(profile.bytes(), c.after);
  }
}

TEST(ProfileWrite, AMissingSectionEndsTheFile) {
  const WriteCase cases[] = {
      {"an empty file", "", "S", "[S]\r\nk=v\r\n"},
      {"after a final line end", "[A]\r\nx=1\r\n", "S", "[A]\r\nx=1\r\n[S]\r\nk=v\r\n"},
      {"after a final LF", "[A]\nx=1\n", "S", "[A]\nx=1\n[S]\r\nk=v\r\n"},
      {"after a final CR", "[A]\rx=1\r", "S", "[A]\rx=1\r[S]\r\nk=v\r\n"},
      {"without a final line end", "[A]\r\nx=1", "S", "[A]\r\nx=1\r\n[S]\r\nk=v\r\n"},
      {"after blank lines", "[A]\r\n\r\n", "S", "[A]\r\n\r\n[S]\r\nk=v\r\n"},
      {"the key before any section is in none", "k=1\r\n", "S", "k=1\r\n[S]\r\nk=v\r\n"},
      {"an unclosed bracket is no header", "[S\r\n", "S", "[S\r\n[S]\r\nk=v\r\n"},
  };
  for (const WriteCase &c : cases) {
    SCOPED_TRACE(c.what);
    Profile profile(c.before);
    profile.writeString(c.section, u"k", u"v");
    EXPECT_EQ(profile.bytes(), c.after);
  }
}

TEST(ProfileWrite, AFreshFileIsBuiltExactly) {
  Profile profile;
  profile.writeString(u"FunctionKey", u"F1", u".COLOR .");
  profile.writeString(u"Mode", u"Mode", u"5");
  EXPECT_EQ(profile.bytes(), QByteArray("[FunctionKey]\r\nF1=.COLOR .\r\n[Mode]\r\nMode=5\r\n"));
  profile.writeString(u"functionkey", u"F2", u"LIST");
  profile.writeString(u"Mode", u"mode", u"6");
  profile.writeString(u"設定", u"名前", u"値");
  EXPECT_EQ(profile.bytes(), QByteArray("[FunctionKey]\r\nF1=.COLOR .\r\nF2=LIST\r\n[Mode]\r\nmode=6\r\n") +
                                 sjis(u"[設定]\r\n名前=値\r\n"));
}

TEST(ProfileWrite, WrittenValuesReadBack) {
  const QString values[] = {
      QString(),
      QStringLiteral("5"),
      QStringLiteral("ｱｲｳ"),
      QStringLiteral("漢字かな交じり"),
      QStringLiteral("C:\\表\\ソ\\"), // trail bytes that are backslashes
      QStringLiteral("ゾ]"),
      QStringLiteral("a=b"),
      QStringLiteral("[x]"),
      QStringLiteral("; no comment"),
      QStringLiteral("'"),
      QStringLiteral("a \t b"),
  };
  for (const QString &value : values) {
    SCOPED_TRACE(value.toStdString());
    Profile profile(sjis(u"; top\r\n[ゾ]\r\nother=1\r\n"));
    profile.writeString(u"ゾ", u"表", value);
    EXPECT_EQ(profile.readString(u"ゾ", u"表", kDefault), value);
    EXPECT_EQ(profile.readString(u"ゾ", u"other", kDefault), QStringLiteral("1"));
    profile.writeString(u"ゾ", u"表", value + QStringLiteral("2"));
    EXPECT_EQ(profile.readString(u"ゾ", u"表", kDefault), value + QStringLiteral("2"));
  }
  Profile profile;
  profile.writeString(u"S", u"n", QString::number(INT_MIN));
  EXPECT_EQ(profile.readInt(u"S", u"n", 0), INT_MIN);
}

TEST(ProfileWrite, UndecodableBytesReadAndWrittenBackStayTheSame) {
  Profile profile("[S]\r\nk=\x80\xFD\xA0\x81\r\n");
  profile.writeString(u"S", u"copy", profile.readString(u"S", u"k", kDefault));
  EXPECT_EQ(profile.bytes(), QByteArray("[S]\r\nk=\x80\xFD\xA0\x81\r\ncopy=\x80\xFD\xA0\x81\r\n"));
}

TEST(ProfileWrite, LineBreaksInAValueAreDropped) {
  Profile profile("[S]\r\nk=1\r\nj=2\r\n");
  profile.writeString(u"S", u"k", u"a\r\nb\nc\rd\u2028e\u2029f");
  EXPECT_EQ(profile.bytes(), QByteArray("[S]\r\nk=abcdef\r\nj=2\r\n"));
  EXPECT_EQ(profile.readString(u"S", u"k", kDefault), QStringLiteral("abcdef"));
}

TEST(ProfileWrite, CharactersCodePage932LacksAreDropped) {
  Profile profile("[S]\r\nk=1\r\nj=2\r\n");
  profile.writeString(u"S", u"k", u"a😀b€c");
  EXPECT_EQ(profile.bytes(), QByteArray("[S]\r\nk=abc\r\nj=2\r\n"));
  // Written again under the same name, the key is found rather than repeated.
  profile.writeString(u"S", u"j😀", u"3");
  profile.writeString(u"S", u"j😀", u"4");
  EXPECT_EQ(profile.bytes(), QByteArray("[S]\r\nk=abc\r\nj=4\r\n"));
}

TEST(ProfileWrite, ANameWithBlanksIsFoundAgain) {
  Profile profile;
  profile.writeString(u" S ", u" k ", u"1");
  profile.writeString(u" S ", u" k ", u"2");
  EXPECT_EQ(profile.bytes(), QByteArray("[ S ]\r\n k =2\r\n"));
  EXPECT_EQ(profile.readString(u"S", u"k", kDefault), QStringLiteral("2"));
  EXPECT_EQ(profile.readString(u" S ", u" k ", kDefault), QStringLiteral("2"));
}

TEST(ProfileFile, AMissingOrUnreadableFileLoadsEmpty) {
  TempDir dir;
  EXPECT_TRUE(Profile::load(dir.path(QStringLiteral("missing.ini"))).bytes().isEmpty());
  EXPECT_TRUE(Profile::load(dir.root()).bytes().isEmpty()); // a folder
}

TEST(ProfileFile, LoadKeepsTheBytesAndSaveWritesThem) {
  TempDir dir;
  const QByteArray bytes = "[S]\rk=\x80\xFD\n\r\nj=\"2\"";
  const QString path = dir.write(QStringLiteral("kavrin.ini"), bytes);
  Profile profile = Profile::load(path);
  EXPECT_EQ(profile.bytes(), bytes);
  EXPECT_EQ(profile.readString(u"S", u"j", kDefault), QStringLiteral("2"));
  profile.writeString(u"S", u"j", u"3");
  profile.save(path);
  EXPECT_EQ(dir.read(QStringLiteral("kavrin.ini")), QByteArray("[S]\rk=\x80\xFD\n\r\nj=3"));
}

TEST(ProfileFile, SaveCreatesAMissingFolder) {
  TempDir dir;
  Profile profile;
  profile.writeString(u"Mode", u"Mode", u"5");
  profile.save(dir.path(QStringLiteral("a/b/kavrin.ini")));
  EXPECT_EQ(dir.read(QStringLiteral("a/b/kavrin.ini")), QByteArray("[Mode]\r\nMode=5\r\n"));
}

TEST(ProfileFile, AFailedSaveThrowsAndLeavesTheOldFileWhole) {
  TempDir dir;
  const QString path = dir.write(QStringLiteral("kavrin.ini"), "[Mode]\r\nMode=5\r\n");
  Profile profile;
  profile.writeString(u"Big", u"Text", QString(100000, u'x'));
  {
    // The disk fills up halfway through the new file.
    testing::FileSizeLimit limit(4096);
    try {
      profile.save(path);
      ADD_FAILURE() << "no error";
    } catch (const Error &e) {
      EXPECT_TRUE(e.message().contains(path)) << e.what();
    }
  }
  EXPECT_EQ(dir.read(QStringLiteral("kavrin.ini")), QByteArray("[Mode]\r\nMode=5\r\n"));
  EXPECT_EQ(QDir(dir.root()).entryList(QDir::Files), QStringList{QStringLiteral("kavrin.ini")});
}

TEST(ProfileFile, SaveThrowsWhenAFileStandsWhereTheFolderGoes) {
  TempDir dir;
  dir.write(QStringLiteral("blocker"), "x");
  const QString path = dir.path(QStringLiteral("blocker/kavrin.ini"));
  try {
    Profile().save(path);
    ADD_FAILURE() << "no error";
  } catch (const Error &e) {
    EXPECT_TRUE(e.message().contains(path)) << e.what();
  }
  EXPECT_EQ(dir.read(QStringLiteral("blocker")), QByteArray("x"));
}

} // namespace
} // namespace kavrin
