#include "savename.h"

#include "sheetio.h"

QString completeSaveName(const QString& name, FileFilter filter)
{
    if (filter == FileFilter::SheetFile && !name.endsWith(QLatin1String(".zel"))) {
        return name + QLatin1String(".zel");
    }
    if (filter == FileFilter::Csv && !name.endsWith(QLatin1String(".csv"))) {
        return name + QLatin1String(".csv");
    }
    // Whatever is saved can be opened again.
    if (filter == FileFilter::AllFiles && !hasOpenableEnding(name)) {
        return name + QLatin1String(".csv");
    }
    return name;
}
