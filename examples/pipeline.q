// Properties of pipeline.ta, one per line; the verdicts are in
// pipeline.expected.

// A job leaves 4 to 7 time units after it entered: at least lo[0] + lo[1] +
// lo[2], at most hi[0] + hi[1] + hi[2], since no stage is ever kept waiting.
A[] Stage3.full imply (age[2] >= 4 and age[2] <= 7)
E<> Stage3.full and age[2] == 4
E<> Stage3.full and age[2] == 7
E<> Stage3.full and age[2] > 7

// The copied age differs from the second stage's work clock by the time the
// job spent in the first stage, lo[0] to hi[0].
A[] Stage2.busy imply age[1] >= work[1] + 1
E<> Stage2.busy and age[1] > work[1] + 2

// A stage can be full while the next one is still busy, but only in the
// instant where both finish together: the first stage never waits.
E<> Stage1.full and Stage2.busy

// Jobs start at least 4 apart and stay at most 7, so at most two are in the
// pipeline at any time, and two do overlap.
A[] inflight <= 2
E<> peak == 2
E<> done == 5

A[] not deadlock

// The source is forced to deliver within 6 time units and every stage within
// its bound, so the first stage cannot stay idle and every job gets through.
E[] Stage1.idle
A<> Stage3.busy
Stage1.busy --> Stage3.full
