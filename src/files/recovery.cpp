#include "files/recovery.h"

#include "files/sheetio.h"
#include "model/sheetmetrics.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <cmath>

namespace {

const QLatin1String Format("zeltarn-recovery");
const QLatin1String Suffix(".zelrec");

} // namespace

RecoveryCopy recoverySnapshot(const SheetModel& sheet, const QString& caption, const QString& path)
{
    return RecoveryCopy{caption, path, sheet.layout(), sheet.storedCells()};
}

QByteArray recoveryBytes(const RecoveryCopy& copy)
{
    QJsonArray widths;
    for (int c = 1; c <= LastCol; ++c) {
        widths.append(copy.layout.ColWidths[size_t(c)]);
    }
    QJsonArray cells;
    for (const RecoveryCopy::Cell& cell : copy.cells) {
        cells.append(QJsonArray{cell.row, cell.col, cell.expression});
    }
    const QJsonObject object{{QStringLiteral("format"), Format},
                             {QStringLiteral("caption"), copy.caption},
                             {QStringLiteral("path"), copy.path},
                             {QStringLiteral("scale"), double(copy.layout.DisplayScale)},
                             {QStringLiteral("widths"), widths},
                             {QStringLiteral("cells"), cells}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<RecoveryCopy> readRecoveryCopy(const QByteArray& bytes)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    const QJsonObject object = document.object();
    if (error.error != QJsonParseError::NoError ||
        object.value(QStringLiteral("format")).toString() != Format) {
        return std::nullopt;
    }
    RecoveryCopy copy;
    copy.caption = object.value(QStringLiteral("caption")).toString();
    copy.path = object.value(QStringLiteral("path")).toString();
    const double scale = object.value(QStringLiteral("scale")).toDouble();
    if (isDisplayScale(scale)) {
        copy.layout.DisplayScale = float(scale);
    }
    const QJsonArray widths = object.value(QStringLiteral("widths")).toArray();
    for (int c = 1; c <= LastCol && c <= widths.size(); ++c) {
        copy.layout.ColWidths[size_t(c)] =
            std::clamp(widths.at(c - 1).toInt(DefaultColumnWidth), 0, 32767);
    }
    for (const QJsonValue& value : object.value(QStringLiteral("cells")).toArray()) {
        const QJsonArray cell = value.toArray();
        const int row = cell.at(0).toInt();
        const int col = cell.at(1).toInt();
        if (cell.size() != 3 || row < 1 || row > LastRow || col < 1 || col > LastCol ||
            !cell.at(2).isString()) {
            return std::nullopt;
        }
        copy.cells.push_back({row, col, cell.at(2).toString()});
    }
    return copy;
}

void restoreRecoveryCopy(const RecoveryCopy& copy, SheetModel& sheet)
{
    enterStoredCells(sheet, copy.cells, copy.layout);
}

RecoveryStore::RecoveryStore(QString folder) : m_folder(std::move(folder))
{
    m_worker.setMaxThreadCount(1);
}

RecoveryStore::~RecoveryStore()
{
    m_worker.waitForDone();
}

QString RecoveryStore::defaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("recovery"));
}

QString RecoveryStore::newName()
{
    // The time first, so that a listing by name is oldest first.
    return QStringLiteral("%1-%2%3")
        .arg(QDateTime::currentMSecsSinceEpoch(), 14, 10, QLatin1Char('0'))
        .arg(++m_serial, 4, 10, QLatin1Char('0'))
        .arg(Suffix);
}

void RecoveryStore::write(const QString& name, RecoveryCopy copy)
{
    const QString folder = m_folder;
    m_worker.start([folder, name, copy = std::move(copy)] {
        if (!QDir().mkpath(folder)) {
            return;
        }
        QSaveFile file(QDir(folder).filePath(name));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(recoveryBytes(copy));
            file.commit();
        }
    });
}

void RecoveryStore::remove(const QString& name)
{
    const QString path = QDir(m_folder).filePath(name);
    m_worker.start([path] { QFile::remove(path); });
}

QStringList RecoveryStore::existing() const
{
    QStringList paths;
    const QDir dir(m_folder);
    for (const QString& name :
         dir.entryList({QLatin1Char('*') + Suffix}, QDir::Files, QDir::Name)) {
        paths.append(dir.filePath(name));
    }
    return paths;
}

std::optional<RecoveryCopy> RecoveryStore::read(const QString& path) const
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? readRecoveryCopy(file.readAll()) : std::nullopt;
}

void RecoveryStore::discard(const QStringList& paths)
{
    for (const QString& path : paths) {
        QFile::remove(path);
    }
}

void RecoveryStore::waitForDone()
{
    m_worker.waitForDone();
}
