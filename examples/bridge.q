// Properties of bridge.ta, one per line; the verdicts are in bridge.expected.

// Everybody can reach the far side (in 60 minutes at best).
E<> P5.far and P10.far and P20.far and P25.far

// Nobody walks without the torch: three never share the bridge, and the
// torch is on the far side while somebody is coming back.
A[] not (P5.forth and P10.forth and P20.forth)
A[] P5.back imply torch == 1
