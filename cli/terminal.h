#pragma once

// Whether standard output is a terminal that can show the live display.
bool liveFaehigesTerminal();
