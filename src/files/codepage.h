#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Code page 932 (Shift-JIS as Windows writes it), through glibc's iconv.

// Bytes that do not decode become U+FFFD.
QString decodeCp932(const QByteArray& bytes);

// Text as written to a file; a character code page 932 cannot hold, or holds only as another
// character, gives nothing. Seven characters other systems use are written as the code page's
// look-alikes that Japanese users take for the same: 〜 — ‖ − ¢ £ ¬ as ～ ― ∥ － ￠ ￡ ￢.
std::optional<QByteArray> encodeCp932(QStringView text);

// The text of a file: a sheet file is always code page 932. A CSV or text file is UTF-8 when it
// starts with the byte-order mark (dropped) or is valid UTF-8 holding non-ASCII text, and code
// page 932 otherwise.
QString decodeFileText(const QByteArray& bytes, bool sheetFile);
