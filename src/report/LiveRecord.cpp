#include "report/LiveRecord.h"

namespace {
// Not an owner: the record shown last and still alive on this thread, or null.
thread_local LiveRecord* shown = nullptr;
}  // namespace

LiveRecord::LiveRecord(const DataFolder& folder, MissingFiles& missing)
    : folder(folder), missing(missing), replaced(shown) {
    shown = this;
}

LiveRecord::~LiveRecord() {
    // Usually gone in the reverse order of their making; one that goes early is taken out of the
    // chain so that no later one hands the bare calls back to it.
    LiveRecord** link = &shown;
    while (*link != nullptr && *link != this) {
        link = &(*link)->replaced;
    }
    if (*link == this) {
        *link = replaced;
    }
}

const LiveRecord* LiveRecord::Shown() {
    return shown;
}
