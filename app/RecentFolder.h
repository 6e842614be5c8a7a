#pragma once
// The folder the file dialogs (open, save, export, report) start in: the one last used, kept in the
// settings, or the home folder before any.
#include <QString>

QString startFolder();
// A file the user chose: its folder becomes the one the next dialog starts in.
void rememberFolder(const QString& file);
