// Properties of csmacd.ta, one per line; the verdicts are in csmacd.expected.

// Two stations can be sending at once: the second began within sigma of the
// first, and the bus has seen the collision.
E<> Station1.Start and Station2.Start
A[] (Station1.Start and Station2.Start) imply Bus.Collision

// A colliding bus takes no further begin, so three never send together.
E<> Station1.Start and Station2.Start and Station3.Start

// cd reaches every sending station at once, and end is sent by the only
// sender: a quiet bus has no station sending.
A[] Bus.Idle imply not (Station1.Start or Station2.Start or Station3.Start)

// A collision is announced before sigma has passed, while every sender began
// less than 2 sigma ago; a frame without collision lasts the full lambda.
E<> Bus.Collision and Bus.y >= sigma
E<> Bus.Collision and Station1.Start and Station1.x >= 2 * sigma
E<> Station1.Start and Station1.x == lambda

// The saturating counter reaches its bound.
E<> collisions == 3

// The bus always takes begin or end or announces a collision, and a backing
// off station can always give up.
A[] not deadlock

// No station has to send: the bus may stay idle forever.
E[] Bus.Idle
A<> Bus.Active

// A collision is always announced (time cannot pass sigma in Collision and
// nothing else can happen there forever)...
Bus.Collision --> Bus.Idle
// ...but a station may collide again and again and never finish its frame.
Station1.Start --> Station1.Wait
