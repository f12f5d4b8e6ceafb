#include "convert/converter_command.h"

#include <gtest/gtest.h>

namespace kavrin {
namespace {

TEST(ConverterIdentity, ByFileNameInAnyCase) {
  EXPECT_EQ(identifyConverter("txt2bas.exe"), ConverterKind::Txt2Bas);
  EXPECT_EQ(identifyConverter("C:\\tools\\TXT2BAS.EXE"), ConverterKind::Txt2Bas);
  EXPECT_EQ(identifyConverter("C:\\tools\\CSave.exe"), ConverterKind::CSave);
  EXPECT_EQ(identifyConverter("C:\\tools\\txt2bas.exe\\"), ConverterKind::Unsupported);
  EXPECT_EQ(identifyConverter(""), ConverterKind::Unsupported);
  EXPECT_EQ(identifyConverter("C:\\tools\\bas2txt.exe"), ConverterKind::Unsupported);
  EXPECT_EQ(identifyConverter("txt2bas.exe.bak"), ConverterKind::Unsupported);
}

TEST(ConverterIdentity, NativeNamesAndSlashesCountOnlyOutsideWindows) {
#if defined(Q_OS_WIN)
  EXPECT_EQ(identifyConverter("C:/tools/txt2bas.exe"), ConverterKind::Unsupported);
  EXPECT_EQ(identifyConverter("C:\\tools\\txt2bas"), ConverterKind::Unsupported);
#else
  EXPECT_EQ(identifyConverter("/usr/local/bin/txt2bas.exe"), ConverterKind::Txt2Bas);
  EXPECT_EQ(identifyConverter("/usr/local/bin/txt2bas"), ConverterKind::Txt2Bas);
  EXPECT_EQ(identifyConverter("csave"), ConverterKind::CSave);
  EXPECT_EQ(converterFileName("/opt/conv/txt2bas"), "txt2bas");
#endif
  EXPECT_EQ(converterFileName("C:\\a b\\txt2bas.exe"), "txt2bas.exe");
}

TEST(TapeImageName, ReplacesTheExtensionOfTheFileNameOnly) {
  EXPECT_EQ(tapeImageName("C:\\basic\\game.txt"), "C:\\basic\\game.cas");
  EXPECT_EQ(tapeImageName("C:\\work\\prog.bas"), "C:\\work\\prog.cas");
  EXPECT_EQ(tapeImageName("C:\\work\\prog"), "C:\\work\\prog.cas");
  EXPECT_EQ(tapeImageName("C:\\my.dir\\prog"), "C:\\my.dir\\prog.cas");
  EXPECT_EQ(tapeImageName("/home/u/old.games/写真.tar.txt"), "/home/u/old.games/写真.tar.cas");
#if !defined(Q_OS_WIN)
  EXPECT_EQ(tapeImageName("/home/u/my.dir/prog"), "/home/u/my.dir/prog.cas");
#endif
}

TEST(ConverterCommandLine, FollowsTheConverterAndTheMode) {
  const auto txt5 = buildConverterCommand(ConverterKind::Txt2Bas, "txt2bas.exe", false, "a b.txt", "a b.cas");
  EXPECT_EQ(txt5.program, "txt2bas.exe");
  EXPECT_EQ(txt5.arguments, QStringList({"a b.txt", "a b.cas"}));
  EXPECT_EQ(txt5.commandLine, "\"txt2bas.exe\" \"a b.txt\" \"a b.cas\"");

  const auto txt6 =
      buildConverterCommand(ConverterKind::Txt2Bas, "C:\\t\\TXT2BAS.EXE", true, "p.txt", "p.cas");
  EXPECT_EQ(txt6.arguments, QStringList({"-6", "p.txt", "p.cas"}));
  EXPECT_EQ(txt6.commandLine, "\"C:\\t\\TXT2BAS.EXE\" -6 \"p.txt\" \"p.cas\"");

  for (const bool mode6 : {false, true}) {
    const auto csave = buildConverterCommand(ConverterKind::CSave, "csave.exe", mode6, "p.txt", "q.cas");
    EXPECT_EQ(csave.arguments, QStringList({"-o", "q.cas", "p.txt"}));
    EXPECT_EQ(csave.commandLine, "\"csave.exe\" -o \"q.cas\" \"p.txt\"");
  }
}

} // namespace
} // namespace kavrin
