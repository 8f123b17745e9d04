// What every desktop encode routine is given: the desktop build's linear context (its result
// buffers and escape decoder), the option settings and the platform.
#pragma once

#include "frame.h"
#include "platform.h"
#include "settings.h"

namespace desktop {

struct Session {
    linear::Context& linear;  // built with linear::kDesktop
    OptionSettings& options;
    Platform& platform;
};

// The shape of every encode routine of the symbology table: text in, font text out in one
// of the session's result buffers, valid until the next encode.
using EncodeFn = const char16_t* (*)(Session& session, const char16_t* text);

// A linear encoder as a routine of the table.
template <linear::EncodeFn Encoder>
const char16_t* Linear(Session& session, const char16_t* text) {
    return Encoder(session.linear, text);
}

}  // namespace desktop
