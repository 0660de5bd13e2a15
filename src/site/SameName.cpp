#include "site/SameName.h"

#include <QHash>

QList<qsizetype> SameName::others(const QStringList& panelNames) {
    QList<qsizetype> other(panelNames.size(), -1);
    QHash<QString, qsizetype> first;
    for (qsizetype i = 0; i < panelNames.size(); ++i) {
        const QString key = panelNames[i].trimmed().toUpper();
        if (const auto seen = first.constFind(key); seen != first.cend()) {
            other[i] = *seen;
            if (other[*seen] < 0)
                other[*seen] = i;
        } else {
            first.insert(key, i);
        }
    }
    return other;
}
