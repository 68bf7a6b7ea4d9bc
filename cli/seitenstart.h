#pragma once

#include "werkbankseite/werkbankserver.h"

#include <memory>

struct Optionen;

// The bench page as --serve asks for it, listening before any board is
// touched. Nothing when the address cannot be taken: `fehler` says why.
std::unique_ptr<Werkbankserver> seiteStarten(const Optionen &optionen, QString &fehler);

// The start line with the page's address.
QString seitenansage(const Werkbankserver &server);
