#include "logic/converter_command.h"

#include <gtest/gtest.h>

namespace kavrin {
namespace {

TEST(ConverterIdentity, ByFileNameInAnyCase) {
  const struct {
    const char *prog;
    ConverterKind kind;
  } rows[] = {
    {"txt2bas.exe", ConverterKind::Txt2Bas},
    {"C:\\tools\\TXT2BAS.EXE", ConverterKind::Txt2Bas},
    {"C:\\tools\\CSave.exe", ConverterKind::CSave},
    {"C:\\tools\\txt2bas.exe\\", ConverterKind::Unsupported},
    {"", ConverterKind::Unsupported},
    {"txt2bas.exe.bak", ConverterKind::Unsupported},
#if defined(Q_OS_WIN)
    {"C:\\tools\\txt2bas", ConverterKind::Unsupported},
#else
    {"/usr/local/bin/txt2bas.exe", ConverterKind::Txt2Bas},
    {"/usr/local/bin/txt2bas", ConverterKind::Txt2Bas},
    {"csave", ConverterKind::CSave},
#endif
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(row.prog);
    EXPECT_EQ(identifyConverter(row.prog), row.kind);
  }
}

TEST(TapeImageName, ReplacesTheExtensionOfTheFileNameOnly) {
  const struct {
    const char *document;
    const char *image;
  } rows[] = {
    {"C:\\basic\\game.txt", "C:\\basic\\game.cas"},
    {"C:\\my.dir\\prog", "C:\\my.dir\\prog.cas"},
    {"/home/u/old.games/写真.tar.txt", "/home/u/old.games/写真.tar.cas"},
#if !defined(Q_OS_WIN)
    {"/home/u/my.dir/prog", "/home/u/my.dir/prog.cas"},
#endif
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(row.document);
    EXPECT_EQ(tapeImageName(QString::fromUtf8(row.document)), QString::fromUtf8(row.image));
  }
}

TEST(ConverterCommandLine, FollowsTheConverterAndTheMode) {
  const struct {
    ConverterKind kind;
    bool mode6;
    QStringList arguments;
  } rows[] = {
      {ConverterKind::Txt2Bas, false, {"a b.txt", "a b.cas"}},
      {ConverterKind::Txt2Bas, true, {"-6", "a b.txt", "a b.cas"}},
      {ConverterKind::CSave, false, {"-o", "a b.cas", "a b.txt"}},
      {ConverterKind::CSave, true, {"-o", "a b.cas", "a b.txt"}},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(row.arguments.join(u' ').toStdString());
    const auto command = buildConverterCommand(row.kind, "C:\\t\\conv.exe", row.mode6, "a b.txt", "a b.cas");
    EXPECT_EQ(command.program, "C:\\t\\conv.exe");
    EXPECT_EQ(command.arguments, row.arguments);
  }
}

} // namespace
} // namespace kavrin
