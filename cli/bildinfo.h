#pragma once

class Crc32;
struct Optionen;
class QTextStream;

// kvxflash --info: what the update file holds and what a board would be
// sent, without touching a port. 0, or the file status when it is refused.
int bildinfo(const Optionen &optionen, QTextStream &aus, const Crc32 &crc);
