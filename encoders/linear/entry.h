// The linear encoders as a Windows deliverable calls them: 16-bit wchar_t text in, a pointer
// into the deliverable's module-wide result buffers out. Each deliverable defines
// LinearContext() with its own profile (linear::kServer or linear::kDesktop).
#pragma once

#include "linear.h"

namespace linear {
Context& LinearContext();
}

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the Windows deliverables use 16-bit wchar_t");

#define LINEAR_ENCODER(name) const wchar_t* Encode##name(const wchar_t* text);
#include "encoders.inc"
#undef LINEAR_ENCODER

const wchar_t* DecodeCharRefsW(const wchar_t* text);
