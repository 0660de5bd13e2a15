#pragma once

#include "platform/Dialogs.h"

#include <QObject>
#include <QStringList>
#include <QUrl>

#include <functional>

class QToolButton;
class QWidget;

// The window's help: F1 opens the installed manual in the desktop's viewer,
// and the HELP button's menu offers it and the About box (version, licence,
// where to report problems).
class Help : public QObject {
    Q_OBJECT
public:
    // Hands a document to the desktop; false when it could not.
    using Opener = std::function<bool(const QUrl&)>;

    Help(QWidget& window, Dialogs& dialogs, Opener open = {});

    QToolButton* button() const { return m_button; }

    // Where the manual is looked for, the README first, then the manual
    // page; beside the installed program unless set.
    void setManualPlaces(const QString& readme, const QString& manPage);

    void showManual();
    void showAbout();

private:
    Dialogs& m_dialogs;
    Opener m_open;
    QToolButton* m_button = nullptr;
    QString m_readme;
    QString m_manPage;
};
