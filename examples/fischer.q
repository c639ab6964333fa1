// Properties of fischer.ta, one per line; the verdicts are in fischer.expected.

// Mutual exclusion: a process writes id at most k after it saw id == 0, and
// checks id more than k after its own write, so a later writer always
// overwrites id before an earlier one checks it.
A[] not (P1.cs and P2.cs)
A[] not ((P1.cs and P2.cs) or (P1.cs and P3.cs) or (P2.cs and P3.cs))

// While P1 is in cs, id keeps its number: only a process in req writes id,
// and every process that was in req when P1 wrote has left req (writing its
// own number, which would have kept P1 out) before P1's check.
A[] P1.cs imply id == 1

// P1 can enter the critical section; never together with P2.
E<> P1.cs
E<> P1.cs and P2.cs

// All three can have written id before any of them checks it.
E<> P1.wait and P2.wait and P3.wait

// The invariant of req bounds x by k, and id == 3 only when P3 wrote last.
E<> P1.req and P1.x > 2
E<> id == 3 and P3.wait and P3.x > 2

// The process whose number is in id is in wait or cs and can always move
// (wait -> cs once x > k, cs -> A); a process in req can always write.
A[] not deadlock

// Nothing forces a process to leave A: all can stay there forever while
// time passes, so P1 need never reach cs.
E[] not P1.cs
A<> P1.cs

// P1 cannot keep its clock at most k for ever: it resets x only on the way
// into req or wait, gets into cs only more than k after its write, and gets
// back from wait to req only after another process has left cs, which that
// process entered more than k after its own write, itself later than P1's.
// No run stops time either: every cycle of a process needs more than k.
E[] P1.x <= 2

// req must be left within k for wait, whatever the others do.
P1.req --> P1.wait

// Once in wait, P1 may sit there forever (no invariant), so it is not
// guaranteed the critical section.
P1.req --> P1.cs
