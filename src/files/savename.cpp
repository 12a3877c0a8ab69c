#include "savename.h"

QString completeSaveName(const QString& name, FileFilter filter)
{
    if (filter == FileFilter::SheetFile && !name.endsWith(QLatin1String(".zel"))) {
        return name + QLatin1String(".zel");
    }
    if (filter == FileFilter::Csv && !name.endsWith(QLatin1String(".csv"))) {
        return name + QLatin1String(".csv");
    }
    // Open takes only names ending in these three, so whatever is saved can be opened again.
    const bool opens = name.endsWith(QLatin1String("zel")) || name.endsWith(QLatin1String("txt")) ||
                       name.endsWith(QLatin1String("csv"));
    if (filter == FileFilter::AllFiles && !opens) {
        return name + QLatin1String(".csv");
    }
    return name;
}
