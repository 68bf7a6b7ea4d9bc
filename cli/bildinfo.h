#pragma once

#include <QJsonObject>

class Ausgabe;
struct Firmwarebild;
struct Optionen;

// kvxflash --info: what the update file holds and what a board would be
// sent, without touching a port. 0, or the file status when it is refused.
int bildinfo(const Optionen &optionen, const Firmwarebild &bild, Ausgabe &aus);

// The image as scripts name it: file, format, pages, CRC-32 and SHA-256.
QJsonObject bildkennung(const Firmwarebild &bild);
