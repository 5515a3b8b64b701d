#include "Texte8.h"

#include "TableCaracteres.h"

QString VersQt(std::string_view octets) { return QString::fromStdString(VersUtf8(octets)); }

std::string DepuisQt(const QString &texte) { return DepuisUtf8(texte.toStdString()); }
