#include "engine/CompoundFilter.h"

#include "EngineProbes.h"
#include "engine/Branches.h"
#include "server/base/Exceptions.h"

#include <gtest/gtest.h>

#include <string>

namespace orvela {
namespace {

using test::LiveCount;
using test::RecordingFilter;
using test::RecordingSink;

// The smallest concrete compound: items go to whatever `pipe` returned.
class Chain : public CompoundFilter {
public:
  bool tryPut(void* item) override { return head->tryPut(item); }
  Sink* head = nullptr;
};

std::vector<Sink*> sinksOf(std::initializer_list<Sink*> sinks) { return sinks; }

template <class... Arguments> std::string pipeError(const char* format, Arguments... arguments) {
  Chain chain;
  try {
    chain.pipe(format, arguments...);
  } catch (const Bug& bug) {
    return bug.what();
  }
  return "no error";
}

TEST(CompoundFilterPipe, MalformedFormatsAreRejected) {
  RecordingFilter f1, f2;
  RecordingSink s1, s2;
  // a group needs a filter, ',' and ')' need an open group
  EXPECT_EQ(pipeError("(s)", &s1), "Invalid format");
  EXPECT_EQ(pipeError("f,s", &f1, &s1), "Invalid format");
  EXPECT_EQ(pipeError("f)", &f1), "Invalid format");
  // a sink ends its branch, and a lone sink ends the format
  EXPECT_EQ(pipeError("fss", &f1, &s1, &s2), "Invalid format");
  EXPECT_EQ(pipeError("fsf", &f1, &s1, &f2), "Invalid format");
  EXPECT_EQ(pipeError("fs(", &f1, &s1), "Invalid format");
  EXPECT_EQ(pipeError("sf", &s1, &f1), "Invalid format");
  // a flag must stand before an element
  EXPECT_EQ(pipeError("fb", &f1, 1), "Invalid format");
  EXPECT_EQ(pipeError("fb)", &f1, 1), "Invalid format");
  EXPECT_EQ(pipeError("fbbs", &f1, 1, 1, &s1), "Invalid format");
  // a skipped group must be closed
  EXPECT_EQ(pipeError("fb(s", &f1, 0, &s1), "Invalid format");
  // unknown characters, blanks included
  EXPECT_EQ(pipeError("fx", &f1), "Invalid format");
  EXPECT_EQ(pipeError("f s", &f1, &s1), "Invalid format");
  // arguments must match the letters
  EXPECT_EQ(pipeError("ff", &f1), "Invalid format");            // missing
  EXPECT_EQ(pipeError("f", &f1, &s1), "Invalid format");        // left over
  EXPECT_EQ(pipeError("fbs", &f1, &s1, &s1), "Invalid format"); // sink for a flag
  EXPECT_EQ(pipeError("f", &s1), "Invalid format");             // sink for a filter
  EXPECT_EQ(pipeError("fs", &f1, 1), "Invalid format");         // flag for a sink
  EXPECT_EQ(pipeError("f", 0), "Invalid format");               // flag for a filter
  // nothing can be attached to a null filter
  EXPECT_EQ(pipeError("ff", nullptr, &f2), "Invalid format");
  EXPECT_EQ(pipeError("fs", nullptr, &f2), "Invalid format");
}

TEST(CompoundFilterPipe, WiresTheElementsAsWrittenAndAnswersTheFirst) {
  Chain chain;
  RecordingFilter f1, f2, g1, g2, h1, h2, inner1, inner2, k1, m1, m2, n1;
  RecordingSink s1, s2, skipped1, skipped2, last;
  EXPECT_EQ(chain.pipe("s", &s1), &s1);
  EXPECT_EQ(chain.pipe(""), nullptr);
  EXPECT_EQ(chain.pipe("f", nullptr), nullptr);
  // A branch point receives its branches in writing order.
  EXPECT_EQ(chain.pipe("ff(s,s)", &f1, &f2, &s1, &s2), &f1);
  EXPECT_EQ(f1.sinks, sinksOf({&f2}));
  EXPECT_EQ(f2.sinks, sinksOf({&s1, &s2}));
  // A zero flag skips one filter and still takes its argument.
  EXPECT_EQ(chain.pipe("fbf", &g1, 0, &g2), &g1);
  EXPECT_TRUE(g1.sinks.empty());
  EXPECT_TRUE(g2.sinks.empty());
  EXPECT_EQ(chain.pipe("fbf", &h1, 7, &h2), &h1);
  EXPECT_EQ(h1.sinks, sinksOf({&h2}));
  // A zero flag skips a whole group with the arguments inside: a filter, a
  // sink, a nested group and a flag.
  EXPECT_EQ(chain.pipe("fb(s,f(s),bs)s", &k1, 0, &skipped1, &inner1, &skipped2, 1, &inner2, &last),
            &k1);
  EXPECT_EQ(k1.sinks, sinksOf({&last}));
  EXPECT_TRUE(inner1.sinks.empty());
  EXPECT_TRUE(inner2.sinks.empty());
  // A skipped sink imposes no follow rule; unclosed groups are accepted.
  EXPECT_EQ(chain.pipe("fbsf", &m1, 0, &skipped1, &m2), &m1);
  EXPECT_EQ(m1.sinks, sinksOf({&m2}));
  EXPECT_EQ(chain.pipe("f(s", &n1, &s1), &n1);
  EXPECT_EQ(n1.sinks, sinksOf({&s1}));
}

TEST(CompoundFilterPipe, TheReachabilityWiringWithAndWithoutItsOptionalMembers) {
  for (int flags : {0, 1, 2, 7}) {
    SCOPED_TRACE(flags);
    const int progress = flags & 1, traces = flags & 2, active = flags & 4;
    Chain chain;
    RecordingFilter f[12];
    RecordingSink list, finalSink, dealloc;
    Filter* branch = createNewIfThenElseFilter();
    chain.keep(branch);
    Sink* head =
        chain.pipe("fbffbffffbff(s,fs,fs)", &f[0], progress, &f[1], &f[2], traces, &f[3], &f[4],
                   &f[5], &f[6], active, &f[7], branch, &list, &f[8], &finalSink, &f[9], &dealloc);
    EXPECT_EQ(head, &f[0]);
    // the chain as it should be, optional members left out when off
    std::vector<Filter*> expected = {&f[0]};
    if (progress)
      expected.push_back(&f[1]);
    expected.push_back(&f[2]);
    if (traces)
      expected.push_back(&f[3]);
    expected.insert(expected.end(), {&f[4], &f[5], &f[6]});
    if (active)
      expected.push_back(&f[7]);
    for (std::size_t k = 0; k + 1 < expected.size(); ++k)
      EXPECT_EQ(static_cast<RecordingFilter*>(expected[k])->sinks, sinksOf({expected[k + 1]}))
          << "link " << k;
    EXPECT_EQ(static_cast<RecordingFilter*>(expected.back())->sinks, sinksOf({branch}));
    EXPECT_EQ(f[8].sinks, sinksOf({&finalSink}));
    EXPECT_EQ(f[9].sinks, sinksOf({&dealloc}));
    // skipped members are not wired at all
    EXPECT_EQ(f[1].sinks.empty(), !progress);
    EXPECT_EQ(f[3].sinks.empty(), !traces);
    EXPECT_EQ(f[7].sinks.empty(), !active);

    // an accepted item goes through "then", a rejected one through "else"
    int x = 0, y = 0;
    chain.head = head;
    chain.tryPut(&x);
    list.answer = false;
    chain.tryPut(&y);
    EXPECT_EQ(list.items, (std::vector<void*>{&x, &y}));
    EXPECT_EQ(finalSink.items, std::vector<void*>{&x});
    EXPECT_EQ(dealloc.items, std::vector<void*>{&y});
  }
}

TEST(CompoundFilterMembers, KeepHoldsMembersUntilResetOrDestruction) {
  const int before = LiveCount::live;
  RecordingFilter* inner;
  {
    Chain chain;
    inner = chain.keep(new RecordingFilter());
    chain.keep(new RecordingSink());
    EXPECT_EQ(LiveCount::live, before + 2);
    EXPECT_EQ(inner->referenceCount(), 1);
    chain.reset();
    EXPECT_EQ(LiveCount::live, before);
    EXPECT_EQ(chain.keptCount(), 0u);
    chain.keep(new RecordingSink());
    EXPECT_EQ(LiveCount::live, before + 1);
  }
  EXPECT_EQ(LiveCount::live, before);

  // a member held elsewhere too survives the compound
  Pointer<RecordingFilter> shared = new RecordingFilter();
  {
    Chain chain;
    chain.keep(shared.get());
    EXPECT_EQ(shared->referenceCount(), 2);
  }
  EXPECT_EQ(shared->referenceCount(), 1);
}

TEST(CompoundFilterMembers, SetSinkGoesToTheFinalElementUntilReset) {
  Chain chain;
  RecordingSink out;
  chain.setSink(&out); // no final element yet: nothing happens
  Pointer<RecordingFilter> last = chain.keep(new RecordingFilter());
  chain.setFinal(last.get());
  chain.setSink(&out);
  EXPECT_EQ(last->sinks, sinksOf({&out}));
  chain.reset();
  chain.setSink(&out); // the final element went with the reset
  EXPECT_EQ(last->sinks, sinksOf({&out}));
}

} // namespace
} // namespace orvela
