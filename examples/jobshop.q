// Properties of jobshop.ta, one per line; the verdicts are in
// jobshop.expected.

// Every job can finish (the fastest trace takes 11).
E<> JobA.done and JobB.done and JobC.done

// A machine never does two operations at once (job A's first and job B's
// second operation both need machine 1), but different machines work in
// parallel (A's first on machine 1, B's first on machine 2).
A[] not (JobA.work1 and JobB.work2)
E<> JobA.work1 and JobB.work1
