#pragma once

#include "sheet/Sheet.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QPair>
#include <QRectF>
#include <QString>

class QPainter;

// The cover of a site's document: what a site is handed over with.
struct Site {
    QString name;
    QString by; // who configured it
    QDate date;
    QList<QPair<QString, QString>> skipped; // file, why
    // Each panel's commissioning state from the site's log, by file name;
    // the cover shows the column only for a site that has a log.
    bool hasLog = false;
    QHash<QString, QString> states;
};

// How many pages the cover takes: its list of panels goes on over further
// pages on a large site.
int coverPageCount(QPainter& painter, const QRectF& page, const Site& site,
                   const QList<Sheet>& sheets);

// Draws page pageOfCover of the cover: site, date, who configured it, each
// panel with its file, model and first page (a panel whose name another
// holds too with that one's file), each file skipped and why, and on the
// last page the lines for the acceptance.
void paintCover(QPainter& painter, const QRectF& page, const Site& site, const QList<Sheet>& sheets,
                const QList<int>& firstPages, int pageOfCover);
