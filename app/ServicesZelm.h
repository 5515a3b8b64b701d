#pragma once
// The platform services the program's utilities rely on: the data folder, the
// system's decimal separator, the confirmation and error boxes.
#include <QLocale>
#include <QString>
#include <string>

// The data folder: `documents` followed by "Tabulo/", created when missing; a
// failure to create it is ignored (the settings then simply do not save).
std::string InitialiseDossierTabulo(const QString &documents);
// The decimal separator of number texts, from the user's locale.
void FixeSeparateurDepuisLocale(const QLocale &locale = QLocale());

bool Confirme(const QString &message);        // Yes/No box: true for Yes
void AfficheErreur(const QString &message);   // error box, arrow cursor while shown
