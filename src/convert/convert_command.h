#pragma once

#include "convert/source_build.h"
#include "logic/line_lookup.h"
#include "logic/output_line_numbers.h"
#include "widgets/result_rows.h"
#include "widgets/window_feature.h"

#include <QList>

namespace kavrin {

class ChildProcess;
struct ConverterCommand;
struct DecodedOutput;

// Special > 変換: runs the configured converter on the saved program to
// make a tape image, and reports how it ended.  Each run also gives rows for
// the output tab: the time and the command line, the converter's error
// output line by line (each with the BASIC line it names), and the result.
class ConvertCommand : public WindowFeature {
  Q_OBJECT

public:
  explicit ConvertCommand(const FeatureContext &context);

  // The tape image path when the converter succeeded, else empty.  With
  // `again`, a document converted before in this session goes to the image
  // it last went to, without the dialog, its changes saved without a
  // question; when that image can no longer be written, the dialog asks.
  QString convertProgram(bool again = false);
  // True when the converter ended with success and wrote `image` while it
  // ran.  `unsavedEdits`: the file converted lacks edits the user did not
  // save, and the result says so.
  bool runConverter(const ConverterCommand &command, const QString &image, bool unsavedEdits);

  // The panel's rows for rows of output, each that names a line following
  // that line of the program; of a source document, where `built`, given,
  // was built from.
  static QList<ResultRow> panelRows(const QList<OutputRow> &rows, const basic::ProgramLineIndex &lines,
                                    const basic::BuiltProgram *built = nullptr);

  // The window stays while a converter runs.
  bool busy() const override { return converting_; }

private:
  void convert() { convertProgram(); }
  // With the output in the panel only, an unsupported converter is told
  // before anything is asked; true when it was.
  bool refusedConverter();
  // The tape image the user chooses for the program `fileName`; empty when
  // cancelled.
  QString chooseImage(const QString &fileName);
  bool startConverter(const ConverterCommand &command, ChildProcess &child);
  // Reads the output to its end: rows, and unless `panelOnly` a box per piece.
  void readOutput(ChildProcess &child, bool panelOnly);
  void addOutputLines(const DecodedOutput &output);
  bool reportResult(const ChildProcess &child, bool panelOnly, bool imageWritten, bool unsavedEdits);

  // Every row of a run passes here: the panel's 変換の出力 tab takes them.
  void outputRows(const QList<OutputRow> &rows);
  // The panel shows its 変換の出力 tab: the converter wrote output, or the
  // output goes to the panel only.
  void showOutputTab();

  bool converting_ = false;
  // The image last chosen for the document, whatever its conversion gave:
  // a new document, another file or a Save As forgets it.
  QString keptImage_;
  OutputLineFinder lines_;
  // The program lines by number, read once a run.
  std::optional<basic::ProgramLineIndex> lineIndex_;
  // A source document's build.
  SourceBuild build_;
  // The build of the text in the window that the rows' lines are read from.
  std::optional<basic::BuiltProgram> rowBuild_;
};

} // namespace kavrin
