#include "files/savename.h"

#include "files/sheetio.h"

QString completeSaveName(const QString& name, SaveFormat format)
{
    if (format == SaveFormat::SheetFile && !name.endsWith(QLatin1String(".zel"))) {
        return name + QLatin1String(".zel");
    }
    if (format == SaveFormat::Csv && !name.endsWith(QLatin1String(".csv"))) {
        return name + QLatin1String(".csv");
    }
    if (format == SaveFormat::Book && !name.endsWith(QLatin1String(".xlsx"))) {
        return name + QLatin1String(".xlsx");
    }
    // Whatever is saved can be opened again.
    if (format == SaveFormat::AsTyped && !hasOpenableEnding(name)) {
        return name + QLatin1String(".csv");
    }
    return name;
}
