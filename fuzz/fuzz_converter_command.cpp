// Converter runs: any configured program and file names give a command whose
// paths are single arguments, unparsed, and a tape image name in ".cas" in
// the document's folder.

#include "fuzz_text.h"

#include "convert/converter_command.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

using namespace kavrin;

qsizetype nameStart(const QString &path) {
  qsizetype at = path.lastIndexOf(u'\\');
#if !defined(Q_OS_WIN)
  at = std::max(at, path.lastIndexOf(u'/'));
#endif
  return at + 1;
}

void checkTapeImage(const QString &fileName) {
  const QString image = tapeImageName(fileName);
  const qsizetype folder = nameStart(fileName);
  FUZZ_CHECK(image.endsWith(QStringLiteral(".cas")));
  FUZZ_CHECK(image.left(folder) == fileName.left(folder));
  FUZZ_CHECK(nameStart(image) == folder);
  const QString name = fileName.mid(folder);
  const qsizetype dot = name.lastIndexOf(u'.');
  FUZZ_CHECK(image.mid(folder) == (dot >= 0 ? name.left(dot) : name) + QStringLiteral(".cas"));
}

void checkCommand(ConverterKind kind, const QString &prog, bool mode6, const QString &text,
                  const QString &image) {
  const ConverterCommand c = buildConverterCommand(kind, prog, mode6, text, image);
  FUZZ_CHECK(c.program == prog);
  auto quoted = [](const QString &s) { return u'"' + s + u'"'; };
  QStringList expected;
  QStringList shown{quoted(prog)};
  if (kind == ConverterKind::CSave) {
    expected = {QStringLiteral("-o"), image, text};
    shown << QStringLiteral("-o") << quoted(image) << quoted(text);
  } else {
    if (mode6) {
      expected << QStringLiteral("-6");
      shown << QStringLiteral("-6");
    }
    expected << text << image;
    shown << quoted(text) << quoted(image);
  }
  FUZZ_CHECK(c.arguments == expected);
  FUZZ_CHECK(c.commandLine == shown.join(u' '));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const bool mode6 = in.ConsumeBool();
  const int pick = in.ConsumeIntegralInRange(0, 3);
  const QString prog = fuzz::consumeText(in, 128);
  const QString text = fuzz::consumeText(in, 128);
  const QString image = fuzz::consumeText(in, 128);

  const ConverterKind named = identifyConverter(prog);
  const QString file = converterFileName(prog);
  FUZZ_CHECK(prog.endsWith(file) && file.size() == prog.size() - nameStart(prog));
  if (named != ConverterKind::Unsupported) {
    FUZZ_CHECK(file.compare(QStringLiteral("txt2bas.exe"), Qt::CaseInsensitive) == 0 ||
               file.compare(QStringLiteral("csave.exe"), Qt::CaseInsensitive) == 0 ||
               file.compare(QStringLiteral("txt2bas"), Qt::CaseInsensitive) == 0 ||
               file.compare(QStringLiteral("csave"), Qt::CaseInsensitive) == 0);
  }
  const ConverterKind kinds[] = {named, ConverterKind::Txt2Bas, ConverterKind::CSave,
                                 ConverterKind::Unsupported};
  checkCommand(kinds[pick], prog, mode6, text, image);
  checkTapeImage(text);
  checkTapeImage(image);
  return 0;
}
