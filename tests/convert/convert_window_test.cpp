#include "support/window_fixture.h"

#include "platform/cp932.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>

namespace kavrin::testing {
namespace {

#if defined(Q_OS_UNIX)

const QString kDone = QStringLiteral("正常に終了しました");
const QString kFailed = QStringLiteral("エラーが発生しました");

class ConvertTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    program = dir.write("prog.txt", "10 PRINT \"HELLO\"\r\n");
    form->LoadFile(program);
  }

  // A converter that records its arguments in <name>.args, writes `error` to
  // its standard error and a line to its standard output, writes the image
  // named after -o or by its last argument, and exits with `code`.
  QString converter(const QString &name, const QByteArray &error = {}, int code = 0) {
    dir.write(name + ".err", error);
    const QString path =
        dir.write(name, QStringLiteral("#!/bin/sh\n"
                                       ": > \"$0.args\"\n"
                                       "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$0.args\"; done\n"
                                       "cat \"$0.err\" >&2\n"
                                       "echo converter-output\n"
                                       "image= ; prev=\n"
                                       "for a in \"$@\"; do [ \"$prev\" = -o ] && image=$a; prev=$a; done\n"
                                       "[ -z \"$image\" ] && image=$prev\n"
                                       "printf CAS > \"$image\"\n"
                                       "exit %1\n")
                            .arg(code)
                            .toUtf8());
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    return path;
  }

  QStringList argumentsOf(const QString &converterPath) {
    return QString::fromUtf8(dir.read(QFileInfo(converterPath).fileName() + ".args"))
        .split(u'\n', Qt::SkipEmptyParts);
  }

  void convertTo(const QString &image) {
    ui.saveAnswers.push_back(image);
    form->Trans6->trigger();
  }

  QString program;
};

TEST_F(ConvertTest, Txt2BasGetsTextThenImageWithTheModeOption) {
  form->ConvProg = converter("txt2bas.exe");
  const QString image = dir.path("my game.cas");
  convertTo(image);
  ASSERT_EQ(ui.saveCalls.size(), 1U);
  EXPECT_EQ(ui.saveCalls[0].state.title, "テープイメージに変換");
  EXPECT_EQ(ui.saveCalls[0].state.filter, "テープイメージ (*.cas)|*.CAS|すべてのファイル (*.*)|*.*");
  EXPECT_EQ(ui.saveCalls[0].state.fileName, dir.path("prog.cas"));
  EXPECT_EQ(argumentsOf(form->ConvProg), QStringList({program, image}));
  EXPECT_EQ(dir.read("my game.cas"), "CAS");
  EXPECT_EQ(ui.messageTexts(), QStringList({kDone}));
  EXPECT_EQ(ui.progressTexts, QStringList({"変換中..."}));

  form->Mode6->trigger();
  convertTo(image);
  EXPECT_EQ(argumentsOf(form->ConvProg), QStringList({"-6", program, image}));
}

TEST_F(ConvertTest, CSaveGetsTheImageAfterItsOptionInEitherMode) {
  form->ConvProg = converter("CSAVE.EXE");
  const QString image = dir.path("out.cas");
  convertTo(image);
  EXPECT_EQ(argumentsOf(form->ConvProg), QStringList({"-o", image, program}));
  form->Mode6->trigger();
  convertTo(image);
  EXPECT_EQ(argumentsOf(form->ConvProg), QStringList({"-o", image, program}));
}

TEST_F(ConvertTest, NativeConverterNamesAndQuotesInPaths) {
  form->ConvProg = converter("txt2bas");
  const QString odd = dir.write("it's \"odd\".txt", "10 END\r\n");
  form->LoadFile(odd);
  convertTo(dir.path("it's \"odd\".cas"));
  EXPECT_EQ(argumentsOf(form->ConvProg), QStringList({odd, dir.path("it's \"odd\".cas")}));
  EXPECT_EQ(ui.messageTexts(), QStringList({kDone}));
}

