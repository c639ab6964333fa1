// Properties of deadlock.ta, one per line; the verdicts are in
// deadlock.expected.

// Each worker can take its first lock before the other takes its second:
// then no edge is enabled and the invariants of hasFirst stop time.
E<> deadlock
A[] not deadlock
E<> deadlock and A.hasFirst and B.hasFirst
A[] (A.hasFirst and B.hasFirst) imply (lock1 == A_ID and lock2 == B_ID)

// That is the only deadlock: a worker with both locks frees them, and an
// idle worker or one holding a single lock can go on unless the other holds
// the lock it needs and waits for its own.
E<> deadlock and not (A.hasFirst and B.hasFirst)

// The locks keep the workers apart; each can do its work.
A[] not (A.both and B.both)
E<> A.both

// A run may end in the deadlock with A in hasFirst for ever, so A is not sure
// to get its second lock (hasFirst must be left within 2 otherwise, so the
// deadlock is the only such run); a worker with both locks always frees them.
A.hasFirst --> A.both
A.both --> A.idle

// A need not ever work: B alone may take the locks again and again.
E[] not A.both
A<> A.both
