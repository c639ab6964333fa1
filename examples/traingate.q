// Properties of traingate.ta, one per line; the verdicts are in
// traingate.expected.

// Only the head of the queue is let through; every other train is stopped
// the moment it approaches and gets go only after the head has left.
A[] not ((Train1.Cross and Train2.Cross) or (Train1.Cross and Train3.Cross) or (Train2.Cross and Train3.Cross))

// A stopped train is queued behind the head while the gate is occupied...
A[] (Train1.Stop and Gate.Occ) imply len >= 2
// ...but not for a moment after the head has left: the gate is then Free
// with Train1 at the head (len 1) until it sends go, in the same instant.
A[] Train1.Stop imply len >= 2

// All three trains can be queued, the last one to arrive at the tail.
E<> len == 3 and list[0] == 2 and list[2] == 0
E<> Train1.Cross and Train2.Stop and Train3.Stop

// A train that is not stopped reaches the crossing after 10 to 20 time units.
E<> Train1.Appr and Train1.x > 10
E<> Train1.Appr and Train1.x > 20
A[] Train1.Cross imply Train1.x <= 5

// Some move is always possible: a train that is not stopped can go on, the
// gate answers appr in Occ and sends go or stop without delay otherwise.
A[] not deadlock

// The queue is served in order and every step of the head is bounded, so an
// approaching train always crosses; a stopped one always gets go.
Train1.Appr --> Train1.Cross
Train1.Stop --> Train1.Start

// Nothing makes a train approach: Train1 may stay Safe forever.
E[] Train1.Safe
A<> Train1.Cross
