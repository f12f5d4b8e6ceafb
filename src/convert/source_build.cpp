#include "convert/source_build.h"

#include "logic/converter_command.h"
#include "platform/cp932.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "platform/user_interface.h"
#include "widgets/line_errors.h"
#include "widgets/session.h"
#include "widgets/window_feature.h"

#include <QDir>
#include <QFileInfo>

namespace kavrin {

QString SourceBuild::write(const FeatureContext &context, const QString &sourceFile) {
  const Session &session = context.session;
  basic::BuiltProgram built =
      basic::buildProgram(cp932::decode(readFileBytes(sourceFile)), session.keywordMatcher(),
                          session.preferences().autoIncrement);
  basic::EncodedProgram encoded = basic::encodeProgram(built);
  if (built.refused() || encoded.refusal) {
    built_.reset();
    showLineErrors(context, built.refused() ? built.refusals : std::vector{*encoded.refusal},
                   QStringLiteral("ビルドできないため、変換できません。"));
    return {};
  }
  const QString path = withExtension(sourceFile, u".bas");
  // A source named *.bas would be replaced by its own build.
  if (sameFile(path, sourceFile)) {
    showMessage(
        context.ui, context.window,
        QStringLiteral("ビルドした番号付きのプログラムの保存先 \"%1\" がソースのファイルと同じです。\n"
                       "ソースを .bsrc の名前で保存してください。")
            .arg(QDir::toNativeSeparators(path)));
    return {};
  }
  const QByteArray bytes = std::move(encoded.bytes);
  if (!mayReplace(context, path, bytes)) {
    return {};
  }
  writeFileAtomically(path, bytes);
  path_ = path;
  bytes_ = bytes;
  built_ = std::move(built);
  return path;
}

bool SourceBuild::mayReplace(const FeatureContext &context, const QString &path,
                             const QByteArray &bytes) const {
  if (!QFileInfo::exists(path)) {
    return true;
  }
  const QByteArray there = readFileBytes(path);
  if (there == bytes || (path == path_ && there == bytes_)) {
    return true;
  }
  return context.ui.messageBox(
             context.window,
             QStringLiteral("ファイル \"%1\" は既にあり、今回の起動で kavrin がこのソースから"
                            "作ったものとは違います。\nビルドした番号付きのプログラムで置き換えますか?")
                 .arg(QDir::toNativeSeparators(path)),
             QStringLiteral("kavrin"), MsgButtons::YesNo, MsgResult::No) == MsgResult::Yes;
}

void SourceBuild::forget() {
  built_.reset();
  path_.clear();
  bytes_.clear();
}

} // namespace kavrin
