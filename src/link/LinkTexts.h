#pragma once

#include <QString>

// What the panel link says in the status box and its message boxes.
namespace LinkTexts {
inline const QString settings = QStringLiteral("9600,N,8,1");

inline const QString communicationsOk = QStringLiteral("COMMUNICATIONS OK");
inline const QString failedToVerify = QStringLiteral("DATA FAILED TO VERIFY");
inline const QString corrupted = QStringLiteral("COMMUNICATIONS CORRUPTED");
inline const QString outOfRange = QStringLiteral("ERROR - DATA OUT OF RANGE");

inline const QString startingRead =
    QStringLiteral("STARTING COMMUNICATIONS TO READ SWITCH PANEL CONFIGURATION");
inline const QString startingWrite =
    QStringLiteral("STARTING COMMUNICATIONS TO WRITE SWITCH PANEL CONFIGURATION");
inline const QString startingCompare =
    QStringLiteral("STARTING COMMUNICATIONS TO COMPARE SWITCH PANEL CONFIGURATION");
inline const QString noResponse =
    QStringLiteral("COMMUNICATIONS FAILURE SWITCH PANEL FAILED TO RESPOND");
inline const QString badData = QStringLiteral("COMMUNICATIONS FAILURE-BAD SWITCH PANEL DATA");
inline const QString readSuccessful = QStringLiteral("SWITCH PANEL DATA READ SUCCESSFUL");
inline const QString programmed = QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED");

// The window's port box was left empty.
inline const QString noDevice =
    QStringLiteral("NO SERIAL PORT CHOSEN: A DEVICE MUST BE CHOSEN IN THE SERIAL PORT BOX");

inline const QString mismatchTitle = QStringLiteral("SWITCH PANEL/CONFIGURATION MIS-MATCH");
inline const QString readMismatch =
    QStringLiteral("THE SWITCH PANEL THAT YOU HAVE ATTEMPTED TO READ DATA FROM DOES NOT MATCH "
                   "THIS CONFIGURATION PROGRAM");
inline const QString writeMismatch =
    QStringLiteral("THE SWITCH PANEL THAT YOU HAVE ATTEMPTED TO WRITE DATA TO DOES NOT MATCH "
                   "THIS CONFIGURATION PROGRAM");
} // namespace LinkTexts
