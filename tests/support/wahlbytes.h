#pragma once

#include <QByteArray>

#include <initializer_list>

// The bytes of a Wahl.txt: each line as given (Windows-1252) and ended by
// CR LF.
QByteArray wahlFile(std::initializer_list<QByteArray> lines);

// The worked example: "Anfänger"; 12 Maus, 9 Igel, 0 unbekannt.
inline const QByteArray WorkedExampleWahl =
    wahlFile({"\"Anf\xe4nger\"", "12,\"Maus\"", "9,\"Igel\"", "0,\"unbekannt\""});

// The file that a build places: "Anfänger", every score 0, every name
// "unbekannt".
inline const QByteArray DefaultWahl =
    wahlFile({"\"Anf\xe4nger\"", "0,\"unbekannt\"", "0,\"unbekannt\"", "0,\"unbekannt\""});
