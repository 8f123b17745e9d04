// Properties every linear encoder keeps, in both builds: long and hostile input never passes
// the bound or a buffer, and an encode never fails.
#include <gtest/gtest.h>

#include <random>

#include "linear.h"

using namespace linear;

namespace {

struct Named {
    const char* name;
    EncodeFn fn;
};

const Named kEncoders[] = {
#define LINEAR_ENCODER(name) {#name, &Encode##name},
#include "encoders.inc"
#undef LINEAR_ENCODER
};

TEST(AllLinearEncoders, HugeAndRandomInputStaysWithinTheBound) {
    std::mt19937 rng(7);
    std::u16string huge(100000, u'7');
    for (std::size_t i = 0; i < huge.size(); i += 7) huge[i] = static_cast<char16_t>(u'A' + i % 26);
    std::u16string escapes;
    while (escapes.size() < 100000) escapes += u"&#65;&#;&#999&#12x|(01)";
    for (const Profile* p : {&kServer, &kDesktop}) {
        Context ctx(*p);
        for (const Named& e : kEncoders) {
            SCOPED_TRACE(std::string(p->name) + " " + e.name);
            for (const std::u16string* in : {&huge, &escapes}) {
                const std::u16string out = e.fn(ctx, in->c_str());
                EXPECT_LT(out.size(), p->bound);
            }
            for (int round = 0; round < 200; ++round) {
                std::u16string s(rng() % 300, u'\0');
                for (auto& c : s) c = static_cast<char16_t>(1 + rng() % (round % 2 ? 0xFFFE : 300));
                const std::u16string out = e.fn(ctx, s.c_str());
                EXPECT_LT(out.size(), p->bound);
            }
            EXPECT_LT(std::u16string(e.fn(ctx, u"")).size(), p->bound);
        }
    }
}

}  // namespace
