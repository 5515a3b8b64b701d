#pragma once
// Where the program's 8-bit texts meet Qt: display, clipboard, typed text.
#include <QString>
#include <string>
#include <string_view>

QString VersQt(std::string_view octets);
std::string DepuisQt(const QString &texte);
