// Properties of broadcast.ta, one per line; the verdicts are in
// broadcast.expected.

// Counter(0) and Counter(1) are always on and take part in every tick and
// every reset, so they count in step.
A[] count[0] == count[1]

// Counter(2) is reset together with the others when it is switched on, and
// then counts in step with them; while it is off it stays behind.
A[] on[2] == 1 imply count[2] == count[0]
A[] count[2] <= count[0]
E<> count[2] == 3

// An enabled receiver cannot let a broadcast pass: in the second round
// Counter(2) counts, on every run.
E[] count[2] == 0

// The urgent reset follows the third tick in the same instant.
A[] count[0] == 3 imply Ticker.t == 0
E<> count[0] == 2 and Ticker.t == period

// Every reset switches Counter(2), so after an even number of rounds it is
// off again (rounds stops at 9, the toggle does not).
A[] rounds == 4 imply on[2] == 0
E<> rounds == 9 and on[2] == 0

A[] not deadlock

// Ticks are forced by the invariant of run, so every run gets to 3 and back.
A<> count[0] == 3
count[0] == 1 --> count[0] == 0
