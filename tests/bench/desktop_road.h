// The desktop program's encode road over the fake platform with every face installed, as the
// main window holds it: the shared state with one row of the symbology table chosen.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "batch.h"
#include "desktop/fake_platform.h"
#include "encoder_state.h"

namespace desktop_bench {

struct Road {
    desktop_testing::FakePlatform platform;
    desktop::EncoderState state{platform};
    std::vector<desktop::SymbologyAction> table = desktop::BuildSymbologyTable();

    explicit Road(std::u16string_view row = {}) {
        platform.allFaces = true;
        if (!row.empty()) state.pCurrentAction = desktop::FindSymbology(table, row);
    }

    // The chosen row's encoder of batch records.
    desktop::RecordEncoder Encoder() {
        return [this](std::u16string_view record) {
            return desktop::EncodeSelected(state.session, *state.pCurrentAction, record);
        };
    }
};

// A batch of generated records, as the batch dialog's "Generate" makes it.
inline std::u16string GeneratedBatch(std::u16string_view prefix, std::u16string_view start, std::u16string_view end) {
    desktop::SequenceFields fields;
    fields.prefix = prefix;
    fields.start = start;
    fields.end = end;
    std::u16string batch;
    desktop::GenerateSequence(fields, batch);
    return batch;
}

}  // namespace desktop_bench
