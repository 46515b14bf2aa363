#pragma once

#include "platform/HeapArenas.hpp"

#include <QByteArray>
#include <QtGlobal>

namespace brindleaf::bench {

// Before a window bench makes its application: no display unless one is asked for, and one
// heap for every thread, as the application itself has.
inline void prepareWindowBench() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    shareOneHeapAcrossThreads();
}

} // namespace brindleaf::bench