TEST_F(ConvertTest, ABareNameIsFoundBesideTheProgramFirst) {
  converter("txt2bas.exe");
  form->ExeDir = dir.root() + "/";
  form->ConvProg = "txt2bas.exe";
  convertTo(dir.path("a.cas"));
  EXPECT_EQ(dir.read("a.cas"), "CAS");
  EXPECT_EQ(ui.messageTexts(), QStringList({kDone}));
}

TEST_F(ConvertTest, ErrorOutputIsShownPieceByPieceThenTheResult) {
  form->ConvProg = converter("txt2bas.exe", cp932::encode(QStringLiteral("行 10: 文法エラー\n")).bytes, 1);
  convertTo(dir.path("prog.cas"));
  EXPECT_EQ(ui.messageTexts(), QStringList({"行 10: 文法エラー\n", kFailed}));
  for (const auto &m : ui.messages) {
    EXPECT_EQ(m.caption, "kavrin");
    EXPECT_EQ(m.buttons, MsgButtons::Ok);
  }
}

TEST_F(ConvertTest, ALargeBurstArrivesWholeInOrderInBoundedPieces) {
  QByteArray burst;
  for (int i = 0; burst.size() < 10000; ++i) {
    burst += QByteArray::number(i) + ' ';
  }
  burst.truncate(10000);
  form->ConvProg = converter("txt2bas.exe", burst, 0);
  convertTo(dir.path("prog.cas"));
  QStringList texts = ui.messageTexts();
  ASSERT_GE(texts.size(), 4); // at least three pieces, then the result
  EXPECT_EQ(texts.takeLast(), kDone);
  for (const QString &piece : texts) {
    EXPECT_LE(piece.size(), 4096);
  }
  EXPECT_EQ(texts.join(QString()), QString::fromLatin1(burst));
}

TEST_F(ConvertTest, StandardOutputIsNotShown) {
  form->ConvProg = converter("txt2bas.exe");
  convertTo(dir.path("prog.cas"));
  EXPECT_EQ(ui.messageTexts(), QStringList({kDone}));
}

TEST_F(ConvertTest, AMissingProgramSaysOnlyThatItCouldNotStart) {
  form->ConvProg = dir.path("txt2bas.exe");
  convertTo(dir.path("prog.cas"));
  ASSERT_EQ(ui.messages.size(), 1U);
  EXPECT_TRUE(ui.messages[0].text.startsWith("CreateProcess failed.\n"));
  EXPECT_TRUE(ui.messages[0].text.contains("txt2bas.exe"));
  EXPECT_TRUE(ui.progressTexts.isEmpty());
}

TEST_F(ConvertTest, TwoRunsEachShowTheirOwnOutput) {
  form->ConvProg = converter("txt2bas.exe", "first\n", 0);
  convertTo(dir.path("prog.cas"));
  form->ConvProg = converter("csave.exe", "second\n", 2);
  convertTo(dir.path("prog.cas"));
  EXPECT_EQ(ui.messageTexts(), QStringList({"first\n", kDone, "second\n", kFailed}));
}

TEST_F(ConvertTest, AHangingConverterCanBeCancelled) {
  const QString path = dir.write("txt2bas.exe", "#!/bin/sh\necho started >&2\nexec sleep 60\n");
  QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
  form->ConvProg = path;
  ui.cancelAfterMs = 300;
  QElapsedTimer clock;
  clock.start();
  convertTo(dir.path("prog.cas"));
  EXPECT_LT(clock.elapsed(), 30000);
  EXPECT_EQ(ui.messageTexts(), QStringList({"started\n", kFailed}));
}

