#pragma once

#include "report.h"
#include "sample_settings.h"

#include <QByteArray>
#include <QDir>
#include <QString>

#include <vector>

namespace kavrin::bench {

// What every figure may use: a temporary folder of its own, the settings
// files and the 4 MiB sample program, also written to `samplePath`.
struct Workspace {
  QDir dir;
  SettingsFiles settings;
  QString samplePath;
  QByteArray sample;
};

// Each measures its figures and returns their rows in the order printed.
std::vector<Row> startUpFigures(const Workspace &work);
std::vector<Row> memoryFigures(const Workspace &work);
std::vector<Row> loadSaveFigures(const Workspace &work);
std::vector<Row> codecFigures(const Workspace &work);
std::vector<Row> completionFigures(const Workspace &work);
std::vector<Row> autoNumberFigures(const Workspace &work);
std::vector<Row> basicToolsFigures(const Workspace &work);
std::vector<Row> jumpFigures(const Workspace &work);
std::vector<Row> panelFigures(const Workspace &work);
std::vector<Row> moveLinesFigures(const Workspace &work);
std::vector<Row> moveMissingFigures(const Workspace &work);
std::vector<Row> colourFigures(const Workspace &work);
std::vector<Row> recoveryFigures(const Workspace &work);
std::vector<Row> keptCheckFigures(const Workspace &work);
std::vector<Row> converterOutputFigures(const Workspace &work);
std::vector<Row> programCheckFigures(const Workspace &work);
std::vector<Row> sourceFormFigures(const Workspace &work);

} // namespace kavrin::bench
