// The eleven automation classes of the server.
#pragma once

#include "component.h"
#include "tarnvik.h"

namespace tarnvik {

extern const ClassInfo kLinearInfo;

// One method per linear symbology; no members.
class CLinear : public AutomationObject<ILinear> {
public:
    explicit CLinear(IUnknown* outer) : AutomationObject(outer, kLinearInfo) {}

#define TARNVIK_LINEAR_METHOD(name) STDMETHODIMP name(BSTR strInput, BSTR* strOutput) override;
#include "linear_methods.inc"
#undef TARNVIK_LINEAR_METHOD
};

// The classes of the two-dimensional, stacked and postal symbologies (defined in classes.cpp).
extern const ClassEntry kDatamatrixEntry, kPDF417Entry, kMicroPDF417Entry, kQRCodeEntry,
    kMicroQRCodeEntry, kAztecEntry, kMaxicodeEntry, kCode16kEntry, kDatabarEntry, kMedicalEntry;

}  // namespace tarnvik
