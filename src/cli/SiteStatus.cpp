#include "cli/SiteStatus.h"

#include "platform/AppInfo.h"
#include "site/SiteModel.h"

#include <QDir>

int SiteStatus::run(const QString& folder, QString* out, QString* errors) {
    SiteModel site;
    if (QString why; !site.open(folder, &why)) {
        *errors +=
            QStringLiteral("%1: %2: %3\n")
                .arg(QLatin1String(AppInfo::programName), QDir::toNativeSeparators(folder), why);
        return unreadable;
    }
    for (const SitePanel& panel : site.panels())
        *out += panel.fields().join(QLatin1Char('\t')) + QLatin1Char('\n');
    *out += site.summary() + QLatin1Char('\n');
    return 0;
}
