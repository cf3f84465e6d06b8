// The system's printers through Qt's print support.
#include "platform/backend/printers.h"

#include <QPrinterInfo>

namespace backend::printers {

std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(name.toStdString());
    return names;
}

int DefaultIndex() {
    QString name = QPrinterInfo::defaultPrinterName();
    QStringList names = QPrinterInfo::availablePrinterNames();
    return name.isEmpty() ? (names.isEmpty() ? -1 : 0) : static_cast<int>(names.indexOf(name));
}

} // namespace backend::printers
