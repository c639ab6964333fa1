// Properties of committed.ta, one per line; the verdicts are in
// committed.expected.

// Nobody can move between the two steps of AtomicWriter: the observer never
// sees a differ from b...
E<> Observer.sawAtomic
A[] AtomicWriter.idle imply a == b
// ...while UrgentWriter's middle location only stops time, so the observer
// can look in between.
E<> Observer.sawUrgent

// A committed location blocks the other processes, an urgent one does not:
// AtomicWriter may take its first step while UrgentWriter waits in half.
E<> UrgentWriter.half and AtomicWriter.half

// No time passes in either middle location.
A[] AtomicWriter.half imply AtomicWriter.h == 0
A[] UrgentWriter.half imply UrgentWriter.h == 0
E<> UrgentWriter.idle and UrgentWriter.x == 4

// The writers are forced round by their invariants, so every run passes a
// moment where a differs from b (a state of the run, however short).
E[] a == b
A[] not deadlock

// The observer need never look; UrgentWriter always finishes its update.
E[] Observer.watch
A<> Observer.sawUrgent
UrgentWriter.half --> UrgentWriter.idle