TEST_F(ConvertTest, AWindowsConverterRunsThroughWine) {
  const QString bin = dir.root() + "/bin";
  QDir().mkpath(bin);
  const QString wine = bin + "/wine";
  QFile script(wine);
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(
      "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$(dirname \"$0\")/wine.args\"\n"
      "echo wine ran >&2\n");
  script.close();
  QFile::setPermissions(wine, QFile::permissions(wine) | QFileDevice::ExeOwner);
  const QString exe = dir.write("txt2bas.exe", QByteArray("MZ") + QByteArray(100, '\0'));
  const QByteArray oldPath = qgetenv("PATH");
  qputenv("PATH", bin.toLocal8Bit() + ':' + oldPath);
  form->ConvProg = exe;
  convertTo(dir.path("prog.cas"));
  qputenv("PATH", oldPath);
  EXPECT_EQ(QString::fromUtf8(dir.read("bin/wine.args")).split(u'\n', Qt::SkipEmptyParts),
            QStringList({exe, program, dir.path("prog.cas")}));
  EXPECT_EQ(ui.messageTexts(), QStringList({"wine ran\n", kDone}));

  // Without wine the program cannot start, and the user is told why.
  qputenv("PATH", dir.root().toLocal8Bit() + "/none");
  convertTo(dir.path("prog.cas"));
  qputenv("PATH", oldPath);
  ASSERT_EQ(ui.messages.size(), 3U);
  EXPECT_TRUE(ui.messages[2].text.startsWith("CreateProcess failed.\n"));
  EXPECT_TRUE(ui.messages[2].text.contains("wine"));
}

#endif

class ConvertRefusalTest : public WindowTest {};

TEST_F(ConvertRefusalTest, ANeverSavedDocumentIsRefusedAfterThePrompt) {
  form->Trans6->trigger();
  EXPECT_EQ(ui.messageTexts(), QStringList({"一旦セーブしないと変換できません"}));
  EXPECT_TRUE(ui.saveCalls.empty());

  type("10 END");
  ui.answers.push_back(MsgResult::No);
  form->Trans6->trigger();
  EXPECT_EQ(ui.messageTexts().last(), "一旦セーブしないと変換できません");

  // Saved at the prompt, the new name is proposed with ".cas".
  ui.answers.push_back(MsgResult::Yes);
  ui.saveAnswers.push_back(dir.path("new.txt"));
  ui.saveAnswers.push_back(std::nullopt);
  form->Trans6->trigger();
  ASSERT_EQ(ui.saveCalls.size(), 2U);
  EXPECT_EQ(ui.saveCalls[1].state.fileName, dir.path("new.cas"));
  EXPECT_EQ(dir.read("new.txt"), "10 END");
}

TEST_F(ConvertRefusalTest, AnUnsupportedConverterIsRefusedAfterTheImageIsChosen) {
  form->LoadFile(dir.write("p.txt", "10 END"));
  form->ConvProg = "C:\\tools\\bas2cas.exe";
  ui.saveAnswers.push_back(dir.path("p.cas"));
  form->Trans6->trigger();
  EXPECT_EQ(ui.saveCalls.size(), 1U);
  EXPECT_EQ(ui.messageTexts(), QStringList({"対応していない変換プログラムです"}));
  EXPECT_FALSE(QFile::exists(dir.path("p.cas")));
}

TEST_F(ConvertRefusalTest, TheProgramsOwnFileIsNeverTheImage) {
  const QString text = dir.write("p.txt", "10 END");
  form->LoadFile(text);
  form->ConvProg = "txt2bas.exe";
  ui.saveAnswers.push_back(text);
  form->Trans6->trigger();
  ASSERT_EQ(ui.messages.size(), 1U);
  EXPECT_TRUE(ui.messages[0].text.contains("同じ"));
  EXPECT_EQ(dir.read("p.txt"), "10 END");
}

TEST_F(ConvertRefusalTest, TheImageNameStaysForTheNextSaveAs) {
  form->LoadFile(dir.write("p.txt", "10 END"));
  ui.saveAnswers.push_back(std::nullopt);
  form->Trans6->trigger();
  EXPECT_TRUE(ui.messages.empty());
  ui.saveAnswers.push_back(std::nullopt);
  form->SaveAs1->trigger();
  ASSERT_EQ(ui.saveCalls.size(), 2U);
  EXPECT_EQ(ui.saveCalls[1].state.fileName, dir.path("p.cas"));
  EXPECT_EQ(ui.saveCalls[1].state.title, QString());
}

} // namespace
} // namespace kavrin::testing
