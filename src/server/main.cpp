// The verification server: talks to one client over standard input and output.

#include "server/CommandLoop.h"

int main() { return orvela::runCommandLoop(); }
