#pragma once
// The lab report: the recording, the model and the four charts on A4 pages, as a PDF file.
#include <QString>

class TFichePrincipale;

// Writes the report of what `window` shows to `file`, whole or not at all: std::runtime_error with a
// message naming the file when it cannot be written.
void writeReport(const QString& file, TFichePrincipale& window);
