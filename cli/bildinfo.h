#pragma once

class Ausgabe;
struct Firmwarebild;
struct Optionen;

// kvxflash --info: what the update file holds and what a board would be
// sent, without touching a port. 0, or the file status when it is refused.
int bildinfo(const Optionen &optionen, const Firmwarebild &bild, Ausgabe &aus);
