#pragma once

#include <QString>

// Records to an MQTT broker (Debian's mosquitto on a loopback port): the
// time from a record to the broker's acknowledgement, and 10,000 records
// queued in the outbox while the broker was away, delivered after its
// return, with the resident memory meanwhile. Prints figures; asserts nothing.
void runBrokerCases(const QString &dir, int repeats);

// A mosquitto on a free loopback port, for as long as it lives; port 0 when
// mosquitto is not installed.
class Brokerprozess
{
public:
    Brokerprozess();
    ~Brokerprozess();
    int port() const { return m_port; }

private:
    int m_port = 0;
    long long m_pid = 0;
};
