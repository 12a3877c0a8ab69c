#pragma once

#include <QString>

// What a Save As writes: a sheet file, CSV, a book, or the name as typed (the all-files filter).
enum class SaveFormat { SheetFile, Csv, Book, AsTyped };

// The name a Save As writes to: the format's extension appended unless the name ends in it
// already; as typed, the name itself when Open would take it (hasOpenableEnding), with ".csv"
// appended otherwise.
QString completeSaveName(const QString& name, SaveFormat format);
