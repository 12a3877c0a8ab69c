#pragma once

#include <QString>

// The filters of the Open and Save dialogs, in the dialogs' order.
enum class FileFilter {
    SheetFile = 1, // 表計算ファイル(*.zel)
    Csv = 2,       // CSVファイル(*.csv)
    AllFiles = 3,  // すべてのファイル(*.*)
};

// The name a Save As writes to: the filter's extension appended unless the name ends in it
// already; with the all-files filter the name as typed when Open would take it (its last three
// characters are "zel", "txt" or "csv"), with ".csv" appended otherwise.
QString completeSaveName(const QString& name, FileFilter filter);
